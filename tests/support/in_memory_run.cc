#include "support/in_memory_run.h"

#include <cstdio>

#include "program1/run.h"
#include "report/file_report.h"
#include "support/memory_stream.h"
#include "text/console.h"

namespace {

/// The data file of the current in-memory run.
const std::string* g_bytes = nullptr;

FILE* OpenBytes(const char* /*name*/, int* /*err*/) {
  return open_reading(*g_bytes);
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
  console.open_data = OpenBytes;
  result_file_name = result_file ? result_file : kResultFile;

  reset_run();
  const char* argv[] = {"podbor", arg, nullptr};
  int status = run(arg ? 2 : 1, argv);

  if (console_text) *console_text = close_collected(&out);
  if (error_text) *error_text = close_collected(&err);
  if (console.in) std::fclose(console.in);
  console = saved;
  result_file_name = kResultFile;
  g_bytes = nullptr;
  return status;
}
