#include "selection/spare_sets.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace {

constexpr uint32_t kComponentMask = (1u << kSpareComponentBits) - 1;

}  // namespace

std::vector<int> spare_sets(const std::vector<Candidate>& sets, int64_t work,
                            std::chrono::steady_clock::time_point deadline,
                            const std::atomic<bool>* stop, Branching branching, int enough,
                            Aim aim) {
  // Each choice of components is a candidate whose parts are components
  // (numbered from 0, fewer than the parts): the most disjoint ones are the
  // most sets of spare parts.
  std::unordered_map<uint32_t, int> component;
  std::unordered_set<uint32_t> seen;
  std::vector<Candidate> choices;
  std::vector<int> first;  // the candidate of sets making each choice
  for (size_t i = 0; i < sets.size(); ++i) {
    const uint32_t key = sets[i].spares;
    if (key == 0 || !seen.insert(key).second) continue;
    Candidate c;
    for (uint32_t rest = key; rest != 0; rest >>= kSpareComponentBits) {
      const int named =
          component.try_emplace(rest & kComponentMask, static_cast<int>(component.size()))
              .first->second;
      c.parts[c.size++] = static_cast<Part>(named);
    }
    choices.push_back(c);
    first.push_back(static_cast<int>(i));
  }
  if (choices.empty()) return {};
  const std::optional<RelaxedSearch> found =
      relaxed_search(choices, work, deadline, stop, branching, enough, aim);
  if (!found) return {};
  std::vector<int> out;
  for (int c : found->chosen)
    out.push_back(first[c]);
  std::sort(out.begin(), out.end());
  return out;
}
