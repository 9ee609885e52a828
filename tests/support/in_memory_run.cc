#include "support/in_memory_run.h"

#include <cstdio>
#include <cstdlib>

#include "program1/run.h"
#include "report/file_report.h"
#include "text/console.h"

namespace {

/// The data file of the current in-memory run.
const std::string* g_bytes = nullptr;

FILE* OpenBytes(const char* /*name*/, int* /*err*/) {
  // fmemopen takes a writable buffer even to read; it only reads here.
  return fmemopen(const_cast<char*>(g_bytes->data()), g_bytes->size(), "rb");
}

}  // namespace

int in_memory_run(const std::string& bytes, const std::string& answers, std::string* console_text,
                  const char* arg, const char* result_file, std::string* error_text) {
  Console saved = console;
  std::string in_copy = answers;
  g_bytes = &bytes;

  console.in = fmemopen(in_copy.data(), in_copy.size(), "rb");
  char* out_buf = nullptr;
  size_t out_len = 0;
  // Output nobody reads is not even formatted.
  console.out = Output{console_text ? open_memstream(&out_buf, &out_len) : nullptr, false, false};
  char* err_buf = nullptr;
  size_t err_len = 0;
  console.err = Output{error_text ? open_memstream(&err_buf, &err_len) : nullptr, false, false};
  console.pause = false;
  console.open_data = OpenBytes;
  result_file_name = result_file ? result_file : kResultFile;

  reset_run();
  const char* argv[] = {"podbor", arg, nullptr};
  int status = run(arg ? 2 : 1, argv);

  if (console.out.f) std::fclose(console.out.f);
  if (console_text) console_text->assign(out_buf ? out_buf : "", out_buf ? out_len : 0);
  std::free(out_buf);
  if (console.err.f) std::fclose(console.err.f);
  if (error_text) error_text->assign(err_buf ? err_buf : "", err_buf ? err_len : 0);
  std::free(err_buf);
  if (console.in) std::fclose(console.in);
  console = saved;
  result_file_name = kResultFile;
  g_bytes = nullptr;
  return status;
}
