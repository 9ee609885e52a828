// The two reports over the engine's tables: the console's paged listing and
// "Rezalts.txt". What they share is one table run in both layouts; then the
// worked example byte for byte in each, and what only the file meets.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "report/console_report.h"
#include "report/file_report.h"
#include "report_test_util.h"
#include "support/test_util.h"
#include "text/file_system.h"
#include "worked_example.h"

namespace {

using namespace worked_example;

enum class Layout { kConsole, kFile };

/// `utf8` as the layout holds it: the console in memory keeps UTF-8, the
/// file is Windows-1251.
std::string In(Layout layout, const std::string& utf8) {
  return layout == Layout::kFile ? to_cp1251(utf8) : utf8;
}

/// What one report left: its text as written, what it printed on the
/// console and said on the error stream, the console input it left unread.
struct Report {
  int result = 0;
  std::string text;
  std::string console;
  std::string err;
  std::string unread;
};

/// Runs the report in `layout` over the tables as they stand, the file in
/// the working directory; `typed` is the console's input.
Report ReportIn(Layout layout, int n, float tch, int N, int Ns, char f1 = 'Y', char f2 = 'P',
                const std::string& typed = "", int paging = 1) {
  Report r;
  ConsoleCapture cap(typed);
  if (layout == Layout::kConsole) {
    r.result = PRezalts(n, &tch, N, &f1, &f2, Ns, paging);
  } else {
    r.result = fPRezalts(n, &tch, N, &f1, &f2, Ns);
    r.text = read_file(kResultFile);
  }
  for (int c; (c = std::getc(console.in)) != EOF;)
    r.unread.push_back(static_cast<char>(c));
  r.console = cap.text();
  r.err = cap.errors();
  if (layout == Layout::kConsole) r.text = r.console;
  return r;
}

/// What a layout must show for one case: its "Rsr_" lines, its stops at the
/// threshold, its breaks (the console's paging prompts, the file's
/// separators), and pieces that must stand in it (UTF-8).
struct Shows {
  int matches;
  int stops;
  int breaks;
  std::vector<std::string> pieces;
};

Shows On(int matches, int stops, int breaks, const std::string& piece = "",
         const std::string& more = "") {
  Shows s{matches, stops, breaks, {}};
  for (const std::string& p : {piece, more})
    if (!p.empty()) s.pieces.push_back(p);
  return s;
}

/// One case of a behaviour both reports share; the setters change what the
/// reports are given beyond the tables.
struct Case {
  const char* name;
  int (*tables)();  ///< Sets up the tables; returns n.
  float tch;
  int N;
  Shows console;
  Shows file;
  bool whole = false;  ///< The one piece is the whole report.
  char f1 = 'Y';
  char f2 = 'P';
  std::string typed;
  const char* unread = nullptr;  ///< The console input left unread, when it matters.
  int paging = 1;
  int Ns = kFirstComponentSlot;

  Case Whole() const { return With(&Case::whole, true); }
  Case Flags(char a, char b) const { return With(&Case::f1, a).With(&Case::f2, b); }
  Case Typed(const char* keys, const char* left = nullptr) const {
    return With(&Case::typed, std::string(keys)).With(&Case::unread, left);
  }
  Case NoPaging() const { return With(&Case::paging, 0); }
  Case NoStart() const { return With(&Case::Ns, kSlots).With(&Case::N, kSlots - 2); }

