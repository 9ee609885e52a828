#include "report/fprezalts.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "otchet_test_util.h"
#include "primer.h"
#include "report/prezalts.h"
#include "test_util.h"

namespace {

const std::string kGolova =
    std::string(primer::kFRezalts) + primer::kFBezPovtorov + primer::kFFlagYP;
const char* const kSovpadenie1 = primer::kFSovpadenie1;
const char* const kStop50 = primer::kFStop50;
const char* const kSpiskiPrimera = primer::kFSpiski;

/// Each test works in a fresh directory of its own.
class FPRezaltsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    staryi_ = std::filesystem::current_path();
    dir_ = make_temp_dir();
    ASSERT_FALSE(dir_.empty());
    ASSERT_EQ(chdir(dir_.c_str()), 0);
  }
  void TearDown() override {
    chmod(dir_.c_str(), 0755);
    ASSERT_EQ(chdir(staryi_.c_str()), 0);
    std::filesystem::remove_all(dir_);
  }

  /// Runs the file report; `konsol_` gets what it printed on the console.
  int Zapisat(int n, float tch, int N, int Ns, char f1 = 'Y', char f2 = 'P') {
    KonsolCapture cap;
    int r = fPRezalts(n, &tch, N, &f1, &f2, Ns);
    konsol_ = cap.text();
    return r;
  }

  /// The report's file as written.
  std::string Fajl() { return read_file(kRezaltsFile); }

  /// The names in the working directory.
  std::set<std::string> Imena() {
    std::set<std::string> s;
    for (const auto& e : std::filesystem::directory_iterator(".")) {
      s.insert(e.path().filename().string());
    }
    return s;
  }

  std::filesystem::path staryi_;
  std::string dir_;
  std::string konsol_;
};

}  // namespace

TEST_F(FPRezaltsTest, WorkedExample) {
  int n = RabochiPrimer();
  ASSERT_EQ(Zapisat(n, 50.0f, 19, 16), 0);
  std::string f = Fajl();
  EXPECT_EQ(f, to_cp1251(std::string(kGolova) + kSovpadenie1 + kStop50 + kSpiskiPrimera));
  // Windows-1251 bytes, one per character; the head lines are 67 bytes each.
  EXPECT_EQ(f.find('\n'), 66u);
  EXPECT_EQ(f.find('\n', 67), 133u);
  EXPECT_EQ(f.substr(69, 8), "\xC2\xE0\xF0\xE8\xE0\xED\xF2\xFB");  // "Варианты"
  EXPECT_EQ(f.substr(f.size() - 14), "\n\t\xCA\xEE\xED\xE5\xF6 \xF4\xE0\xE9\xEB\xE0\n");
  EXPECT_EQ(konsol_, "");
  EXPECT_EQ(Imena(), std::set<std::string>{kRezaltsFile});
}

TEST_F(FPRezaltsTest, WorkedExampleWithRepeatedUse) {
  int n = RabochiPrimer();
  fall = 1;
  ASSERT_EQ(Zapisat(n, 50.0f, 19, 16), 0);
  std::string expected = std::string(primer::kFRezalts) + primer::kFSPovtorami + primer::kFFlagYP +
                         kSovpadenie1 + primer::kFSovpadeniya23 + kStop50 + kSpiskiPrimera;
  EXPECT_EQ(Fajl(), to_cp1251(expected));
}

TEST_F(FPRezaltsTest, NoPairsAndNoList) {
  ZadatKomponenty({-1.0f, 10.0f, 12.0f, 22.0f});
  ZadatTablicu({});
  ASSERT_EQ(Zapisat(-1, 50.0f, 19, 16), 0);
  EXPECT_EQ(Fajl(), to_cp1251(std::string(kGolova) +
                              "\n=====================Rezalts end==============================\n"
                              "\tСписок использованных элементов\n"
                              "\n\tСписок не использованных элементов\n"
                              "R   0 =   -1,000000\tR   1 =   10,000000\tR   2 =   12,000000\t"
                              "R   3 =   22,000000\t"
                              "\n\tКонец файла\n"));

  reset_register();
  ASSERT_EQ(Zapisat(-1, 50.0f, 198, 200), 0);
  EXPECT_EQ(Fajl(), to_cp1251(std::string(kGolova) +
                              "\n=====================Rezalts end==============================\n"
                              "\tСписок использованных элементов\n"
                              "\n\tСписок не использованных элементов\n"
                              "\n\tКонец файла\n"));
}

