#include "program1/v_pamyati.h"

#include <cstdio>
#include <cstdlib>

#include "platform/konsol.h"
#include "program1/run.h"

namespace {

/// The data file of the current in-memory run.
const std::string* g_bytes = nullptr;

FILE* OpenBytes(const char* /*name*/) {
  // fmemopen takes a writable buffer even to read; it only reads here.
  return fmemopen(const_cast<char*>(g_bytes->data()), g_bytes->size(), "rb");
}

}  // namespace

int run_v_pamyati(const std::string& bytes, const std::string& answers, std::string* console,
                  const char* arg, const char* rezalts) {
  Konsol saved = konsol;
  std::string in_copy = answers;
  g_bytes = &bytes;

  konsol.in = fmemopen(in_copy.data(), in_copy.size(), "rb");
  char* out_buf = nullptr;
  size_t out_len = 0;
  // Output nobody reads is not even formatted.
  konsol.out = Vyvod{console ? open_memstream(&out_buf, &out_len) : nullptr, false, false};
  konsol.pause = false;
  konsol.open_data = OpenBytes;
  konsol.rezalts = rezalts;

  reset_run();
  const char* argv[] = {"podbor", arg, nullptr};
  int status = run(arg ? 2 : 1, argv);

  if (konsol.out.f) std::fclose(konsol.out.f);
  if (console) console->assign(out_buf ? out_buf : "", out_buf ? out_len : 0);
  std::free(out_buf);
  if (konsol.in) std::fclose(konsol.in);
  konsol = saved;
  g_bytes = nullptr;
  return status;
}
