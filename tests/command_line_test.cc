// The command line: what each form asks for, and the answers of the
// executable that run nothing.

#include "program1/command_line.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "program1/register_table.h"
#include "program1/settings.h"
#include "support/test_util.h"

TEST(CommandLine, EveryForm) {
  const char* kAsked = "(asked)";
  struct Case {
    std::vector<const char*> args;
    Request request;
    const char* file;  ///< The data file of a run.
    int fall;
    std::string echo;
  } cases[] = {
      {{}, Request::kRun, kAsked, 0, ""},
      {{"-1"}, Request::kRun, kAsked, 1, "argc=2\nargv=-\n"},
      {{"-10"}, Request::kRun, kAsked, 1, "argc=2\nargv=-\n"},
      {{"-1x"}, Request::kRun, kAsked, 1, "argc=2\nargv=-\n"},
      {{"1"}, Request::kRun, "1", 0, ""},
      {{""}, Request::kRun, "", 0, ""},
      {{"-1", "x"}, Request::kRun, "x", 1, ""},
      {{"x", "-10"}, Request::kRun, "x", 1, ""},
      {{"-1", "--", "-h"}, Request::kRun, "-h", 1, ""},
      {{"x", "--help", "y"}, Request::kHelp, kAsked, 0, ""},
      {{"--version"}, Request::kVersion, kAsked, 0, ""},
      {{"/?"}, kWindows ? Request::kHelp : Request::kRun, kWindows ? kAsked : "/?", 0, ""},
      {{"-2"}, Request::kMisuse, kAsked, 0, ""},
      {{"--1"}, Request::kMisuse, kAsked, 0, ""},
      {{"-x", "--help"}, Request::kMisuse, kAsked, 0, ""},
      {{"x", "--", "y"}, Request::kMisuse, kAsked, 0, ""},
      {{"-m", "--csv", "s.csv", "--html=p.html", "x"}, Request::kRun, "x", 0, ""},
      {{"--csv"}, Request::kMisuse, kAsked, 0, ""},
      {{"--csv-format=odd"}, Request::kMisuse, kAsked, 0, ""},
      {{"--import", "l.txt", "-o", "d.txt", "--unit=k"}, Request::kImport, kAsked, 0, ""},
      {{"--import", "l.txt", "-o", "d.txt", "x"}, Request::kMisuse, kAsked, 0, ""},
      {{"--import", "l.txt", "-m"}, Request::kMisuse, kAsked, 0, ""},
      {{"-o", "d.txt", "x"}, Request::kMisuse, kAsked, 0, ""},
  };
  const char* const full[] = {"podbor", "-m",     "--csv-format", "rfc", "--csv=s.csv",
                              "--html", "p.html", "--",           "-x"};
  CommandLine named = parse_command_line(9, full);
  EXPECT_TRUE(named.most);
  EXPECT_EQ(named.csv_format, CsvFormat::kRfc);
  EXPECT_STREQ(named.csv, "s.csv");
  EXPECT_STREQ(named.html, "p.html");
  EXPECT_STREQ(named.data_file, "-x");
  const char* const import[] = {"podbor", "--import", "l.txt",     "--tch",
                                "0.05",   "d.txt",    "--parallel"};
  named = parse_command_line(7, import);
  EXPECT_STREQ(named.import.list, "l.txt");
  EXPECT_STREQ(named.import.output, "d.txt");
  EXPECT_STREQ(named.import.tch, "0.05");
  EXPECT_TRUE(named.import.parallel);
  for (const Case& c : cases) {
    std::vector<const char*> argv{"podbor"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    SCOPED_TRACE(testing::PrintToString(c.args));
    CommandLine line = parse_command_line(static_cast<int>(argv.size()), argv.data());
    EXPECT_EQ(line.request, c.request);
    if (c.request != Request::kRun) continue;
    EXPECT_STREQ(line.data_file ? line.data_file : kAsked, c.file);
    reset_register();
    ConsoleCapture k;
    take_switch(line);
    EXPECT_EQ(fall, c.fall);
    EXPECT_EQ(k.text(), c.echo);
  }
}

TEST(CommandLine, AnswersOfTheExecutableReadNoInput) {
  const std::string usage = "Использование: podbor [-1] [-m]";
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string out;  ///< The beginning of standard output,
    std::string err;  ///< and of standard error.
  } cases[] = {
      {{"--help"}, 0, usage, ""},
      {{"--version"}, 0, "podbor 1.1.0\n", ""},
      {{"-x"}, 2, "", "podbor: неизвестный параметр -x\n" + usage},
      {{"a", "b"},
       2,
       "",
       "podbor: лишний аргумент b: файл данных может быть только один\n" + usage},
      {{"--html"}, 2, "", "podbor: параметр --html требует значения\n" + usage},
  };
  ScopedTempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    RunResult r = run_podbor_split(dir.path(), "data_1.txt\n", {.args = c.args});
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out.substr(0, c.out.size()), c.out);
    EXPECT_EQ(r.err.substr(0, c.err.size()), c.err);
    EXPECT_EQ(c.status == 0 ? r.err : r.out, "");
    EXPECT_EQ(count_of(r.out, "Введите"), 0);
  }
}