  template <typename T>
  Case With(T Case::*field, T value) const {
    Case c = *this;
    c.*field = value;
    return c;
  }
};

Case Row(const char* name, int (*tables)(), float tch, int N, const Shows& console,
         const Shows& file) {
  Case c{};
  c.name = name;
  c.tables = tables;
  c.tch = tch;
  c.N = N;
  c.console = console;
  c.file = file;
  return c;
}

const char kPrompt[] = "------Для окончания вывода введите 'q'\n";
const char kSeparator[] = "------\n";

const std::string kHead = std::string(kResults) + kOnceMode + kFlagsYP;
const std::string kFHead = std::string(kFHeader) + kFOnceMode + kFFlagsYP;
const std::string kEndLine = "\n=====================Rezalts end==============================\n";
const char kEnd[] = "\n\a\tКонец программы";
const char kFEnd[] = "\n\tКонец файла\n";
const char kStop20[] =
    "\n== Вывод остановлен по превышению процента ошибки подбора f_d% > 20,0000 ==\n";
const char kFStop20[] = "\n=====================Rezalts end>20,000000% ===================\n";
const char kUnusedFour[] = "R0  =-1,000000\tR1  =10,000000\tR2  =12,000000\tR3  =22,000000\t\n";
const char kFUnusedFour[] =
    "R   0 =   -1,000000\tR   1 =   10,000000\tR   2 =   12,000000\tR   3 =   22,000000\t";
const char kZMatch[] =
    "Rsr_1_=22,000000    flag_5=Z \t flag_0=P   flagrr=Y \n"
    "R3 Y=22,00   || R2 Y=12,00    and  R1 Y=10,00   || R0 Y=-1,00    f_d%=0,000000\n\n\n=====";
const char kFZMatch[] = "\n\nRsr_1_= 22,000000    flag_5 = Z \t flag_0 = P \t flagrr = Y \n\n";
const std::string kBothLists =
    "\tСписок использованных элементов\n"
    "\n\tСписок не использованных элементов\n";

int Example() {
  return WorkedExample();
}
int ExampleRepeated() {
  int n = WorkedExample();
  fall = 1;
  return n;
}
int ExampleNaN() {
  int n = WorkedExample();
  Mb[1].f_de = std::numeric_limits<float>::quiet_NaN();
  return n;
}
/// Series(3), whose deviations are 0 to 5, with the third one set.
template <int kThird>
int Series3() {
  int n = Series(3);
  Mb[2].f_de = kThird == 2 ? 2.0f : 83.33334f;
  return n;
}
int NoPairs() {
  SetComponents({-1.0f, 10.0f, 12.0f, 22.0f});
  return SetTable({});
}
int NoList() {
  reset_register();
  flagRR.fill('Y');
  return -1;
}
/// Records naming components that no list holds: none counts as
/// available, and with repeated use they show flag '?' and no value.
template <int kFall>
int RecordsWithoutList() {
  int n = WorkedExample();
  reset_register();
  flagRR.fill('Y');
  fall = kFall;
  return n;
}
/// The imaginary element inside the list, after the head.
const std::string kImaginary =
    "Rsr_1_=22,000000    flag_0=P \t flag_1=Y   flagrr=Y \n"
    "R3 Y=22,00   || R0 Y=-1,00    and  R4 Y=12,00   || R1 Y=10,00    f_d%=0,000000\n\n" +
    kEndLine + "\tСписок использованных элементов\n" +
    "R1  =10,000000\tR3  =22,000000\tR4  =12,000000\t"
    "\n\tСписок не использованных элементов\n"
    "R2  =-1,000000\t" +
    kEnd;
const std::string kFImaginary =
    "\n\nRsr_1_= 22,000000    flag_0 = P \t flag_1 = Y \t flagrr = Y \n\n"
    "R3  Y = 22,00   || R0  Y = -1,00     and    R4  Y = 12,00   || R1  Y = 10,00      "
    "f_d%=0,000000\n\n" +
    kEndLine + "\tСписок использованных элементов\n" +
    "R   1 =   10,000000\tR   3 =   22,000000\tR   4 =   12,000000\t"
    "\n\tСписок не использованных элементов\n"
    "R   2 =   -1,000000\t" +
    kFEnd;

int ImaginaryInside() {
  // 10, NUL, 22, 12: the NUL's pairs carry negative numbers. They show the
  // imaginary element itself, not the component at relative index 0, and
  // use nothing up.
  SetComponents({10.0f, -1.0f, 22.0f, 12.0f});
  return SetTable({
      {22.0f, 0.0f, 3, -1, 'P', 0, 1},
      {22.0f, 0.0f, 4, 1, 'Y', 1, 0},
  });
}
int EightUnused() {
  Series(2);
  return SetTable({});
}
template <int kMatches>
int SeriesOf() {
  return Series(kMatches);
}

const float kAbove2 = std::nextafter(2.0f, 3.0f);
const float kAbove83 = std::nextafter(83.33334f, 100.0f);

}  // namespace

