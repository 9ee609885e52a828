#include "engine/pair_building.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/pair_table.h"
#include "engine_test_util.h"
#include "text/trouble.h"

namespace {

constexpr float NUL = -1.0f;

/// Record j as (fc, x, y) with the flag 'Y' that every built pair carries.
void ExpectPair(int j, float fc, int x, int y) {
  SCOPED_TRACE("record " + std::to_string(j));
  EXPECT_FLOAT_EQ(Mb[j].fc, fc);
  EXPECT_EQ(Mb[j].x, x);
  EXPECT_EQ(Mb[j].y, y);
  EXPECT_EQ(Mb[j].flag, 'Y');
}

}  // namespace

TEST(Raschet, SeriesWithLeadingImaginaryElement) {
  std::string out;
  EXPECT_EQ(BuildPairs({NUL, 10, 12, 22}, 1, 1, 0, 0, &out), 5);
  EXPECT_EQ(out, "\nЧисло рассчитанных ПОСЛЕДОВАТЕЛЬНО элементов структуры 6\n\n");
  ExpectPair(0, 10, 1, -1);
  ExpectPair(1, 12, 2, -2);
  ExpectPair(2, 22, 3, -3);
  ExpectPair(3, 22, 2, 1);
  ExpectPair(4, 32, 3, 1);
  ExpectPair(5, 34, 3, 2);
  EXPECT_EQ(Mb[6].flag, 0);
}

TEST(Raschet, NumbersWithoutAndWithInnerImaginaryElement) {
  EXPECT_EQ(BuildPairs({10, 12, 22}, 1), 2);
  ExpectPair(0, 22, 2, 1);
  ExpectPair(1, 32, 3, 1);
  ExpectPair(2, 34, 3, 2);

  // Not leading: no shift, the real components keep 1 and 3.
  EXPECT_EQ(BuildPairs({10, NUL, 22}, 1), 2);
  ExpectPair(0, 10, -1, 1);
  ExpectPair(1, 32, 3, 1);
  ExpectPair(2, 22, 3, -2);

  // Truncating to -1 shifts the numbers, but only the exact -1 is imaginary.
  EXPECT_EQ(BuildPairs({-1.5f, 10}, 1), 0);
  ExpectPair(0, 8.5f, 1, 0);
}

TEST(Raschet, TwoImaginaryElements) {
  EXPECT_EQ(BuildPairs({NUL, NUL, 10}, 1), 2);
  ExpectPair(0, -2.0f, -1, -2);
  ExpectPair(1, 10, 2, -3);
  ExpectPair(2, 10, 2, -4);

  EXPECT_EQ(BuildPairs({NUL, NUL}, 2), 0);
  ExpectPair(0, -0.5f, -1, -2);
}

TEST(Raschet, FilterKeepsTheBandAndReusesDroppedRecords) {
  std::string out;
  EXPECT_EQ(BuildPairs({NUL, 10, 12, 22}, 1, 0, 20, 30, &out), 1);
  EXPECT_EQ(out, "\nЧисло рассчитанных ПОСЛЕДОВАТЕЛЬНО элементов структуры 2\n\n");
  ExpectPair(0, 22, 3, -3);
  ExpectPair(1, 22, 2, 1);
  // The last dropped pair stays in the record after the used range.
  ExpectPair(2, 34, 3, 2);
  EXPECT_EQ(Mb[3].flag, 0);

  // Both bounds are inclusive.
  EXPECT_EQ(BuildPairs({NUL, 10, 12, 22}, 1, 0, 22, 22), 1);
  EXPECT_EQ(BuildPairs({NUL, 10, 12, 22}, 1, 0, 10, 10), 0);
  ExpectPair(0, 10, 1, -1);

  // Nothing in the band: no pair.
  EXPECT_EQ(BuildPairs({NUL, 10, 12, 22}, 1, 0, 40, 50, &out), -1);
  EXPECT_EQ(out, "\nЧисло рассчитанных ПОСЛЕДОВАТЕЛЬНО элементов структуры 0\n\n");
}

