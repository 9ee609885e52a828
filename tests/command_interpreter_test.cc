#include "vvod_z/command_interpreter.h"

#include <gtest/gtest.h>
#include <algorithm>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "program1/register_table.h"
#include "program1/settings.h"

namespace {

/// One slot of the register table that differs from a snapshot.
struct Record {
  int slot;
  float rr;
  char flag;
  bool operator==(const Record&) const = default;
};

void PrintTo(const Record& z, std::ostream* os) {
  *os << "{slot " << z.slot << ", " << z.rr << ", '" << z.flag << "' (" << int{z.flag} << ")}";
}

struct Snapshot {
  std::array<float, kSlots> rr = RR;
  std::array<char, kSlots> flag = flagRR;
};

/// The slots written since `s` was taken (compared bit for bit, -0 and NaN included).
std::vector<Record> Changes(const Snapshot& s) {
  std::vector<Record> v;
  for (int k = 0; k < kSlots; ++k) {
    if (std::bit_cast<uint32_t>(RR[k]) != std::bit_cast<uint32_t>(s.rr[k]) ||
        flagRR[k] != s.flag[k]) {
      v.push_back({k, RR[k], flagRR[k]});
    }
  }
  return v;
}

/// The table as the driver hands it to the reader.
void Start() {
  reset_register();
  reset_interpreter();
  mark_unwritten();
}

std::vector<int> Cells(const std::string& s) {
  std::vector<int> v(s.begin(), s.end());
  v.push_back(0);
  return v;
}

/// Interprets `text` (the stored characters of a data file) from program start.
void Interpret(const std::string& text) {
  Start();
  std::vector<int> buf = Cells(text);
  obrabotka(buf.data(), static_cast<int>(text.size()));
}

/// The slots that interpreting `text` from program start writes.
std::vector<Record> Records(const std::string& text) {
  Start();
  Snapshot empty;
  Interpret(text);
  return Changes(empty);
}

using Z = std::vector<Record>;

float Number(const std::string& word) {
  std::vector<int> w = Cells(word);
  float f = -12345.0f;
  vvod_cifr(w.data(), static_cast<int>(word.size()) - 1, &f);
  return f;
}

int Key(const std::string& word) {
  std::vector<int> w = Cells(word);
  return obr_str(w.data(), static_cast<int>(word.size()) - 1);
}

/// Calls sortirovka for one word given as its keyword number or a number.
int Word(int comm, float v, int echo) {
  return sortirovka(comm, &v, echo);
}

const std::vector<Record> kNothing;

/// Two lists of writes one after the other.
std::vector<Record> operator+(std::vector<Record> a, const std::vector<Record>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace

// ---- Keyword lookup ----

TEST(ObrStr, ExactCaseSensitiveWholeWordMatch) {
  const char* kw[] = {"TCH", "ZNACH", "OTCL",  "FALL",  "N",   "Y",  "P",
                      "Z",   "TIP",   "FOTCL", "START", "NUL", "END"};
  for (int n = 0; n < 13; ++n) {
    EXPECT_EQ(Key(kw[n]), n) << kw[n];
  }
  for (const char* w : {"", "q", "tch", "Tch", "TC", "TCHX", "STAR", "STARTS", "NULL", "ENDE", "n",
                        "YY", "TCHTCHTCHTCHTCHT"}) {
    EXPECT_EQ(Key(w), 404) << '"' << w << '"';
  }
  EXPECT_EQ(Key(std::string(200, 'N')), 404);
}

// ---- Number reading ----

TEST(VvodCifr, DecimalNumbersAndOtherCharacters) {
  struct {
    const char* word;
    float value;
  } const cases[] = {
      {"0", 0.0f},
      {"1.5", 1.5f},
      {"12.50", 12.5f},
      {".5", 0.5f},
      {"5.", 5.0f},
      {".", 0.0f},
      {"", 0.0f},
      {"1.5.2", 15.2f},  // every '.' restarts the decimal count
      {"100.001", 100.001f},
      // A character that is no digit counts as one of value code - 48.
      {"A", 17.0f},
      {"a", 49.0f},
      {"q", 65.0f},
      {"tch", 7366.0f},
      {"Tch", 4166.0f},
      {"TC", 379.0f},
  };
  for (const auto& c : cases) {
    EXPECT_FLOAT_EQ(Number(c.word), c.value) << '"' << c.word << '"';
  }
}

TEST(VvodCifr, ManyDigitsKeepTheirValue) {
  // More than nine digits after the point would overflow a 32-bit counter.
  EXPECT_FLOAT_EQ(Number("0.123456789012"), 0.123456789012f);
  EXPECT_FLOAT_EQ(Number("1234567890.123456789012"), 1234567890.123456789012f);
  EXPECT_FLOAT_EQ(Number("0." + std::string(39, '0') + "1"), 1e-40f);
  EXPECT_FLOAT_EQ(Number("12345678901234567890123456789012345678"), 1.2345678901e37f);
  EXPECT_FLOAT_EQ(Number("1234567890123456"), 1234567890123456.0f);
  // Beyond the float range the value is infinite, never not-a-number.
  EXPECT_EQ(Number("1234567890123456789012345678901234567890"),
            std::numeric_limits<float>::infinity());
  EXPECT_EQ(Number(std::string(100, '9') + "." + std::string(2000, '9')),
            std::numeric_limits<float>::infinity());
  EXPECT_EQ(Number("0." + std::string(2500, '0') + "1"), 0.0f);
  // A long word is read whole: cut after 15 characters it would be 0.
  EXPECT_EQ(Number(std::string(199, '0') + "7"), 7.0f);
  EXPECT_FLOAT_EQ(Number(std::string(15, '0') + "1.25"), 1.25f);
}

// ---- Applying one word: the state machine, word class by word class ----

TEST(Sortirovka, ValueCommand) {
  Start();
  Snapshot s;
  EXPECT_EQ(Word(kTCH, 0, 'N'), 100);
  EXPECT_EQ(Changes(s), (std::vector<Record>{{0, 0.0f, '0'}}));
  EXPECT_EQ(Word(kNotKeyword, 7.5f, 'Y'), 0);  // completes it
  EXPECT_EQ(Changes(s), (std::vector<Record>{{0, 7.5f, '0'}}));

  // A value command while another command waits: both abandoned.
  Start();
  EXPECT_EQ(Word(kTIP, 0, 'N'), 100);
  Snapshot s2;
  EXPECT_EQ(Word(kZNACH, 0, 'Y'), -1);
  EXPECT_EQ(Changes(s2), (std::vector<Record>{{1, 0.0f, '1'}}));
  EXPECT_EQ(Word(kNotKeyword, 5, 'N'), 0);  // its would-be number, dropped before START
  EXPECT_EQ(Changes(s2), (std::vector<Record>{{1, 0.0f, '1'}}));
}

TEST(Sortirovka, FlagCommand) {
  Start();
  Snapshot s;
  EXPECT_EQ(Word(kTIP, 0, 'N'), 100);
  EXPECT_EQ(Changes(s), kNothing);
  EXPECT_EQ(Word(kNotKeyword, 2.9f, 'Y'), 0);
  EXPECT_EQ(Changes(s), (std::vector<Record>{{8, -108.0f, '2'}}));

  Start();
  EXPECT_EQ(Word(kTCH, 0, 'N'), 100);
  Snapshot s2;
  EXPECT_EQ(Word(kFALL, 0, 'Y'), -1);
  EXPECT_EQ(Changes(s2), kNothing);
  EXPECT_EQ(Word(kNotKeyword, 1, 'N'), 0);
  EXPECT_EQ(Changes(s2), kNothing);
}

TEST(Sortirovka, LetterCommand) {
  Start();
  Snapshot s;
  EXPECT_EQ(Word(kN, 0, 'N'), 0);
  EXPECT_EQ(Changes(s), (std::vector<Record>{{4, -104.0f, 'N'}}));

  Start();
  EXPECT_EQ(Word(kTCH, 0, 'N'), 100);
  Snapshot s2;
  EXPECT_EQ(Word(kZ, 0, 'Y'), 0);  // the waiting TCH is abandoned ...
  EXPECT_EQ(Changes(s2), (std::vector<Record>{{7, -107.0f, 'Z'}}));
  EXPECT_EQ(Word(kNotKeyword, 3, 'N'), 0);  // ... so its number changes nothing
  EXPECT_EQ(Changes(s2), (std::vector<Record>{{7, -107.0f, 'Z'}}));
}

TEST(Sortirovka, StartNulEnd) {
  Start();
  Snapshot s;
  EXPECT_EQ(Word(kSTART, 0, 'N'), 0);
  EXPECT_EQ(Word(kNUL, 0, 'N'), 0);
  EXPECT_EQ(Word(kEND, 0, 'N'), 0);
  EXPECT_EQ(Changes(s), (std::vector<Record>{{15, -2.0f, 'S'}, {16, -1.0f, 'V'}, {17, 0.0f, 'E'}}));

  // The same words while a command waits: written all the same; END alone says -1.
  Start();
  Snapshot s2;
  EXPECT_EQ(Word(kFOTCL, 0, 'N'), 100);
  EXPECT_EQ(Word(kSTART, 0, 'Y'), 0);
  EXPECT_EQ(Word(kTCH, 0, 'N'), 100);
  EXPECT_EQ(Word(kNUL, 0, 'Y'), 0);
  EXPECT_EQ(Word(kTCH, 0, 'N'), 100);
  EXPECT_EQ(Word(kEND, 0, 'Y'), -1);
  EXPECT_EQ(Changes(s2), (std::vector<Record>{
                             {0, 0.0f, '0'}, {15, -2.0f, 'S'}, {16, -1.0f, 'V'}, {17, 0.0f, 'E'}}));
}

TEST(Sortirovka, NumberBeforeAndAfterStart) {
  Start();
  Snapshot s;
  EXPECT_EQ(Word(kNotKeyword, 42, 'N'), 0);  // ignored
  EXPECT_EQ(Changes(s), kNothing);
  EXPECT_EQ(Word(kTCH, 0, 'N'), 100);
  EXPECT_EQ(Word(kNotKeyword, 42, 'Y'), 0);
  EXPECT_EQ(Changes(s), (std::vector<Record>{{0, 42.0f, '0'}}));

  Start();
  Word(kSTART, 0, 'N');
  Snapshot s2;
  EXPECT_EQ(Word(kNotKeyword, 10, 'N'), 0);  // appended
  EXPECT_EQ(Word(kFALL, 0, 'N'), 100);
  EXPECT_EQ(Word(kNotKeyword, 1, 'Y'), 0);  // completes FALL and is appended too
  EXPECT_EQ(Changes(s2),
            (std::vector<Record>{{3, -103.0f, '1'}, {16, 10.0f, 'Y'}, {17, 1.0f, 'Y'}}));
}

// ---- The flag of a flag command ----

TEST(Sortirovka, FlagCommandKeepsEightBitsOfTheIntegerPart) {
  auto flag = [](float v) {
    Start();
    Word(kTIP, 0, 'N');
    Word(kNotKeyword, v, 'Y');
    EXPECT_EQ(RR[8], -108.0f);
    return flagRR[8];
  };
  EXPECT_EQ(flag(0), '0');
  EXPECT_EQ(flag(2), '2');
  EXPECT_EQ(flag(2.9f), '2');
  EXPECT_EQ(flag(12), '0' + 12);
  EXPECT_EQ(flag(35), 'S');
  EXPECT_EQ(flag(80), static_cast<char>(128));
  // Numbers whose remainder mod 256 is 128 to 255: the byte '0' + n, wrapped
  // past 255 from 208 on.
  EXPECT_EQ(flag(128), static_cast<char>(176));
  EXPECT_EQ(flag(200.7f), static_cast<char>(248));
  EXPECT_EQ(flag(207), static_cast<char>(255));
  EXPECT_EQ(flag(208), static_cast<char>(0));
  EXPECT_EQ(flag(255), '0' - 1);
  EXPECT_EQ(flag(256 + 128), static_cast<char>(176));
  EXPECT_EQ(flag(1000), static_cast<char>('0' + 232 - 256));
  EXPECT_EQ(flag(300.5f), '0' + 44);
  EXPECT_EQ(flag(16777300.0f), static_cast<char>('0' + 84));
  EXPECT_EQ(flag(2147483648.0f), '0');
  EXPECT_EQ(flag(4294967296.0f), '0');
  EXPECT_EQ(flag(1e30f), '0');
  EXPECT_EQ(flag(std::numeric_limits<float>::infinity()), '0');
  EXPECT_EQ(flag(std::numeric_limits<float>::quiet_NaN()), '0');
}

// ---- Whole buffers ----

TEST(Obrabotka, SettingsAndList) {
  const Z list = {{0, 1.0f, '0'},   {1, 100.0f, '1'}, {15, -2.0f, 'S'},
                  {16, 10.0f, 'Y'}, {17, 20.0f, 'Y'}, {18, 0.0f, 'E'}};
  EXPECT_EQ(Records("TCH,1,ZNACH,100,START,10,20,END,"), list);
  EXPECT_EQ(countst(), 16);
  EXPECT_EQ(count(16), 17);
  // The last word has no comma: no END marker.
  EXPECT_EQ(Records("TCH,1,ZNACH,100,START,10,20,END"), Z(list.begin(), list.end() - 1));
  EXPECT_EQ(Records("TCH,1,ZNACH,100,START,10,20,END,30,"), (list + Z{{19, 30.0f, 'Y'}}));
}

TEST(Obrabotka, TheOverviewExample) {
  EXPECT_EQ(Records("TCH,50,TIP,1,START,NUL,10,12,22,END,"), (Z{{0, 50.0f, '0'},
                                                                {8, -108.0f, '1'},
                                                                {15, -2.0f, 'S'},
                                                                {16, -1.0f, 'V'},
                                                                {17, 10.0f, 'Y'},
                                                                {18, 12.0f, 'Y'},
                                                                {19, 22.0f, 'Y'},
                                                                {20, 0.0f, 'E'}}));
}

TEST(Obrabotka, AbandonedCommands) {
  EXPECT_EQ(Records("TCH,ZNACH,5,"), (Z{{0, 0.0f, '0'}, {1, 0.0f, '1'}}));
  EXPECT_EQ(Records("START,TCH,ZNACH,5,"),
            (Z{{0, 0.0f, '0'}, {1, 0.0f, '1'}, {15, -2.0f, 'S'}, {16, 5.0f, 'Y'}}));
  EXPECT_EQ(Records("START,TCH,5,"), (Z{{0, 5.0f, '0'}, {15, -2.0f, 'S'}, {16, 5.0f, 'Y'}}));
  // END while TCH waits: appended at slot 0 (no START yet), TCH abandoned.
  EXPECT_EQ(Records("TCH,END,3,"), (Z{{0, 0.0f, 'E'}}));
  EXPECT_EQ(Records("FALL,TIP,2,FOTCL,0,"), (Z{{9, -109.0f, '0'}}));
  EXPECT_EQ(Records("FALL,1,TIP,2,"), (Z{{3, -103.0f, '1'}, {8, -108.0f, '2'}}));
  EXPECT_EQ(Records("42,N,Y,P,Z,"),
            (Z{{4, -104.0f, 'N'}, {5, -105.0f, 'Y'}, {6, -106.0f, 'P'}, {7, -107.0f, 'Z'}}));
}

TEST(Obrabotka, OddWords) {
  const Z start = {{15, -2.0f, 'S'}};
  // Empty words are the number 0.
  EXPECT_EQ(Records("START,,1,,"), (start + Z{{16, 0.0f, 'Y'}, {17, 1.0f, 'Y'}, {18, 0.0f, 'Y'}}));
  EXPECT_EQ(
      Records("7,START,tch,TC,TCHX,q,"),
      (start + Z{{16, 7366.0f, 'Y'}, {17, 379.0f, 'Y'}, {18, 38180.0f, 'Y'}, {19, 65.0f, 'Y'}}));
  // Words of 16 and of 200 characters: no keyword, read whole.
  EXPECT_EQ(Records("START,STARTSTARTSTART1," + std::string(199, '0') + "7,0000000000000009,"),
            (start + Z{{16, Number("STARTSTARTSTART1"), 'Y'}, {17, 7.0f, 'Y'}, {18, 9.0f, 'Y'}}));
}

TEST(Obrabotka, NulAndEndBeforeStartCountFromSlotZero) {
  EXPECT_EQ(Records("NUL,END,START,NUL,"),
            (Z{{0, -1.0f, 'V'}, {1, 0.0f, 'E'}, {15, -2.0f, 'S'}, {16, -1.0f, 'V'}}));
  // A second START rewrites the list from its beginning.
  EXPECT_EQ(Records("START,1,2,3,START,4,"),
            (Z{{15, -2.0f, 'S'}, {16, 4.0f, 'Y'}, {17, 2.0f, 'Y'}, {18, 3.0f, 'Y'}}));
}

// ---- A full list ----

/// The entries that found no slot left in the table.
int Dropped() {
  const WordNote* w = nullptr;
  const int n = word_notes(&w);
  return static_cast<int>(
      std::count_if(w, w + n, [](const WordNote& v) { return v.slot == kSlots; }));
}

std::string ComponentList(int numbers, bool end) {
  std::string s = "START,";
  for (int k = 1; k <= numbers; ++k) {
    s += std::to_string(k) + ",";
  }
  return end ? s + "END," : s;
}

TEST(Obrabotka, ListHoldsAtMost184Entries) {
  Interpret(ComponentList(183, true));
  EXPECT_EQ(Dropped(), 0);
  EXPECT_EQ(RR[198], 183.0f);
  EXPECT_EQ(flagRR[199], 'E');
  EXPECT_EQ(count(countst()), 198);

  Interpret(ComponentList(184, true));
  EXPECT_EQ(Dropped(), 1);
  EXPECT_EQ(RR[199], 184.0f);
  EXPECT_EQ(flagRR[199], 'Y');

  Interpret(ComponentList(250, true));
  EXPECT_EQ(Dropped(), 67);
  EXPECT_EQ(RR[199], 184.0f);
  EXPECT_EQ(RR[16], 1.0f);
}

TEST(Obrabotka, NulBeforeStartStopsAtTheLastSlot) {
  std::string s;
  for (int k = 0; k < 205; ++k) {
    s += k % 2 ? "END," : "NUL,";
  }
  Interpret(s);
  EXPECT_EQ(Dropped(), 5);
  EXPECT_EQ(flagRR[0], 'V');
  EXPECT_EQ(flagRR[199], 'E');
  EXPECT_EQ(flagRR[15], 'E');  // not 'S': numbers are still not components
  Snapshot s2;
  EXPECT_EQ(Word(kNotKeyword, 1, 'N'), 0);
  EXPECT_EQ(Changes(s2), kNothing);
}
