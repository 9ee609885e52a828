// The data file made from a list: a comment block that explains every
// setting, the settings chosen, and the values between START and END, each
// with a comment naming its component number and its label.
#pragma once

#include <string>
#include <vector>

#include "import/list_reader.h"

/// The settings of the data file as they are written (decimal digits with
/// a point), empty for the default.
struct DataFileSettings {
  std::string tch, znach, otcl;
  bool parallel = false;
  char unit = 0;
};

struct WrittenDataFile {
  std::string text;
  int values = 0;  ///< The values written: the first of those given.
};

/// The data file of `values` with `settings`: at most as many values as the
/// register table takes, and no more than fit within the characters the
/// reader stores (with one to spare for the line break after END).
WrittenDataFile write_data_file(const std::vector<ListValue>& values,
                                const DataFileSettings& settings);
