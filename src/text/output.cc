#include "text/output.h"

#include <cerrno>
#include <cstring>

#include "platform/platform.h"
#include "text/cp1251.h"
#include "text/format.h"

namespace {

/// The text of one print on its way out: converted to the stream's code
/// page and collected, then written in one call rather than field by field.
struct Buffer {
  Output* v = nullptr;
  size_t n = 0;
  char buf[1024];
};

void Fail(Output* v) {
  if (!v->failed) v->error = errno;
  v->failed = true;
}

void Flush(Buffer* a) {
  if (a->n == 0) return;
  bool ok = a->v->console_window ? write_console(a->v->f, a->buf, a->n)
                                 : std::fwrite(a->buf, 1, a->n, a->v->f) == a->n;
  if (!ok) Fail(a->v);
  a->n = 0;
}

/// Whether `c` can begin a character: no UTF-8 continuation byte.
bool Starts(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
}

/// The longest UTF-8 character.
constexpr size_t kMaxCharBytes = 4;

void Put(void* ctx, const char* s, size_t n) {
  Buffer* a = static_cast<Buffer*>(ctx);
  const char* end = s + n;
  while (s < end) {
    // A full buffer goes out between characters, never inside one: a
    // console window takes whole characters.
    if (a->n == sizeof(a->buf) || (a->n + kMaxCharBytes > sizeof(a->buf) && Starts(*s))) Flush(a);
    a->buf[a->n++] = a->v->cp1251 ? static_cast<char>(next_cp1251(&s, end)) : *s++;
  }
}

}  // namespace

void flush_output(Output* v) {
  if (v->f && std::fflush(v->f) != 0) Fail(v);
}

bool output_lost(const Output& v) {
  return v.failed && v.error != EPIPE;
}

void vprint(Output* v, const char* fmt, va_list ap) {
  if (!v->f)  // a stream without a file writes nothing
    return;
  Buffer a;
  a.v = v;
  vformat(Put, &a, fmt, ap);
  Flush(&a);
}

void print(Output* v, const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  vprint(v, fmt, ap);
  va_end(ap);
}

void put_text(Output* v, const char* s) {
  if (!v->f) return;
  Buffer a;
  a.v = v;
  Put(&a, s, std::strlen(s));
  Flush(&a);
}
