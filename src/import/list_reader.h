// The values of a list: its lines cut into cells (delimiter, quotes and
// comments found out from the text), the column that holds the values
// chosen, and every cell read as a value with its label.
#pragma once

#include <string>
#include <vector>

#include "import/import_list.h"

/// One value read, with the label the list gives it and its line.
struct ListValue {
  std::string digits;
  std::string label;
  int line = 0;
};

struct ListReading {
  /// The values in order, at most the `keep` asked for.
  std::vector<ListValue> values;
  /// Values read beyond those kept, and the line of the first of them.
  int further = 0;
  int further_line = 0;
  /// At most kMaxWarnings, in the order of the lines; the rest counted.
  std::vector<ImportWarning> warnings;
  int more_warnings = 0;
  /// Why no column could be taken (an unknown column name); empty if none.
  std::string trouble;
};

/// A label is cut to this many characters.
inline constexpr size_t kMaxLabelChars = 60;

/// Reads the list `text` (UTF-8, no BOM); keeps at most `keep` values.
ListReading read_list(const std::string& text, const ImportOptions& options, size_t keep);