TEST_F(FPRezaltsTest, FiveEntriesToALine) {
  Serii(2);  // Components 1 to 8; nothing printed when no record is taken.
  ZadatTablicu({});
  ASSERT_EQ(Zapisat(-1, 0.0f, 23, 16), 0);
  EXPECT_NE(Fajl().find("R   5 =    5,000000\t\nR   6 =    6,000000\t"), std::string::npos);
}

TEST_F(FPRezaltsTest, StartsWithEveryComponentFree) {
  // The console marked what it printed (and more); the file starts afresh.
  int n = RabochiPrimer();
  flagRR.fill('N');
  flagRR[199] = 'E';
  ASSERT_EQ(Zapisat(n, 50.0f, 19, 16), 0);
  EXPECT_EQ(Fajl(), to_cp1251(std::string(kGolova) + kSovpadenie1 + kStop50 + kSpiskiPrimera));
  EXPECT_EQ(flagRR[199], 'E');
}

TEST_F(FPRezaltsTest, ThresholdAndOutputFlags) {
  int n = RabochiPrimer();
  ASSERT_EQ(Zapisat(n, 0.0f, 19, 16), 0);
  EXPECT_EQ(count_of(Fajl(), "Rezalts end>"), 0);
  RabochiPrimer();
  ASSERT_EQ(Zapisat(n, 0.0001f, 19, 16), 0);
  EXPECT_EQ(count_of(Fajl(), "Rezalts end>"), 0);
  RabochiPrimer();
  ASSERT_EQ(Zapisat(n, 20.0f, 19, 16), 0);
  EXPECT_NE(Fajl().find("f_d%=0,000000\n\n\n=====================Rezalts end>20,000000% ====="),
            std::string::npos);

  RabochiPrimer();
  ASSERT_EQ(Zapisat(n, 50.0f, 19, 16, 'Z', 'Z'), 0);
  std::string f = Fajl();
  EXPECT_NE(f.find("=====================Flag = 'Z'||'Z'====="), std::string::npos);
  EXPECT_NE(f.find("\n\nRsr_1_= 22,000000    flag_5 = Z \t flag_0 = P \t flagrr = Y \n\n"),
            std::string::npos);
  EXPECT_EQ(count_of(f, "Rsr_"), 1);
  RabochiPrimer();
  ASSERT_EQ(Zapisat(n, 50.0f, 19, 16, 'N', 'N'), 0);
  EXPECT_EQ(count_of(Fajl(), "Rsr_"), 0);
}

TEST_F(FPRezaltsTest, SeparatorEveryTenMatches) {
  int n = Serii(10);
  ASSERT_EQ(Zapisat(n, 0.0f, 55, 16), 0);
  EXPECT_EQ(count_of(Fajl(), "Rsr_"), 10);
  EXPECT_EQ(count_of(Fajl(), "------"), 0);

  n = Serii(11);
  ASSERT_EQ(Zapisat(n, 0.0f, 59, 16), 0);
  std::string f = Fajl();
  EXPECT_EQ(count_of(f, "Rsr_"), 11);
  EXPECT_EQ(count_of(f, "------"), 1);
  EXPECT_NE(f.find("f_d%=9,000000\n\n------\n\n\nRsr_11_= "), std::string::npos);
}

TEST_F(FPRezaltsTest, QuitAtTheConsoleLeavesTheFileWhole) {
  int n = Serii(11);
  float t = 0.0f;
  char f1 = 'Y';
  char f2 = 'P';
  {
    KonsolCapture cap("q");
    PRezalts(n, &t, 59, &f1, &f2, 16, 1);
    EXPECT_EQ(count_of(cap.text(), "Rsr_"), 10);
  }
  ASSERT_EQ(Zapisat(n, 0.0f, 59, 16), 0);
  std::string f = Fajl();
  EXPECT_EQ(count_of(f, "Rsr_"), 11);
  EXPECT_NE(f.find(to_cp1251("\tСписок не использованных элементов\n\n\tКонец файла\n")),
            std::string::npos);
}

