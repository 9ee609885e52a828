#include "import/text_decoding.h"

#include "text/cp1251.h"

namespace {

constexpr unsigned kReplacement = 0xFFFD;
constexpr unsigned kHighSurrogate = 0xD800;
constexpr unsigned kLowSurrogate = 0xDC00;
constexpr unsigned kSurrogateEnd = 0xE000;
constexpr unsigned kSupplementary = 0x10000;
constexpr int kSurrogateBits = 10;

void AppendUtf8(std::string* out, unsigned cp) {
  if (cp < 0x80) {
    *out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    *out += static_cast<char>(0xC0 | (cp >> 6));
    *out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < kSupplementary) {
    *out += static_cast<char>(0xE0 | (cp >> 12));
    *out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    *out += static_cast<char>(0xF0 | (cp >> 18));
    *out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    *out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

/// The length of the valid UTF-8 sequence at `i`, or 0 (overlong forms,
/// surrogates and code points beyond U+10FFFF are not valid).
size_t Utf8Length(const std::string& s, size_t i) {
  const auto b = [&s](size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char c = b(i);
  if (c < 0x80) return 1;
  size_t len = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (c >= 0xC2 && c <= 0xDF) {
    len = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    len = 3;
    if (c == 0xE0) low = 0xA0;
    if (c == 0xED) high = 0x9F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    len = 4;
    if (c == 0xF0) low = 0x90;
    if (c == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (i + len > s.size()) return 0;
  if (b(i + 1) < low || b(i + 1) > high) return 0;
  for (size_t k = 2; k < len; ++k)
    if ((b(i + k) & 0xC0) != 0x80) return 0;
  return len;
}

bool ValidUtf8(const std::string& s) {
  for (size_t i = 0; i < s.size();) {
    const size_t n = Utf8Length(s, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

std::string FromUtf16(const std::string& bytes, bool big_endian) {
  std::string out;
  out.reserve(bytes.size());
  const auto unit = [&bytes, big_endian](size_t i) {
    const unsigned a = static_cast<unsigned char>(bytes[i]);
    const unsigned b = static_cast<unsigned char>(bytes[i + 1]);
    return big_endian ? (a << 8) | b : (b << 8) | a;
  };
  constexpr size_t kBom = 2;
  for (size_t i = kBom; i + 1 < bytes.size(); i += 2) {
    unsigned cp = unit(i);
    if (cp >= kHighSurrogate && cp < kLowSurrogate && i + 3 < bytes.size() &&
        unit(i + 2) >= kLowSurrogate && unit(i + 2) < kSurrogateEnd) {
      cp = kSupplementary + ((cp - kHighSurrogate) << kSurrogateBits) +
           (unit(i + 2) - kLowSurrogate);
      i += 2;
    } else if (cp >= kHighSurrogate && cp < kSurrogateEnd) {
      cp = kReplacement;
    }
    AppendUtf8(&out, cp);
  }
  if (bytes.size() % 2 != 0) AppendUtf8(&out, kReplacement);
  return out;
}

}  // namespace

std::string decode_to_utf8(const std::string& bytes) {
  const auto starts = [&bytes](const char* mark, size_t n) {
    return bytes.size() >= n && bytes.compare(0, n, mark, n) == 0;
  };
  if (starts("\xFF\xFE", 2)) {
    return FromUtf16(bytes, false);
  }
  if (starts("\xFE\xFF", 2)) {
    return FromUtf16(bytes, true);
  }
  if (ValidUtf8(bytes)) {
    return starts("\xEF\xBB\xBF", 3) ? bytes.substr(3) : bytes;
  }
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char c : bytes)
    AppendUtf8(&out, cp1251_code_point(static_cast<unsigned char>(c)));
  return out;
}
