// The rank orders of the pair table.
#pragma once

/// Ranks records 0 to n by fc into `sort` (ties: the higher index first;
/// a NaN gets rank 0 and counts for nobody), and indexes them by rank.
int Sort(int n);

/// The same by f_de into `sort_de`.
int Sort_de(int n);
