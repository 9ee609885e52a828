// Ranks that the matching walk of a pair of two real components would pass
// over, so that it can skip them in runs instead of one rank at a time.
//
// Such a start pair (a, b) rejects every candidate of two real components
// that holds a or b. With many equal values those candidates stand next to
// each other in rank order by the dozen, and a walk that tries them one by
// one costs the cube of the component count.
#pragma once

#include <array>
#include <cstddef>

#include "engine/pair_table.h"
#include "program1/register_table.h"

/// Component numbers below this have lists (a number never reaches the
/// register table's size); others are never skipped.
inline constexpr int kListedNumbers = kSlots;

/// For component number c, ranks[start[c]] to ranks[start[c + 1] - 1] are the
/// ranks, ascending, of the records of two real components that hold c and
/// that the walk would reject as they stand: each the only record of its
/// rank, flagged 'Y' or 'N'. run_end[k] is the index in `ranks` of the last
/// entry of the run of consecutive ranks that ranks[k] begins or lies in.
struct SkipLists {
  std::array<int, kListedNumbers + 1> start;
  std::array<int, 2 * static_cast<std::size_t>(kMbSize)> ranks;
  std::array<int, 2 * static_cast<std::size_t>(kMbSize)> run_end;
  /// Index in `ranks` of record j's own entry in the list of its x and of
  /// its y; -1 when it has none. A walk starts right after its start pair.
  std::array<int, kMbSize> own_x;
  std::array<int, kMbSize> own_y;
};

/// Builds the lists over records 0 to nn from their `sort` ranks and flags
/// as they are now (after Sort, before matching).
void build_skip_lists(SkipLists* p, int nn);

/// One walk's place in the lists of its start pair's two components.
struct Walk {
  int j;        ///< The start pair's record.
  int a, b;     ///< Its component numbers, x and y.
  int ka = -1;  ///< Index in `ranks` in a's list; -1 before the first use.
  int kb = -1;
};

/// The first rank from t on that neither the list of a nor that of b holds.
/// Successive calls of one walk must ask for rising t.
int next_unskipped(const SkipLists& p, Walk* h, int t);
