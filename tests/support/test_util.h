// Helpers shared by the tests: running the real executable and reading files.
#pragma once

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "text/console.h"

/// The result of one run of the executable.
struct RunResult {
  int status = -1;    ///< Exit status, or -1 when it did not exit normally.
  std::string out;    ///< Standard output as the user reads it, in UTF-8.
  std::string err;    ///< Standard error likewise, when kept apart (run_podbor_split).
  std::string bytes;  ///< Standard output as written: on Windows Windows-1251.
};

/// Whether the tests run on Windows, where a run's console and result file
/// differ from other systems' in their code page and line breaks.
#ifdef _WIN32
inline constexpr bool kWindows = true;
#else
inline constexpr bool kWindows = false;
#endif

/// How a run of the executable is started, beyond its folder and input.
struct Invocation {
  std::vector<std::string> args = {};  ///< Its arguments, one word each.
  /// Its environment: the whole of it on POSIX; on Windows, set over the
  /// tests' own.
  std::vector<std::string> env = {"LANG=C.UTF-8"};
  /// Programs it runs under, flattened in the order they start one another
  /// ("prlimit", "--fsize=4096"): each takes the command after its options.
  /// POSIX only.
  std::vector<std::string> wrapper = {};
  int out = -1;  ///< A descriptor for standard output instead of keeping it (POSIX only).
};

/// Runs build/podbor in directory `dir` as `how` says, standard input from
/// `input`, standard error along with standard output. A run still going
/// after 20 seconds is ended.
RunResult run_podbor(const std::string& dir, const std::string& input, const Invocation& how = {});

/// Like run_podbor, with standard error kept apart from standard output.
RunResult run_podbor_split(const std::string& dir, const std::string& input,
                           const Invocation& how = {});

#ifndef _WIN32
/// Starts build/podbor in directory `dir` without a shell, as `how` says
/// (but for `how.out`), its standard input, output and error on the
/// descriptors given; with `terminal`, `in` is a terminal that becomes its
/// controlling terminal. It leads a process group of its own. A run still
/// going after 20 seconds is ended by SIGALRM. Returns its process id; the
/// caller waits for it.
int spawn_podbor(const std::string& dir, int in, int out, int err, const Invocation& how = {},
                 bool terminal = false);

/// Makes `how` meet the fault `fault` (strace's `-e inject=`,
/// "fchmod:error=EPERM") in its system calls, on the file `path` alone when
/// given (in the run's folder); false when strace cannot run here.
bool with_fault(Invocation* how, const std::string& fault, const std::string& path = "");
#endif

/// The whole content of a file; empty when it cannot be read.
std::string read_file(const std::string& path);

/// Writes `content` to `path`, replacing it.
void write_file(const std::string& path, const std::string& content);

/// A new empty directory under the system's temporary directory.
std::string make_temp_dir();

/// Removes `dir` and everything in it.
void remove_tree(const std::string& dir);

/// A new empty directory (make_temp_dir) for the life of the object, then
/// removed with everything in it (remove_tree), whatever permissions a test
/// left on it; with `enter`, the working directory meanwhile.
class ScopedTempDir {
 public:
  explicit ScopedTempDir(bool enter = false);
  ~ScopedTempDir();
  ScopedTempDir(const ScopedTempDir&) = delete;
  ScopedTempDir& operator=(const ScopedTempDir&) = delete;

  const std::string& path() const { return path_; }
  /// The entry `name` inside the directory.
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
  std::string entered_from_;  ///< The working directory before, when entered.
};

/// The names of the entries of `dir`.
std::set<std::string> names_in(const std::string& dir);

/// Whether anything of the name `path` exists.
bool file_exists(const std::string& path);

/// The directory of the project's example data files.
std::string examples_dir();

/// `utf8` as the bytes the program writes to "Rezalts.txt": Windows-1251,
/// each line break CR LF on Windows (the file is written in text mode).
std::string to_cp1251(const std::string& utf8);

/// `utf8` in Windows-1251, line breaks as they are: a console in that code page.
std::string in_cp1251(const std::string& utf8);

/// How often `what` occurs in `text`, overlapping occurrences included.
int count_of(const std::string& text, const std::string& what);

/// Points the console at memory for the life of the object: input from
/// `input`, output and error stream collected (UTF-8, no pause), the run out
/// of trouble; restores the old console.
struct ConsoleCapture {
  explicit ConsoleCapture(const std::string& input = "");
  ~ConsoleCapture();
  ConsoleCapture(const ConsoleCapture&) = delete;
  ConsoleCapture& operator=(const ConsoleCapture&) = delete;
  /// Everything printed so far.
  std::string text();
  /// Everything said on the error stream so far.
  std::string errors();

  Console saved;
  std::string in_buf;
  FILE* in = nullptr;
  FILE* out = nullptr;
  FILE* err = nullptr;
};
