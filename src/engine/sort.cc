#include "engine/sort.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

#include "engine/bibl.h"
#include "engine/rank_index.h"

namespace {

/// Sort keys of the records being ranked: the value's order in the high
/// half, the table index reversed in the low half.
std::array<uint64_t, kMbSize> kluchi;

/// Maps a float to an unsigned integer in the same order, so that keys
/// compare as plain integers. -0.0 equals 0.0 and gets its key.
uint32_t Poryadok(float v) {
  if (v == 0.0f) {
    v = 0.0f;
  }
  const uint32_t bity = std::bit_cast<uint32_t>(v);
  return (bity & 0x80000000u) ? ~bity : (bity | 0x80000000u);
}

/// The rank of record i is the number of records of smaller value plus the
/// number of records of equal value and higher index: the position of i
/// when the values ascend and ties run from the highest index down. A NaN is
/// ordered against nothing: it gets rank 0 and stays out of the count.
void Rangi(int n, float bibl::*znach, int bibl::*rang, RankIndex* idx) {
  if (n >= kMbSize) {
    n = kMbSize - 1;
  }
  int m = 0;
  for (int j = 0; j <= n; ++j) {
    const float v = Mb[j].*znach;
    Mb[j].*rang = 0;
    if (v == v) {
      kluchi[m++] = (uint64_t{Poryadok(v)} << 32) | static_cast<uint32_t>(kMbSize - 1 - j);
    }
  }
  std::sort(kluchi.begin(), kluchi.begin() + m);
  for (int k = 0; k < m; ++k) {
    Mb[kMbSize - 1 - static_cast<int>(kluchi[k] & 0xFFFFFFFFu)].*rang = k;
  }
  build_rank_index(idx, n, rang);
}

}  // namespace

int Sort(int n) {
  Rangi(n, &bibl::fc, &bibl::sort, &po_sort);
  return 0;
}

int Sort_de(int n) {
  Rangi(n, &bibl::f_de, &bibl::sort_de, &po_sort_de);
  return 0;
}
