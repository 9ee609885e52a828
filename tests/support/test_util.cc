#include "support/test_util.h"

#ifdef _WIN32
#include <windows.h>
#else
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

/// Sets the environment variables of `env` ("A=1 B=2") for the life of the
/// object, so that a process started meanwhile inherits them.
class ScopedEnvironment {
 public:
  explicit ScopedEnvironment(const std::string& env) {
    std::istringstream words(env);
    std::string word;
    while (words >> word) {
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
/// the run lasts, so a hang cannot stop the test. There is no shell to take
/// a `redirect`: a test that needs one has no Windows form.
RunResult RunIn(const std::string& dir, const std::string& input, const std::string& args,
                const std::string& env, const std::string& err_path,
                const std::string& /*redirect*/ = "") {
  std::string in_path = dir + "/.stdin";
  std::string out_path = dir + "/.stdout";
  write_file(in_path, input);
  RunResult r;
  {
    ScopedEnvironment scoped(env);
    HANDLE in = Inheritable(in_path, false);
    HANDLE out = Inheritable(out_path, true);
    HANDLE err = err_path.empty() ? out : Inheritable(err_path, true);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = in;
    si.hStdOutput = out;
    si.hStdError = err;
    std::wstring cmd = L"\"" + Wide(PODBOR_EXE) + L"\" " + Wide(args);
    PROCESS_INFORMATION pi{};
    if (CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, Wide(dir).c_str(),
                       &si, &pi)) {
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
  std::remove(in_path.c_str());
  std::remove(out_path.c_str());
  return r;
}

#else

/// Runs the executable; standard error goes to `err_path` when given, else
/// along with standard output; `redirect` may send standard output elsewhere.
RunResult RunIn(const std::string& dir, const std::string& input, const std::string& args,
                const std::string& env, const std::string& err_path,
                const std::string& redirect = "") {
  std::string in_path = dir + "/.stdin";
  write_file(in_path, input);
  // A hang shows as status 124 instead of a stuck test.
  std::string cmd = "cd '" + dir + "' && env " + env + " timeout " + std::to_string(kRunSeconds) +
                    " '" + PODBOR_EXE + "' " + args + " < .stdin " +
                    (err_path.empty() ? "2>&1" : "2>'" + err_path + "'") + " " + redirect;
  RunResult r;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof(buf), p)) > 0)
    r.out.append(buf, n);
  int st = pclose(p);
  std::remove(in_path.c_str());
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  r.bytes = r.out;
  return r;
}

#endif

/// A standard stream's bytes as the user reads them, in UTF-8.
std::string Shown(const std::string& bytes) {
#ifdef _WIN32
  return Utf8FromCp1251(bytes);
#else
  return bytes;
#endif
}

}  // namespace

RunResult run_podbor(const std::string& dir, const std::string& input, const std::string& args,
                     const std::string& env) {
  return RunIn(dir, input, args, env, "");
}

RunResult run_podbor_split(const std::string& dir, const std::string& input,
                           const std::string& args, const std::string& env,
                           const std::string& redirect) {
  std::string err_path = dir + "/.stderr";
  RunResult r = RunIn(dir, input, args, env, err_path, redirect);
  r.err = Shown(read_file(err_path));
  std::remove(err_path.c_str());
  return r;
}

#ifndef _WIN32
int spawn_podbor(const std::string& dir, int in, int out, int err, bool terminal, const char* lang,
                 const char* arg) {
  // Built before the fork: the child only makes calls that are safe there.
  std::string lang_var = std::string("LANG=") + lang;
  char* const env[] = {lang_var.data(), nullptr};
  std::string exe = PODBOR_EXE;
  std::string arg_copy = arg ? arg : "";
  char* const argv[] = {exe.data(), arg ? arg_copy.data() : nullptr, nullptr};
  pid_t pid = fork();
  if (pid != 0) return pid;
  // The child: only calls that are safe between fork and exec.
  if (terminal) {
    setsid();
    ioctl(in, TIOCSCTTY, 0);
  }
  dup2(in, 0);
  dup2(out, 1);
  dup2(err, 2);
  alarm(kRunSeconds);  // survives exec
  if (chdir(dir.c_str()) == 0) execve(exe.c_str(), argv, env);
  _exit(127);
}

std::string with_fault(const std::string& fault, const std::string& path) {
  // LeakSanitizer cannot work under a tracer.
  const std::string strace = " LSAN_OPTIONS=detect_leaks=0 strace -f --quiet=all -o /dev/null ";
  static const bool usable = std::system((strace + "true >/dev/null 2>&1").c_str()) == 0;
  if (!usable) return "";
  return strace + (path.empty() ? "" : "-P '" + path + "' ") + "-e inject=" + fault;
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
