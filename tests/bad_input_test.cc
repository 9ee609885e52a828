// Broken and hostile input through the real executable: every run ends
// cleanly with its status, says what happened, and leaves a sound
// "Rezalts.txt" (or, when matching fails, none at all). Input that leaves
// the run without components is in tests/trouble_test.cc.

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/test_util.h"

namespace {

const char kEnd[] = "\n\a\tКонец программы";

struct Row {
  const char* name;
  std::string data;              ///< Content of data_1.txt.
  std::string input;             ///< What the user types.
  int status;                    ///< Expected exit status (3: with warnings).
  std::string console;           ///< Must stand in the console output.
  std::string result_file = "";  ///< Must stand in Rezalts.txt ("" when status is 1: no file).
};

std::string Repeat(const std::string& s, int n) {
  std::string r;
  for (int k = 0; k < n; ++k)
    r += s;
  return r;
}

void Check(const Row& row, const ScopedTempDir& dir) {
  SCOPED_TRACE(row.name);
  RunResult r = run_podbor(dir.path(), row.input);
  EXPECT_EQ(r.status, row.status);
  EXPECT_NE(r.out.find(row.console), std::string::npos) << r.out.substr(0, 2000);
  std::string path = dir / "Rezalts.txt";
  // 3: complete, but the data file drew warnings (said after the listing).
  if (row.status == 0 || row.status == 3) {
    EXPECT_NE(r.out.find(kEnd), std::string::npos);
    std::string file = read_file(path);
    EXPECT_NE(file.find(to_cp1251(row.result_file)), std::string::npos);
    const std::string end = to_cp1251("\n\tКонец файла\n");
    EXPECT_EQ(file.substr(file.size() - end.size()), end);
  } else {
    EXPECT_FALSE(file_exists(path));
  }
  std::remove(path.c_str());
}

void CheckAll(const std::vector<Row>& rows) {
  ScopedTempDir dir;
  for (const Row& row : rows) {
    write_file(dir / "data_1.txt", row.data);
    Check(row, dir);
  }
}

const char kName[] = "data_1.txt\n";

}  // namespace

TEST(BadInput, EmptyCommentsAndGarbage) {
  CheckAll({
      {"unclosed block comment", "TCH, 50, START, 10, 12, /* 22, END,\n", kName, 3,
       "Число символов=19   Число слов=6\n", "R   2 =   12,000000"},
      {"binary garbage", std::string("\0\x01\x80\xff START,\x00 10,\xc0\xe9 12,END,", 26), kName, 0,
       "N=17     Число компонентов 2\n", "R   1 =   10,000000\tR   2 =   12,000000\t"},
  });
}

// What lower tests cannot show: numbers beyond the float range and zeros
// go through pairing, matching and both reports, and the run ends cleanly.
TEST(BadInput, Numbers) {
  CheckAll({
      {"40 digits", "START," + Repeat("9", 40) + ",5,END,", kName, 0, "Число компонентов 2\n",
       "R   1 =         inf"},
      {"a sum beyond the float range",
       "START,3e38,300000000000000000000000000000000000000,"
       "300000000000000000000000000000000000000,END,",
       kName, 3, "ПОСЛЕДОВАТЕЛЬНО элементов структуры 3\n",
       "R   2 =  299999959984956368474463146386642698240,000000"},
      {"zeros in series", "START,0,0,5,END,", kName, 0, "элементов структуры 3\n",
       "R   3 =    5,000000"},
      {"zeros in parallel", "TIP,2,START,0,0,5,END,", kName, 1,
       "не является числом (например, параллельная пара двух компонентов со значением 0)"},
  });
}

TEST(BadInput, ConsoleInputEnds) {
  CheckAll({
      {"input ends before the name", "START,10,12,22,END,", "", 0,
       "Имя файла data_1.txt  файл найден", "Rezalts end"},
      {"input ends before the paging answer", "FALL,1,START,10,20,30,40,50,60,END,", kName, 0,
       "------Для окончания вывода введите 'q'\nRsr_11_", "Rsr_12_"},
  });
}