TEST(Raschet, FilterNeverKeepsNotANumber) {
  const float inf = std::numeric_limits<float>::infinity();
  // 0 || 0 is not a number; 0 || 5 is 0.
  EXPECT_EQ(BuildPairs({0, 0, 5}, 2, 0, -inf, inf), 1);
  ExpectPair(0, 0, 3, 1);
  ExpectPair(1, 0, 3, 2);
  // Kept when every pair is kept.
  EXPECT_EQ(BuildPairs({0, 0, 5}, 2), 2);
  EXPECT_TRUE(std::isnan(Mb[0].fc));
}

TEST(Raschet, Parallel) {
  std::string out;
  EXPECT_EQ(BuildPairs({100, 220, 330, 150}, 2, 1, 0, 0, &out), 5);
  EXPECT_EQ(out, "\nЧисло рассчитанных ПАРАЛЛЕЛЬНО элементов структуры 6\n\n");
  ExpectPair(0, 68.75f, 2, 1);
  ExpectPair(1, 76.74419f, 3, 1);
  ExpectPair(2, 60, 4, 1);
  ExpectPair(3, 132, 3, 2);
  ExpectPair(4, 89.18919f, 4, 2);
  ExpectPair(5, 103.125f, 4, 3);

  // A single element stands alone in parallel too.
  EXPECT_EQ(BuildPairs({NUL, 47}, 2), 0);
  ExpectPair(0, 47, 1, -1);
}

TEST(Raschet, ParallelValueIsRoundedOnce) {
  // In float steps 100 || 5.6 would come out as 5.30303049.
  EXPECT_EQ(BuildPairs({100, 5.6f}, 2), 0);
  EXPECT_EQ(Mb[0].fc, 5.30303001f);
}

TEST(Raschet, TooFewComponents) {
  std::string out;
  EXPECT_EQ(BuildPairs({}, 1, 1, 0, 0, &out), -1);
  EXPECT_EQ(out, "\nЧисло рассчитанных ПОСЛЕДОВАТЕЛЬНО элементов структуры 0\n\n");
  EXPECT_EQ(BuildPairs({10}, 2, 1, 0, 0, &out), -1);
  EXPECT_EQ(out, "\nЧисло рассчитанных ПАРАЛЛЕЛЬНО элементов структуры 0\n\n");
  EXPECT_EQ(Mb[0].flag, 0);

  // No START marker: Ns is 200 and no slot is read.
  float zmin = 0;
  float zmax = 0;
  out = Captured([&] { EXPECT_EQ(raschet(kSlots, kSlots - 2, 1, &zmin, &zmax, 1), -1); });
  EXPECT_EQ(out, "\nЧисло рассчитанных ПОСЛЕДОВАТЕЛЬНО элементов структуры 0\n\n");

  EXPECT_EQ(BuildPairs({10, 12}, 1), 0);
  ExpectPair(0, 22, 2, 1);
}

TEST(Raschet, LargestListFillsTheTableInPairOrder) {
  std::vector<float> values(kSlots - kStartSlot - 2, 1.0f);
  values[0] = NUL;
  EXPECT_EQ(BuildPairs(values, 1), 183 * 182 / 2 - 1);
  ExpectPair(181, 1, 182, -182);
  ExpectPair(182, 2, 2, 1);
  ExpectPair(183 * 182 / 2 - 1, 2, 182, 181);
}

TEST(Raschet, RefusesAnUnknownPairType) {
  for (int tip : {0, 3, -1}) {
    reset_Mb();
    SetComponents({10, 12, 22});
    float zmin = 0;
    float zmax = 100;
    ConsoleCapture k;
    EXPECT_EQ(raschet(16, 18, tip, &zmin, &zmax, 1), -1);
    EXPECT_EQ(k.text(), "");
    EXPECT_EQ(k.errors(), "Недопустимый тип соединения TIP=" + std::to_string(tip) +
                              ": допустимы только 1 (ПОСЛЕДОВАТЕЛЬНО) и 2 (ПАРАЛЛЕЛЬНО); пары не "
                              "рассчитаны\n");
    EXPECT_TRUE(in_trouble());
    EXPECT_EQ(Mb[0].flag, 0);
    EXPECT_EQ(Mb[0].fc, 0.0f);
  }
}