TEST(Report, SharedBehavioursInBothLayouts) {
  const std::string rsr4 = "Rsr_4_=17,000000    flag_1=P \t flag_3=P   flagrr=N \n";
  const std::string frsr4 = "\n\nRsr_4_= 17,000000    flag_1 = P \t flag_3 = P \t flagrr = N \n\n";
  const std::string page = "f_d%=9,000000\n\n" + std::string(kPrompt);
  const Case cases[] = {
      // The threshold: below 0.0001, zero included, every rank is walked.
      Row("no threshold at 0", ExampleRepeated, 0.0f, 19, On(4, 0, 0, rsr4), On(4, 0, 0, frsr4)),
      Row("none at 0.0001", ExampleRepeated, 0.0001f, 19, On(4, 0, 0, rsr4), On(4, 0, 0, frsr4)),
      Row("none below 0", ExampleRepeated, -5.0f, 19, On(4, 0, 0, rsr4), On(4, 0, 0, frsr4)),
      // A deviation equal to the threshold stops, before its match is looked at.
      Row("stop at 20", Example, 20.0f, 19, On(1, 1, 0, kHead + kMatch1 + kStop20 + kLists),
          On(1, 1, 0, kFHead + kFMatch1 + kFStop20 + kFLists))
          .Whole(),
      Row("equal stops", Series3<2>, 2.0f, 27, On(2, 1, 0), On(2, 1, 0)),
      Row("a float above goes on", Series3<2>, kAbove2, 27, On(3, 1, 0), On(3, 1, 0)),
      Row("equal stops, large", Series3<83>, 83.33334f, 27, On(2, 1, 0), On(2, 1, 0)),
      Row("a float above, large", Series3<83>, kAbove83, 27, On(3, 0, 0), On(3, 0, 0)),
      Row("just above 0.0001 holds", Example, 0.00011f, 19, On(1, 1, 0, "f_d% >  0,0001 ==\n"),
          On(1, 1, 0, "Rezalts end>0,000110% =")),
      Row("not a number never stops", ExampleNaN, 50.0f, 19, On(1, 0, 0), On(1, 0, 0)),

      // Output flags. 'Z': the pairs without a partner, with record 0 as
      // partner, deviation 0; 'N' selects nothing.
      Row("Z", Example, 50.0f, 19, On(1, 0, 0, "результата 'Z' 'Z'", kZMatch),
          On(1, 0, 0, "=====================Flag = 'Z'||'Z'=====", kFZMatch))
          .Flags('Z', 'Z'),
      Row("N", Example, 50.0f, 19, On(0, 0, 0, kUnusedFour), On(0, 0, 0, kFUnusedFour))
          .Flags('N', 'N'),

      Row("imaginary element inside the list", ImaginaryInside, 50.0f, 19,
          On(1, 0, 0, kHead + kImaginary), On(1, 0, 0, kFHead + kFImaginary))
          .Whole(),

      // No pairs: every component unused. No START: no component slot at all.
      Row("no pairs", NoPairs, 50.0f, 19,
          On(0, 0, 0, kHead + kEndLine + kBothLists + kUnusedFour + kEnd),
          On(0, 0, 0, kFHead + kEndLine + kBothLists + kFUnusedFour + kFEnd))
          .Whole(),
      Row("no list", NoList, 50.0f, 0, On(0, 0, 0, kHead + kEndLine + kBothLists + kEnd),
          On(0, 0, 0, kFHead + kEndLine + kBothLists + kFEnd))
          .Whole()
          .NoStart(),
      Row("records without a list", RecordsWithoutList<0>, 50.0f, 0, On(0, 1, 0), On(0, 1, 0))
          .NoStart(),
      Row("records without a list, repeated use", RecordsWithoutList<1>, 50.0f, 0,
          On(3, 1, 0, "flagrr=N \nR2 ?=0,00    || R1 ?=0,00     and  R3 ?=0,00    || R0 Y=-1,00 ",
             kBothLists + kEnd),
          On(3, 1, 0,
             "flagrr = N \n\nR2  ? = 0,00    || R1  ? = 0,00      and    R3  ? = 0,00    || R0  "
             "Y = -1,00 ",
             kBothLists + kFEnd))
          .NoStart(),

      // Entries per line: four on the console, five in the file.
      Row("entries per line", EightUnused, 0.0f, 23, On(0, 0, 0, "R4  = 4,000000\t\nR5  = 5,"),
          On(0, 0, 0, "R   5 =    5,000000\t\nR   6 =    6,")),

      // Every ten matches: the console's prompt, the file's separator.
      Row("exactly ten", SeriesOf<10>, 0.0f, 55, On(10, 0, 0), On(10, 0, 0)).Typed("q", "q"),
      Row("eleven and q", SeriesOf<11>, 0.0f, 59,
          On(10, 0, 1, page + kEndLine,
             "не использованных элементов\nR41 =41,000000\tR42 =42,000000\t"),
          On(11, 0, 1, "f_d%=9,000000\n\n------\n\n\nRsr_11_= "))
          .Typed("q\n", "\n"),
      Row("eleven and x", SeriesOf<11>, 0.0f, 59, On(11, 0, 1, page + "Rsr_11_="), On(11, 0, 1))
          .Typed("x"),
      Row("eleven and Q", SeriesOf<11>, 0.0f, 59, On(11, 0, 1, page + "Rsr_11_="), On(11, 0, 1))
          .Typed("Q"),
      Row("eleven, no input", SeriesOf<11>, 0.0f, 59, On(11, 0, 1, page + "Rsr_11_="),
          On(11, 0, 1)),
      Row("eleven without paging", SeriesOf<11>, 0.0f, 59, On(11, 0, 0), On(11, 0, 1))
          .NoPaging()
          .Typed("q", "q"),
      // The first prompt takes x, the second the waiting q at once.
      Row("twenty-one and xq", SeriesOf<21>, 0.0f, 99, On(20, 0, 2), On(21, 0, 2)).Typed("xq\n"),

      Row("repeated use", ExampleRepeated, 50.0f, 19,
          On(3, 1, 0,
             kResults + std::string(kRepeatMode) + kFlagsYP + kMatch1 + kMatches23 + kStop50 +
                 kLists),
          On(3, 1, 0,
             kFHeader + std::string(kFRepeatMode) + kFFlagsYP + kFMatch1 + kFMatches23 + kFStop50 +
                 kFLists))
          .Whole(),
  };
  ScopedTempDir dir(/*enter=*/true);
  for (const Case& c : cases) {
    for (Layout layout : {Layout::kConsole, Layout::kFile}) {
      const bool file = layout == Layout::kFile;
      SCOPED_TRACE(std::string(c.name) + (file ? " (file)" : " (console)"));
      const Shows& want = file ? c.file : c.console;
      const int n = c.tables();
      const Report r = ReportIn(layout, n, c.tch, c.N, c.Ns, c.f1, c.f2, c.typed, c.paging);
      EXPECT_EQ(r.result, 0);
      EXPECT_EQ(count_of(r.text, "Rsr_"), want.matches) << r.text;
      EXPECT_EQ(count_of(r.text, file ? "Rezalts end>" : "Вывод остановлен"), want.stops);
      EXPECT_EQ(count_of(r.text, In(layout, file ? kSeparator : kPrompt)), want.breaks);
      for (const std::string& piece : want.pieces) {
        if (c.whole)
          EXPECT_EQ(r.text, In(layout, piece));
        else
          EXPECT_NE(r.text.find(In(layout, piece)), std::string::npos) << piece << "\n" << r.text;
      }
      if (c.unread && !file) {
        EXPECT_EQ(r.unread, c.unread);
      }
    }
  }
}

