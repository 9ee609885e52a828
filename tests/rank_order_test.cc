#include "engine/rank_order.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "engine/pair_table.h"
#include "engine/rank_index.h"
#include "engine_test_util.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

/// Ranks of `fc` values, records flagged 'Y' so the index can be asked.
std::vector<int> RanksOf(const std::vector<float>& fc) {
  reset_Mb();
  const int n = static_cast<int>(fc.size()) - 1;
  for (int j = 0; j <= n; ++j) {
    Mb[j].fc = fc[j];
    Mb[j].flag = 'Y';
  }
  Sort(n);
  std::vector<int> r;
  for (int j = 0; j <= n; ++j) {
    r.push_back(Mb[j].sort);
  }
  return r;
}

}  // namespace

TEST(Sort, TiesGoToTheHigherIndexFirst) {
  EXPECT_EQ(RanksOf({7}), (std::vector<int>{0}));
  EXPECT_EQ(RanksOf({5, 3, 5}), (std::vector<int>{2, 0, 1}));
  EXPECT_EQ(RanksOf({4, 4, 4, 4}), (std::vector<int>{3, 2, 1, 0}));
  // -0.0 and 0.0 are equal.
  EXPECT_EQ(RanksOf({0.0f, -0.0f, 0.0f}), (std::vector<int>{2, 1, 0}));
  EXPECT_EQ(RanksOf({-0.0f, 0.0f, -1e-30f}), (std::vector<int>{2, 1, 0}));
}

TEST(Sort, NegativesAndInfinities) {
  EXPECT_EQ(RanksOf({-2, 0, 5, -0.5f}), (std::vector<int>{0, 2, 3, 1}));
  EXPECT_EQ(RanksOf({kInf, -kInf, 1, kInf, -3e38f}), (std::vector<int>{4, 0, 2, 3, 1}));
}

TEST(Sort, NotANumberTakesRankZeroAndCountsForNobody) {
  EXPECT_EQ(RanksOf({kNaN, 1, 2}), (std::vector<int>{0, 0, 1}));
  // Rank 2 is held by no record; rank 0 by two.
  EXPECT_EQ(first_of_rank(by_sort, 2, 'Y', 'N'), -1);
  EXPECT_EQ(first_of_rank(by_sort, 0, 'Y', 'N'), 0);
  Mb[0].flag = 'Z';
  EXPECT_EQ(first_of_rank(by_sort, 0, 'Y', 'N'), 1);

  EXPECT_EQ(RanksOf({3, kNaN, -kNaN, 3, 1}), (std::vector<int>{2, 0, 0, 1, 0}));
}

TEST(Sort, WorkedExample) {
  BuildPairs({-1.0f, 10, 12, 22}, 1);
  Sort(5);
  const int sort[] = {0, 1, 3, 2, 4, 5};
  for (int j = 0; j < 6; ++j) {
    EXPECT_EQ(Mb[j].sort, sort[j]) << "record " << j;
  }
  EXPECT_EQ(by_sort.n, 5);
  EXPECT_EQ(first_of_rank(by_sort, 2, 'Y', 'Y'), 3);

  // Sort_de ranks the deviations and touches nothing else.
  const float f_de[] = {20, 83.33334f, 45.45454f, 0, 0, 0};
  const int sort_de[] = {3, 5, 4, 2, 1, 0};
  for (int j = 0; j < 6; ++j) {
    Mb[j].f_de = f_de[j];
  }
  Sort_de(5);
  for (int j = 0; j < 6; ++j) {
    EXPECT_EQ(Mb[j].sort_de, sort_de[j]) << "record " << j;
    EXPECT_EQ(Mb[j].sort, sort[j]) << "record " << j;
  }
  EXPECT_EQ(by_sort_de.n, 5);
  EXPECT_EQ(first_of_rank(by_sort_de, 0, 'Y', 'Y'), 5);
}

TEST(Sort, EmptyTable) {
  RanksOf({1, 2});
  Mb[0].sort = 9;
  Sort(-1);
  Sort_de(-1);
  EXPECT_EQ(Mb[0].sort, 9);
  EXPECT_EQ(by_sort.n, -1);
  EXPECT_EQ(by_sort_de.n, -1);
}
