// The executable on a pseudo-terminal, as a user at a keyboard meets it:
// paging answers are whole typed lines, and nothing waits for a keyboard
// whose terminal does not show the output.

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "support/test_util.h"

namespace {

struct TerminalRun {
  int status = -1;     ///< Exit status, or -1 when it did not exit normally.
  std::string screen;  ///< What the terminal showed.
};

/// Runs podbor in `dir` on a new pseudo-terminal with the argument `arg` and
/// the locale `lang`; `keys` are typed at once. With `to_file` standard
/// output goes to the file out.txt instead, and nothing more is typed;
/// otherwise a key is pressed once the run waits for the final key (its
/// terminal leaves line mode). A run that waits for more is ended after 20
/// seconds and shows no exit status.
TerminalRun RunOnTerminal(const std::string& dir, const char* arg, const std::string& keys,
                          const char* lang, bool to_file) {
  TerminalRun run;
  int master = -1;
  pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
  if (pid < 0) return run;
  if (pid == 0) {
    if (chdir(dir.c_str()) != 0) _exit(126);
    setenv("LANG", lang, 1);
    unsetenv("LC_ALL");
    unsetenv("LC_CTYPE");
    if (to_file) dup2(open("out.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644), STDOUT_FILENO);
    alarm(20);  // survives exec
    execl(PODBOR_EXE, "podbor", arg, static_cast<char*>(nullptr));
    _exit(127);
  }
  if (write(master, keys.data(), keys.size()) != static_cast<ssize_t>(keys.size())) return run;
  bool key_pressed = to_file;
  for (;;) {
    pollfd p{master, POLLIN, 0};
    if (poll(&p, 1, 10) > 0) {
      char buf[4096];
      ssize_t n = read(master, buf, sizeof(buf));
      if (n <= 0) break;  // the run has ended and closed the terminal
      run.screen.append(buf, n);
      continue;
    }
    termios t;
    if (!key_pressed && tcgetattr(master, &t) == 0 && !(t.c_lflag & ICANON)) {
      key_pressed = write(master, "k", 1) == 1;
    }
  }
  close(master);
  int st = 0;
  waitpid(pid, &st, 0);
  run.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return run;
}

/// Every match of ten components with repeated use and no threshold: 42 of
/// them, so four paging prompts.
const char kManyMatches[] = "FALL,1,START,1,2,3,4,5,6,7,8,9,10,END,\n";
const int kAllMatches = 42;

}  // namespace

TEST(Terminal, AnAnswerIsTheWholeTypedLine) {
  struct Case {
    const char* name;
    std::string keys;
    const char* lang;
    int matches;  ///< Matches shown before the listing ends.
  } cases[] = {
      {"x shows one page", "x\nq\n", "C.UTF-8", 20},
      {"Enter shows one page", "\n\nq\n", "C.UTF-8", 30},
      {"a line with q inside goes on", "xq\nq\n", "C.UTF-8", 20},
      {"q", "q\n", "C.UTF-8", 10},
      {"Q", "Q\n", "C.UTF-8", 10},
      {"й", "й\n", "C.UTF-8", 10},
      {"Й", "Йes\n", "C.UTF-8", 10},
      {"й in Windows-1251", "\xE9\n", "ru_RU.CP1251", 10},
      {"Й in Windows-1251", "\xC9\n", "ru_RU.CP1251", 10},
      {"Enter to the end", "\n\n\n\n", "C.UTF-8", kAllMatches},
  };
  std::string dir = make_temp_dir();
  write_file(dir + "/data.txt", kManyMatches);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TerminalRun run = RunOnTerminal(dir, "data.txt", c.keys, c.lang, false);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(count_of(run.screen, "Rsr_"), c.matches);
    const std::string end = "Конец программы";
    EXPECT_EQ(count_of(run.screen, end) + count_of(run.screen, to_cp1251(end)), 1);
  }
  std::system(("rm -rf '" + dir + "'").c_str());
}

TEST(Terminal, OutputAwayFromTheKeyboardWaitsForNothing) {
  std::string dir = make_temp_dir();
  write_file(dir + "/data.txt", kManyMatches);
  TerminalRun run = RunOnTerminal(dir, "data.txt", "", "C.UTF-8", true);
  EXPECT_EQ(run.status, 0);
  std::string out = read_file(dir + "/out.txt");
  EXPECT_EQ(count_of(out, "Rsr_"), kAllMatches);
  EXPECT_EQ(count_of(out, "------Для окончания вывода введите 'q'\n"), kAllMatches / 10);
  EXPECT_EQ(out.substr(out.size() - std::string("Конец программы").size()), "Конец программы");
  EXPECT_EQ(run.screen, "");
  std::system(("rm -rf '" + dir + "'").c_str());
}
