#include "engine/rank_order.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

#include "engine/pair_table.h"
#include "engine/rank_index.h"

namespace {

/// Table indices fit in this many bits.
constexpr int kIndexBits = 15;
static_assert(kMbSize <= (1 << kIndexBits));

/// Sort keys of the records being ranked: the value's order above the table
/// index reversed, 47 bits in all; and the buffer of the radix sort.
std::array<uint64_t, kMbSize> keys;
std::array<uint64_t, kMbSize> buffer;

/// Sorts a[0..m) ascending: least significant digit first, 10 bits a pass,
/// five passes; each pass is stable, so the whole is sorted.
void RadixSort(uint64_t* a, uint64_t* tmp, int m) {
  constexpr int kBits = 10;
  constexpr int kPasses = 5;  // 50 bits >= 32 + kIndexBits
  std::array<int, (1 << kBits) + 1> tally;
  for (int p = 0; p < kPasses; ++p) {
    const int shift = p * kBits;
    tally.fill(0);
    for (int k = 0; k < m; ++k)
      ++tally[((a[k] >> shift) & ((1u << kBits) - 1)) + 1];
    for (int d = 0; d < (1 << kBits); ++d)
      tally[d + 1] += tally[d];
    for (int k = 0; k < m; ++k)
      tmp[tally[(a[k] >> shift) & ((1u << kBits) - 1)]++] = a[k];
    std::swap(a, tmp);
  }
  // An odd number of passes leaves the result in the buffer.
  if (kPasses % 2 != 0) std::copy(a, a + m, tmp);
}

/// Maps a float to an unsigned integer in the same order, so that keys
/// compare as plain integers. -0.0 equals 0.0 and gets its key.
uint32_t Order(float v) {
  if (v == 0.0f) {
    v = 0.0f;
  }
  const uint32_t bits = std::bit_cast<uint32_t>(v);
  return (bits & 0x80000000u) ? ~bits : (bits | 0x80000000u);
}

/// The rank of record i is the number of records of smaller value plus the
/// number of records of equal value and higher index: the position of i
/// when the values ascend and ties run from the highest index down. A NaN is
/// ordered against nothing: it gets rank 0 and stays out of the count.
void Ranks(int n, float bibl::*value, int bibl::*ranks, RankIndex* idx) {
  if (n >= kMbSize) {
    n = kMbSize - 1;
  }
  int m = 0;
  for (int j = 0; j <= n; ++j) {
    const float v = Mb[j].*value;
    Mb[j].*ranks = 0;
    if (v == v) {
      keys[m++] = (uint64_t{Order(v)} << kIndexBits) | static_cast<uint64_t>(kMbSize - 1 - j);
    }
  }
  // The radix sort's fixed cost (its counters) pays off only past a few
  // hundred keys.
  if (m < 512)
    std::sort(keys.begin(), keys.begin() + m);
  else
    RadixSort(keys.data(), buffer.data(), m);
  for (int k = 0; k < m; ++k) {
    Mb[kMbSize - 1 - static_cast<int>(keys[k] & ((1u << kIndexBits) - 1))].*ranks = k;
  }
  build_rank_index(idx, n, ranks);
}

}  // namespace

int Sort(int n) {
  Ranks(n, &bibl::fc, &bibl::sort, &by_sort);
  return 0;
}

int Sort_de(int n) {
  Ranks(n, &bibl::f_de, &bibl::sort_de, &by_sort_de);
  return 0;
}
