// The executable on a pseudo-terminal, as a user at a keyboard meets it.

#include <gtest/gtest.h>

#ifdef _WIN32

TEST(Terminal, NeedsAPseudoTerminal) {
  GTEST_SKIP() << "pseudo-terminals are POSIX; a Windows console window is tried by hand";
}

#else

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/pseudo_terminal.h"
#include "support/test_util.h"

namespace {

/// Runs podbor on data.txt in `dir` on a pseudo-terminal in the locale
/// `lang`, types `keys` at once and returns the exit status (-1: none) and,
/// in `*screen`, what the terminal showed. With `to_file` the output goes to
/// out.txt, the name is typed rather than given, and nothing more is typed;
/// otherwise a key is pressed when the run waits for its final key.
int RunOnTerminal(const ScopedTempDir& dir, const std::string& keys, const char* lang, bool to_file,
                  std::string* screen) {
  Invocation how{.env = {std::string("LANG=") + lang}};
  if (!to_file) how.args = {"data.txt"};
  if (to_file)
    how.out = open((dir / "out.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  PseudoTerminal t(dir.path(), how);
  if (to_file) close(how.out);
  if (!t.type(keys)) return -1;
  t.read_to_end(/*press_key=*/!to_file);
  *screen = t.screen;
  int st = t.end_with();
  return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
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
      {"output to a file", "data.txt\n", "C.UTF-8", true, 42},
  };
  ScopedTempDir dir;
  // Ten components, repeated use, no threshold: 42 matches, four prompts.
  write_file(dir / "data.txt", "FALL,1,START,1,2,3,4,5,6,7,8,9,10,END,\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string screen;
    EXPECT_EQ(RunOnTerminal(dir, c.keys, c.lang, c.to_file, &screen), 0);
    std::string out = c.to_file ? read_file(dir / "out.txt") : screen;
    EXPECT_EQ(count_of(out, "Rsr_"), c.matches);
    std::string end = "Конец программы";
    EXPECT_EQ(count_of(out, end) + count_of(out, to_cp1251(end)), 1);
    if (c.to_file) {
      EXPECT_EQ(count_of(out, "------Для окончания вывода введите 'q'\n"), 4);
      // The terminal shows the prompt and the closing summary, nothing of the listing.
      EXPECT_EQ(count_of(screen, "Rsr_"), 0);
      EXPECT_EQ(count_of(screen, "Итог: вариантов 42, компонентов использовано 10"), 1) << screen;
      // The name prompt, which went to the file, is shown where the user looks.
      EXPECT_EQ(count_of(screen, "Введите имя файла"), 1);
    } else {
      // The key wait says so, and ends its line once the key is pressed.
      const std::string hint = "(нажмите любую клавишу)\r\n";
      EXPECT_EQ(count_of(screen, hint) + count_of(screen, to_cp1251(hint)), 1) << screen;
    }
  }
}

#endif