TEST(Report, WorkedExampleOnTheConsole) {
  const int n = WorkedExample();
  EXPECT_EQ(ReportIn(Layout::kConsole, n, 50.0f, 19, kFirstComponentSlot).text,
            kHead + kMatch1 + kStop50 + kLists);
  // The imaginary element got its flag back; the three others are used.
  EXPECT_EQ(std::string(flagRR.data(), 4), "YNNN");
}

TEST(Report, WorkedExampleInTheFile) {
  ScopedTempDir dir(/*enter=*/true);
  write_file(kResultFile, std::string(5000, 'x'));  // replaced, not appended to
  const int n = WorkedExample();
  const Report r = ReportIn(Layout::kFile, n, 50.0f, 19, kFirstComponentSlot);
  std::string f = r.text;
  EXPECT_EQ(f, to_cp1251(kFHead + kFMatch1 + kFStop50 + kFLists));
  // Windows-1251 bytes, one per character; the head lines are 67 bytes each
  // (without the CR that Windows puts before each line feed).
  if (kWindows) std::erase(f, '\r');
  EXPECT_EQ(f.find('\n'), 66u);
  EXPECT_EQ(f.find('\n', 67), 133u);
  EXPECT_EQ(f.substr(69, 8), "\xC2\xE0\xF0\xE8\xE0\xED\xF2\xFB");  // "Варианты"
  EXPECT_EQ(f.substr(f.size() - 14), "\n\t\xCA\xEE\xED\xE5\xF6 \xF4\xE0\xE9\xEB\xE0\n");
  EXPECT_EQ(r.console, "");
  EXPECT_EQ(names_in("."), std::set<std::string>{kResultFile});
}

// ---- The file alone ----

