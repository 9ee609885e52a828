#include "platform/platform.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

/// The signals whose default action ends the process and which come from
/// outside, from a limit or from an abort (std::terminate after a failed
/// allocation). A fault of the program's own (SIGSEGV, SIGBUS, SIGFPE,
/// SIGILL, SIGSYS, SIGTRAP) keeps its default action, and the sanitizers'
/// handlers: nothing after it can be trusted. SIGPIPE and SIGXFSZ are
/// ignored instead, so that the write fails and says why.
constexpr int kGuarded[] = {
    SIGINT,    SIGTERM, SIGHUP,    SIGQUIT, SIGABRT, SIGUSR1,
    SIGUSR2,   SIGALRM, SIGVTALRM, SIGPROF, SIGXCPU,
#ifdef SIGPOLL
    SIGPOLL,
#endif
#ifdef SIGSTKFLT
    SIGSTKFLT,
#endif
#ifdef SIGPWR
    SIGPWR,
#endif
};

/// The job-control signals of the key wait: a stop gives the terminal back
/// to the shell as it was, a continue takes the key mode up again.
constexpr int kJobControl[] = {SIGTSTP, SIGCONT};

/// What a guarded signal undoes: the unfinished result file while `tmp_armed`
/// is set, the terminal's settings while `term_armed` is set (`term_raw` is
/// the key mode a continue sets again). Fixed storage, so that the handler
/// touches nothing that could be half-built.
char tmp_path[4096];
volatile sig_atomic_t tmp_armed = 0;
termios term_saved;
termios term_raw;
int term_fd = -1;
volatile sig_atomic_t term_armed = 0;

/// Only async-signal-safe calls in the handlers: unlink, tcsetattr,
/// sigaction, sigprocmask, raise. Every handled signal is blocked while one
/// runs, so that none comes between a step and its undoing.
void OnSignal(int sig) {
  if (tmp_armed) unlink(tmp_path);
  if (term_armed) tcsetattr(term_fd, TCSANOW, &term_saved);
  // Still blocked, the raise takes effect on the return, with the default
  // action: the process ends as the signal says.
  signal(sig, SIG_DFL);
  raise(sig);
}

/// Sets `handler` for `sig`, with every handled signal blocked while it runs.
void Install(int sig, void (*handler)(int)) {
  struct sigaction sa;
  std::memset(&sa, 0, sizeof(sa));
  sa.sa_handler = handler;
  sigemptyset(&sa.sa_mask);
  for (int s : kGuarded)
    sigaddset(&sa.sa_mask, s);
  for (int s : kJobControl)
    sigaddset(&sa.sa_mask, s);
  sigaction(sig, &sa, nullptr);
}

void OnContinue(int /*sig*/) {
  int err = errno;
  if (term_armed) tcsetattr(term_fd, TCSANOW, &term_raw);
  errno = err;
}

/// The shell gets the terminal as it was before the key wait; the process
/// then stops as it would have, and goes on here when continued, or at once
/// when the system drops the stop (a process group no shell controls).
void OnStop(int sig) {
  int err = errno;
  if (term_armed) tcsetattr(term_fd, TCSANOW, &term_saved);
  signal(sig, SIG_DFL);
  sigset_t s;
  sigemptyset(&s);
  sigaddset(&s, sig);
  sigprocmask(SIG_UNBLOCK, &s, nullptr);
  raise(sig);
  Install(sig, OnStop);
  if (term_armed) tcsetattr(term_fd, TCSANOW, &term_raw);
  errno = err;
}

/// Holds every handled signal back while a file is made or renamed or the
/// terminal changes mode and the guard follows it, so that no signal falls
/// between the two.
void BlockGuarded(sigset_t* old) {
  sigset_t s;
  sigemptyset(&s);
  for (int sig : kGuarded)
    sigaddset(&s, sig);
  for (int sig : kJobControl)
    sigaddset(&s, sig);
  sigprocmask(SIG_BLOCK, &s, old);
}

void Unblock(const sigset_t* old) {
  sigprocmask(SIG_SETMASK, old, nullptr);
}

/// Whether the program was started with `sig` ignored (nohup, a job run in
/// the background by a shell without job control): it stays ignored.
bool StartedIgnoring(int sig) {
  struct sigaction old;
  return sigaction(sig, nullptr, &old) == 0 && old.sa_handler == SIG_IGN;
}

/// The permission bits a file keeps: read, write and execute. Set-user-ID,
/// set-group-ID and sticky are never carried over: the new file belongs to
/// whoever runs the program.
constexpr mode_t kPermissionBits = 0777;

