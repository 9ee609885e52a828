#include "engine/rank_index.h"

RankIndex by_sort;
RankIndex by_sort_de;

void reset_rank_indices() {
  by_sort.n = -1;
  by_sort_de.n = -1;
}

void build_rank_index(RankIndex* idx, int n, int bibl::*field) {
  if (n >= kMbSize) n = kMbSize - 1;
  idx->n = n;
  if (n < 0) return;
  // Counting sort by rank: start[r + 1] first counts rank r, then becomes
  // the running end of rank r's run while the records are placed in index
  // order, which keeps each run ascending.
  auto& start = idx->start;
  for (int r = 0; r <= n + 1; ++r)
    start[r] = 0;
  for (int j = 0; j <= n; ++j) {
    int r = Mb[j].*field;
    if (r >= 0 && r <= n) ++start[r + 1];
  }
  for (int r = 0; r <= n; ++r)
    start[r + 1] += start[r];
  for (int j = 0; j <= n; ++j) {
    int r = Mb[j].*field;
    if (r >= 0 && r <= n) idx->order[start[r]++] = j;
  }
  // Each start[r] now holds the end of run r, the start of run r + 1.
  for (int r = n; r > 0; --r)
    start[r] = start[r - 1];
  start[0] = 0;
}

int first_of_rank(const RankIndex& idx, int r, char f1, char f2) {
  if (r < 0 || r > idx.n) return -1;
  for (int k = idx.start[r]; k < idx.start[r + 1]; ++k) {
    int j = idx.order[k];
    if (Mb[j].flag == f1 || Mb[j].flag == f2) return j;
  }
  return -1;
}
