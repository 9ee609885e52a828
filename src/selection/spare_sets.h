// The most sets that cost a largest matching of sets of two nothing: each
// takes spare parts of distinct components of the matching's graph, and
// no two take parts of one component; else the most that gain more than
// they cost it.
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
/// it found; `branching` and `aim` as the relaxation's (where it stops
/// short without searching to the end, again branching the other way,
/// within as much work again). Where they are fewer than `enough` and no
/// selection has more (or even where that is unsure, with
/// `unsure_spends`), the same search with the sets that spend the matching
/// (Candidate::spends_matching) as well, each set of the matching among
/// the choices: the candidates it finds beside those sets, where they gain
/// more. The sets of two are never among those returned.
std::vector<int> spare_sets(const std::vector<Candidate>& sets, int64_t work,
                            std::chrono::steady_clock::time_point deadline,
                            const std::atomic<bool>* stop, Branching branching, int enough,
                            Aim aim = Aim::kBestFound, bool unsure_spends = false);
