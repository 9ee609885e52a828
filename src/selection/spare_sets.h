// The most sets that cost a largest matching of sets of two nothing: each
// takes spare parts of distinct components of the matching's graph, and
// no two take parts of one component.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <vector>

#include "selection/candidate_sets.h"
#include "selection/relaxed_search.h"

/// The most candidates of `sets` with spare parts (Candidate::spares) no
/// two of which share a component, the first of `sets` for each choice of
/// components: the relaxation's search over the choices, each a candidate
/// whose parts are its components, within `work` choices priced and the
/// `deadline` or until `stop` is set or it holds `enough`, else the most
/// it found; `branching` and `aim` as the relaxation's.
std::vector<int> spare_sets(const std::vector<Candidate>& sets, int64_t work,
                            std::chrono::steady_clock::time_point deadline,
                            const std::atomic<bool>* stop, Branching branching, int enough,
                            Aim aim = Aim::kBestFound);
