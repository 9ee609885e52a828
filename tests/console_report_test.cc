#include "report/console_report.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "report_test_util.h"
#include "support/test_util.h"
#include "worked_example.h"

namespace {

/// The console output of one report; `remainder` receives what it left unread.
std::string Shown(int n, float tch, int N, int Ns, int fpause = 1, const std::string& typed = "",
                  char f1 = 'Y', char f2 = 'P', std::string* remainder = nullptr) {
  ConsoleCapture cap(typed);
  PRezalts(n, &tch, N, &f1, &f2, Ns, fpause);
  if (remainder) {
    for (int c; (c = std::getc(console.in)) != EOF;) {
      remainder->push_back(static_cast<char>(c));
    }
  }
  return cap.text();
}

using worked_example::kMatch1;
using worked_example::kStop50;

const std::string kHeader =
    std::string(worked_example::kResults) + worked_example::kOnceMode + worked_example::kFlagsYP;
const char* const kExampleLists = worked_example::kLists;

const char kPrompt[] = "------Для окончания вывода введите 'q'\n";

}  // namespace

TEST(PRezalts, WorkedExample) {
  int n = WorkedExample();
  EXPECT_EQ(Shown(n, 50.0f, 19, 16), std::string(kHeader) + kMatch1 + kStop50 + kExampleLists);
  // The imaginary element got its flag back; the three others are used.
  EXPECT_EQ(std::string(flagRR.data(), 4), "YNNN");
}

TEST(PRezalts, WorkedExampleWithRepeatedUse) {
  int n = WorkedExample();
  fall = 1;
  std::string expected = std::string(worked_example::kResults) + worked_example::kRepeatMode +
                         worked_example::kFlagsYP + kMatch1 + worked_example::kMatches23 + kStop50 +
                         kExampleLists;
  EXPECT_EQ(Shown(n, 50.0f, 19, 16), expected);
}

TEST(PRezalts, NoPairsAndNoList) {
  // No pairs: every component unused, four to a line.
  SetComponents({-1.0f, 10.0f, 12.0f, 22.0f});
  SetTable({});
  EXPECT_EQ(Shown(-1, 50.0f, 19, 16),
            std::string(kHeader) +
                "\n=====================Rezalts end==============================\n"
                "\tСписок использованных элементов\n"
                "\n\tСписок не использованных элементов\n"
                "R0  =-1,000000\tR1  =10,000000\tR2  =12,000000\tR3  =22,000000\t\n"
                "\n\a\tКонец программы");

  // No START: no component slot at all, both lists empty.
  reset_register();
  flagRR.fill('Y');
  const std::string empty = std::string(kHeader) +
                            "\n=====================Rezalts end==============================\n"
                            "\tСписок использованных элементов\n"
                            "\n\tСписок не использованных элементов\n"
                            "\n\a\tКонец программы";
  EXPECT_EQ(Shown(-1, 50.0f, 198, 200), empty);
  // Records that name components no list holds touch no slot beyond the
  // tables: they never count as available, and with repeated use they show
  // flag '?' and no value.
  int n = WorkedExample();
  reset_register();
  flagRR.fill('Y');
  std::string s = Shown(n, 50.0f, 198, 200);
  EXPECT_EQ(count_of(s, "Rsr_"), 0) << s;
  EXPECT_EQ(count_of(s, "остановлен"), 1) << s;
  fall = 1;
  s = Shown(n, 50.0f, 198, 200);
  EXPECT_NE(s.find("flagrr=N \nR2 ?=0,00    || R1 ?=0,00     and  R3 ?=0,00    || R0 Y=-1,00 "),
            std::string::npos)
      << s;
  EXPECT_NE(s.find("элементов\n\n\tСписок не использованных элементов\n\n\a"), std::string::npos)
      << s;
}

TEST(PRezalts, OutputFlags) {
  // 'Z': the pairs without a partner, with record 0 as partner, deviation 0.
  int n = WorkedExample();
  std::string s = Shown(n, 50.0f, 19, 16, 1, "", 'Z', 'Z');
  EXPECT_NE(s.find("результата 'Z' 'Z'"), std::string::npos);
  EXPECT_NE(s.find("Rsr_1_=22,000000    flag_5=Z \t flag_0=P   flagrr=Y \n"
                   "R3 Y=22,00   || R2 Y=12,00    and  R1 Y=10,00   || R0 Y=-1,00    "
                   "f_d%=0,000000\n\n\n====="),
            std::string::npos)
      << s;
  EXPECT_EQ(count_of(s, "Rsr_"), 1);
  EXPECT_EQ(count_of(s, "остановлен"), 0);
  // 'N' selects nothing.
  WorkedExample();
  s = Shown(n, 50.0f, 19, 16, 1, "", 'N', 'N');
  EXPECT_EQ(count_of(s, "Rsr_"), 0);
  EXPECT_NE(s.find("R0  =-1,000000\tR1  =10,000000\tR2  =12,000000\tR3  =22,000000\t\n"),
            std::string::npos);
}

