// `podbor --import`: a list of measured values as people keep them (one per
// line, a pasted column, a CSV or TSV export, a meter logger's file) turned
// into a data file that podbor reads without a single warning.
#pragma once

#include <string>
#include <vector>

struct ImportOptions {
  int column = 0;                ///< 1-based column to take; 0: the first column holding numbers.
  std::string column_name;       ///< Or the column of this header name.
  char unit = 0;                 ///< Result unit: 0 ohms, 'k' kilo-ohms, 'M' mega-ohms.
  std::string tch, znach, otcl;  ///< Settings as given; empty: the default.
  bool parallel = false;         ///< TIP, 2.
};

/// A line of the list that was left out, or a reading worth a word. Line
/// and column count from 1 (characters, not bytes); line 0 is about the
/// list or the options as a whole.
struct ImportWarning {
  int line = 0;
  int col = 0;
  std::string text;  ///< Russian, says what was expected.
};

struct ImportResult {
  std::string data_file;                ///< UTF-8; empty when there is no value at all.
  std::vector<ImportWarning> warnings;  ///< At most kMaxWarnings, by line.
  int values = 0;                       ///< Components written.
  int more_warnings = 0;                ///< Warnings beyond those kept.
  /// Set when nothing can be written (no value, an option that makes no
  /// sense): one line, Russian.
  std::string trouble;
};

/// The list `bytes` (UTF-8 with or without BOM, Windows-1251, UTF-16 with
/// BOM) as a data file. Pure: reads and writes nothing else.
ImportResult import_list(const std::string& bytes, const ImportOptions& options);
