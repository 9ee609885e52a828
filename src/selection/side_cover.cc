#include "selection/side_cover.h"

#include <bitset>

namespace {

constexpr uint8_t kWholePart = 2;
constexpr int kUnmatched = -1;

using Neighbours = std::vector<std::bitset<kFlagSlots>>;

/// Kuhn's augmenting paths in the double cover, whose two hands have the
/// same neighbours: an augmenting path from left-hand part u.
bool Augment(const Neighbours& next, int u, std::bitset<kFlagSlots>* seen,
             std::array<int, kFlagSlots>* left_of) {
  for (int v = 0; v < kFlagSlots; ++v) {
    if (!next[u][v] || (*seen)[v]) continue;
    seen->set(v);
    if ((*left_of)[v] == kUnmatched || Augment(next, (*left_of)[v], seen, left_of)) {
      (*left_of)[v] = u;
      return true;
    }
  }
  return false;
}

/// Marks the parts an alternating path from left-hand part u reaches: on
/// the right hand by any side, back on the left by the matching.
void Reach(const Neighbours& next, const std::array<int, kFlagSlots>& left_of, int u,
           std::bitset<kFlagSlots>* left, std::bitset<kFlagSlots>* right) {
  left->set(u);
  for (int v = 0; v < kFlagSlots; ++v) {
    if (!next[u][v] || (*right)[v]) continue;
    right->set(v);
    if (left_of[v] != kUnmatched && !(*left)[left_of[v]])
      Reach(next, left_of, left_of[v], left, right);
  }
}

}  // namespace

CoverHalves side_cover(const std::vector<Side>& sides, const std::vector<bool>& in_sets) {
  CoverHalves halves{};
  for (size_t i = 0; i < sides.size(); ++i)
    if (in_sets[i] && sides[i].single()) halves[sides[i].parts[0]] = kWholePart;
  // The sides a single side's part does not cover already.
  Neighbours next(kFlagSlots);
  for (size_t i = 0; i < sides.size(); ++i) {
    const auto [u, v] = sides[i].parts;
    if (!in_sets[i] || sides[i].single() || halves[u] != 0 || halves[v] != 0) continue;
    next[u].set(v);
    next[v].set(u);
  }
  std::array<int, kFlagSlots> left_of{};
  left_of.fill(kUnmatched);
  std::bitset<kFlagSlots> matched;
  for (int u = 0; u < kFlagSlots; ++u) {
    std::bitset<kFlagSlots> seen;
    if (next[u].any() && Augment(next, u, &seen, &left_of)) matched.set(u);
  }
  // König: the left-hand parts an alternating path from an unmatched one
  // does not reach, and the right-hand parts it does.
  std::bitset<kFlagSlots> left;
  std::bitset<kFlagSlots> right;
  for (int u = 0; u < kFlagSlots; ++u)
    if (next[u].any() && !matched[u]) Reach(next, left_of, u, &left, &right);
  for (int p = 0; p < kFlagSlots; ++p) {
    if (!next[p].any()) continue;
    halves[p] = static_cast<uint8_t>((left[p] ? 0 : 1) + (right[p] ? 1 : 0));
  }
  return halves;
}
