// Runs cut short from outside: a signal at a paging prompt or during the key
// wait, a reader that closes the pipe, a name line without end. The result
// file is whole or untouched, nothing is left behind, the terminal is as it
// was, and memory stays bounded. POSIX signals and terminals only.

#ifndef _WIN32

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <set>
#include <string>

#include <gtest/gtest.h>

#include "support/pseudo_terminal.h"
#include "support/test_util.h"

namespace {

const std::set<std::string> kDataAndResult = {"Rezalts.txt", "data_1.txt"};

/// podbor on a pseudo-terminal of its own, in `dir`, with the data file
/// name typed.
struct TerminalRun : PseudoTerminal {
  explicit TerminalRun(const ScopedTempDir& dir) : PseudoTerminal(dir.path()) {
    if (!type("data_1.txt\n")) pid = -1;
  }
  /// Sends `sig` (0: none) and returns the signal that ended the process
  /// (0: none).
  int KillWith(int sig) {
    int st = end_with(sig);
    return WIFSIGNALED(st) ? WTERMSIG(st) : 0;
  }
};

/// Starts podbor in `dir` with `dir`/.stdin as standard input, standard
/// output on `out` (-1: nowhere) and standard error into the file `err`.
int SpawnOnFiles(const ScopedTempDir& dir, int out, const char* err) {
  int in_fd = open((dir / ".stdin").c_str(), O_RDONLY | O_CLOEXEC);
  int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
  int err_fd = open(err, O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  int pid = spawn_podbor(dir.path(), in_fd, out < 0 ? null : out, err_fd);
  close(in_fd);
  close(null);
  close(err_fd);
  return pid;
}

/// Waits for `pid`; its exit status, -1 when a signal ended it.
int ExitStatus(int pid, rusage* ru) {
  int st = 0;
  wait4(pid, &st, 0, ru);
  return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}

}  // namespace

TEST(Interruption, ASignalAtAPagingPromptLeavesTheWholeResultFile) {
  // Eleven matches: the listing pauses after ten.
  const std::string data = "FALL,1,TCH,60,START,10,20,30,40,50,60,END,\n";
  ScopedTempDir piped;
  write_file(piped / "data_1.txt", data);
  ASSERT_EQ(run_podbor_split(piped.path(), "data_1.txt\n").status, 0);

  ScopedTempDir dir;
  write_file(dir / "data_1.txt", data);
  {
    TerminalRun t(dir);
    ASSERT_GT(t.pid, 0);
    ASSERT_TRUE(t.read_until("введите 'q'"));
    EXPECT_EQ(t.KillWith(SIGTERM), SIGTERM);
  }
  EXPECT_EQ(read_file(dir / "Rezalts.txt"), read_file(piped / "Rezalts.txt"));
  EXPECT_EQ(names_in(dir.path()), kDataAndResult);
}

TEST(Interruption, ASignalDuringTheKeyWaitRestoresTheTerminal) {
  // SIGQUIT dumps no core into the folder.
  rlimit no_core{0, 0};
  ASSERT_EQ(setrlimit(RLIMIT_CORE, &no_core), 0);
  // 0: a stop and a continue, with the terminal set back to line mode
  // meanwhile, as a shell does; then a key ends the run.
  for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGALRM, 0}) {
    SCOPED_TRACE(sig);
    ScopedTempDir dir;
    write_file(dir / "data_1.txt", "START,10,20,END,\n");
    TerminalRun t(dir);
    ASSERT_GT(t.pid, 0);
    termios before;
    ASSERT_EQ(tcgetattr(t.slave, &before), 0);
    ASSERT_TRUE(t.read_until("Конец программы"));
    // The key wait turns echo and line mode off; wait until it has.
    ASSERT_TRUE(t.wait_for_echo(false));
    if (sig == 0) {
      kill(t.pid, SIGSTOP);
      ASSERT_EQ(tcsetattr(t.slave, TCSANOW, &before), 0);
      kill(t.pid, SIGCONT);
      EXPECT_TRUE(t.wait_for_echo(false));
      ASSERT_EQ(write(t.master, "k", 1), 1);
    }
    EXPECT_EQ(t.KillWith(sig), sig);
    termios now;
    ASSERT_EQ(tcgetattr(t.slave, &now), 0);
    EXPECT_EQ(now.c_lflag & (ECHO | ICANON), before.c_lflag & (ECHO | ICANON));
    EXPECT_EQ(names_in(dir.path()), kDataAndResult);
  }
}

TEST(Interruption, AReaderThatClosesThePipeIsNoTrouble) {
  // Sixty components, every match printed: far more than a pipe holds.
  std::string data = "FALL,1,TCH,0,START,";
  for (int k = 1; k <= 60; ++k)
    data += std::to_string(k) + ",";
  ScopedTempDir dir;
  write_file(dir / "data_1.txt", data + "END,\n");
  write_file(dir / ".stdin", "data_1.txt\n");
  // Close-on-exec: the reader's end must not live on in podbor.
  int pipe_fds[2];
  ASSERT_EQ(pipe2(pipe_fds, O_CLOEXEC), 0);
  int pid = SpawnOnFiles(dir, pipe_fds[1], (dir / ".stderr").c_str());
  close(pipe_fds[1]);
  char head[100];
  EXPECT_GT(read(pipe_fds[0], head, sizeof(head)), 0);
  close(pipe_fds[0]);
  rusage ru{};
  EXPECT_EQ(ExitStatus(pid, &ru), 0);
  EXPECT_EQ(read_file(dir / ".stderr"), "");
  std::string file = read_file(dir / "Rezalts.txt");
  EXPECT_EQ(file.substr(file.size() - 14), to_cp1251("\n\tКонец файла\n"));
}

namespace {

/// Runs podbor with `dir`/.stdin as standard input; returns its exit status
/// and sets `*max_rss_kb` to the most memory it held. The count starts at
/// the fork, so this process should hold little.
int RunMeasured(const ScopedTempDir& dir, long* max_rss_kb) {
  rusage ru{};
  int status = ExitStatus(SpawnOnFiles(dir, -1, "/dev/null"), &ru);
  *max_rss_kb = ru.ru_maxrss;
  return status;
}

}  // namespace

TEST(Interruption, ANameLineWithoutEndCostsBoundedMemory) {
  ScopedTempDir dir;
  long small = 0;
  long huge = 0;
  write_file(dir / ".stdin", "missing.txt\n");
  EXPECT_EQ(RunMeasured(dir, &small), 2);
  {
    std::string mb(1 << 20, 'x');
    FILE* f = std::fopen((dir / ".stdin").c_str(), "wb");
    ASSERT_NE(f, nullptr);
    for (int k = 0; k < 50; ++k)
      std::fwrite(mb.data(), 1, mb.size(), f);
    std::fputs("\n", f);
    std::fclose(f);
  }
  EXPECT_EQ(RunMeasured(dir, &huge), 2);
  // Holding the line would take 50 MB at the least.
  EXPECT_LT(huge, small + 16L * 1024);
}

#endif  // _WIN32