TEST(PRezalts, Threshold) {
  // Below 0.0001, zero included, there is no threshold: every rank is walked.
  for (float t : {0.0f, 0.0001f, -5.0f}) {
    int n = WorkedExample();
    fall = 1;
    std::string s = Shown(n, t, 19, 16);
    EXPECT_EQ(count_of(s, "остановлен"), 0) << t;
    EXPECT_NE(s.find("Rsr_4_=17,000000    flag_1=P \t flag_3=P   flagrr=N \n"), std::string::npos)
        << t;
  }
  // A deviation equal to the threshold stops, before its match is looked at.
  int n = WorkedExample();
  std::string s = Shown(n, 20.0f, 19, 16);
  EXPECT_EQ(s, std::string(kHeader) + kMatch1 +
                   "\n== Вывод остановлен по превышению процента ошибки подбора f_d% > 20,0000 "
                   "==\n" +
                   kExampleLists);
  // A deviation equal to the threshold stops; one a float below it does not.
  // Series(3) has the deviations 0 to 5, the first three matches printable;
  // each case sets the third deviation.
  struct Case {
    float tch;
    float f_de;
    int matches;
    int stops;
  } cases[] = {
      {2.0f, 2.0f, 2, 1},
      {std::nextafter(2.0f, 3.0f), 2.0f, 3, 1},
      {83.33334f, 83.33334f, 2, 1},
      {std::nextafter(83.33334f, 100.0f), 83.33334f, 3, 0},
  };
  for (const Case& c : cases) {
    n = Series(3);
    Mb[2].f_de = c.f_de;
    s = Shown(n, c.tch, 27, 16);
    EXPECT_EQ(count_of(s, "Rsr_"), c.matches) << c.tch;
    EXPECT_EQ(count_of(s, "остановлен"), c.stops) << c.tch;
  }
  // Just above 0.0001 the threshold holds: the first deviation of 20 stops.
  n = WorkedExample();
  s = Shown(n, 0.00011f, 19, 16);
  EXPECT_NE(s.find("f_d% >  0,0001 ==\n"), std::string::npos) << s;
  EXPECT_EQ(count_of(s, "Rsr_"), 1);
  // A deviation that is not a number never stops.
  WorkedExample();
  Mb[1].f_de = std::numeric_limits<float>::quiet_NaN();
  s = Shown(n, 50.0f, 19, 16);
  EXPECT_EQ(count_of(s, "остановлен"), 0) << s;
}

TEST(PRezalts, Paging) {
  // Exactly ten: no prompt, the answer stays unread.
  int n = Series(10);
  std::string rest;
  std::string s = Shown(n, 0.0f, 55, 16, 1, "q", 'Y', 'P', &rest);
  EXPECT_EQ(count_of(s, "Rsr_"), 10);
  EXPECT_EQ(count_of(s, kPrompt), 0);
  EXPECT_EQ(rest, "q");

  // Eleven and 'q': ten printed, the eleventh's components stay unused.
  n = Series(11);
  rest.clear();
  s = Shown(n, 0.0f, 59, 16, 1, "q\n", 'Y', 'P', &rest);
  EXPECT_EQ(count_of(s, "Rsr_"), 10);
  EXPECT_NE(
      s.find("f_d%=9,000000\n\n" + std::string(kPrompt) + "\n=====================Rezalts end="),
      std::string::npos)
      << s;
  EXPECT_EQ(rest, "\n");
  EXPECT_NE(s.find("\tСписок не использованных элементов\nR41 =41,000000\tR42 =42,000000\t"),
            std::string::npos)
      << s;
  EXPECT_EQ(std::string(flagRR.data() + 40, 4), "YYYY");

  // Anything else goes on: another letter, 'Q', the end of input.
  for (const char* answer : {"x", "Q", ""}) {
    n = Series(11);
    s = Shown(n, 0.0f, 59, 16, 1, answer);
    EXPECT_EQ(count_of(s, "Rsr_"), 11) << answer;
    EXPECT_NE(s.find("f_d%=9,000000\n\n" + std::string(kPrompt) + "Rsr_11_="), std::string::npos)
        << answer;
  }

  // Without paging: no prompt, nothing read.
  n = Series(11);
  rest.clear();
  s = Shown(n, 0.0f, 59, 16, 0, "q", 'Y', 'P', &rest);
  EXPECT_EQ(count_of(s, "Rsr_"), 11);
  EXPECT_EQ(count_of(s, kPrompt), 0);
  EXPECT_EQ(rest, "q");

  // "xq": the first prompt takes x, the second takes the waiting q at once.
  n = Series(21);
  s = Shown(n, 0.0f, 15 + 84, 16, 1, "xq\n");
  EXPECT_EQ(count_of(s, "Rsr_"), 20);
  EXPECT_EQ(count_of(s, kPrompt), 2);
}

TEST(PRezalts, ImaginaryElementInsideTheList) {
  // 10, NUL, 22, 12: the NUL's pairs carry negative numbers. They show the
  // imaginary element itself, not the component at relative index 0, and
  // use nothing up.
  int N = SetComponents({10.0f, -1.0f, 22.0f, 12.0f});
  int n = SetTable({
      {22.0f, 0.0f, 3, -1, 'P', 0, 1},
      {22.0f, 0.0f, 4, 1, 'Y', 1, 0},
  });
  EXPECT_EQ(Shown(n, 50.0f, N, 16),
            std::string(kHeader) +
                "Rsr_1_=22,000000    flag_0=P \t flag_1=Y   flagrr=Y \n"
                "R3 Y=22,00   || R0 Y=-1,00    and  R4 Y=12,00   || R1 Y=10,00    "
                "f_d%=0,000000\n"
                "\n"
                "\n=====================Rezalts end==============================\n"
                "\tСписок использованных элементов\n"
                "R1  =10,000000\tR3  =22,000000\tR4  =12,000000\t"
                "\n\tСписок не использованных элементов\n"
                "R2  =-1,000000\t"
                "\n\a\tКонец программы");
}
