// The most disjoint sets by branch and bound over a Lagrangian relaxation:
// a price on each part bounds the sets that the parts left can make, and
// the sets the prices favour are taken first.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <climits>
#include <cstdint>
#include <optional>
#include <vector>

#include "program1/register_table.h"
#include "selection/candidate_sets.h"

struct RelaxedSearch {
  std::vector<int> chosen;  ///< Indices of pairwise disjoint candidates.
  /// No selection has more sets (half the parts when the search had no
  /// time for a bound).
  int upper_bound = 0;
  bool exhausted = false;  ///< The whole tree was searched: chosen is a largest.
  /// Each part's price at the root's best bound: the prices, with what
  /// each candidate (worth one set) is worth above its parts' prices,
  /// bound the count. Parts in no candidate cost nothing.
  std::array<double, kFlagSlots> prices{};
  int64_t work = 0;  ///< Candidates priced, the unit of `work` below.
};

/// Where the search branches: on the candidate the relaxation favours most,
/// or on the most favoured candidate of the part the fewest live candidates
/// hold. Each finds quickly the selections the other is slow to reach, so
/// two searches side by side use one each.
enum class Branching { kFavouredSet, kTightestPart };

/// What the subgradient steps aim at: the best count the search has found,
/// none at the root, so that the first prices swing widely and the
/// relaxation takes many candidates in turn; or, from the root on, at least
/// a greedy selection's, which settles the prices near their least bound
/// (the linear relaxation's) within the root's rounds, where the other way
/// may leave the root's bound several sets above it. Each finds selections
/// the other is slow to reach, so two searches side by side use one each.
enum class Aim { kBestFound, kGreedyStart };

/// The most pairwise disjoint candidates of `sets`, within `work`
/// candidates priced and the `deadline`, or until `stop` is set or it holds
/// `enough`; the same input always gives the same result where neither
/// stops it. None where the list is too long for the prices to settle
/// within the work.
std::optional<RelaxedSearch> relaxed_search(const std::vector<Candidate>& sets, int64_t work,
                                            std::chrono::steady_clock::time_point deadline,
                                            const std::atomic<bool>* stop = nullptr,
                                            Branching branching = Branching::kFavouredSet,
                                            int enough = INT_MAX, Aim aim = Aim::kBestFound);
