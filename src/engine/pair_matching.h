// Complementary pair matching: each pair linked to its partner pair.
#pragma once

/// The record of rank `poz` among records 0 to nn that the matching may use:
/// the lowest-indexed one whose flag is 'N' (result 1) or 'Y' (result 0),
/// its index in *i. -1 when there is none; *i then holds the last record of
/// that rank met, or is left as it was. Answered from by_sort, so Sort(nn)
/// must have run on the same table.
int poisk1(int nn, int poz, int* i);

/// Links every pair to the nearest higher-ranked pair that shares no
/// component or involves the imaginary element; sets f_de, N_de and the
/// flags 'P' and 'Z'. Returns 0, or -1 at the first rank no usable record
/// holds.
int raschet_de(int nn);
