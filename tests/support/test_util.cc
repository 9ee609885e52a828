#include "support/test_util.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

#include "support/memory_stream.h"
#include "text/cp1251.h"
#include "text/trouble.h"

namespace {

/// How long a run of the executable may take before it counts as hung.
constexpr int kRunSeconds = 20;

#ifdef _WIN32

/// How often, and how far apart, a run is tried where the process fails to start.
constexpr int kStartAttempts = 3;
constexpr DWORD kStartRetryMilliseconds = 200;

/// Windows-1251 text as UTF-8.
std::string Utf8FromCp1251(const std::string& bytes) {
  const int kCp1251 = 1251;
  int len = static_cast<int>(bytes.size());
  int n = MultiByteToWideChar(kCp1251, 0, bytes.data(), len, nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(kCp1251, 0, bytes.data(), len, w.data(), n);
  int m = WideCharToMultiByte(CP_UTF8, 0, w.data(), n, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(m), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), n, utf8.data(), m, nullptr, nullptr);
  return utf8;
}

std::wstring Wide(const std::string& utf8) {
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
  return w;
}

/// Sets the environment variables of `env` ("A=1") for the life of the
/// object, so that a process started meanwhile inherits them.
class ScopedEnvironment {
 public:
  explicit ScopedEnvironment(const std::vector<std::string>& env) {
    for (const std::string& word : env) {
      size_t eq = word.find('=');
      std::wstring name = Wide(word.substr(0, eq));
      wchar_t old[4096];
      DWORD n = GetEnvironmentVariableW(name.c_str(), old, 4096);
      saved_.push_back({name, n > 0 && n < 4096, std::wstring(old, n < 4096 ? n : 0)});
      SetEnvironmentVariableW(name.c_str(), Wide(word.substr(eq + 1)).c_str());
    }
  }
  ~ScopedEnvironment() {
    for (const Saved& s : saved_)
      SetEnvironmentVariableW(s.name.c_str(), s.was_set ? s.value.c_str() : nullptr);
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  struct Saved {
    std::wstring name;
    bool was_set;
    std::wstring value;
  };
  std::vector<Saved> saved_;
};

/// `path` opened for a child process to inherit: for reading, or created
/// empty for writing.
HANDLE Inheritable(const std::string& path, bool write) {
  SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
  return CreateFileW(Wide(path).c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &sa,
                     write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

/// Runs the executable; standard error goes to `err_path` when given, else
/// along with standard output. Both go to files, which need no reader while
/// the run lasts, so a hang cannot stop the test. `how.wrapper` and
/// `how.out` are POSIX's: a test that needs them has no Windows form.
RunResult RunIn(const std::string& dir, const std::string& input, const Invocation& how,
                const std::string& err_path) {
  std::string in_path = dir + "/.stdin";
  std::string out_path = dir + "/.stdout";
  write_file(in_path, input);
  RunResult r;
  DWORD start_error = 0;
  {
    ScopedEnvironment scoped(how.env);
    HANDLE in = Inheritable(in_path, false);
    HANDLE out = Inheritable(out_path, true);
    HANDLE err = err_path.empty() ? out : Inheritable(err_path, true);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = in;
    si.hStdOutput = out;
    si.hStdError = err;
    std::wstring cmd = L"\"" + Wide(PODBOR_EXE) + L"\"";
    for (const std::string& arg : how.args)
      cmd += L" \"" + Wide(arg) + L"\"";
    PROCESS_INFORMATION pi{};
    // Wine's process start fails now and then while its server is busy
    // with the other tests; that is the harness's trouble, not the run's.
    bool started = false;
    for (int attempt = 0; attempt < kStartAttempts && !started; ++attempt) {
      if (attempt > 0) Sleep(kStartRetryMilliseconds);
      started = CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr,
                               Wide(dir).c_str(), &si, &pi) != 0;
      if (!started) start_error = GetLastError();
    }
    if (started) {
      // A hang shows as status 124 instead of a stuck test, as with timeout(1).
      if (WaitForSingleObject(pi.hProcess, kRunSeconds * 1000) != WAIT_OBJECT_0) {
        TerminateProcess(pi.hProcess, 124);
        WaitForSingleObject(pi.hProcess, INFINITE);
      }
      DWORD code = 0;
      if (GetExitCodeProcess(pi.hProcess, &code)) r.status = static_cast<int>(code);
      CloseHandle(pi.hThread);
      CloseHandle(pi.hProcess);
    }
    CloseHandle(in);
    CloseHandle(out);
    if (err != out) CloseHandle(err);
  }
  r.bytes = read_file(out_path);
  r.out = Utf8FromCp1251(r.bytes);
  if (r.status == -1 && start_error != 0)
    r.out += "(CreateProcessW failed, error " + std::to_string(start_error) + ")";
  std::remove(in_path.c_str());
  std::remove(out_path.c_str());
  return r;
}

#else

/// `words` as the argument or environment list that execve takes; the
/// pointers live as long as `words`.
std::vector<char*> Pointers(std::vector<std::string>& words) {
  std::vector<char*> v;
  for (std::string& w : words)
    v.push_back(w.data());
  v.push_back(nullptr);
  return v;
}

/// Where the program `name` is found along the PATH; `name` itself when it
/// names a path or is found nowhere.
std::string FindProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  if (name.find('/') != std::string::npos || !path) return name;
  std::istringstream dirs(path);
  for (std::string dir; std::getline(dirs, dir, ':');) {
    std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return name;
}

/// Runs the executable as spawn_podbor does, feeding `input` to its
/// standard input and keeping its standard output in `*out` and its standard
/// error in `*err` (nullptr: along with the output). A run that says
/// nothing for 20 seconds is ended with its whole process group.
int RunIn(const std::string& dir, const std::string& input, const Invocation& how, std::string* out,
          std::string* err) {
  // A run that closes its input early must not end the tests with SIGPIPE.
  static const bool pipes_ignored = signal(SIGPIPE, SIG_IGN) != SIG_ERR;
  (void)pipes_ignored;
  int in_pipe[2], out_pipe[2], err_pipe[2];
  if (pipe2(in_pipe, O_CLOEXEC) != 0 || pipe2(out_pipe, O_CLOEXEC) != 0 ||
      pipe2(err_pipe, O_CLOEXEC) != 0)
    return -1;
  const int out_fd = how.out >= 0 ? how.out : out_pipe[1];
  const int pid = spawn_podbor(dir, in_pipe[0], out_fd, err ? err_pipe[1] : out_fd, how);
  close(in_pipe[0]);
  close(out_pipe[1]);
  close(err_pipe[1]);
  fcntl(in_pipe[1], F_SETFL, O_NONBLOCK);
  // One loop feeds the input and drains both outputs, so that no pipe
  // fills up while another is waited on.
  size_t fed = 0;
  int to_child = input.empty() ? (close(in_pipe[1]), -1) : in_pipe[1];
  int from_child[2] = {out_pipe[0], err_pipe[0]};
  std::string* kept[2] = {out, err ? err : out};
  for (int idle = 0; pid > 0 && (from_child[0] >= 0 || from_child[1] >= 0);) {
    pollfd p[3] = {{from_child[0], POLLIN, 0}, {from_child[1], POLLIN, 0}, {to_child, POLLOUT, 0}};
    if (poll(p, 3, 1000) <= 0) {
      if (++idle == kRunSeconds) kill(-pid, SIGKILL);  // hung: its wrappers' children too
      continue;
    }
    idle = 0;
    for (int k = 0; k < 2; ++k) {
      if (p[k].revents == 0) continue;
      char buf[4096];
      ssize_t n = read(from_child[k], buf, sizeof(buf));
      if (n > 0) {
        kept[k]->append(buf, static_cast<size_t>(n));
      } else {
        close(from_child[k]);
        from_child[k] = -1;
      }
    }
    if (p[2].revents != 0) {
      ssize_t n =
          (p[2].revents & POLLOUT) ? write(to_child, input.data() + fed, input.size() - fed) : -1;
      if (n > 0) fed += static_cast<size_t>(n);
      if (n <= 0 || fed == input.size()) {  // all given, or the run has closed its input
        close(to_child);
        to_child = -1;
      }
    }
  }
  if (to_child >= 0) close(to_child);
  for (int fd : from_child)
    if (fd >= 0) close(fd);
  int st = 0;
  return pid > 0 && waitpid(pid, &st, 0) == pid && WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}

#endif

}  // namespace

#ifdef _WIN32

RunResult run_podbor(const std::string& dir, const std::string& input, const Invocation& how) {
  return RunIn(dir, input, how, "");
}

RunResult run_podbor_split(const std::string& dir, const std::string& input,
                           const Invocation& how) {
  std::string err_path = dir + "/.stderr";
  RunResult r = RunIn(dir, input, how, err_path);
  r.err = Utf8FromCp1251(read_file(err_path));
  std::remove(err_path.c_str());
  return r;
}

#else

RunResult run_podbor(const std::string& dir, const std::string& input, const Invocation& how) {
  RunResult r;
  r.status = RunIn(dir, input, how, &r.out, nullptr);
  r.bytes = r.out;
  return r;
}

RunResult run_podbor_split(const std::string& dir, const std::string& input,
                           const Invocation& how) {
  RunResult r;
  r.status = RunIn(dir, input, how, &r.out, &r.err);
  r.bytes = r.out;
  return r;
}

int spawn_podbor(const std::string& dir, int in, int out, int err, const Invocation& how,
                 bool terminal) {
  // Everything is built before the fork: the child only makes calls that
  // are safe between fork and exec.
  std::vector<std::string> words = how.wrapper;
  words.push_back(PODBOR_EXE);
  words.insert(words.end(), how.args.begin(), how.args.end());
  const std::string program = FindProgram(words[0]);
  std::vector<char*> argv = Pointers(words);
  std::vector<std::string> env = how.env;
  std::vector<char*> envp = Pointers(env);
  pid_t pid = fork();
  if (pid != 0) return pid;
  if (terminal) {
    setsid();
    ioctl(in, TIOCSCTTY, 0);
  } else {
    setpgid(0, 0);
  }
  signal(SIGPIPE, SIG_DFL);  // as the tests' parent gave it, not as they set it
  dup2(in, 0);
  dup2(out, 1);
  dup2(err, 2);
  alarm(kRunSeconds);  // survives exec
  if (chdir(dir.c_str()) == 0) execve(program.c_str(), argv.data(), envp.data());
  _exit(127);
}

bool with_fault(Invocation* how, const std::string& fault, const std::string& path) {
  const std::vector<std::string> strace = {"strace", "-f", "--quiet=all", "-o", "/dev/null"};
  static const bool usable = [&] {
    Invocation probe;
    probe.args = {"--version"};
    probe.wrapper = strace;
    return run_podbor(".", "", probe).status == 0;
  }();
  if (!usable) return false;
  how->env.push_back("LSAN_OPTIONS=detect_leaks=0");  // LeakSanitizer cannot work under a tracer
  how->wrapper.insert(how->wrapper.end(), strace.begin(), strace.end());
  if (!path.empty()) how->wrapper.insert(how->wrapper.end(), {"-P", path});
  how->wrapper.insert(how->wrapper.end(), {"-e", "inject=" + fault});
  return true;
}
#endif

namespace {

/// A UTF-8 name as a path; a plain string would be taken in the system's
/// code page on Windows.
std::filesystem::path PathOf(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace

std::string read_file(const std::string& path) {
  std::ifstream f(PathOf(path), std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

void write_file(const std::string& path, const std::string& content) {
  std::ofstream f(PathOf(path), std::ios::binary | std::ios::trunc);
  f << content;
}

std::string make_temp_dir() {
  std::error_code ec;
  std::filesystem::path base = std::filesystem::temp_directory_path(ec);
  if (ec) return "";
  std::random_device seed;
  std::mt19937 pick(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path dir = base / ("podbor_test." + std::to_string(pick() % 1000000000));
    if (std::filesystem::create_directory(dir, ec)) return dir.string();
  }
  return "";
}

void remove_tree(const std::string& dir) {
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
}

ScopedTempDir::ScopedTempDir(bool enter) : path_(make_temp_dir()) {
  if (!enter || path_.empty()) return;
  entered_from_ = std::filesystem::current_path().string();
  std::filesystem::current_path(path_);
}

ScopedTempDir::~ScopedTempDir() {
  if (path_.empty()) return;
  std::error_code ec;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
  if (!entered_from_.empty()) std::filesystem::current_path(entered_from_, ec);
  remove_tree(path_);
}

std::set<std::string> names_in(const std::string& dir) {
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir))
    names.insert(e.path().filename().string());
  return names;
}

bool file_exists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(path, ec);
}

std::string examples_dir() {
  return std::string(PODBOR_SOURCE_DIR) + "/examples";
}

ConsoleCapture::ConsoleCapture(const std::string& input) : saved(console), in_buf(input) {
  in = open_reading(in_buf);
  out = temporary_file();
  err = temporary_file();
  console.in = in;
  console.out = Output{out, false, false};
  console.err = Output{err, false, false};
  console.pause = false;
  reset_trouble();
}

ConsoleCapture::~ConsoleCapture() {
  console = saved;
  reset_trouble();
  if (in) std::fclose(in);
  if (out) std::fclose(out);
  if (err) std::fclose(err);
}

namespace {

/// Everything written to the temporary file `f` so far; later writes append.
std::string WrittenTo(FILE* f) {
  std::fflush(f);
  std::string s;
  std::rewind(f);
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof(buf), f)) > 0)
    s.append(buf, n);
  std::fseek(f, 0, SEEK_END);
  return s;
}

}  // namespace

std::string ConsoleCapture::text() {
  return WrittenTo(out);
}

std::string ConsoleCapture::errors() {
  return WrittenTo(err);
}

int count_of(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
    ++n;
  }
  return n;
}

std::string in_cp1251(const std::string& utf8) {
  std::string out;
  const char* p = utf8.data();
  const char* end = p + utf8.size();
  while (p < end)
    out += static_cast<char>(next_cp1251(&p, end));
  return out;
}

std::string to_cp1251(const std::string& utf8) {
  std::string bytes = in_cp1251(utf8);
  if (!kWindows) return bytes;
  std::string crlf;
  for (char c : bytes) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  return crlf;
}
