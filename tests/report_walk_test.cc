#include "report/report_walk.h"

#include <limits>

#include <gtest/gtest.h>

#include "report_test_util.h"

namespace {

void ExpectShown(const ShownComponent& c, int k, int number, char flag, float value) {
  EXPECT_EQ(c.k, k);
  EXPECT_EQ(c.number, number);
  EXPECT_EQ(c.flag, flag);
  EXPECT_EQ(c.value, value);
}

}  // namespace

TEST(ComponentListOf, StaysWithinTheTables) {
  SetComponents({-1.0f, 10.0f, 12.0f});
  ComponentList s = component_list(16, 18);
  EXPECT_EQ(s.K, 3);
  EXPECT_EQ(s.rs, -1);
  // No START: no slot at all, not even slot 200 is read.
  s = component_list(200, 198);
  EXPECT_EQ(s.K, 0);
  EXPECT_EQ(s.rs, 0);
  EXPECT_EQ(component_list(16, 15).K, 0);
  EXPECT_EQ(component_list(-3, 10).K, 0);
  // At most relative indices 0 to 198 and slots up to 199.
  EXPECT_EQ(component_list(1, 500).K, 199);
  EXPECT_EQ(component_list(0, 199).K, 199);
  EXPECT_EQ(component_list(5, 500).K, 195);
}

TEST(ShownComponent, LeadingImaginaryElement) {
  // Numbers are shifted: 1 is relative index 1; every negative number is the
  // imaginary element in slot Ns, read like any other slot.
  SetComponents({-1.0f, 10.0f, 12.0f});
  ComponentList s = component_list(16, 18);
  ExpectShown(shown_component(s, 1), 1, 1, 'Y', 10.0f);
  ExpectShown(shown_component(s, 2), 2, 2, 'Y', 12.0f);
  flagRR[0] = 'N';
  ExpectShown(shown_component(s, -1), 0, 0, 'N', -1.0f);
  ExpectShown(shown_component(s, -7), 0, 0, 'N', -1.0f);
  ExpectShown(shown_component(s, 3), -1, 3, '?', 0.0f);
}

TEST(ShownComponent, NoLeadingImaginaryElement) {
  SetComponents({10.0f, -1.0f, 22.0f});
  ComponentList s = component_list(16, 18);
  EXPECT_EQ(s.rs, 0);
  ExpectShown(shown_component(s, 1), 0, 1, 'Y', 10.0f);
  ExpectShown(shown_component(s, 3), 2, 3, 'Y', 22.0f);
  // A negative number is the imaginary element itself, whatever slot 0 holds.
  flagRR[0] = 'N';
  ExpectShown(shown_component(s, -1), -1, 0, 'Y', -1.0f);
  ExpectShown(shown_component(s, std::numeric_limits<int>::min()), -1, 0, 'Y', -1.0f);
  // Numbers that name no slot of the list.
  ExpectShown(shown_component(s, 0), -1, 0, '?', 0.0f);
  ExpectShown(shown_component(s, 4), -1, 4, '?', 0.0f);
  ExpectShown(shown_component(s, std::numeric_limits<int>::max()), -1,
              std::numeric_limits<int>::max(), '?', 0.0f);
  // No START: nothing names a slot.
  s = component_list(200, 198);
  ExpectShown(shown_component(s, 1), -1, 1, '?', 0.0f);
}
