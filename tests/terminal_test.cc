// The executable on a pseudo-terminal, as a user at a keyboard meets it.

#include <gtest/gtest.h>

#ifdef _WIN32

TEST(Terminal, NeedsAPseudoTerminal) {
  GTEST_SKIP() << "pseudo-terminals are POSIX; a Windows console window is tried by hand";
}

#else

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include "support/test_util.h"

namespace {

/// Runs podbor on data.txt in `dir` on a new pseudo-terminal in the locale
/// `lang`, types `keys` at once and returns the exit status (-1: none) and,
/// in `*screen`, what the terminal showed. With `to_file` the output goes to
/// out.txt and nothing more is typed; otherwise a key is pressed when the run
/// waits for its final key (the terminal leaves line mode). A run that waits
/// for more is ended after 20 seconds.
int RunOnTerminal(const std::string& dir, const std::string& keys, const char* lang, bool to_file,
                  std::string* screen) {
  int master = -1;
  int slave = -1;
  int out = -1;
  pid_t pid = -1;
  if (openpty(&master, &slave, nullptr, nullptr, nullptr) == 0) {
    out = to_file ? open((dir + "/out.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644)
                  : slave;
    pid = spawn_podbor(dir, slave, out, slave, /*terminal=*/true, lang, "data.txt");
    if (to_file) close(out);
    close(slave);  // the run holds it: the terminal closes when the run ends
  }
  bool typed =
      pid > 0 && write(master, keys.data(), keys.size()) == static_cast<ssize_t>(keys.size());
  bool key_pressed = to_file;
  for (pollfd p{master, POLLIN, 0}; typed;) {
    char buf[4096];
    termios t;
    if (poll(&p, 1, 10) > 0) {
      ssize_t n = read(master, buf, sizeof(buf));
      if (n <= 0) break;  // the run has ended and closed the terminal
      screen->append(buf, n);
    } else if (!key_pressed && tcgetattr(master, &t) == 0 && !(t.c_lflag & ICANON)) {
      key_pressed = write(master, "k", 1) == 1;
    }
  }
  close(master);
  int st = 0;
  return pid > 0 && waitpid(pid, &st, 0) == pid && WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}

}  // namespace

TEST(Terminal, AnAnswerIsTheWholeTypedLineAndUnseenPromptsDoNotWait) {
  struct Case {
    const char* name;
    std::string keys;
    const char* lang;
    bool to_file;
    int matches;  ///< Matches shown before the listing ends.
  } cases[] = {
      {"x shows one page", "x\nq\n", "C.UTF-8", false, 20},
      {"Enter shows one page", "\n\nq\n", "C.UTF-8", false, 30},
      {"q inside a line goes on", "xq\nq\n", "C.UTF-8", false, 20},
      {"Q", "Q\n", "C.UTF-8", false, 10},
      {"й", "й\n", "C.UTF-8", false, 10},
      {"Й", "Йes\n", "C.UTF-8", false, 10},
      {"й in Windows-1251", "\xE9\n", "ru_RU.CP1251", false, 10},
      {"output to a file", "", "C.UTF-8", true, 42},
  };
  std::string dir = make_temp_dir();
  // Ten components, repeated use, no threshold: 42 matches, four prompts.
  write_file(dir + "/data.txt", "FALL,1,START,1,2,3,4,5,6,7,8,9,10,END,\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string screen;
    EXPECT_EQ(RunOnTerminal(dir, c.keys, c.lang, c.to_file, &screen), 0);
    std::string out = c.to_file ? read_file(dir + "/out.txt") : screen;
    EXPECT_EQ(count_of(out, "Rsr_"), c.matches);
    std::string end = "Конец программы";
    EXPECT_EQ(count_of(out, end) + count_of(out, to_cp1251(end)), 1);
    if (c.to_file) {
      EXPECT_EQ(count_of(out, "------Для окончания вывода введите 'q'\n"), 4);
      // The terminal shows the prompt and the closing summary, nothing of the listing.
      EXPECT_EQ(count_of(screen, "Rsr_"), 0);
      EXPECT_EQ(count_of(screen, "Итог: вариантов 42, компонентов использовано 10"), 1) << screen;
      EXPECT_EQ(count_of(screen, "Введите имя файла"), 0);  // named on the command line
    } else {
      // The key wait says so, and ends its line once the key is pressed.
      const std::string hint = "(нажмите любую клавишу)\r\n";
      EXPECT_EQ(count_of(screen, hint) + count_of(screen, to_cp1251(hint)), 1) << screen;
    }
  }
  remove_tree(dir);
}

#endif
