// A walk among selections of candidate sets: it forces a candidate in,
// gives back the chosen sets that meet it, takes what then fits and trades
// one chosen set for two where it can. Where nearly every part is in a set,
// it reaches the last set or two that an exact search over many candidates
// is slow to find.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <vector>

#include "selection/candidate_sets.h"

/// What the walk may spend: units of work (a candidate looked at), a
/// deadline on the clock, and a flag that stops it (none: never).
struct WalkLimits {
  int64_t work = 0;
  std::chrono::steady_clock::time_point deadline;
  const std::atomic<bool>* stop = nullptr;
};

struct Walk {
  std::vector<int> chosen;  ///< The largest selection met, in rising index.
  int64_t work = 0;         ///< Units of work spent.
};

/// The largest selection of pairwise disjoint candidates of `sets` that a
/// walk from `chosen` (pairwise disjoint) meets, within `limits` or until
/// it holds `goal` sets; `chosen` itself where it meets none larger. The
/// same `seed` and input always give the same walk where the clock and
/// the flag do not stop it.
Walk walk_sets(const std::vector<Candidate>& sets, const std::vector<int>& chosen, int goal,
               const WalkLimits& limits, uint64_t seed);
