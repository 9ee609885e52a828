#include "report/komponenty.h"

#include <limits>

#include <gtest/gtest.h>

#include "otchet_test_util.h"

namespace {

void ExpectKomponent(const Komponent& c, int k, int nomer, char flag, float znach) {
  EXPECT_EQ(c.k, k);
  EXPECT_EQ(c.nomer, nomer);
  EXPECT_EQ(c.flag, flag);
  EXPECT_EQ(c.znach, znach);
}

}  // namespace

TEST(SpisokKomponentov, StaysWithinTheTables) {
  ZadatKomponenty({-1.0f, 10.0f, 12.0f});
  Spisok s = spisok_komponentov(16, 18);
  EXPECT_EQ(s.K, 3);
  EXPECT_EQ(s.rs, -1);
  // No START: no slot at all, not even slot 200 is read.
  s = spisok_komponentov(200, 198);
  EXPECT_EQ(s.K, 0);
  EXPECT_EQ(s.rs, 0);
  EXPECT_EQ(spisok_komponentov(16, 15).K, 0);
  EXPECT_EQ(spisok_komponentov(-3, 10).K, 0);
  // At most relative indices 0 to 198 and slots up to 199.
  EXPECT_EQ(spisok_komponentov(1, 500).K, 199);
  EXPECT_EQ(spisok_komponentov(0, 199).K, 199);
  EXPECT_EQ(spisok_komponentov(5, 500).K, 195);
}

TEST(Komponent, LeadingImaginaryElement) {
  // Numbers are shifted: 1 is relative index 1; every negative number is the
  // imaginary element in slot Ns, read like any other slot.
  ZadatKomponenty({-1.0f, 10.0f, 12.0f});
  Spisok s = spisok_komponentov(16, 18);
  ExpectKomponent(komponent(s, 1), 1, 1, 'Y', 10.0f);
  ExpectKomponent(komponent(s, 2), 2, 2, 'Y', 12.0f);
  flagRR[0] = 'N';
  ExpectKomponent(komponent(s, -1), 0, 0, 'N', -1.0f);
  ExpectKomponent(komponent(s, -7), 0, 0, 'N', -1.0f);
  ExpectKomponent(komponent(s, 3), -1, 3, '?', 0.0f);
}

TEST(Komponent, NoLeadingImaginaryElement) {
  ZadatKomponenty({10.0f, -1.0f, 22.0f});
  Spisok s = spisok_komponentov(16, 18);
  EXPECT_EQ(s.rs, 0);
  ExpectKomponent(komponent(s, 1), 0, 1, 'Y', 10.0f);
  ExpectKomponent(komponent(s, 3), 2, 3, 'Y', 22.0f);
  // A negative number is the imaginary element itself, whatever slot 0 holds.
  flagRR[0] = 'N';
  ExpectKomponent(komponent(s, -1), -1, 0, 'Y', -1.0f);
  ExpectKomponent(komponent(s, std::numeric_limits<int>::min()), -1, 0, 'Y', -1.0f);
  // Numbers that name no slot of the list.
  ExpectKomponent(komponent(s, 0), -1, 0, '?', 0.0f);
  ExpectKomponent(komponent(s, 4), -1, 4, '?', 0.0f);
  ExpectKomponent(komponent(s, std::numeric_limits<int>::max()), -1,
                  std::numeric_limits<int>::max(), '?', 0.0f);
  // No START: nothing names a slot.
  s = spisok_komponentov(200, 198);
  ExpectKomponent(komponent(s, 1), -1, 1, '?', 0.0f);
}
