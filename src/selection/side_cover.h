// A bound on the sets from their sides alone. Every set holds two disjoint
// sides and every side holds a part of any cover of the sides, so a set
// holds two parts of a cover, and a cover of c parts bounds the sets by
// c / 2. Where a band around a sought value keeps only the pairs whose
// values lie near it, far fewer parts than the stock's cover them: a
// pair's value rises with each of its components, so most of those pairs
// need one component below the value whose pair with itself is the band's
// middle.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "program1/register_table.h"
#include "selection/set_sides.h"

/// Each part's weight in a cover, in halves of a part: 0, 1 or 2.
using CoverHalves = std::array<uint8_t, kFlagSlots>;
/// The halves of a cover that every set holds: a whole on each side.
inline constexpr int kSetCoverHalves = 4;

/// A least fractional cover of the sides marked in `in_sets`: the part of
/// a single side whole, and the two parts of any other side a whole
/// between them. It comes from a largest matching of the sides' bipartite
/// double cover (each part on both hands, each side joining either hand
/// of one part to the other hand of the other), whose least cover, by
/// König's theorem as large, gives each part one half for each hand in it.
CoverHalves side_cover(const std::vector<Side>& sides, const std::vector<bool>& in_sets);
