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
  Output* out = nullptr;
  size_t n = 0;
  char buf[1024];
};

void Fail(Output* out) {
  if (!out->failed) out->error = errno;
  out->failed = true;
}

void Flush(Buffer* buffer) {
  if (buffer->n == 0) return;
  Output* out = buffer->out;
  bool ok = out->console_window ? write_console(out->f, buffer->buf, buffer->n)
                                : std::fwrite(buffer->buf, 1, buffer->n, out->f) == buffer->n;
  if (!ok) Fail(out);
  buffer->n = 0;
}

/// Whether `c` can begin a character: no UTF-8 continuation byte.
bool Starts(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
}

/// The longest UTF-8 character.
constexpr size_t kMaxCharBytes = 4;

void Put(void* ctx, const char* s, size_t n) {
  Buffer* buffer = static_cast<Buffer*>(ctx);
  const char* end = s + n;
  while (s < end) {
    // A full buffer goes out between characters, never inside one: a
    // console window takes whole characters.
    if (buffer->n == sizeof(buffer->buf) ||
        (buffer->n + kMaxCharBytes > sizeof(buffer->buf) && Starts(*s)))
      Flush(buffer);
    buffer->buf[buffer->n++] = buffer->out->cp1251 ? static_cast<char>(next_cp1251(&s, end)) : *s++;
  }
}

}  // namespace

void flush_output(Output* out) {
  if (out->f && std::fflush(out->f) != 0) Fail(out);
}

bool output_lost(const Output& out) {
  return out.failed && out.error != EPIPE;
}

void vprint(Output* out, const char* fmt, va_list ap) {
  if (!out->f)  // a stream without a file writes nothing
    return;
  Buffer buffer;
  buffer.out = out;
  vformat(Put, &buffer, fmt, ap);
  Flush(&buffer);
}

void print(Output* out, const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  vprint(out, fmt, ap);
  va_end(ap);
}

void put_text(Output* out, const char* s) {
  if (!out->f) return;
  Buffer buffer;
  buffer.out = out;
  Put(&buffer, s, std::strlen(s));
  Flush(&buffer);
}
