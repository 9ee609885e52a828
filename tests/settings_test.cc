#include "program1/settings.h"

#include <gtest/gtest.h>

#include "program1/register_table.h"
#include "support/test_util.h"

namespace {

void FreshTable() {
  reset_register();
  mark_unwritten();
}

void SetLetter(int slot, char letter) {
  RR[slot] = command_marker(slot);
  flagRR[slot] = letter;
}

void SetFlagCommand(int slot, int v) {
  RR[slot] = command_marker(slot);
  flagRR[slot] = static_cast<char>('0' + v);
}

}  // namespace

TEST(Settings, OutputFlagsForEveryCombinationOfLetters) {
  // fxyz, then fv1 and fv2 as the driver derives them.
  const char* expected[16] = {"YP", "ZZ", "PP", "PZ", "YP", "YZ", "YP", "YZ",
                              "NP", "NZ", "NP", "NZ", "NY", "NZ", "NP", "NZ"};
  const char kLetters[4] = {'N', 'Y', 'P', 'Z'};
  for (int mask = 0; mask < 16; ++mask) {
    FreshTable();
    for (int b = 0; b < 4; ++b)
      if (mask & (8 >> b)) SetLetter(4 + b, kLetters[b]);
    EXPECT_EQ(take_settings(), mask);
    EXPECT_EQ(fv1, expected[mask][0]) << mask;
    EXPECT_EQ(fv2, expected[mask][1]) << mask;
  }
}

TEST(Settings, MaskPrintsFourBitsAndFiveBlanks) {
  ConsoleCapture k;
  print_mask(0);
  print_mask(15);
  print_mask(9);
  EXPECT_EQ(k.text(), "N Y P Z <> 0 0 0 0     N Y P Z <> 1 1 1 1     N Y P Z <> 1 0 0 1     ");
}

TEST(Settings, SettingsAbsentKeepTheirInitialValues) {
  FreshTable();
  EXPECT_EQ(take_settings(), 0);
  EXPECT_EQ(tch, 0.0f);
  EXPECT_EQ(znach, 0.0f);
  EXPECT_EQ(otcl, 0.0f);
  EXPECT_EQ(fall, 0);
  EXPECT_EQ(tipr, 1);
  EXPECT_EQ(fotcl, 1);
}

TEST(Settings, ValueAndFlagCommandsAreTaken) {
  FreshTable();
  RR[0] = 50.0f;
  RR[1] = 100.0f;
  RR[2] = 5.0f;
  SetFlagCommand(3, 1);
  SetFlagCommand(8, 2);
  SetFlagCommand(9, 0);
  take_settings();
  EXPECT_EQ(tch, 50.0f);
  EXPECT_EQ(znach, 100.0f);
  EXPECT_EQ(otcl, 5.0f);
  EXPECT_EQ(fall, 1);
  EXPECT_EQ(tipr, 2);
  EXPECT_EQ(fotcl, 0);
}

TEST(Settings, FlagNumbersBeyondADigitWrapInOneSignedByte) {
  FreshTable();
  SetFlagCommand(8, 12);
  SetFlagCommand(9, 80);  // '0' + 80 is the byte 128, read back as -128
  take_settings();
  EXPECT_EQ(tipr, 12);
  EXPECT_EQ(fotcl, -176);
  // Flag numbers (already taken mod 256) in the upper half: '0' + n is the
  // byte 176 to 255, read back negative, or passes 255 and wraps to 0 to 47.
  struct Case {
    int n;
    int setting;
  } cases[] = {{79, 79},   {128, -128}, {129, -127}, {200, -56},
               {207, -49}, {208, -48},  {209, -47},  {255, -1}};
  for (const Case& c : cases) {
    FreshTable();
    SetFlagCommand(kTIP, c.n);
    SetFlagCommand(kFALL, c.n);
    take_settings();
    EXPECT_EQ(tipr, c.setting) << c.n;
    EXPECT_EQ(fall, c.setting) << c.n;
  }
}

TEST(Settings, AFlagWithoutItsMarkerIsNoSetting) {
  FreshTable();
  flagRR[8] = '2';  // a flag but no marker value: the command never completed
  RR[9] = -1.0f;    // a marker of another slot
  take_settings();
  EXPECT_EQ(tipr, 1);
  EXPECT_EQ(fotcl, 1);
}

TEST(TakeSwitch, FallInTheDataFileOverridesTheSwitch) {
  FreshTable();
  {
    ConsoleCapture k;
    const char* argv[] = {"podbor", "-1", nullptr};
    take_switch(parse_command_line(2, argv));
  }
  SetFlagCommand(3, 0);
  take_settings();
  EXPECT_EQ(fall, 0);
}

TEST(SoughtBounds, BandAroundTheSoughtValue) {
  reset_register();
  znach = 100.0f;
  otcl = 5.0f;
  float zmin, zmax;
  sought_bounds(&zmin, &zmax);
  EXPECT_EQ(zmin, 95.0f);
  EXPECT_EQ(zmax, 105.0f);

  znach = 0.0f;
  otcl = 0.0f;
  sought_bounds(&zmin, &zmax);
  EXPECT_EQ(zmin, 0.0f);
  EXPECT_EQ(zmax, 0.0f);
}
