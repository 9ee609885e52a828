#include "text/cp1251.h"

namespace {

/// Unicode code points of the bytes 0x80 to 0xBF; 0xC0 to 0xFF are U+0410 to
/// U+044F in order. 0x98 is unassigned.
const unsigned short kHigh[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
};

unsigned char FromCodePoint(unsigned cp) {
  if (cp < 0x80) return static_cast<unsigned char>(cp);
  if (cp >= 0x0410 && cp <= 0x044F) return static_cast<unsigned char>(cp - 0x0410 + 0xC0);
  for (unsigned k = 0; k < 64; ++k)
    if (kHigh[k] == cp && cp != 0) return static_cast<unsigned char>(0x80 + k);
  return '?';
}

bool IsContinuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

}  // namespace

unsigned char next_cp1251(const char** p, const char* end) {
  const unsigned char* s = reinterpret_cast<const unsigned char*>(*p);
  const unsigned char* e = reinterpret_cast<const unsigned char*>(end);
  unsigned char c = s[0];
  int len = 0;
  unsigned cp = 0;
  if (c >= 0xC2 && c <= 0xDF) {
    len = 2;
    cp = c & 0x1Fu;
  } else if (c >= 0xE0 && c <= 0xEF) {
    len = 3;
    cp = c & 0x0Fu;
  } else if (c >= 0xF0 && c <= 0xF4) {
    len = 4;
    cp = c & 0x07u;
  }
  if (len == 0 || e - s < len) {  // ASCII, or a byte that is no UTF-8 lead
    *p += 1;
    return c;
  }
  for (int k = 1; k < len; ++k) {
    if (!IsContinuation(s[k])) {
      *p += 1;
      return c;
    }
    cp = (cp << 6) | (s[k] & 0x3Fu);
  }
  *p += len;
  return FromCodePoint(cp);
}

unsigned cp1251_code_point(unsigned char b) {
  constexpr unsigned kReplacement = 0xFFFD;
  constexpr unsigned char kFirstCyrillicByte = 0xC0;
  constexpr unsigned kFirstCyrillic = 0x0410;
  if (b < 0x80) return b;
  if (b >= kFirstCyrillicByte) return kFirstCyrillic + (b - kFirstCyrillicByte);
  const unsigned cp = kHigh[b - 0x80];
  return cp != 0 ? cp : kReplacement;
}
