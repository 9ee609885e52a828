#include "vvod_z/keyword_likeness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "program1/register_table.h"

TEST(LikelyKeyword, NamesTheNearestKeyword) {
  struct Case {
    std::string word;
    int keyword;
    bool by_case;
  };
  const Case cases[] = {
      {"tch", kTCH, true},      {"End", kEND, true},    {"y", kY, true},
      {"STRAT", kSTART, false}, {"OTLC", kOTCL, false}, {"NULL", kNUL, false},
      {"ZNAC", kZNACH, false},  {"TC", kTCH, false},    {"FOTCLL", kFOTCL, false},
      {"R", -1, false},         {"Ohm", -1, false},     {"k", -1, false},
      {"XYZ", -1, false},       {"", -1, false},        {std::string(16, 'a'), -1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.word);
    std::vector<int> cells(c.word.begin(), c.word.end());
    bool by_case = !c.by_case;
    EXPECT_EQ(likely_keyword(cells.data(), static_cast<int>(cells.size()), &by_case), c.keyword);
    EXPECT_EQ(by_case, c.by_case);
  }
}
