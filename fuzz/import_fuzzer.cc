// libFuzzer target of the list import: any bytes as a list. Whatever the
// list holds, the data file written must read back through the real reader
// without a warning and hold exactly the values said, and the warnings stay
// within their bound, one line each.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "import/import_list.h"
#include "support/read_back.h"
#include "vvod_z/data_file_warnings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* d, size_t n) {
  const std::string bytes(reinterpret_cast<const char*>(d), n);
  // The last byte also picks the options, so that they are fuzzed along.
  const unsigned pick = n ? d[n - 1] : 0;
  ImportOptions options;
  static const char kUnits[] = {0, 'k', 'M', 0};
  options.unit = kUnits[pick & 3];
  options.parallel = (pick & 4) != 0;
  if (pick & 8) options.column = static_cast<int>((pick >> 4) & 3);
  if ((pick & 0xC0) == 0xC0) {
    options.znach = "4,7k";
    options.otcl = "1.5";
    options.tch = "0,02";
  }
  const ImportResult r = import_list(bytes, options);
  if (r.warnings.size() > static_cast<size_t>(kMaxWarnings) + 1) std::abort();
  for (const ImportWarning& w : r.warnings)
    if (w.text.find('\n') != std::string::npos || w.line < 0) std::abort();
  if (r.values == 0) {
    if (!r.data_file.empty() || r.trouble.empty()) std::abort();
    return 0;
  }
  const ReadBack back = read_back(r.data_file);
  if (!back.fits || !back.warnings.empty() || back.values.size() != static_cast<size_t>(r.values))
    std::abort();
  for (float v : back.values)
    if (!(v > 0)) std::abort();
  return 0;
}
