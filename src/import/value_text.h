// One value of a list as people write it (10,02; 4.7k; 470 Ом; 4k7; 1 000)
// turned into the exact decimal digits a data file takes.
#pragma once

#include <string>
#include <string_view>

/// The unit of the values written: ohms, kilo-ohms or mega-ohms.
inline constexpr char kOhms = 0;
inline constexpr char kKiloOhms = 'k';
inline constexpr char kMegaOhms = 'M';

/// How a lone comma followed by three digits ("1,000") is read when the
/// cell alone cannot tell.
enum class CommaReading { kDecimal, kGrouping };

/// What one cell shows about its comma.
enum class CommaEvidence {
  kNone,
  kDecimal,    ///< A decimal comma beyond doubt (10,02; 1.000,5).
  kGrouping,   ///< A comma that groups thousands (1,000.5), or a decimal point.
  kAmbiguous,  ///< "1,000": read as the caller said.
};

struct ValueReading {
  bool ok = false;
  /// The value in the result unit: digits and at most one '.', the
  /// digits as written (10,020 -> 10.020), no float in between.
  std::string digits;
  CommaEvidence comma = CommaEvidence::kNone;
  /// When not ok: why, in Russian, as the end of a sentence.
  const char* reason = nullptr;
};

/// Reads `cell` (UTF-8, blanks around it allowed) as one value in the unit
/// `unit` (kOhms, kKiloOhms, kMegaOhms): a decimal number with a decimal
/// point or comma, thousands grouped by blanks or by the other mark, an
/// exponent (1.5E+03), a multiplier (k, K, к, M, М for mega; m, м for milli)
/// and a unit (Ом, Ω, ohm, R), or the RKM code (4k7, 1M2, R47, 0R1).
/// Zero and negative values are refused: they are no measured resistance.
ValueReading read_value(std::string_view cell, char unit, CommaReading ambiguous);

/// Whether `word` is a multiplier and/or unit alone ("kΩ", "Ом", "МОм"):
/// a word that belongs to the number before it.
bool is_unit_word(std::string_view word);

/// Whether `cell` begins as a number does (a digit, a sign, a decimal
/// mark), rather than as a word that only reads as the RKM code (R10).
bool starts_like_number(std::string_view cell);

/// The length in bytes of the blank at `at` in `text`: a space, a tab, or
/// one of the no-break and thin spaces that spreadsheets group digits
/// with; 0 when there is none.
int blank_length(std::string_view text, size_t at);