TEST_F(FPRezaltsTest, ImaginaryElementInsideTheList) {
  int N = ZadatKomponenty({10.0f, -1.0f, 22.0f, 12.0f});
  int n = ZadatTablicu({
      {22.0f, 0.0f, 3, -1, 'P', 0, 1},
      {22.0f, 0.0f, 4, 1, 'Y', 1, 0},
  });
  ASSERT_EQ(Zapisat(n, 50.0f, N, 16), 0);
  EXPECT_EQ(Fajl(), to_cp1251(std::string(kGolova) +
                              "\n\nRsr_1_= 22,000000    flag_0 = P \t flag_1 = Y \t flagrr = Y \n\n"
                              "R3  Y = 22,00   || R0  Y = -1,00     and    R4  Y = 12,00   || "
                              "R1  Y = 10,00      f_d%=0,000000\n\n"
                              "\n=====================Rezalts end==============================\n"
                              "\tСписок использованных элементов\n"
                              "R   1 =   10,000000\tR   3 =   22,000000\tR   4 =   12,000000\t"
                              "\n\tСписок не использованных элементов\n"
                              "R   2 =   -1,000000\t"
                              "\n\tКонец файла\n"));
}

TEST_F(FPRezaltsTest, ReplacesAnEarlierFile) {
  write_file(kRezaltsFile, std::string(5000, 'x'));
  int n = RabochiPrimer();
  ASSERT_EQ(Zapisat(n, 50.0f, 19, 16), 0);
  EXPECT_EQ(Fajl(), to_cp1251(std::string(kGolova) + kSovpadenie1 + kStop50 + kSpiskiPrimera));
  EXPECT_EQ(Imena(), std::set<std::string>{kRezaltsFile});
}

TEST_F(FPRezaltsTest, FailuresKeepTheEarlierFile) {
  const std::string oshibka =
      "\nОшибка записи файла Rezalts.txt: результаты в файл не записаны, прежний файл "
      "сохранён\n";
  int n = RabochiPrimer();

  // A directory of that name blocks the replacement.
  ASSERT_EQ(mkdir(kRezaltsFile, 0755), 0);
  EXPECT_EQ(Zapisat(n, 50.0f, 19, 16), -1);
  EXPECT_EQ(konsol_, oshibka);
  EXPECT_TRUE(std::filesystem::is_directory(kRezaltsFile));
  EXPECT_EQ(Imena(), std::set<std::string>{kRezaltsFile});
  ASSERT_EQ(rmdir(kRezaltsFile), 0);

  // A full disk, whether a write fails at once or only at the flush.
  const std::string prezhnii = "earlier results\n";
  for (bool bez_bufera : {false, true}) {
    write_file(kRezaltsFile, prezhnii);
    write_file("Rezalts.txt.new", "");
    FILE* f = std::fopen("/dev/full", "w");
    ASSERT_NE(f, nullptr);
    if (bez_bufera) {
      std::setvbuf(f, nullptr, _IONBF, 0);
    }
    float t = 50.0f;
    char f1 = 'Y';
    char f2 = 'P';
    KonsolCapture cap;
    EXPECT_EQ(zapisat_rezalts(f, "Rezalts.txt.new", n, &t, 19, &f1, &f2, 16), -1);
    EXPECT_EQ(cap.text(), oshibka);
    EXPECT_EQ(Fajl(), prezhnii);
    EXPECT_EQ(Imena(), std::set<std::string>{kRezaltsFile});
  }

  // A working directory that no longer exists: nothing can be created there.
  const std::string nedostupno =
      "\nНе удалось создать файл Rezalts.txt: результаты в файл не "
      "записаны\n";
  ASSERT_EQ(mkdir("gone", 0755), 0);
  ASSERT_EQ(chdir("gone"), 0);
  ASSERT_EQ(rmdir((dir_ + "/gone").c_str()), 0);
  EXPECT_EQ(Zapisat(n, 50.0f, 19, 16), -1);
  EXPECT_EQ(konsol_, nedostupno);
  ASSERT_EQ(chdir(dir_.c_str()), 0);
  EXPECT_EQ(Fajl(), prezhnii);
  EXPECT_EQ(Imena(), std::set<std::string>{kRezaltsFile});
}

TEST_F(FPRezaltsTest, ReadOnlyDirectory) {
  if (geteuid() == 0) {
    GTEST_SKIP() << "root writes anywhere";
  }
  const std::string prezhnii = "earlier results\n";
  write_file(kRezaltsFile, prezhnii);
  int n = RabochiPrimer();
  ASSERT_EQ(chmod(".", 0555), 0);
  EXPECT_EQ(Zapisat(n, 50.0f, 19, 16), -1);
  EXPECT_EQ(konsol_, "\nНе удалось создать файл Rezalts.txt: результаты в файл не записаны\n");
  EXPECT_EQ(Fajl(), prezhnii);
  EXPECT_EQ(Imena(), std::set<std::string>{kRezaltsFile});
}