TEST(FileReport, StartsWithEveryComponentFree) {
  // The console marked what it printed (and more); the file starts afresh.
  ScopedTempDir dir(/*enter=*/true);
  const int n = WorkedExample();
  flagRR.fill('N');
  flagRR[kSlots - 1] = 'E';
  EXPECT_EQ(ReportIn(Layout::kFile, n, 50.0f, 19, kFirstComponentSlot).text,
            to_cp1251(kFHead + kFMatch1 + kFStop50 + kFLists));
  EXPECT_EQ(flagRR[kSlots - 1], 'E');
}

TEST(FileReport, QuitAtTheConsoleLeavesTheFileWhole) {
  ScopedTempDir dir(/*enter=*/true);
  const int n = Series(11);
  EXPECT_EQ(
      count_of(ReportIn(Layout::kConsole, n, 0.0f, 59, kFirstComponentSlot, 'Y', 'P', "q").text,
               "Rsr_"),
      10);
  const std::string f = ReportIn(Layout::kFile, n, 0.0f, 59, kFirstComponentSlot).text;
  EXPECT_EQ(count_of(f, "Rsr_"), 11);
  EXPECT_NE(f.find(to_cp1251("\tСписок не использованных элементов\n\n\tКонец файла\n")),
            std::string::npos);
}

namespace {

const std::string kNotWritten = "Rezalts.txt: результаты не записаны: ";

#ifndef _WIN32
bool full_disk_unbuffered = false;

/// A result file on a full disk, whether a write fails at once or only at the flush.
FILE* OpenFullDisk(const char* /*final_name*/, std::string* tmp_name, int* /*mode_err*/) {
  *tmp_name = "Rezalts.txt.new";
  FILE* f = std::fopen("/dev/full", "w");
  if (f && full_disk_unbuffered) std::setvbuf(f, nullptr, _IONBF, 0);
  return f;
}
#endif

/// Writes the worked example's file expecting failure: nothing on the
/// console, `err` on the error stream, nothing left beside the result file.
void ExpectFailure(const std::string& err) {
  const int n = WorkedExample();
  const Report r = ReportIn(Layout::kFile, n, 50.0f, 19, kFirstComponentSlot);
  EXPECT_EQ(r.result, -1);
  EXPECT_EQ(r.console, "");
  EXPECT_EQ(r.err, kNotWritten + err);
  EXPECT_EQ(names_in("."), std::set<std::string>{kResultFile});
}

}  // namespace

TEST(FileReport, FailuresKeepTheEarlierFile) {
  ScopedTempDir dir(/*enter=*/true);
  // A directory of that name blocks the replacement.
  ASSERT_TRUE(std::filesystem::create_directory(kResultFile));
  ExpectFailure("это каталог\n");
  EXPECT_TRUE(std::filesystem::is_directory(kResultFile));
  ASSERT_TRUE(std::filesystem::remove(kResultFile));
#ifdef _WIN32
  GTEST_SKIP() << "Windows has no full device, and a working directory cannot be removed";
#else
  // A full disk, whether a write fails at once or only at the flush.
  const std::string earlier = "earlier results\n";
  const FileSystem saved = files;
  for (bool unbuffered : {false, true}) {
    write_file(kResultFile, earlier);
    write_file("Rezalts.txt.new", "");
    full_disk_unbuffered = unbuffered;
    files.create_beside = OpenFullDisk;
    ExpectFailure("на устройстве не осталось свободного места\n");
    files = saved;
    EXPECT_EQ(read_file(kResultFile), earlier);
  }

  // A working directory that no longer exists: nothing can be created there.
  ASSERT_TRUE(std::filesystem::create_directory("gone"));
  std::filesystem::current_path("gone");
  ASSERT_TRUE(std::filesystem::remove(dir / "gone"));
  const Report r = ReportIn(Layout::kFile, WorkedExample(), 50.0f, 19, kFirstComponentSlot);
  EXPECT_EQ(r.result, -1);
  EXPECT_EQ(r.err, kNotWritten + "нет такого файла или каталога\n");
  std::filesystem::current_path(dir.path());
  EXPECT_EQ(read_file(kResultFile), earlier);
  EXPECT_EQ(names_in("."), std::set<std::string>{kResultFile});

  // A directory that cannot be written (root writes anywhere).
  if (geteuid() != 0) {
    ASSERT_EQ(chmod(".", 0555), 0);
    ExpectFailure("отказано в доступе\n");
    EXPECT_EQ(read_file(kResultFile), earlier);
  }
#endif
}
