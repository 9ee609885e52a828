#include "text/format.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

TEST(Format, FloatFieldsShowADecimalComma) {
  EXPECT_EQ(format("%f", 100.0), "100,000000");
  EXPECT_EQ(format("%7.4f", 50.0), "50,0000");
  EXPECT_EQ(format("%-7.2f|", 12.0), "12,00  |");
  EXPECT_EQ(format("%-7.2f|", -1.0), "-1,00  |");
  EXPECT_EQ(format("%9f|", 10.0), "10,000000|");
  EXPECT_EQ(format("%9f|", 1.5), " 1,500000|");
  EXPECT_EQ(format("%10f|", -1.0), " -1,000000|");
  EXPECT_EQ(format("%-8f|", 0.0), "0,000000|");
  EXPECT_EQ(format("%-8f|", 45.454544067382812), "45,454544|");
  EXPECT_EQ(format("%-8f|", -0.0), "-0,000000|");
}

TEST(Format, RoundsHalfToEvenLikePrintf) {
  EXPECT_EQ(format("%.2f", 0.125), "0,12");
  EXPECT_EQ(format("%.2f", 0.375), "0,38");
  EXPECT_EQ(format("%7.4f", 0.00005), " 0,0001");
  EXPECT_EQ(format("%f", static_cast<double>(83.33334f)), "83,333344");
}

// The formats of this test come from its table.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"

TEST(Format, InfAndNanPrintAsGlibcDoes) {
  double inf = std::numeric_limits<double>::infinity();
  double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(format("%f", inf), "inf");
  EXPECT_EQ(format("%-8f|", -inf), "-inf    |");
  EXPECT_EQ(format("%10f|", nan), "       nan|");
  EXPECT_EQ(format("%f", -nan), "-nan");
  // Signs, padding and capitals as glibc has them, whatever the C library.
  struct Case {
    const char* fmt;
    double x;
    const char* text;
  } cases[] = {
      {"%+f", inf, "+inf"},   {"% f", nan, " nan"},         {"%010f", inf, "       inf"},
      {"%F", -inf, "-INF"},   {"%-6.2e|", -inf, "-inf  |"}, {"%+f", -nan, "-nan"},
      {"% F", -nan, "-NAN"},  {"%7.3G", nan, "    NAN"},    {"%-+9f|", inf, "+inf     |"},
      {"%5f", -nan, " -nan"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(format(c.fmt, c.x), c.text) << c.fmt;
}

#pragma GCC diagnostic pop

TEST(Format, HugeValuesAreWhole) {
  std::string s = format("%f", static_cast<double>(std::numeric_limits<float>::max()));
  EXPECT_EQ(s, "340282346638528859811704183484516925440,000000");
  EXPECT_EQ(format("%f", std::numeric_limits<double>::max()).size(), 316u);
}

TEST(Format, LiteralTextAndOtherConversionsStayAsTheyAre) {
  EXPECT_EQ(format("a.b %d.%c %s 5%%", 7, 'Y', "x.y"), "a.b 7.Y x.y 5%");
  EXPECT_EQ(format("R%-2d%c=", 3, 'N'), "R3 N=");
  EXPECT_EQ(format("R%4d =", 12), "R  12 =");
  EXPECT_EQ(format("R%-3d=", 0), "R0  =");
  EXPECT_EQ(format("Ns=%d     N=%d", 200, 198), "Ns=200     N=198");
  EXPECT_EQ(format("Число %d\n", -1), "Число -1\n");
  std::string long_name(5000, 'a');
  EXPECT_EQ(format("%s", long_name.c_str()), long_name);
}
