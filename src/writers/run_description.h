// A run's settings and counts in words, shared by the CSV and HTML writers
// so that both describe a run alike.
#pragma once

#include <string>
#include <vector>

#include "writers/run_results.h"

/// One line of the description: what, and its value in words.
struct DescriptionLine {
  std::string key;
  std::string value;
};

/// The settings in Russian, one line each: connection, threshold, band,
/// repeated use, output flags, mode. Numbers show `point` as their decimal
/// mark.
std::vector<DescriptionLine> run_settings(const RunResults& r, char point);

/// What the run counted.
struct RunCounts {
  int components = 0;
  int pairs = 0;
  int sets = 0;
  int used = 0;    ///< Components in at least one set.
  int unused = 0;  ///< Components in none.
};

RunCounts run_counts(const RunResults& r);

/// The counts in Russian, one line each, in the order of RunCounts.
std::vector<DescriptionLine> count_lines(const RunCounts& c);

/// Whether the run has an accuracy threshold: below kNoThreshold it has none.
bool has_threshold(const RunResults& r);
