#include "writers/csv_writer.h"

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "support/test_util.h"
#include "writers_test_util.h"

namespace {

/// One set of two plus one components and one unused component, whose
/// values need every kind of number the CSV prints.
RunResults SmallRun() {
  RunResults r = made_run(0, 0, "=cmd|' /C calc'!A0.txt");
  r.parts = {{1, 100.66f, "100.66", "", 0},
             {2, 0.0000047f, "4.7e-6", "-5.1", 0},
             {7, 30000000.0f, "3e7", "say \"hi\"; x, y", 0},
             {9, 99.12f, "+99.12", "@SUM(A1)", -1}};
  r.sets = {{1, {100.66f, {0, 1}}, {100.68f, {2}}, 100.66999816894531, 0.0198688f}};
  return r;
}

TEST(CsvWriter, FormatsAndCells) {
  struct Case {
    CsvFormat format;
    const char* text;  ///< What the output holds.
  } cases[] = {
      // BOM, then key;value lines with guarded text from outside.
      {CsvFormat::kSpreadsheet, "\xEF\xBB\xBF\xD0\xA4"},
      {CsvFormat::kSpreadsheet, ";\"'=cmd|' /C calc'!A0.txt\"\r\n"},
      {CsvFormat::kSpreadsheet, "\r\n\r\nПодборка;Сторона;R;"},
      {CsvFormat::kSpreadsheet, "1;A;1;100.66;100,66;100,66;100,669998;0,019869;\r\n"},
      // Values never in exponent form; a written or label cell that is a plain
      // number is not guarded.
      {CsvFormat::kSpreadsheet, "1;A;2;4.7e-6;0,0000047;100,66;100,669998;0,019869;-5.1\r\n"},
      {CsvFormat::kSpreadsheet,
       "1;B;7;3e7;30000000;100,68;100,669998;0,019869;"
       "\"say \"\"hi\"\"; x, y\"\r\n"},
      {CsvFormat::kSpreadsheet, ";;9;+99.12;99,12;;;;\"'@SUM(A1)\"\r\n"},
      {CsvFormat::kSpreadsheet, "Порог точности (TCH);0,5 %\r\n"},
      {CsvFormat::kRfc, "Файл данных,\"'=cmd|' /C calc'!A0.txt\"\r\n"},
      {CsvFormat::kRfc, "1,A,1,100.66,100.66,100.66,100.669998,0.019869,\r\n"},
      {CsvFormat::kRfc,
       "1,B,7,3e7,30000000,100.68,100.669998,0.019869,"
       "\"say \"\"hi\"\"; x, y\"\r\n"},
      {CsvFormat::kRfc, "Порог точности (TCH),0.5 %\r\n"},
  };
  for (const Case& c : cases)
    EXPECT_NE(csv_text(SmallRun(), c.format).find(c.text), std::string::npos) << c.text;
  std::string rfc = csv_text(SmallRun(), CsvFormat::kRfc);
  EXPECT_EQ(rfc.rfind("Файл данных", 0), 0u) << "no BOM";
  EXPECT_EQ(count_of(rfc, "\n"), count_of(rfc, "\r\n"));
}

/// Python's csv module reads back every cell as written, in both formats.
TEST(CsvWriter, PythonReadsItBack) {
  if (kWindows || std::system("python3 -c 0 >/dev/null 2>&1") != 0) GTEST_SKIP() << "no python3";
  RunResults r = SmallRun();
  r.parts[3].label = "line\r\nnext";
  ScopedTempDir dir;
  write_file(dir / "check.py",
             "import csv, sys\n"
             "rows = list(csv.reader(open(sys.argv[1], newline='', encoding='utf-8-sig'),\n"
             "                       delimiter=sys.argv[2]))\n"
             "head = [row[:1] for row in rows].index(['Подборка'])\n"
             "data = rows[head + 1:]\n"
             "assert rows[0] == ['Файл данных', \"'=cmd|' /C calc'!A0.txt\"], rows[0]\n"
             "assert [len(row) for row in data] == [9] * 4, data\n"
             "assert data[2][8] == 'say \"hi\"; x, y', data[2]\n"
             "assert data[3][2:] == ['9', '+99.12', sys.argv[3], '', '', '', "
             "'line\\r\\nnext'], data[3]\n");
  struct Case {
    CsvFormat format;
    const char* args;
  } cases[] = {{CsvFormat::kSpreadsheet, " ';' 99,12"}, {CsvFormat::kRfc, " , 99.12"}};
  std::string check = "python3 " + dir / "check.py " + dir / "out.csv";
  for (const Case& c : cases) {
    write_file(dir / "out.csv", csv_text(r, c.format));
    std::string command = check + c.args;
    EXPECT_EQ(std::system(command.c_str()), 0) << c.args;
  }
}

}  // namespace
