// The most disjoint sets among candidate sets: greedy starts and the
// relaxation's search, exchanges that trade k chosen sets for k + 1, and an
// exact search where a cluster of parts still falls short of its bound.
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include "selection/candidate_sets.h"

/// What the search may spend: units of work (each a candidate killed or
/// brought back to life as parts are taken or given back; the same input
/// always takes the same number), and a deadline on the clock.
struct PackingLimits {
  int64_t work = 0;
  std::chrono::steady_clock::time_point deadline;
};

struct Packing {
  std::vector<int> chosen;  ///< Indices of the chosen candidates, in rising index.
  int upper_bound = 0;      ///< No selection has more sets.
  bool proven = false;      ///< chosen has as many sets as any selection can.
  bool timed_out = false;   ///< A limit ended the search before it was done.
  int64_t work = 0;         ///< Units of work spent.
};

/// The most pairwise disjoint sets of `candidates` (indices into its
/// sets); among as many, fewer and smaller deviations where found. An
/// exhausted search proves its result when the list is complete.
Packing pack_sets(const CandidateSets& candidates, const PackingLimits& limits);
