// The most sets that cost a largest matching of sets of two nothing: each
// takes spare parts of distinct components of the matching's graph, and
// no two take parts of one component.
#pragma once

#include <cstdint>
#include <vector>

#include "selection/candidate_sets.h"

/// The most candidates of `sets` with spare parts (Candidate::spares) no
/// two of which share a component, the first of `sets` for each choice of
/// components; within `work` choices looked at by an exhaustive search
/// (a step looks at each open choice once per component in reach), else the
/// most it found. Empty where the candidates name more components than
/// the search keeps track of.
std::vector<int> spare_sets(const std::vector<Candidate>& sets, int64_t work);
