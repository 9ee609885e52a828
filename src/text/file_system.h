// The files a run reads and writes, behind one seam: the data file, and the
// result files, each written beside its final name and put in place whole.
// The program uses the operating system's; runs driven inside a process
// (the tests, the fuzzer) put in their own.
#pragma once

#include <cstdio>
#include <string>

struct FileSystem {
  /// Opens the data file the user named; nullptr with the reason in *err
  /// (an errno or kNotRegularFile) when it cannot.
  FILE* (*open_data)(const char* name, int* err);
  /// Creates a new, empty file beside `final_name`; its name in *tmp_name,
  /// and in *mode_err why its permissions could not be set (0: they were).
  FILE* (*create_beside)(const char* final_name, std::string* tmp_name, int* mode_err);
  /// Flushes `f` to the disk and closes it; false when any of that failed.
  bool (*close_durably)(FILE* f);
  /// Puts `tmp_name` in the place of `final_name` in one step.
  bool (*replace_file)(const char* tmp_name, const char* final_name);
  /// Removes the unfinished `tmp_name`.
  void (*discard_file)(const char* tmp_name);
};

/// The operating system's files (src/platform).
FileSystem system_files();

/// The files of this process: system_files() unless a test put in others.
extern FileSystem files;

/// The absolute path of the file named `name` (UTF-8), as the user may look
/// for it; the name itself when the working directory is unknown.
std::string absolute_path(const char* name);
