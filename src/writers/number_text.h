// Numbers as the CSV and HTML writers print them.
//
// These texts are read back by spreadsheets and scripts, so a value keeps
// every digit its float needs and no more, and never turns into exponent
// form; the decimal mark is the caller's (a comma for people and Russian
// spreadsheets, a point for scripts).
#pragma once

#include <string>

/// Significant digits of a set's mean, which is not a float: as many as
/// tell floats apart.
inline constexpr int kMeanDigits = 9;
/// Decimals of a deviation in percent, as the reports print it.
inline constexpr int kDeviationDecimals = 6;

/// The shortest fixed-point text that reads back as exactly `x`
/// (100.66f: "100.66"), with `point` as its decimal mark.
std::string exact_float_text(float x, char point);

/// `x` rounded to `digits` significant digits, fixed-point, trailing zeros
/// dropped (200.75 to 9 digits: "200.75"; 199.77999877929688: "199.779999").
std::string significant_text(double x, int digits, char point);

/// `x` with `decimals` decimals, as "%.*f" would print it.
std::string fixed_text(double x, int decimals, char point);
