#include "text/format.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

void AppendToString(void* ctx, const char* s, size_t n) {
  static_cast<std::string*>(ctx)->append(s, n);
}

bool IsFlag(char c) {
  return c == '-' || c == '+' || c == ' ' || c == '#' || c == '0';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsUpper(char c) {
  return c >= 'A' && c <= 'Z';
}

/// An infinity or a NaN in the field `spec` ("%-8f"), spelt the same on
/// every system: inf, -inf, nan, -nan ("INF" and so on for F, E, G), with
/// the sign flags '+' and ' ', the width and the '-' flag; '0' pads with
/// blanks, a precision does nothing.
int NonFinite(char* buf, size_t size, const char* spec, double x) {
  bool left = false;
  char sign = std::signbit(x) ? '-' : 0;
  const char* q = spec + 1;
  for (; IsFlag(*q); ++q) {
    if (*q == '-') left = true;
    if (*q == '+' && !std::signbit(x)) sign = '+';
    if (*q == ' ' && !sign) sign = ' ';
  }
  int width = 0;
  for (; IsDigit(*q); ++q)
    width = width * 10 + (*q - '0');
  while (*q == '.' || IsDigit(*q))
    ++q;
  const char* name = std::isnan(x) ? (IsUpper(*q) ? "NAN" : "nan") : (IsUpper(*q) ? "INF" : "inf");
  char word[5] = {sign};
  std::strcat(word + (sign ? 1 : 0), name);
  return std::snprintf(buf, size, left ? "%-*s" : "%*s", width, word);
}

}  // namespace

// Each field goes to snprintf with its own spec, cut from `fmt`; `fmt`
// itself is checked against the arguments where it is written, so the
// compiler has nothing to check here.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"

void vformat(PutFn put, void* ctx, const char* fmt, va_list ap) {
  const char* p = fmt;
  while (*p) {
    // Literal text up to the next conversion goes out in one piece.
    const char* pct = std::strchr(p, '%');
    if (!pct) {
      put(ctx, p, std::strlen(p));
      return;
    }
    if (pct > p) put(ctx, p, static_cast<size_t>(pct - p));

    // One conversion: copy its spec so snprintf formats exactly that field.
    const char* q = pct + 1;
    while (IsFlag(*q))
      ++q;
    while (IsDigit(*q))
      ++q;
    if (*q == '.') {
      ++q;
      while (IsDigit(*q))
        ++q;
    }
    char conv = *q;
    if (!conv) {  // a lone '%' at the end is printed as it stands
      put(ctx, pct, std::strlen(pct));
      return;
    }
    p = q + 1;

    char spec[32];
    size_t spec_len = static_cast<size_t>(p - pct);
    if (spec_len >= sizeof(spec)) {  // no field of ours is that long; print it as text
      put(ctx, pct, spec_len);
      continue;
    }
    std::memcpy(spec, pct, spec_len);
    spec[spec_len] = 0;

    // Long enough for any float or double in "%f" with the widths we use.
    char buf[512];
    int n = 0;
    switch (conv) {
      case '%':
        put(ctx, "%", 1);
        continue;
      case 's': {
        const char* s = va_arg(ap, const char*);
        if (spec_len == 2) {  // plain "%s": any length, no copy
          put(ctx, s, std::strlen(s));
          continue;
        }
        n = std::snprintf(buf, sizeof(buf), spec, s);
        break;
      }
      case 'c':  // a char is passed as an int
      case 'd':
      case 'i':
      case 'u':
      case 'x':
      case 'X':
        n = std::snprintf(buf, sizeof(buf), spec, va_arg(ap, int));
        break;
      case 'f':
      case 'F':
      case 'e':
      case 'E':
      case 'g':
      case 'G': {
        double x = va_arg(ap, double);
        if (!std::isfinite(x)) {  // the C libraries differ here
          n = NonFinite(buf, sizeof(buf), spec, x);
          break;
        }
        n = std::snprintf(buf, sizeof(buf), spec, x);
        if (n > 0) {
          size_t end =
              static_cast<size_t>(n) < sizeof(buf) ? static_cast<size_t>(n) : sizeof(buf) - 1;
          for (size_t k = 0; k < end; ++k)
            if (buf[k] == '.') buf[k] = ',';
        }
        break;
      }
      default:  // unknown conversion: print it as text, consume nothing
        put(ctx, pct, spec_len);
        continue;
    }
    if (n > 0)
      put(ctx, buf,
          static_cast<size_t>(n) < sizeof(buf) ? static_cast<size_t>(n) : sizeof(buf) - 1);
  }
}

#pragma GCC diagnostic pop

std::string vformat_string(const char* fmt, va_list ap) {
  std::string out;
  vformat(AppendToString, &out, fmt, ap);
  return out;
}

std::string format(const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  std::string out = vformat_string(fmt, ap);
  va_end(ap);
  return out;
}
