#include "platform/vyvod.h"

#include <cstring>

#include "platform/cp1251.h"
#include "platform/format.h"

namespace {

void Put(void* ctx, const char* s, size_t n) {
  Vyvod* v = static_cast<Vyvod*>(ctx);
  if (!v->f || n == 0) return;
  if (!v->cp1251) {
    if (std::fwrite(s, 1, n, v->f) != n) v->failed = true;
    return;
  }
  char buf[256];
  const char* end = s + n;
  while (s < end) {
    size_t k = 0;
    while (s < end && k < sizeof(buf))
      buf[k++] = static_cast<char>(next_cp1251(&s, end));
    if (std::fwrite(buf, 1, k, v->f) != k) v->failed = true;
  }
}

}  // namespace

void vprint(Vyvod* v, const char* fmt, va_list ap) {
  if (v->f) vformat(Put, v, fmt, ap);
}

void print(Vyvod* v, const char* fmt, ...) {
  if (!v->f)  // a stream without a file writes nothing
    return;
  va_list ap;
  va_start(ap, fmt);
  vformat(Put, v, fmt, ap);
  va_end(ap);
}

void put_text(Vyvod* v, const char* s) {
  Put(v, s, std::strlen(s));
}
