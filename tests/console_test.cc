#include "text/console.h"

#include <gtest/gtest.h>

#include "support/test_util.h"
#include "text/cp1251.h"

TEST(Console, TheFirstSetLocaleVariableDecidesTheCodePage) {
  EXPECT_TRUE(locale_is_cp1251("ru_RU.CP1251", nullptr, nullptr));
  EXPECT_TRUE(locale_is_cp1251(nullptr, "ru_RU.cp1251", "C.UTF-8"));
  EXPECT_TRUE(locale_is_cp1251("", "", "ru_RU.windows-1251"));
  EXPECT_TRUE(locale_is_cp1251(nullptr, nullptr, "ru_RU.WINDOWS-1251@euro"));
  EXPECT_FALSE(locale_is_cp1251("C.UTF-8", "ru_RU.CP1251", nullptr));
  EXPECT_FALSE(locale_is_cp1251(nullptr, nullptr, nullptr));
  EXPECT_FALSE(locale_is_cp1251("ru_RU.UTF-8", nullptr, "ru_RU.CP1251"));
  EXPECT_FALSE(locale_is_cp1251("ru_RU.KOI8-R", nullptr, nullptr));
  EXPECT_FALSE(locale_is_cp1251("ru_RU", nullptr, nullptr));
}

TEST(Console, PrintsInTheConsoleCodePage) {
  ConsoleCapture k;
  console_print("Число %f\n", 1.5);
  console.out.cp1251 = true;
  console_puts("Конец");
  EXPECT_EQ(k.text(), "Число 1,500000\n\xCA\xEE\xED\xE5\xF6\n");
}

TEST(Console, ReadsOneCharacterAtATime) {
  ConsoleCapture k("xq");
  EXPECT_EQ(console_getc(), 'x');
  EXPECT_EQ(console_getc(), 'q');
  EXPECT_EQ(console_getc(), EOF);
  EXPECT_EQ(console_getc(), EOF);
}

TEST(Console, AnAnswerLineIsKeptToItsBound) {
  ConsoleCapture k(std::string(10000, 'x') + "\nq\n");
  EXPECT_EQ(console_line(), std::string(kAnswerMax, 'x'));
  EXPECT_EQ(console_line(), "q");
}

TEST(Cp1251, ConvertsCyrillicAndPassesOtherBytes) {
  std::string utf8 = "АаЯяЁё №–R0=-1";
  std::string out = in_cp1251(utf8);
  EXPECT_EQ(out, "\xC0\xE0\xDF\xFF\xA8\xB8 \xB9\x96R0=-1");

  // Bytes that are no UTF-8 (a name typed on a Windows-1251 console) pass as they are;
  // characters the code page lacks become '?'.
  std::string raw = "\xC0\xE0 \xE2\x82 \xF0\x9F\x98\x80 \xE4\xB8\xAD";
  out = in_cp1251(raw);
  EXPECT_EQ(out, "\xC0\xE0 \xE2\x82 ? ?");
}
