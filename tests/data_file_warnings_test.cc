// The warnings about a data file: each trap in a file of its own gets its
// line on the error stream, and well-formed files get none.
#include "vvod_z/data_file_warnings.h"

#include <gtest/gtest.h>

#include <string>

#include "program1/register_table.h"
#include "support/in_memory_run.h"
#include "support/test_util.h"
#include "text/console.h"

namespace {

struct InProcess {
  int status = -1;
  std::string out;
  std::string err;
};

InProcess InMemory(const std::string& file) {
  static ScopedTempDir dir;
  InProcess r;
  r.status =
      in_memory_run(file, "data_1.txt\n", &r.out, nullptr, (dir / "Rezalts.txt").c_str(), &r.err);
  return r;
}

/// The warning line that begins with `where`, or "".
std::string LineAt(const std::string& err, const std::string& where) {
  const std::string head = "data_1.txt:" + where + ": предупреждение: ";
  size_t at = err.find(head);
  if (at == std::string::npos || (at != 0 && err[at - 1] != '\n')) return "";
  return err.substr(at, err.find('\n', at) - at);
}

struct Trap {
  const char* what;
  std::string file;
  const char* where;  ///< LINE:COL of the warning.
  const char* says;   ///< A piece of its text.
};

const std::string kList = "START,\n 10.5, 12,\n";  // lines 1 and 2

}  // namespace

TEST(DataFileWarnings, EachTrapNamesItsLine) {
  const Trap traps[] = {
      {"decimal comma", kList + " 99,12, 100,47,\nEND,\n", "3:4",
       "«99,12» прочитано как два числа 99 и 12: в файле данных дробную часть отделяет точка "
       "(99.12)"},
      {"one value per line", kList + "99.12\n100.47,\nEND,\n", "4:1",
       "между «99.12» и «100.47» нет запятой, только перевод строки"},
      {"values apart by blanks", kList + "99.12 100.47,\nEND,\n", "3:7", "только пробел"},
      {"values apart by semicolons", kList + "99.12; 100.47,\nEND,\n", "3:8", "символ «;»"},
      {"values apart by tabs", kList + "99.12\t100.47,\nEND,\n", "3:7", "прочитано одно слово"},
      {"multiplier", kList + "4k7,\nEND,\n", "3:2", "буква «k» прочитана как цифра 59"},
      {"multiplier at the end", kList + "10k,\nEND,\n", "3:3", "«10k»"},
      {"R for the point", kList + "4R7,\nEND,\n", "3:2", "буква «R» прочитана как цифра 34"},
      {"exponent", kList + "1e3,\nEND,\n", "3:2", "«1e3»"},
      {"signed exponent", kList + "1.2E+02,\nEND,\n", "3:4", "«1.2E02»"},
      {"a label", kList + "R1=99.12,\nEND,\n", "3:1", "«R199.12»"},
      {"NULL", kList + "NULL,\nEND,\n", "3:1", "может быть, имелось в виду NUL?"},
      {"End", kList + "End,\n", "3:1", "не как ключевое слово END"},
      {"minus", kList + " -5,\nEND,\n", "3:3", "знак «-» перед «5» отброшен"},
      {"percent sign", kList + "5% 100.61,\nEND,\n", "3:4", "символ «%»"},
      {"STRAT", "TCH, 50,\nSTRAT,\n10, 20,\nEND,\n", "2:1", "имелось в виду START?"},
      {"lower-case tch", "tch, 50,\n" + kList + "END,\n", "1:1", "не как ключевое слово TCH"},
      {"lower-case start", "start,\n10, 20,\nEND,\n", "1:1", "не как ключевое слово START"},
      {"OTLC", "ZNACH, 200,\nOTLC, 1.5,\nFOTCL, 0,\n" + kList + "END,\n", "2:1",
       "имелось в виду OTCL?"},
      {"band without FOTCL 0", "ZNACH, 200,\nOTCL, 1.5,\n" + kList + "END,\n", "2:1",
       "без «FOTCL, 0,» границы искомого значения не применяются"},
      {"FOTCL 0 without ZNACH", "FOTCL, 0,\n" + kList + "END,\n", "1:1", "без ZNACH"},
      {"lone slash", kList + "10/2,\n20,\n// note\n30, END,\n", "3:3",
       "одиночная «/» пропускает текст по строку 5"},
      {"lone slash to the end", kList + "10/2, END,\n", "3:3", "до конца файла"},
      {"empty word", "TIP,, 1,\n" + kList + "END,\n", "1:5", "пустое слово"},
      {"END without comma", kList + "END\n", "3:1", "последнее слово «END» не прочитано"},
      {"UTF-16", std::string("\xFF\xFES\0T\0A\0R\0T\0,\0", 14), "1:1", "UTF-16"},
      {"NUL bytes", std::string("S\0T\0A\0R\0T\0,\0", 12), "1:1",
       "не текстовый (нулевых байтов: 6)"},
      {"START without END", "TCH, 50,\n" + kList, "2:1", "не закончен словом END"},
      {"a keyword for a number", "TCH, ZNACH, 5,\n" + kList + "END,\n", "1:6",
       "после TCH ожидалось число, а стоит ZNACH"},
      {"a number no command takes", "50,\n" + kList + "END,\n", "1:1", "«50» стоит до START"},
      {"entries after END", kList + "END, 30, 40,\n", "3:6", "записи после END (2)"},
  };
  for (const Trap& t : traps) {
    SCOPED_TRACE(t.what);
    InProcess r = InMemory(t.file);
    const std::string line = LineAt(r.err, t.where);
    EXPECT_NE(line, "") << r.err;
    EXPECT_NE(line.find(t.says), std::string::npos) << r.err;
    EXPECT_EQ(r.out.find("предупреждение"), std::string::npos);
  }
}

