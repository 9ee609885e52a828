#include "engine/rank_index.h"

#include <gtest/gtest.h>

namespace {

void SetRanks(std::initializer_list<int> ranks, std::initializer_list<char> flags) {
  reset_Mb();
  int j = 0;
  for (int r : ranks)
    Mb[j++].sort_de = r;
  j = 0;
  for (char f : flags)
    Mb[j++].flag = f;
}

}  // namespace

TEST(RankIndex, FindsTheLowestIndexWithAWantedFlag) {
  // Ranks 0 0 0 2 1: rank 0 is shared (not-a-number records), rank 3 and 4 held by none.
  SetRanks({0, 2, 0, 1, 0}, {'Z', 'Y', 'P', 'Y', 'Y'});
  build_rank_index(&by_sort_de, 4, &bibl::sort_de);
  EXPECT_EQ(first_of_rank(by_sort_de, 0, 'Y', 'P'), 2);
  EXPECT_EQ(first_of_rank(by_sort_de, 0, 'Y', 'Y'), 4);
  EXPECT_EQ(first_of_rank(by_sort_de, 0, 'Z', 'Z'), 0);
  EXPECT_EQ(first_of_rank(by_sort_de, 1, 'Y', 'P'), 3);
  EXPECT_EQ(first_of_rank(by_sort_de, 2, 'Y', 'P'), 1);
  EXPECT_EQ(first_of_rank(by_sort_de, 2, 'N', 'N'), -1);
  EXPECT_EQ(first_of_rank(by_sort_de, 3, 'Y', 'P'), -1);
  EXPECT_EQ(first_of_rank(by_sort_de, 5, 'Y', 'P'), -1);
  EXPECT_EQ(first_of_rank(by_sort_de, -1, 'Y', 'P'), -1);
}

TEST(RankIndex, SeesFlagsAsTheyAreAtTheLookup) {
  SetRanks({0, 0}, {'Y', 'Y'});
  build_rank_index(&by_sort_de, 1, &bibl::sort_de);
  EXPECT_EQ(first_of_rank(by_sort_de, 0, 'Y', 'N'), 0);
  Mb[0].flag = 'P';
  EXPECT_EQ(first_of_rank(by_sort_de, 0, 'Y', 'N'), 1);
  Mb[1].flag = 'Z';
  EXPECT_EQ(first_of_rank(by_sort_de, 0, 'Y', 'N'), -1);
}

TEST(RankIndex, EmptyTableAndRanksOutOfRange) {
  SetRanks({7, -3, 1}, {'Y', 'Y', 'Y'});
  build_rank_index(&by_sort_de, -1, &bibl::sort_de);
  EXPECT_EQ(first_of_rank(by_sort_de, 0, 'Y', 'P'), -1);
  build_rank_index(&by_sort_de, 2, &bibl::sort_de);
  EXPECT_EQ(first_of_rank(by_sort_de, 1, 'Y', 'P'), 2);
  EXPECT_EQ(first_of_rank(by_sort_de, 0, 'Y', 'P'), -1);
  EXPECT_EQ(first_of_rank(by_sort_de, 2, 'Y', 'P'), -1);
}
