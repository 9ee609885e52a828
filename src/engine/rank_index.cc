#include "engine/rank_index.h"

RankIndex po_sort;
RankIndex po_sort_de;

void build_rank_index(RankIndex* idx, int n, int bibl::*) { idx->n = n; }
int first_of_rank(const RankIndex&, int, char, char) { return -1; }
