#include "selection/spare_sets.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace {

constexpr uint32_t kComponentMask = (1u << kSpareComponentBits) - 1;

/// The choices of names of `sets` with spare parts, with the sets that
/// spend the matching or without them: each a candidate whose parts are
/// the names (numbered from 0, fewer than the parts), so that the most
/// disjoint ones are the most sets of spare parts.
struct Choices {
  std::vector<Candidate> choices;
  std::vector<int> first;  ///< The candidate of sets making each choice.
  int matched = 0;         ///< Choices that are sets of the matching.
};

Choices ListChoices(const std::vector<Candidate>& sets, bool spending) {
  std::unordered_map<uint32_t, int> named;
  std::unordered_set<uint32_t> seen;
  Choices out;
  for (size_t i = 0; i < sets.size(); ++i) {
    const uint32_t key = sets[i].spares;
    if (key == 0 || (sets[i].spends_matching && !spending) || !seen.insert(key).second) continue;
    Candidate c;
    for (uint32_t rest = key; rest != 0; rest >>= kSpareComponentBits)
      c.parts[c.size++] = static_cast<Part>(
          named.try_emplace(rest & kComponentMask, static_cast<int>(named.size())).first->second);
    out.matched += sets[i].size == kPair;
    out.choices.push_back(c);
    out.first.push_back(static_cast<int>(i));
  }
  return out;
}

/// The most choices found, as candidates of `sets`; the sets of the
/// matching count among them, and `matched` says how many there are.
struct Found {
  std::vector<int> chosen;
  int matched = 0;
  bool exhausted = false;  ///< No selection of the choices has more.
};

Found Search(const Choices& list, int64_t work, std::chrono::steady_clock::time_point deadline,
             const std::atomic<bool>* stop, Branching branching, int enough, Aim aim) {
  Found out;
  out.matched = list.matched;
  if (list.choices.empty()) return out;
  const std::optional<RelaxedSearch> found =
      relaxed_search(list.choices, work, deadline, stop, branching,
                     enough > INT_MAX - out.matched ? INT_MAX : enough + out.matched, aim);
  if (!found) return out;
  for (int c : found->chosen)
    out.chosen.push_back(list.first[c]);
  out.exhausted = found->exhausted;
  return out;
}

}  // namespace

std::vector<int> spare_sets(const std::vector<Candidate>& sets, int64_t work,
                            std::chrono::steady_clock::time_point deadline,
                            const std::atomic<bool>* stop, Branching branching, int enough, Aim aim,
                            bool unsure_spends) {
  auto time_left = [&] {
    return std::chrono::steady_clock::now() < deadline && (stop == nullptr || !*stop);
  };
  // The sets that cost the matching nothing are few and their search is
  // short; a search that is long in one branching is often short in the
  // other, so where the first stops short and unsure, the other.
  const Choices sparing = ListChoices(sets, false);
  Found best = Search(sparing, work, deadline, stop, branching, enough, aim);
  if (std::ssize(best.chosen) < enough && !best.exhausted && time_left()) {
    const Branching other_way =
        branching == Branching::kFavouredSet ? Branching::kTightestPart : Branching::kFavouredSet;
    Found other = Search(sparing, work, deadline, stop, other_way, enough, aim);
    if (other.chosen.size() > best.chosen.size() || other.exhausted) best = std::move(other);
  }
  // Where they fall short, the sets that spend some of the matching as
  // well (two that take the two ends of one of its sets gain two for one).
  if (std::ssize(best.chosen) < enough && (best.exhausted || unsure_spends) && time_left() &&
      std::any_of(sets.begin(), sets.end(), [](const Candidate& c) { return c.spends_matching; })) {
    Found spending = Search(ListChoices(sets, true), work, deadline, stop, branching, enough, aim);
    if (std::ssize(spending.chosen) - spending.matched > std::ssize(best.chosen))
      best = std::move(spending);
  }
  // The caller matches what the others leave, which gives as many sets of
  // the matching at least.
  std::vector<int> out;
  for (int c : best.chosen)
    if (sets[c].size != kPair) out.push_back(c);
  std::sort(out.begin(), out.end());
  return out;
}