/// The permissions for the new result file: an earlier regular file's own,
/// else the usual 0666 less the umask. `*err` is the errno of a failed look
/// at the earlier file, 0 when there was none or it was seen.
mode_t ModeFor(const char* final_name, int* err) {
  struct stat st;
  if (lstat(final_name, &st) == 0) {
    if (S_ISREG(st.st_mode)) return st.st_mode & kPermissionBits;
  } else if (errno != ENOENT) {
    *err = errno;
  }
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

/// Makes a rename in the directory of `name` durable. Some file systems
/// cannot sync a directory; the file is in place all the same.
void SyncDirectoryOf(const char* name) {
  std::string dir = name;
  size_t slash = dir.rfind('/');
  dir = slash == std::string::npos ? "." : slash == 0 ? "/" : dir.substr(0, slash);
  int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

void handle_signals() {
  signal(SIGPIPE, SIG_IGN);
  // Over the file size limit a write fails with EFBIG and the run says so.
  signal(SIGXFSZ, SIG_IGN);
  for (int sig : kGuarded)
    if (!StartedIgnoring(sig)) Install(sig, OnSignal);
  if (!StartedIgnoring(SIGTSTP)) Install(SIGTSTP, OnStop);
  Install(SIGCONT, OnContinue);
}

void wait_key(FILE* in) {
  int fd = fileno(in);
  termios saved;
  if (fd < 0 || !isatty(fd) || tcgetattr(fd, &saved) != 0) {
    std::getc(in);
    return;
  }
  termios raw = saved;
  raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  sigset_t old;
  BlockGuarded(&old);
  term_saved = saved;
  term_raw = raw;
  term_fd = fd;
  term_armed = 1;
  // Keys typed before the pause do not count: TCSAFLUSH drops them in the
  // same step that switches the mode, so a key pressed once the mode has
  // changed is never lost.
  tcsetattr(fd, TCSAFLUSH, &raw);
  Unblock(&old);
  char c;
  while (read(fd, &c, 1) < 0 && errno == EINTR) {
  }
  BlockGuarded(&old);
  tcsetattr(fd, TCSANOW, &saved);
  term_armed = 0;
  Unblock(&old);
}

bool is_terminal(FILE* f) {
  int fd = fileno(f);
  return fd >= 0 && isatty(fd);
}

std::vector<std::string> program_arguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

TextSink prepare_text_sink(FILE* /*f*/) {
  return TextSink::kLocale;
}

bool write_console(FILE* f, const char* s, size_t n) {
  return std::fwrite(s, 1, n, f) == n;
}

int read_input_byte(FILE* in) {
  return std::getc(in);
}

FILE* open_regular(const char* name, int* err) {
  // O_NONBLOCK: opening a named pipe must not wait for a writer.
  int fd = open(name, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    *err = errno;
    return nullptr;
  }
  struct stat st;
  int stat_err = fstat(fd, &st) == 0 ? 0 : errno;
  if (stat_err != 0 || !S_ISREG(st.st_mode)) {
    *err = stat_err != 0 ? stat_err : kNotRegularFile;
    close(fd);
    return nullptr;
  }
  int flags = fcntl(fd, F_GETFL);
  if (flags >= 0) fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  FILE* f = fdopen(fd, "rb");
  if (!f) {
    *err = errno;
    close(fd);
  }
  return f;
}

FILE* create_beside(const char* final_name, std::string* tmp_name, int* mode_err) {
  std::string pattern = std::string(final_name) + ".XXXXXX";
  if (pattern.size() >= sizeof(tmp_path)) {
    errno = ENAMETOOLONG;
    return nullptr;
  }
  *mode_err = 0;
  mode_t mode = ModeFor(final_name, mode_err);
  sigset_t old;
  BlockGuarded(&old);
  int fd = mkstemp(pattern.data());
  int err = errno;
  if (fd >= 0) {
    std::memcpy(tmp_path, pattern.c_str(), pattern.size() + 1);
    tmp_armed = 1;
  }
  Unblock(&old);
  if (fd < 0) {
    errno = err;
    return nullptr;
  }
  // mkstemp makes the file private; give it the permissions it is to keep.
  if (fchmod(fd, mode) != 0 && *mode_err == 0) *mode_err = errno;
  FILE* f = fdopen(fd, "wb");
  if (!f) {
    err = errno;
    close(fd);
    discard_file(pattern.c_str());
    errno = err;
    return nullptr;
  }
  *tmp_name = pattern;
  return f;
}

bool close_durably(FILE* f) {
  bool ok = std::fflush(f) == 0 && !std::ferror(f) && fsync(fileno(f)) == 0;
  int err = errno;  // the first failure says why
  if (std::fclose(f) != 0 && ok) return false;
  errno = err;
  return ok;
}

bool replace_file(const char* tmp_name, const char* final_name) {
  sigset_t old;
  BlockGuarded(&old);
  bool ok = rename(tmp_name, final_name) == 0;
  int err = errno;
  if (ok) tmp_armed = 0;
  Unblock(&old);
  if (!ok) {
    errno = err;
    return false;
  }
  SyncDirectoryOf(final_name);
  return true;
}

void discard_file(const char* tmp_name) {
  int err = errno;
  sigset_t old;
  BlockGuarded(&old);
  unlink(tmp_name);
  tmp_armed = 0;
  Unblock(&old);
  errno = err;
}

ManualPlace manual_place() {
  return {"man podbor", "man podbor"};
}

bool slash_question_is_help() {
  return false;
}

FILE* create_new_file(const char* name) {
  constexpr mode_t kReadWrite = 0666;  // less the umask, as fopen gives
  int fd = open(name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kReadWrite);
  if (fd < 0) return nullptr;
  FILE* f = fdopen(fd, "wb");
  if (!f) {
    int err = errno;
    close(fd);
    unlink(name);
    errno = err;
  }
  return f;
}
