#include "engine/pair_matching.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/pair_table.h"
#include "engine/rank_index.h"
#include "engine/rank_order.h"
#include "engine_test_util.h"

namespace {

constexpr float NUL = -1.0f;

/// What matching leaves in a record: its flag, partner and deviation.
struct Match {
  char flag;
  int N_de;
  float f_de;
};

/// Records 0, 1, ... hold `want` in order.
void ExpectMatches(const std::vector<Match>& want) {
  for (size_t j = 0; j < want.size(); ++j) {
    const bibl& p = Mb[j];
    EXPECT_TRUE(p.flag == want[j].flag && p.N_de == want[j].N_de)
        << "record " << j << ": flag " << p.flag << " N_de " << p.N_de;
    EXPECT_FLOAT_EQ(p.f_de, want[j].f_de) << "record " << j;
  }
}

/// Builds and ranks the pairs of `values`; returns the last record index.
int Ranked(const std::vector<float>& values, int tip) {
  const int nn = BuildPairs(values, tip);
  Sort(nn);
  return nn;
}

}  // namespace

TEST(RaschetDe, WorkedExampleSeriesWithImaginaryElement) {
  const int nn = Ranked({NUL, 10, 12, 22}, 1);
  ASSERT_EQ(nn, 5);
  EXPECT_EQ(raschet_de(nn), 0);
  ExpectMatches({{'P', 1, 20},
                 {'P', 3, 83.33334f},
                 {'P', 4, 45.45454f},
                 {'P', 2, 0},
                 {'Z', 0, 0},
                 {'Z', 0, 0}});
  EXPECT_EQ(Mb[0].f_de, 20.0f);
  EXPECT_EQ(Mb[3].f_de, 0.0f);
  Sort_de(nn);
  const int sort_de[] = {3, 5, 4, 2, 1, 0};
  for (int j = 0; j <= nn; ++j) {
    EXPECT_EQ(Mb[j].sort_de, sort_de[j]) << "record " << j;
  }
}

TEST(RaschetDe, ParallelWithoutImaginaryElement) {
  const int nn = Ranked({100, 220, 330, 150}, 2);
  ASSERT_EQ(nn, 5);
  EXPECT_EQ(raschet_de(nn), 0);
  ExpectMatches(
      {{'Y', 5, 50}, {'Y', 4, 16.21621f}, {'Y', 3, 120}, {'Z', 0, 0}, {'Z', 0, 0}, {'Z', 0, 0}});
}

TEST(RaschetDe, TwoImaginaryElements) {
  const int nn = Ranked({NUL, NUL, 10}, 1);
  ASSERT_EQ(nn, 2);
  EXPECT_EQ(Mb[0].sort, 0);
  EXPECT_EQ(Mb[1].sort, 2);
  EXPECT_EQ(Mb[2].sort, 1);
  EXPECT_EQ(raschet_de(nn), 0);
  // Two negatives in the start pair: disjointness alone, flag stays 'Y'.
  // Record 2: both hold number 2, the imaginary rule accepts anyway.
  ExpectMatches({{'Y', 2, -600}, {'Z', 0, 0}, {'P', 1, 0}});
  EXPECT_EQ(Mb[0].f_de, -600.0f);
}

TEST(RaschetDe, SinglePairAndEmptyTable) {
  const int nn = Ranked({10, 12}, 1);
  EXPECT_EQ(raschet_de(nn), 0);
  ExpectMatches({{'Z', 0, 0}});
  EXPECT_EQ(raschet_de(-1), 0);
}

