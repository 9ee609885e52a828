#include "selection/most_sets.h"

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <limits>

#include "engine/deviation.h"
#include "engine/pair_table.h"
#include "engine/rank_index.h"
#include "program1/register_table.h"
#include "selection/candidate_sets.h"
#include "selection/set_packing.h"
#include "selection/set_sides.h"
#include "text/format.h"

namespace {

/// The first try lists at most this many candidate sets, each side keeping
/// its nearest partners past it: where the windows are wide, that is enough
/// to reach the bound. A selection not proven then is searched again over
/// every candidate, when they are at most kCompleteCap (about 20 MB).
constexpr size_t kQuickCap = 300000;
constexpr size_t kCompleteCap = 1000000;
/// The search's share of the second a selection may take, in work units
/// (a unit is a candidate killed or revived: 0.3 to 0.7 s of them at 183
/// parts on the machine this was measured on) and on the clock, which
/// stops a search on a busy or slow machine first. A first try that may be
/// followed by a complete one spends a third.
constexpr int64_t kWorkLimit = 40000000;
constexpr int64_t kFirstTryShare = 3;
/// The clock's limit leaves 0.3 s of the second: after it the searches
/// give back what they took and the selection is completed, which took up
/// to 90 ms at 183 parts on a machine two to three times slower than the
/// one the work limit was measured on.
constexpr auto kTimeLimit = std::chrono::milliseconds(700);
/// The complete list is tried only where the time left covers it: listing
/// the candidates again, setting up their search and taking the greedy
/// selection, none of which stops at the deadline, took up to 3.2 times as
/// long for each pair in the windows as the first listing took for each
/// candidate it kept (430 000 to a million pairs); four leaves a margin.
constexpr int64_t kRetryCost = 4;

/// Rising deviation with a NaN last, then the lower record.
bool Earlier(const ChosenSet& a, const ChosenSet& b) {
  const bool a_nan = std::isnan(a.f_de);
  const bool b_nan = std::isnan(b.f_de);
  if (a_nan != b_nan) return b_nan;
  if (!a_nan && a.f_de != b.f_de) return a.f_de < b.f_de;
  return a.low < b.low;
}

bool FreeSide(const Side& s) {
  for (Part p : s.parts)
    if (p != kNoPart && flagRR[p] != kFree) return false;
  return true;
}

}  // namespace

Selection most_sets(int nn, int Ns, float threshold, char v1, char v2) {
  const auto start = std::chrono::steady_clock::now();
  const std::vector<Side> sides = collect_sides(nn, Ns);
  CandidateSets candidates = candidate_sets(sides, threshold, v1, v2, kQuickCap);
  const auto listing = std::chrono::steady_clock::now() - start;
  const bool may_retry = !candidates.complete && candidates.window_pairs <= kCompleteCap;
  PackingLimits limits{may_retry ? kWorkLimit / kFirstTryShare : kWorkLimit, start + kTimeLimit};
  Packing packing = pack_sets(candidates, limits);
  const auto retry_cost = listing * (kRetryCost * static_cast<int64_t>(candidates.window_pairs)) /
                          static_cast<int64_t>(std::max<size_t>(candidates.sets.size(), 1));
  if (!packing.proven && may_retry &&
      std::chrono::steady_clock::now() + retry_cost < start + kTimeLimit) {
    limits.work = kWorkLimit - packing.work;
    CandidateSets all = candidate_sets(sides, threshold, v1, v2, kCompleteCap);
    Packing again = pack_sets(all, limits);
    if (again.chosen.size() >= packing.chosen.size()) {
      again.upper_bound = std::min(again.upper_bound, packing.upper_bound);
      again.proven = static_cast<int>(again.chosen.size()) == again.upper_bound;
      packing = again;
      candidates = std::move(all);
    } else {
      packing.upper_bound = std::min(again.upper_bound, packing.upper_bound);
      packing.proven = static_cast<int>(packing.chosen.size()) == packing.upper_bound;
      packing.timed_out = again.timed_out;
    }
  }
  Selection s;
  for (int c : packing.chosen) {
    const Candidate& k = candidates.sets[c];
    s.sets.push_back({sides[k.low].record, sides[k.high].record, k.f_de, k.kind});
  }
  std::sort(s.sets.begin(), s.sets.end(), Earlier);
  s.upper_bound = packing.upper_bound;
  s.optimal = packing.proven;
  s.timed_out = packing.timed_out;
  return s;
}

bool free_parts_hold_a_set(int nn, int Ns, float threshold, char v1, char v2) {
  SetFinder finder(threshold, v1, v2);
  nn = std::min(nn, kMbSize - 1);
  if (nn >= 0 && by_sort.n == nn) {
    // The rank index gives the values in order without building the list
    // of sides; the walk ends at the first set.
    const int rs = number_shift(Ns);
    float last = -std::numeric_limits<float>::infinity();
    bool ordered = true;
    for (int k = 0; k < by_sort.start[nn + 1] && ordered; ++k) {
      Side b;
      if (!side_of_record(by_sort.order[k], rs, &b) || !FreeSide(b)) continue;
      ordered = b.fc >= last;
      last = b.fc;
      if (ordered && finder.add(b)) return true;
    }
    if (ordered) return false;
    finder = SetFinder(threshold, v1, v2);
  }
  for (const Side& b : collect_sides(nn, Ns, FreeSide))
    if (finder.add(b)) return true;
  return false;
}

std::string selection_fault(const Selection& s, int nn, int Ns, float threshold, char v1, char v2) {
  const int rs = number_shift(Ns);
  std::array<int, kFlagSlots> user{};
  user.fill(-1);
  for (size_t i = 0; i < s.sets.size(); ++i) {
    const ChosenSet& c = s.sets[i];
    const int n = static_cast<int>(i);
    Side a;
    Side b;
    if (c.low < 0 || c.low > nn || c.high < 0 || c.high > nn || c.low >= kMbSize ||
        c.high >= kMbSize || !side_of_record(c.low, rs, &a) || !side_of_record(c.high, rs, &b))
      return format("set %d: record %d or %d is no side", n, c.low, c.high);
    if (!(a.fc <= b.fc)) return format("set %d: the low side has the higher value", n);
    const float f_de = pair_deviation(a.fc, b.fc);
    if (std::bit_cast<uint32_t>(f_de) != std::bit_cast<uint32_t>(c.f_de) &&
        !(std::isnan(f_de) && std::isnan(c.f_de)))
      return format("set %d: deviation %g, recomputed %g", n, static_cast<double>(c.f_de),
                    static_cast<double>(f_de));
    if (deviation_stops(f_de, threshold))
      return format("set %d: deviation beyond the threshold", n);
    if (c.kind != set_kind(a, b) || !kind_counts(c.kind, v1, v2))
      return format("set %d: kind '%c' wrong or not counted", n, c.kind);
    for (Part p : {a.parts[0], a.parts[1], b.parts[0], b.parts[1]}) {
      if (p == kNoPart) continue;
      if (user[p] >= 0) return format("set %d: part %d is also in set %d", n, p, user[p]);
      user[p] = n;
    }
    if (i > 0 && Earlier(c, s.sets[i - 1]))
      return format("set %d: out of the order of rising deviation", n);
  }
  return {};
}
