#include "writers/number_text.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace {

/// Long enough for any float or double in fixed form with the precisions
/// used here (the largest double has 309 digits before the point).
constexpr size_t kNumberBuffer = 400;

/// Fixed-point form has no room for more decimals than a double has.
constexpr int kMaxDecimals = 60;

std::string WithPoint(std::string_view text, char point) {
  std::string s(text);
  for (char& c : s)
    if (c == '.') c = point;
  return s;
}

std::string DropTrailingZeros(std::string s) {
  if (s.find('.') == std::string::npos) return s;
  while (s.back() == '0')
    s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s;
}

}  // namespace

std::string exact_float_text(float x, char point) {
  char buf[kNumberBuffer];
  auto r = std::to_chars(buf, buf + sizeof(buf), x, std::chars_format::fixed);
  return WithPoint(std::string_view(buf, static_cast<size_t>(r.ptr - buf)), point);
}

std::string fixed_text(double x, int decimals, char point) {
  char buf[kNumberBuffer];
  auto r = std::to_chars(buf, buf + sizeof(buf), x, std::chars_format::fixed, decimals);
  return WithPoint(std::string_view(buf, static_cast<size_t>(r.ptr - buf)), point);
}

std::string significant_text(double x, int digits, char point) {
  int decimals = 0;
  if (std::isfinite(x) && x != 0.0) {
    // Digits before the point: floor(log10 |x|) + 1.
    auto magnitude = static_cast<int>(std::floor(std::log10(std::fabs(x))));
    decimals = digits - 1 - magnitude;
    if (decimals < 0) decimals = 0;
    if (decimals > kMaxDecimals) decimals = kMaxDecimals;
  }
  char buf[kNumberBuffer];
  auto r = std::to_chars(buf, buf + sizeof(buf), x, std::chars_format::fixed, decimals);
  std::string s = DropTrailingZeros(std::string(buf, static_cast<size_t>(r.ptr - buf)));
  return WithPoint(s, point);
}