TEST(RaschetDe, MissingRankFails) {
  EXPECT_EQ(raschet_de(Ranked({0, 0, 5}, 2)), -1);
  ExpectMatches({{'Y', 0, 0}, {'Y', 0, 0}, {'Y', 0, 0}});

  // Start pairs settled before the failure keep their results: ranks 0 to 4
  // are held (NaN record 0 and record 4 share rank 0), rank 5 by nobody.
  const int nn = Ranked({0, 0, 5, 7}, 2);
  ASSERT_EQ(nn, 5);
  EXPECT_EQ(raschet_de(nn), -1);
  EXPECT_EQ(Mb[0].N_de, 5);
  EXPECT_EQ(Mb[0].flag, 'Y');
  EXPECT_TRUE(std::isnan(Mb[0].f_de));
  EXPECT_EQ(Mb[3].N_de, 2);
  EXPECT_TRUE(std::isnan(Mb[3].f_de));
  EXPECT_EQ(Mb[1].N_de, 0);
  EXPECT_EQ(Mb[2].N_de, 0);
  EXPECT_EQ(Mb[2].flag, 'Y');
}

TEST(RaschetDe, ExcludedPairsArePassedOver) {
  const int nn = Ranked({NUL, 10, 12, 22}, 1);
  Mb[1].flag = 'N';
  EXPECT_EQ(raschet_de(nn), 0);
  ExpectMatches(
      {{'P', 3, 120}, {'N', 0, 0}, {'P', 4, 45.45454f}, {'P', 2, 0}, {'Z', 0, 0}, {'Z', 0, 0}});
}

TEST(Poisk1, FindsTheLowestUsableRecordOfARank) {
  reset_Mb();
  // Ranks 0 0 0 1 1; rank 2 by nobody.
  const int sort[] = {0, 0, 0, 1, 1};
  const char flag[] = {'P', 'N', 'Y', 'Z', 'Y'};
  for (int j = 0; j < 5; ++j) {
    Mb[j].sort = sort[j];
    Mb[j].flag = flag[j];
  }
  build_rank_index(&by_sort, 4, &bibl::sort);
  int i = -7;
  EXPECT_EQ(poisk1(4, 0, &i), 1);
  EXPECT_EQ(i, 1);
  EXPECT_EQ(poisk1(4, 1, &i), 0);
  EXPECT_EQ(i, 4);
  Mb[1].flag = 'Y';
  EXPECT_EQ(poisk1(4, 0, &i), 0);
  EXPECT_EQ(i, 1);
  // None usable: *i keeps the last record of the rank that was met.
  Mb[4].flag = 'P';
  i = -7;
  EXPECT_EQ(poisk1(4, 1, &i), -1);
  EXPECT_EQ(i, 4);
  // No record of the rank: *i is left alone.
  i = -7;
  EXPECT_EQ(poisk1(4, 2, &i), -1);
  EXPECT_EQ(poisk1(4, -1, &i), -1);
  EXPECT_EQ(poisk1(4, 5, &i), -1);
  EXPECT_EQ(i, -7);
  // Records past nn are not looked at.
  EXPECT_EQ(poisk1(0, 0, &i), -1);
  EXPECT_EQ(i, 0);
}

TEST(RaschetDe, LargestTable) {
  // 183 components: the NUL and 182 equal values, 16653 pairs.
  std::vector<float> values(kSlots - kStartSlot - 2, 4.7f);
  values[0] = NUL;
  const int nn = Ranked(values, 1);
  ASSERT_EQ(nn, 183 * 182 / 2 - 1);
  ASSERT_EQ(raschet_de(nn), 0);
  Sort_de(nn);
  std::vector<int> held(nn + 1, 0);
  int z = 0;
  for (int j = 0; j <= nn; ++j) {
    const bibl& p = Mb[j];
    ++held[p.sort];
    if (p.flag == 'Z') {
      ++z;
      continue;
    }
    ASSERT_GT(Mb[p.N_de].sort, p.sort) << "record " << j;
    // Only pairs with the NUL (value 4.7) meet the imaginary rule.
    ASSERT_EQ(p.flag, p.y < 0 || Mb[p.N_de].y < 0 ? 'P' : 'Y') << "record " << j;
  }
  EXPECT_EQ(std::count(held.begin(), held.end(), 1), nn + 1);
  EXPECT_GT(z, 0);
  EXPECT_LT(z, 200);
}
