// A start for wide windows: where nearly any two disjoint sides make a set
// (a band around a sought value narrower than the threshold, say), the most
// sets are half the most disjoint sides, which a largest matching of the
// components by their pairs gives. A cut list keeps each side's nearest
// partners only, and the greedy starts and searches over it may stop a set
// short of that.
#pragma once

#include <utility>
#include <vector>

#include "selection/set_sides.h"

/// Sets of two sides of two parts each (positions in `sides`, which are in
/// value order, the lower first): a largest set of pairwise disjoint sides
/// among those `in_sets` marks (Edmonds' blossoms), each in value order
/// with the next one where their deviation stays within `threshold`.
std::vector<std::pair<int, int>> side_pairing(const std::vector<Side>& sides,
                                              const std::vector<bool>& in_sets, float threshold);
