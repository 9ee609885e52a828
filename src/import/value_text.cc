#include "import/value_text.h"

#include <array>
#include <vector>

namespace {

/// Decimal places of the multipliers and units.
constexpr int kKiloPlaces = 3;
constexpr int kMegaPlaces = 6;
constexpr int kMilliPlaces = -3;

/// Bounds that keep every value a float of the data file holds well: at most
/// this many digits before the point, and this many characters in all.
constexpr size_t kMaxIntegerDigits = 12;
constexpr size_t kMaxValueChars = 24;
/// An exponent is read up to this many digits (1E+999 is refused anyway).
constexpr size_t kMaxExponentDigits = 3;
/// Thousands come in groups of this many digits.
constexpr size_t kGroupDigits = 3;

/// What a separator inside a number is; blanks of any kind are one.
constexpr char kGroupBlank = ' ';

constexpr const char* kExpected =
    "ожидалось число (10.02 или 10,02), можно с множителем и единицей (4.7k, 470 Ом, 1.5 МОм) "
    "или в коде RKM (4k7, R47)";

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool StartsWith(std::string_view s, size_t at, std::string_view prefix) {
  return s.substr(at, prefix.size()) == prefix;
}

/// A multiplier letter: its spelling and its decimal places.
struct Multiplier {
  std::string_view text;
  int places;
};

constexpr std::array<Multiplier, 8> kMultipliers = {{
    {"k", kKiloPlaces},
    {"K", kKiloPlaces},
    {"\xD0\xBA", kKiloPlaces},  // к
    {"\xD0\x9A", kKiloPlaces},  // К
    {"M", kMegaPlaces},
    {"\xD0\x9C", kMegaPlaces},  // М
    {"m", kMilliPlaces},
    {"\xD0\xBC", kMilliPlaces},  // м
}};

/// The multiplier spelt at `at`, or nullptr.
const Multiplier* MultiplierAt(std::string_view s, size_t at) {
  for (const Multiplier& m : kMultipliers)
    if (StartsWith(s, at, m.text)) return &m;
  return nullptr;
}

/// The unit words, in lower case; "r" also stands in the RKM code.
constexpr std::array<std::string_view, 7> kUnits = {
    "\xD0\xBE\xD0\xBC",  // ом
    "ohm",
    "ohms",
    "om",
    "r",
    "\xCE\xA9",      // Ω
    "\xE2\x84\xA6",  // Ω, the ohm sign
};

/// `s` in lower case for the Latin letters and for Cyrillic А to П, the
/// only capitals the unit words use.
std::string Lower(std::string_view s) {
  std::string out(s);
  for (size_t i = 0; i < out.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(out[i]);
    if (c >= 'A' && c <= 'Z') out[i] = static_cast<char>(c - 'A' + 'a');
    constexpr unsigned char kCyrillicLead = 0xD0;
    constexpr unsigned char kCapitalA = 0x90;
    constexpr unsigned char kCapitalPe = 0x9F;
    constexpr unsigned char kToSmall = 0x20;
    if (c == kCyrillicLead && i + 1 < out.size()) {
      unsigned char d = static_cast<unsigned char>(out[i + 1]);
      if (d >= kCapitalA && d <= kCapitalPe) out[i + 1] = static_cast<char>(d + kToSmall);
      ++i;
    }
  }
  return out;
}

bool IsUnit(std::string_view word) {
  const std::string lower = Lower(word);
  for (std::string_view u : kUnits)
    if (lower == u) return true;
  return false;
}

/// Reads what follows a number: nothing, a multiplier, a unit, or a
/// multiplier and a unit. Adds the multiplier's power of ten to `*power`.
bool ReadSuffix(std::string_view s, int* power) {
  if (s.empty() || IsUnit(s)) return true;
  const Multiplier* m = MultiplierAt(s, 0);
  if (!m) return false;
  *power += m->places;
  return s.size() == m->text.size() || IsUnit(s.substr(m->text.size()));
}

std::string_view Trim(std::string_view s) {
  size_t from = 0;
  while (from < s.size()) {
    int n = blank_length(s, from);
    if (n == 0) break;
    from += static_cast<size_t>(n);
  }
  size_t to = s.size();
  while (to > from) {
    size_t back = 1;
    while (back < to - from && (static_cast<unsigned char>(s[to - back]) & 0xC0) == 0x80)
      ++back;
    if (blank_length(s, to - back) != static_cast<int>(back)) break;
    to -= back;
  }
  return s.substr(from, to - from);
}

/// A number as written: its digits, the separators between runs of them,
/// and the length of every run (one more than the separators).
struct NumberParts {
  std::string all;
  std::string seps;  ///< '.', ',' or kGroupBlank.
  std::vector<size_t> runs;
};

/// Reads digits and separators from `*at`; a blank counts only between
/// digits, so that "10 kΩ" ends before the blank.
NumberParts ReadNumber(std::string_view s, size_t* at) {
  NumberParts p;
  size_t run = 0;
  while (*at < s.size()) {
    const char c = s[*at];
    if (IsDigit(c)) {
      p.all += c;
      ++run;
      ++*at;
      continue;
    }
    size_t width = 1;
    char sep = c;
    if (c != '.' && c != ',') {
      const int blank = blank_length(s, *at);
      if (blank == 0 && c != '\'') break;
      width = blank > 0 ? static_cast<size_t>(blank) : 1;
      if (run == 0 || *at + width >= s.size() || !IsDigit(s[*at + width])) break;
      sep = kGroupBlank;
    }
    p.runs.push_back(run);
    run = 0;
    p.seps += sep;
    *at += width;
  }
  p.runs.push_back(run);
  return p;
}

/// Whether runs `first` to `last` group thousands: 1 to 3 digits, then 3 each.
bool ValidGroups(const std::vector<size_t>& runs, size_t first, size_t last) {
  if (runs[first] < 1 || runs[first] > kGroupDigits) return false;
  for (size_t k = first + 1; k <= last; ++k)
    if (runs[k] != kGroupDigits) return false;
  return true;
}

/// Where the decimal mark stands among the separators of `p` (an index
/// into p.seps), or -1 for an integer; false when the separators make no
/// number. Sets what the number shows about the comma.
bool PlaceDecimalMark(const NumberParts& p, CommaReading ambiguous, int* mark,
                      CommaEvidence* comma) {
  *mark = -1;
  *comma = CommaEvidence::kNone;
  const std::string& s = p.seps;
  if (s.empty()) return true;
  const size_t last = s.size() - 1;
  const char d = s[last];
  const bool same = s.find_first_not_of(d) == std::string::npos;
  // No run is empty, but the integer part before a lone mark (.5).
  for (size_t k = 0; k < p.runs.size(); ++k)
    if (p.runs[k] == 0 && !(k == 0 && s.size() == 1 && d != kGroupBlank)) return false;
  if (same && s.size() == 1) {
    if (d == kGroupBlank) return ValidGroups(p.runs, 0, 1);
    if (d == '.') {
      *mark = 0;
      *comma = CommaEvidence::kGrouping;
      return true;
    }
    // A lone comma: "1,000" may group thousands; "0,500" and "10,02" may not.
    if (!ValidGroups(p.runs, 0, 1) || p.all[0] == '0') {
      *mark = 0;
      *comma = CommaEvidence::kDecimal;
      return true;
    }
    *comma = CommaEvidence::kAmbiguous;
    *mark = ambiguous == CommaReading::kDecimal ? 0 : -1;
    return true;
  }
  if (same) {  // 1,000,000 or 1.000.000 or 1 000 000
    if (!ValidGroups(p.runs, 0, last + 1)) return false;
    if (d == ',') *comma = CommaEvidence::kGrouping;
    if (d == '.') *comma = CommaEvidence::kDecimal;
    return true;
  }
  // Mixed: the last separator is the decimal mark, alone of its kind; the
  // others are one grouping kind (1,000.5; 1.000,5; 1 000,5).
  if (d == kGroupBlank || s.find(d) != last) return false;
  if (s.substr(0, last).find_first_not_of(s[0]) != std::string::npos) return false;
  if (!ValidGroups(p.runs, 0, last)) return false;
  *mark = static_cast<int>(last);
  *comma = d == ',' ? CommaEvidence::kDecimal : CommaEvidence::kGrouping;
  return true;
}

/// The digits `mantissa` with `places` of them after the point (negative:
/// zeros appended) as the data file writes them.
std::string DecimalText(const std::string& mantissa, int places) {
  std::string whole;
  std::string fraction;
  if (places <= 0) {
    whole = mantissa + std::string(static_cast<size_t>(-places), '0');
  } else if (mantissa.size() > static_cast<size_t>(places)) {
    whole = mantissa.substr(0, mantissa.size() - static_cast<size_t>(places));
    fraction = mantissa.substr(mantissa.size() - static_cast<size_t>(places));
  } else {
    fraction = std::string(static_cast<size_t>(places) - mantissa.size(), '0') + mantissa;
  }
  const size_t first = whole.find_first_not_of('0');
  whole = first == std::string::npos ? "0" : whole.substr(first);
  return fraction.empty() ? whole : whole + "." + fraction;
}

ValueReading Refuse(const char* reason) {
  ValueReading r;
  r.reason = reason;
  return r;
}

int UnitPlaces(char unit) {
  return unit == kKiloOhms ? kKiloPlaces : unit == kMegaOhms ? kMegaPlaces : 0;
}

}  // namespace

