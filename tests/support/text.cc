#include "support/text.h"

#include <cstdarg>

#include "text/format.h"

namespace {

void AppendToString(void* ctx, const char* s, size_t n) {
  static_cast<std::string*>(ctx)->append(s, n);
}

}  // namespace

std::string format(const char* fmt, ...) {
  std::string out;
  va_list ap;
  va_start(ap, fmt);
  vformat(AppendToString, &out, fmt, ap);
  va_end(ap);
  return out;
}
