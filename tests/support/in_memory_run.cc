#include "support/in_memory_run.h"

#include <cstdio>

#include "program1/run.h"
#include "support/memory_stream.h"
#include "text/console.h"
#include "text/file_system.h"

namespace {

/// The data file of the current in-memory run.
const std::string* g_bytes = nullptr;

/// Where the result files of the current run go instead of the working
/// directory; nullptr: where the program puts them.
const char* g_result_file = nullptr;

FILE* OpenBytes(const char* /*name*/, int* /*err*/) {
  return open_reading(*g_bytes);
}

const char* ResultName(const char* final_name) {
  return g_result_file ? g_result_file : final_name;
}

FILE* CreateBeside(const char* final_name, std::string* tmp_name, int* mode_err) {
  return system_files().create_beside(ResultName(final_name), tmp_name, mode_err);
}

bool Replace(const char* tmp_name, const char* final_name) {
  return system_files().replace_file(tmp_name, ResultName(final_name));
}

}  // namespace

int in_memory_run(const std::string& bytes, const std::string& answers, std::string* console_text,
                  const char* arg, const char* result_file, std::string* error_text) {
  Console saved = console;
  g_bytes = &bytes;

  console.in = open_reading(answers);
  // Output nobody reads is not even formatted.
  Collected out;
  Collected err;
  if (console_text) open_collected(&out);
  if (error_text) open_collected(&err);
  console.out = Output{out.f, false, false};
  console.err = Output{err.f, false, false};
  console.pause = false;
  FileSystem saved_files = files;
  files.open_data = OpenBytes;
  files.create_beside = CreateBeside;
  files.replace_file = Replace;
  g_result_file = result_file;

  reset_run();
  const char* argv[] = {"podbor", arg, nullptr};
  int status = run(arg ? 2 : 1, argv);

  if (console_text) *console_text = close_collected(&out);
  if (error_text) *error_text = close_collected(&err);
  if (console.in) std::fclose(console.in);
  console = saved;
  files = saved_files;
  g_result_file = nullptr;
  g_bytes = nullptr;
  return status;
}