// Each advice, applied to its trap, gives a file read as meant and without a
// warning: the advice never makes things worse.
TEST(DataFileWarnings, AdviceMendsTheTrap) {
  const struct {
    std::string trap;
    const char* says;  ///< The advice, as the warning gives it.
    std::string mended;
    float value;  ///< The first component once mended.
  } cases[] = {
      {"START, 100 Ohm, END,", "одним числом: «100,»", "START, 100, END,", 100.0f},
      {"START, 470ohm, END,", "«470,»", "START, 470, END,", 470.0f},
      {"START, 100R, END,", "«100,»", "START, 100, END,", 100.0f},
      {"START, 4.7 kOhm, END,", "«4700,»", "START, 4700, END,", 4700.0f},
      {"START, 2.2k, END,", "«2200,»", "START, 2200, END,", 2200.0f},
      {"START, 1.5M, END,", "«1500000,»", "START, 1500000, END,", 1.5e6f},
      {"START, 99.12\r100.47, END,", "только возврат каретки", "START, 99.12,\r100.47, END,",
       99.12f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.trap);
    InProcess r = InMemory(c.trap);
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    r = InMemory(c.mended);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(RR[kFirstComponentSlot], c.value);
  }
  // The switch -1 taken back by the file.
  std::string err;
  ScopedTempDir dir;
  in_memory_run("FALL, 0, START, 1, 2, END,", "d\n", nullptr, "-1", (dir / "R.txt").c_str(), &err);
  EXPECT_NE(err.find("«FALL, 0,» в файле данных отменяет параметр -1"), std::string::npos) << err;
}

TEST(DataFileWarnings, ListsTooLongAreCountedRight) {
  auto list = [](int n, bool end) {
    std::string s = "START,\n";
    for (int k = 1; k <= n; ++k)
      s += "7,\n";
    return end ? s + "END,\n" : s;
  };
  // The 184th entry stands in slot 199, which no list reaches.
  InProcess r = InMemory(list(184, false));
  EXPECT_NE(LineAt(r.err, "185:1").find("не более 183 компонентов: записи с этой (всего 1)"),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.out.find("Ns=16     N=198     Число компонентов 183\n"), std::string::npos);
  r = InMemory(list(185, false));
  EXPECT_NE(LineAt(r.err, "185:1").find("(всего 2)"), std::string::npos) << r.err;
  r = InMemory(list(183, true));
  EXPECT_EQ(count_of(r.err, "предупреждение"), 0) << r.err;
}

TEST(DataFileWarnings, StartWithoutEndEndsAtTheLastEntry) {
  InProcess r = InMemory("TIP, 2,\nSTART, 10, 20, 30,\n");
  EXPECT_EQ(r.status, 3);
  EXPECT_NE(r.out.find("Ns=16     N=18     Число компонентов 3\n"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("nan"), std::string::npos);
  EXPECT_EQ(count_of(r.err, "предупреждение"), 1);
}

TEST(DataFileWarnings, WellFormedFilesGetNone) {
  const std::string data_1 = read_file(examples_dir() + "/data_1.txt");
  std::string crlf;
  for (char c : data_1)
    crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const std::string files[] = {
      data_1,
      read_file(examples_dir() + "/data_183.txt"),
      to_cp1251(data_1),
      crlf,
      "\xEF\xBB\xBF" + data_1,
      "TCH, 50, TIP, 1, START, NUL, 10, 12, 22, END,\n",
      "TCH,1,ZNACH,100,START,10,20,END,",
      "START, 100.47 Ом, 99.12 Ом, /* тоже */ 99.85, END,\n",
      "START,10,12,22,END,",
      "FOTCL, 0, ZNACH, 200, OTCL, 1.5, Y, P, Z, N, START, NUL, 99.12, 100.47, END,\n",
  };
  for (const std::string& f : files) {
    SCOPED_TRACE(f.substr(0, 80));
    InProcess r = InMemory(f);
    EXPECT_EQ(count_of(r.err, "предупреждение"), 0) << r.err;
  }
}

TEST(DataFileWarnings, GoToStandardErrorInTheConsoleCodePage) {
  ScopedTempDir dir;
  write_file(dir / "data_1.txt", "START, 4k7, END,\n");
  RunResult r = run_podbor_split(dir.path(), "data_1.txt\n");
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.err.rfind("data_1.txt:1:9: предупреждение: в числе «4k7»", 0), 0u) << r.err;
  EXPECT_EQ(r.out.find("4k7"), std::string::npos);
  write_file(dir / "data_1.txt", read_file(examples_dir() + "/data_1.txt"));
  r = run_podbor_split(dir.path(), "data_1.txt\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(count_of(r.err, "предупреждение"), 0) << r.err;

  ConsoleCapture k;
  console.err.cp1251 = true;
  tell("%s: предупреждение", "f");
  EXPECT_EQ(k.errors(), in_cp1251("f: предупреждение\n"));
}

TEST(DataFileWarnings, AreBounded) {
  std::string file = "START,\n";
  for (int k = 0; k < 100; ++k)
    file += "1k,\n";
  InProcess r = InMemory(file + "END,\n");
  EXPECT_EQ(count_of(r.err, "предупреждение"), kMaxWarnings);
  EXPECT_NE(r.err.find("data_1.txt: ещё предупреждений: 60 (не показаны)\n"), std::string::npos);
}
