// Records grouped by rank, so a rank is found without scanning the table.
#pragma once

#include <array>

#include "engine/pair_table.h"

/// For rank r, order[start[r]] to order[start[r + 1] - 1] are the table
/// indices of the records 0 to n that hold rank r, in ascending order.
struct RankIndex {
  int n = -1;
  std::array<int, kMbSize> order;
  std::array<int, kMbSize + 1> start;
};

/// The index of the `sort` ranks, built by Sort; the index of the `sort_de`
/// ranks, built by Sort_de.
extern RankIndex by_sort;
extern RankIndex by_sort_de;

/// Empties both indices, as at program start.
void reset_rank_indices();

/// Builds `idx` over records 0 to n from the rank field `field` of Mb.
/// Ranks outside 0 to n are left out of the index.
void build_rank_index(RankIndex* idx, int n, int bibl::*field);

/// The lowest table index among the records of rank r whose flag is f1 or
/// f2 as Mb holds it now; -1 when there is none.
int first_of_rank(const RankIndex& idx, int r, char f1, char f2);
