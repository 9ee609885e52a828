#include "selection/side_pairing.h"

#include <algorithm>
#include <cstddef>
#include <numeric>

#include "program1/register_table.h"

namespace {

constexpr int kNone = -1;

/// Edmonds' search for an augmenting path in a general graph: a breadth-first
/// forest from one free vertex, each odd cycle (blossom) shrunk to its base.
class Blossoms {
 public:
  explicit Blossoms(const std::vector<std::vector<int>>& next)
      : next_(next),
        n_(static_cast<int>(next.size())),
        mate_(next.size(), kNone),
        parent_(next.size()),
        base_(next.size()),
        in_tree_(next.size()),
        in_blossom_(next.size()) {}

  /// Each vertex's partner in a largest matching, or kNone.
  std::vector<int> Match() {
    for (int v = 0; v < n_; ++v) {
      if (mate_[v] != kNone) continue;
      // Flip the path's edges in and out of the matching.
      for (int u = FreeEnd(v); u != kNone;) {
        const int p = parent_[u];
        const int next = mate_[p];
        mate_[u] = p;
        mate_[p] = u;
        u = next;
      }
    }
    return mate_;
  }

 private:
  /// The lowest common base of a and b in the forest.
  int CommonBase(int a, int b) const {
    std::vector<bool> seen(next_.size(), false);
    for (;;) {
      a = base_[a];
      seen[a] = true;
      if (mate_[a] == kNone) break;
      a = parent_[mate_[a]];
    }
    for (;;) {
      b = base_[b];
      if (seen[b]) return b;
      b = parent_[mate_[b]];
    }
  }

  void MarkPath(int v, int b, int child) {
    while (base_[v] != b) {
      in_blossom_[base_[v]] = in_blossom_[base_[mate_[v]]] = true;
      parent_[v] = child;
      child = mate_[v];
      v = parent_[mate_[v]];
    }
  }

  /// The free vertex an augmenting path from `root` ends at, or kNone.
  int FreeEnd(int root) {
    std::fill(in_tree_.begin(), in_tree_.end(), false);
    std::fill(parent_.begin(), parent_.end(), kNone);
    std::iota(base_.begin(), base_.end(), 0);
    std::vector<int> queue{root};
    in_tree_[root] = true;
    for (size_t head = 0; head < queue.size(); ++head) {
      const int v = queue[head];
      for (int to : next_[v]) {
        if (base_[v] == base_[to] || mate_[v] == to) continue;
        if (to == root || (mate_[to] != kNone && parent_[mate_[to]] != kNone)) {
          const int b = CommonBase(v, to);
          std::fill(in_blossom_.begin(), in_blossom_.end(), false);
          MarkPath(v, b, to);
          MarkPath(to, b, v);
          for (int i = 0; i < n_; ++i) {
            if (!in_blossom_[base_[i]]) continue;
            base_[i] = b;
            if (!in_tree_[i]) {
              in_tree_[i] = true;
              queue.push_back(i);
            }
          }
        } else if (parent_[to] == kNone) {
          parent_[to] = v;
          if (mate_[to] == kNone) return to;
          in_tree_[mate_[to]] = true;
          queue.push_back(mate_[to]);
        }
      }
    }
    return kNone;
  }

  const std::vector<std::vector<int>>& next_;
  int n_;
  std::vector<int> mate_;
  std::vector<int> parent_;
  std::vector<int> base_;
  std::vector<bool> in_tree_;
  std::vector<bool> in_blossom_;
};

}  // namespace

std::vector<std::pair<int, int>> side_pairing(const std::vector<Side>& sides,
                                              const std::vector<bool>& in_sets, float threshold) {
  std::vector<std::vector<int>> next(kFlagSlots);
  for (size_t i = 0; i < sides.size(); ++i) {
    if (!in_sets[i] || sides[i].single()) continue;
    const auto [u, v] = sides[i].parts;
    next[u].push_back(v);
    next[v].push_back(u);
  }
  const std::vector<int> mate = Blossoms(next).Match();
  // The matched sides in value order, each taken once.
  std::vector<int> matched;
  std::vector<bool> taken(kFlagSlots, false);
  for (size_t i = 0; i < sides.size(); ++i) {
    if (!in_sets[i] || sides[i].single()) continue;
    const auto [u, v] = sides[i].parts;
    if (mate[u] != v || taken[u] || taken[v]) continue;
    taken[u] = taken[v] = true;
    matched.push_back(static_cast<int>(i));
  }
  // Neighbours in value order make the most sets of sides on a line.
  std::vector<std::pair<int, int>> out;
  for (size_t k = 0; k + 1 < matched.size(); ++k) {
    if (!within_threshold(sides[matched[k]], sides[matched[k + 1]], threshold)) continue;
    out.emplace_back(matched[k], matched[k + 1]);
    ++k;
  }
  return out;
}
