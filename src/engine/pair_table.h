// The pair table: one record for every pair of components the run keeps.
#pragma once

#include <array>

struct bibl {
  float fc;     ///< Combined value of the pair.
  float f_de;   ///< Deviation in percent from this pair's value to its partner's.
  int x;        ///< Component number of the later component (negative: imaginary).
  int y;        ///< Component number of the earlier component.
  char flag;    ///< kPairOrdinary, kPairExcluded, kPairByImaginary or kPairNoPartner.
  int sort;     ///< Rank by fc, from 0.
  int sort_de;  ///< Rank by f_de, from 0.
  int N_de;     ///< Table index of the partner pair.
};

/// 199 * 198 / 2: every pair of 199 components.
inline constexpr int kMbSize = 19701;

extern std::array<bibl, kMbSize> Mb;

/// Zero-fills the table, as at program start.
void reset_Mb();
