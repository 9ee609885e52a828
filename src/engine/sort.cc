#include "engine/sort.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

#include "engine/bibl.h"
#include "engine/rank_index.h"

namespace {

/// Table indices fit in this many bits.
constexpr int kBityIndeksa = 15;
static_assert(kMbSize <= (1 << kBityIndeksa));

/// Sort keys of the records being ranked: the value's order above the table
/// index reversed, 47 bits in all; and the buffer of the radix sort.
std::array<uint64_t, kMbSize> kluchi;
std::array<uint64_t, kMbSize> bufer;

/// Sorts a[0..m) ascending: least significant digit first, 10 bits a pass,
/// five passes; each pass is stable, so the whole is sorted.
void RadixSort(uint64_t* a, uint64_t* tmp, int m) {
  constexpr int kBity = 10;
  constexpr int kProkhody = 5;  // 50 bits >= 32 + kBityIndeksa
  std::array<int, (1 << kBity) + 1> schet;
  for (int p = 0; p < kProkhody; ++p) {
    const int sdvig = p * kBity;
    schet.fill(0);
    for (int k = 0; k < m; ++k)
      ++schet[((a[k] >> sdvig) & ((1u << kBity) - 1)) + 1];
    for (int d = 0; d < (1 << kBity); ++d)
      schet[d + 1] += schet[d];
    for (int k = 0; k < m; ++k)
      tmp[schet[(a[k] >> sdvig) & ((1u << kBity) - 1)]++] = a[k];
    std::swap(a, tmp);
  }
  // An odd number of passes leaves the result in the buffer.
  if (kProkhody % 2 != 0) std::copy(a, a + m, tmp);
}

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
      kluchi[m++] =
          (uint64_t{Poryadok(v)} << kBityIndeksa) | static_cast<uint64_t>(kMbSize - 1 - j);
    }
  }
  // The radix sort's fixed cost (its counters) pays off only past a few
  // hundred keys.
  if (m < 512)
    std::sort(kluchi.begin(), kluchi.begin() + m);
  else
    RadixSort(kluchi.data(), bufer.data(), m);
  for (int k = 0; k < m; ++k) {
    Mb[kMbSize - 1 - static_cast<int>(kluchi[k] & ((1u << kBityIndeksa) - 1))].*rang = k;
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
