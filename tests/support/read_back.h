// A data file read back as a run reads it: for the tests and the fuzzer of
// the list import, which must write files the reader takes without a word.
#pragma once

#include <string>
#include <vector>

struct ReadBack {
  bool fits = false;          ///< Within the characters the reader stores.
  std::vector<float> values;  ///< The component list, in order.
  std::string warnings;       ///< What data_file_warnings printed (UTF-8).
};

/// Resets every table, then reads `file` through read_data_file, obrabotka
/// and data_file_warnings, and takes the component list as count() finds it.
ReadBack read_back(const std::string& file);
