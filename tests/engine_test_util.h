// Helpers shared by the engine tests: a component list as the driver leaves
// it, and the console caught in memory.
#pragma once

#include <string>
#include <vector>

#include "engine/pair_building.h"
#include "engine/pair_table.h"
#include "program1/register_table.h"
#include "support/register_builder.h"
#include "support/test_util.h"
#include "text/console.h"

/// Runs fn with the console writing into memory; returns what it printed.
template <class F>
std::string Captured(F fn) {
  ConsoleCapture k;
  fn();
  return k.text();
}

/// Builds the pair table of `values` on a zero-filled Mb and returns raschet's
/// result; the count line goes to *out when given.
inline int BuildPairs(const std::vector<float>& values, int tip, int keep_all = 1,
                      float zmin = 0.0f, float zmax = 0.0f, std::string* out = nullptr) {
  reset_Mb();
  const int N = SetComponents(values);
  int nn = -1;
  std::string printed =
      Captured([&] { nn = raschet(kStartSlot + 1, N, tip, &zmin, &zmax, keep_all); });
  if (out) {
    *out = printed;
  }
  return nn;
}
