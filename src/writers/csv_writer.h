// The run's sets and unused components as CSV, for a spreadsheet or a
// script.
//
// A few lines describe the run (key and value cells), then a blank line,
// the header row (its first cell "Подборка") and one row per component of
// each set: set, side (A, B), R number, the value as the data file writes
// it, the value, the side's value, the set's mean, the deviation in %, the
// label. The unused components follow with set and side empty.
//
// Values print every digit their float needs and no more, in fixed form
// (100.66); the mean, which is not a float, to 9 significant digits; the
// deviation with 6 decimals as the reports print it. A text cell from
// outside (name, path, label, written value) that starts with = + - @, a
// tab or CR is written as '=... in quotes (the OWASP defence against
// formula injection), unless it is a plain number; numbers are never
// changed.
#pragma once

#include <string>

#include "writers/run_results.h"

enum class CsvFormat {
  /// For a double-click in a Russian-locale spreadsheet: UTF-8 with BOM,
  /// ';' between cells, decimal comma, CR LF.
  kSpreadsheet,
  /// RFC 4180 for scripts: ',' between cells, decimal point, CR LF, no BOM.
  kRfc,
};

/// The CSV text, whole, as bytes ready to write.
std::string csv_text(const RunResults& r, CsvFormat format = CsvFormat::kSpreadsheet);
