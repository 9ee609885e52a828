// Runs' results built by hand for the CSV and HTML writer tests.
#pragma once

#include <string>

#include "writers/run_results.h"

/// `n` components of values near 100 (every third one the same), written as
/// the data file would, and `sets` sets of four neighbours each (every fifth
/// set with a single component on side B), deviations rising from 0 towards
/// the threshold 0,5 %; the rest unused.
inline RunResults made_run(int n, int sets, const std::string& name = "data.txt") {
  RunResults r;
  r.data_file = name;
  r.data_path = "/home/user/" + name;
  r.date = "2026-12-07 18:05";
  r.tch = 0.5f;
  r.pairs = n * (n - 1) / 2;
  for (int k = 0; k < n; ++k) {
    float value = k % 3 == 0 ? 100.5f : 99.0f + static_cast<float>(k % 23) / 10;
    r.parts.push_back({k + 1, value, std::to_string(value), "", -1});
  }
  for (int s = 0; s < sets; ++s) {
    ResultSet set{s + 1,
                  {200.75f, {4 * s, 4 * s + 1}},
                  {200.78f, {4 * s + 2}},
                  200.765,
                  r.tch * static_cast<float>(s) / static_cast<float>(sets)};
    if (s % 5 != 0) set.high.parts.push_back(4 * s + 3);
    for (int k = 4 * s; k < 4 * s + 4; ++k)
      r.parts[k].set = k == 4 * s + 3 && s % 5 == 0 ? -1 : s;
    r.sets.push_back(set);
  }
  return r;
}
