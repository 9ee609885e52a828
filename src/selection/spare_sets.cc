#include "selection/spare_sets.h"

#include <algorithm>
#include <bit>
#include <unordered_map>
#include <unordered_set>

namespace {

/// Components are tracked as bits of one word.
using Components = uint64_t;
constexpr int kMostComponents = 64;
constexpr uint32_t kComponentMask = (1u << kSpareComponentBits) - 1;

/// A choice of components and the first candidate that makes it.
struct Choice {
  Components components = 0;
  int candidate = 0;
};

class Search {
 public:
  Search(std::vector<Choice> choices, int64_t work) : choices_(std::move(choices)), work_(work) {
    Components all = 0;
    for (const Choice& c : choices_) {
      smallest_ = std::min(smallest_, std::popcount(c.components));
      all |= c.components;
    }
    most_ = std::popcount(all) / smallest_;
  }

  std::vector<int> Run() {
    std::vector<int> open(choices_.size());
    for (size_t i = 0; i < open.size(); ++i)
      open[i] = static_cast<int>(i);
    Step(open);
    std::vector<int> out;
    for (int i : best_)
      out.push_back(choices_[i].candidate);
    return out;
  }

 private:
  /// `open` lists the choices whose components are not taken.
  void Step(const std::vector<int>& open) {
    if (path_.size() > best_.size()) best_ = path_;
    if (work_ < 0 || static_cast<int>(best_.size()) >= most_) return;
    Components reach = 0;
    for (int i : open)
      reach |= choices_[i].components;
    // Each component's choices are counted, then those of the one picked
    // are gone over for each branch.
    const int64_t looked = static_cast<int64_t>(open.size()) * (std::popcount(reach) + 1);
    work_ -= looked;
    if (static_cast<int>(path_.size()) + std::popcount(reach) / smallest_ <=
        static_cast<int>(best_.size()))
      return;
    // The component in the fewest open choices: each of them, or none.
    int pick = -1;
    int fewest = 0;
    for (Components rest = reach; rest != 0; rest &= rest - 1) {
      const int c = std::countr_zero(rest);
      int n = 0;
      for (int i : open)
        n += static_cast<int>((choices_[i].components >> c) & 1);
      if (pick < 0 || n < fewest) {
        pick = c;
        fewest = n;
      }
    }
    const Components bit = Components{1} << pick;
    for (int i : open) {
      if ((choices_[i].components & bit) == 0) continue;
      std::vector<int> next;
      for (int j : open)
        if ((choices_[j].components & choices_[i].components) == 0) next.push_back(j);
      path_.push_back(i);
      Step(next);
      path_.pop_back();
    }
    std::vector<int> next;
    for (int j : open)
      if ((choices_[j].components & bit) == 0) next.push_back(j);
    Step(next);
  }

  std::vector<Choice> choices_;
  int64_t work_;
  int smallest_ = kMaxSetParts;
  int most_ = 0;  ///< No packing has more: finding as many ends the search.
  std::vector<int> path_;
  std::vector<int> best_;
};

}  // namespace

std::vector<int> spare_sets(const std::vector<Candidate>& sets, int64_t work) {
  std::unordered_map<uint32_t, int> index;  // a component's bit
  std::unordered_set<uint32_t> seen;
  std::vector<Choice> choices;
  for (size_t i = 0; i < sets.size(); ++i) {
    const uint32_t key = sets[i].spares;
    if (key == 0 || !seen.insert(key).second) continue;
    Choice c;
    c.candidate = static_cast<int>(i);
    for (uint32_t rest = key; rest != 0; rest >>= kSpareComponentBits) {
      const int bit =
          index.try_emplace(rest & kComponentMask, static_cast<int>(index.size())).first->second;
      if (bit >= kMostComponents) return {};
      c.components |= Components{1} << bit;
    }
    choices.push_back(c);
  }
  if (choices.empty()) return {};
  return Search(std::move(choices), work).Run();
}
