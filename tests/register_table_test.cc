#include "program1/register_table.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "program1/settings.h"

namespace {

/// The register table as the driver leaves it before the data file is read.
void FreshTable() {
  reset_register();
  mark_unwritten();
}

}  // namespace

TEST(Count, FindsTheListBetweenStartAndEnd) {
  FreshTable();
  flagRR[15] = 'S';
  for (int k = 16; k < 19; ++k)
    flagRR[k] = 'Y';
  flagRR[19] = 'E';
  int Ns = countst();
  EXPECT_EQ(Ns, 16);
  EXPECT_EQ(count(Ns), 18);
  for (int k = 0; k <= 18; ++k)
    EXPECT_EQ(flagRR[k], 'Y') << k;
  EXPECT_EQ(flagRR[19], 'E');
  EXPECT_EQ(flagRR[20], 'q');
}

TEST(Count, NoStartMeansNoList) {
  FreshTable();
  EXPECT_EQ(countst(), 200);
  EXPECT_EQ(count(200), 198);
  for (int k = 0; k <= 198; ++k)
    EXPECT_EQ(flagRR[k], 'Y');
  EXPECT_EQ(flagRR[199], 0);
}

TEST(Count, StartWithoutEndEndsAtTheLastWrittenSlot) {
  FreshTable();
  flagRR[15] = 'S';
  flagRR[199] = 'E';  // an END in slot 199 is never looked at
  EXPECT_EQ(count(countst()), 15);

  // Entries up to slot 198 without END: all of them, and slot 199 is not read.
  FreshTable();
  flagRR[15] = 'S';
  for (int k = 16; k <= 199; ++k)
    flagRR[k] = 'Y';
  EXPECT_EQ(count(countst()), 198);

  FreshTable();
  flagRR[15] = 'S';
  flagRR[16] = 'V';
  flagRR[17] = 'Y';
  EXPECT_EQ(count(countst()), 17);
  EXPECT_EQ(flagRR[18], 'q');
}

TEST(Count, EndRightAfterStartGivesAnEmptyList) {
  FreshTable();
  flagRR[15] = 'S';
  flagRR[16] = 'E';
  int Ns = countst();
  EXPECT_EQ(count(Ns), Ns - 1);
}

TEST(Count, AnEndBelowTheListDoesNotStopIt) {
  FreshTable();
  flagRR[8] = 'E';  // TIP 21 stores '0' + 21
  flagRR[15] = 'S';
  flagRR[16] = 'Y';
  flagRR[17] = 'E';
  EXPECT_EQ(count(countst()), 16);
  EXPECT_EQ(flagRR[8], 'Y');
}

TEST(Count, AFlagOf35StartsTheListEarly) {
  FreshTable();
  flagRR[3] = static_cast<char>('0' + 35);  // 'S'
  flagRR[15] = 'S';
  EXPECT_EQ(countst(), 4);
}

TEST(SlotSet, TruncatesTowardZeroForEveryFloat) {
  const struct {
    float value;
    bool set;
  } cases[] = {{-103.0f, true},
               {-103.5f, true},
               {-102.9f, false},
               {-104.0f, false},
               {std::numeric_limits<float>::quiet_NaN(), false},
               {-std::numeric_limits<float>::infinity(), false},
               {-3e38f, false}};
  for (const auto& c : cases) {
    FreshTable();
    RR[kFALL] = c.value;
    EXPECT_EQ(slot_set(kFALL), c.set) << c.value;
  }
}

TEST(NumberShift, OnlyALeadingImaginaryElementShifts) {
  FreshTable();
  RR[16] = -1.0f;
  EXPECT_EQ(number_shift(16), -1);
  RR[16] = -1.9f;  // truncated toward zero
  EXPECT_EQ(number_shift(16), -1);
  RR[16] = 10.0f;
  EXPECT_EQ(number_shift(16), 0);
  RR[199] = -1.0f;
  EXPECT_EQ(number_shift(199), -1);
  EXPECT_EQ(number_shift(200), 0);  // no START: there is no first component slot
}
