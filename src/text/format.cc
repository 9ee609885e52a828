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

/// One conversion of a format, "%-7.2f": its spec cut out of the format for
/// snprintf, and its letter.
struct Field {
  char spec[32] = {};
  size_t len = 0;  ///< Bytes of the field in the format.
  char conv = 0;   ///< 0: the format ends inside the field.
};

/// The conversion that begins at `pct`.
Field ParseField(const char* pct) {
  Field f;
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
  f.conv = *q;
  f.len = static_cast<size_t>(q - pct) + (f.conv ? 1 : 0);
  if (f.len < sizeof(f.spec)) std::memcpy(f.spec, pct, f.len);
  return f;
}

/// Long enough for any float or double in "%f" with the widths we use.
constexpr size_t kFieldMax = 512;

// Each field goes to snprintf with its own spec, cut from the format; the
// format itself is checked against the arguments where it is written, so the
// compiler has nothing to check here.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"

/// Formats the field `f` (a known conversion other than %% and a plain %s)
/// with the next argument of `ap` into `buf`; the length written.
size_t FormatField(const Field& f, va_list* ap, char* buf) {
  int n = 0;
  switch (f.conv) {
    case 's':
      n = std::snprintf(buf, kFieldMax, f.spec, va_arg(*ap, const char*));
      break;
    case 'f':
    case 'F':
    case 'e':
    case 'E':
    case 'g':
    case 'G': {
      const double x = va_arg(*ap, double);
      if (!std::isfinite(x)) {  // the C libraries differ here
        n = NonFinite(buf, kFieldMax, f.spec, x);
        break;
      }
      n = std::snprintf(buf, kFieldMax, f.spec, x);
      for (int k = 0; k < n && k < static_cast<int>(kFieldMax) - 1; ++k)
        if (buf[k] == '.') buf[k] = ',';
      break;
    }
    default:  // c d i u x X: a char is passed as an int
      n = std::snprintf(buf, kFieldMax, f.spec, va_arg(*ap, int));
      break;
  }
  if (n <= 0) return 0;
  return static_cast<size_t>(n) < kFieldMax ? static_cast<size_t>(n) : kFieldMax - 1;
}

#pragma GCC diagnostic pop

bool IsConversion(char c) {
  return c != 0 && std::strchr("sdiuxXcfFeEgG", c) != nullptr;
}

}  // namespace

void vformat(PutFn put, void* ctx, const char* fmt, va_list ap) {
  va_list args;
  va_copy(args, ap);
  const char* p = fmt;
  while (*p) {
    // Literal text up to the next conversion goes out in one piece.
    const char* pct = std::strchr(p, '%');
    if (!pct) {
      put(ctx, p, std::strlen(p));
      break;
    }
    if (pct > p) put(ctx, p, static_cast<size_t>(pct - p));
    const Field f = ParseField(pct);
    p = pct + f.len;
    if (f.conv == '%') {
      put(ctx, "%", 1);
    } else if (f.conv == 's' && f.len == 2) {  // plain "%s": any length, no copy
      const char* s = va_arg(args, const char*);
      put(ctx, s, std::strlen(s));
    } else if (!IsConversion(f.conv) || f.len >= sizeof(f.spec)) {
      // A lone '%' at the end, an unknown conversion or a spec longer than
      // any of ours: printed as it stands, consuming nothing.
      put(ctx, pct, f.len);
    } else {
      char buf[kFieldMax];
      put(ctx, buf, FormatField(f, &args, buf));
    }
  }
  va_end(args);
}

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