int blank_length(std::string_view text, size_t at) {
  if (at >= text.size()) return 0;
  if (text[at] == ' ' || text[at] == '\t') return 1;
  if (StartsWith(text, at, "\xC2\xA0")) return 2;      // no-break space
  if (StartsWith(text, at, "\xE2\x80\xAF")) return 3;  // narrow no-break space
  if (StartsWith(text, at, "\xE2\x80\x89")) return 3;  // thin space
  return 0;
}

bool is_unit_word(std::string_view word) {
  int power = 0;
  return !word.empty() && ReadSuffix(word, &power);
}

bool starts_like_number(std::string_view cell) {
  cell = Trim(cell);
  return !cell.empty() && (IsDigit(cell[0]) || cell[0] == '+' || cell[0] == '-' || cell[0] == '.' ||
                           cell[0] == ',' || StartsWith(cell, 0, "\xE2\x88\x92"));
}

ValueReading read_value(std::string_view cell, char unit, CommaReading ambiguous) {
  std::string_view s = Trim(cell);
  if (s.empty()) return Refuse("пустое поле");
  if (s[0] == '-' || StartsWith(s, 0, "\xE2\x88\x92"))  // '-' or the minus sign
    return Refuse("отрицательное значение, а сопротивление больше нуля");
  size_t at = s[0] == '+' ? 1 : 0;
  const NumberParts p = ReadNumber(s, &at);
  // The value is mantissa * 10^(power - places) ohms.
  std::string mantissa = p.all;
  int places = 0;
  int power = 0;
  ValueReading r;
  const Multiplier* rkm = p.seps.empty() ? MultiplierAt(s, at) : nullptr;
  const bool rkm_r = p.seps.empty() && at < s.size() && (s[at] == 'R' || s[at] == 'r');
  const size_t letter = rkm ? rkm->text.size() : 1;
  if ((rkm || rkm_r) && at + letter < s.size() && IsDigit(s[at + letter]) &&
      (!p.all.empty() || rkm_r)) {
    // The RKM code: the letter stands for the decimal mark (4k7, R47, 0R1).
    at += letter;
    const NumberParts fraction = ReadNumber(s, &at);
    if (!fraction.seps.empty()) return Refuse(kExpected);
    mantissa += fraction.all;
    places = static_cast<int>(fraction.all.size());
    power = rkm ? rkm->places : 0;
  } else {
    if (p.all.empty()) return Refuse(kExpected);
    int mark = -1;
    if (!PlaceDecimalMark(p, ambiguous, &mark, &r.comma))
      return Refuse("разделители разрядов и дробной части расставлены неверно");
    if (mark >= 0)
      for (size_t k = static_cast<size_t>(mark) + 1; k < p.runs.size(); ++k)
        places += static_cast<int>(p.runs[k]);
    // An exponent: 1.5E+03, 1e3.
    if (at < s.size() && (s[at] == 'e' || s[at] == 'E')) {
      size_t e = at + 1;
      bool negative = false;
      if (e < s.size() && (s[e] == '+' || s[e] == '-')) negative = s[e++] == '-';
      const size_t from = e;
      int exponent = 0;
      while (e < s.size() && IsDigit(s[e]) && e - from < kMaxExponentDigits)
        exponent = exponent * 10 + (s[e++] - '0');
      if (e > from && (e == s.size() || !IsDigit(s[e]))) {
        power = negative ? -exponent : exponent;
        at = e;
      }
    }
  }
  while (blank_length(s, at) > 0)
    at += static_cast<size_t>(blank_length(s, at));
  if (!ReadSuffix(s.substr(at), &power)) return Refuse(kExpected);
  if (mantissa.find_first_not_of('0') == std::string::npos)
    return Refuse("нулевое значение, а сопротивление больше нуля");
  r.digits = DecimalText(mantissa, places - power + UnitPlaces(unit));
  const size_t point = r.digits.find('.');
  if (r.digits.size() > kMaxValueChars ||
      (point == std::string::npos ? r.digits.size() : point) > kMaxIntegerDigits)
    return Refuse("значение вне разумных пределов (до 12 цифр до точки и до 24 знаков)");
  r.ok = true;
  return r;
}
