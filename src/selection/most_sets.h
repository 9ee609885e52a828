// The selection stage of `podbor --most`: as many disjoint sets as the pair
// table allows, instead of the walk that links each pair to one partner in
// advance and skips it once that partner is used.
#pragma once

#include <string>
#include <vector>

/// One set: two records of Mb, the lower value first.
struct ChosenSet {
  int low = -1;   ///< The record the report shows.
  int high = -1;  ///< Its partner.
  float f_de = 0.0f;
  char kind = 0;  ///< kSetOfPairs or kSetWithImaginary.
};

struct Selection {
  /// In rising f_de (one that is not a number last); ties by the low record.
  std::vector<ChosenSet> sets;
  int upper_bound = 0;     ///< No selection can have more sets than this.
  bool optimal = false;    ///< Proven: no selection has more sets.
  bool timed_out = false;  ///< A limit ended the search; the best found is returned.
};

/// The most sets of the pair table Mb, records 0 to nn (after Sort(nn)),
/// with the component list starting at slot Ns, at `threshold` (the run's
/// tch), the output flags v1, v2 (fv1, fv2) saying which kinds count. Among
/// selections of that size, one of small total deviation. The searches end
/// by a budget of work, so that a count they prove comes with the same
/// selection on any machine, or by a clock limit of 0.7 s, which a busy or
/// slow machine reaches first; where the work ends short of the bounds, a
/// last search takes the time left.
Selection most_sets(int nn, int Ns, float threshold, char v1, char v2);

/// Whether the components still free (flagRR[k] == kFree for relative
/// index k after the report walk) hold at least one valid set.
bool free_parts_hold_a_set(int nn, int Ns, float threshold, char v1, char v2);

/// Empty when `s` is a valid selection of the table (every set valid and of
/// an allowed kind, sets disjoint, in rising f_de); else why not.
std::string selection_fault(const Selection& s, int nn, int Ns, float threshold, char v1, char v2);
