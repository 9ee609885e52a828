// The command line: what each form asks for, and the answers of the
// executable to --help, --version and misuse.

#include "program1/command_line.h"

#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "program1/register_table.h"
#include "program1/settings.h"
#include "support/test_util.h"

TEST(CommandLine, EveryForm) {
  struct Case {
    std::vector<const char*> args;
    Request request;
    const char* data_file;  ///< nullptr: the name is asked for.
    int fall;               ///< After the switch is taken (runs only).
    std::string echo;       ///< What the switch prints.
  } cases[] = {
      {{}, Request::kRun, nullptr, 0, ""},
      // Alone, the switch counts by its first two characters and is echoed.
      {{"-1"}, Request::kRun, nullptr, 1, "argc=2\nargv=-\n"},
      {{"-10"}, Request::kRun, nullptr, 1, "argc=2\nargv=-\n"},
      {{"-1x"}, Request::kRun, nullptr, 1, "argc=2\nargv=-\n"},
      // One other argument is the data file; nothing is echoed.
      {{"1"}, Request::kRun, "1", 0, ""},
      {{""}, Request::kRun, "", 0, ""},
      {{"-"}, Request::kRun, "-", 0, ""},
      {{"data_1.txt"}, Request::kRun, "data_1.txt", 0, ""},
      {{"-1", "x"}, Request::kRun, "x", 1, ""},
      {{"x", "-1"}, Request::kRun, "x", 1, ""},
      {{"--", "-1"}, Request::kRun, "-1", 0, ""},
      {{"-1", "--", "-h"}, Request::kRun, "-h", 1, ""},
      {{"--"}, Request::kRun, nullptr, 0, ""},
      {{"-h"}, Request::kHelp, nullptr, 0, ""},
      {{"--help"}, Request::kHelp, nullptr, 0, ""},
      {{"x", "-h", "y"}, Request::kHelp, nullptr, 0, ""},
      {{"--version"}, Request::kVersion, nullptr, 0, ""},
      {{"-2"}, Request::kMisuse, nullptr, 0, ""},
      {{"--1"}, Request::kMisuse, nullptr, 0, ""},
      {{"-x", "--help"}, Request::kMisuse, nullptr, 0, ""},
      {{"x", "y"}, Request::kMisuse, nullptr, 0, ""},
      {{"-1", "x", "--", "y"}, Request::kMisuse, nullptr, 0, ""},
  };
  for (const Case& c : cases) {
    std::vector<const char*> argv{"podbor"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    std::string shown;
    for (const char* a : c.args)
      shown += std::string(" '") + a + "'";
    SCOPED_TRACE(shown);
    CommandLine line = parse_command_line(static_cast<int>(argv.size()), argv.data());
    EXPECT_EQ(line.request, c.request);
    if (c.request != Request::kRun) continue;
    EXPECT_EQ(std::string(line.data_file ? line.data_file : "(asked)"),
              c.data_file ? c.data_file : "(asked)");
    reset_register();
    ConsoleCapture k;
    take_switch(line);
    EXPECT_EQ(fall, c.fall);
    EXPECT_EQ(k.text(), c.echo);
  }
}

TEST(CommandLine, AnswersOfTheExecutable) {
  const std::string usage = "Использование: podbor [-1] [ФАЙЛ]\n";
  struct Case {
    const char* args;
    int status;
    std::string out;  ///< Standard output begins with it.
    std::string err;  ///< Standard error begins with it.
  } cases[] = {
      {"--help", 0, usage, ""},
      {"-h", 0, usage, ""},
      {"--version", 0, "podbor 1.1.0\n", ""},
      {"-x", 2, "", "podbor: неизвестный параметр -x\n" + usage},
      {"--verbose", 2, "", "podbor: неизвестный параметр --verbose\n" + usage},
      {"a.txt b.txt", 2, "",
       "podbor: лишний аргумент b.txt: файл данных может быть только один\n" + usage},
  };
  std::string dir = make_temp_dir();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    // The answer comes without a look at the input: no prompt, no file read.
    RunResult r = run_podbor_split(dir, "data_1.txt\n", c.args);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out.substr(0, c.out.size()), c.out);
    EXPECT_EQ(r.err.substr(0, c.err.size()), c.err);
    EXPECT_EQ(count_of(r.out + r.err, "Введите имя файла"), 0);
    EXPECT_EQ(c.status == 0 ? r.err : r.out, "");
  }
  std::system(("rm -rf '" + dir + "'").c_str());
}
