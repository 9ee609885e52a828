// Whole runs of the real executable with piped input, checked byte for byte
// on the console and in "Rezalts.txt".

#include <filesystem>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "support/in_memory_run.h"
#include "support/test_util.h"
#include "worked_example.h"

namespace {

const char kTraced[] = "TCH, 50, TIP, 1, START, NUL, 10, 12, 22, END,\n";

const char kDialogue[] =
    "========= Введите имя файла============= \n"
    "========= Информация о файле данных ============= \n"
    "\nИмя файла data_1.txt  файл найден\n";

const char kTracedHead[] =
    "\nЧисло символов=36   Число слов=11\n"
    "=========Конец информации о файле данных ============= \n"
    "\n"
    "N Y P Z <> 0 0 0 0     Ns=16     N=19     Число компонентов 4\n"
    "\nВ расcчётах присутствует мнимый пустой элемент R0=-1\n"
    "\nЧисло рассчитанных ПОСЛЕДОВАТЕЛЬНО элементов структуры 6\n\n";

using namespace worked_example;

/// The traced run, whole: console and result file, without and with the switch.
const std::string kConsole = std::string(kDialogue) + kTracedHead + kResults + kOnceMode +
                             kFlagsYP + kMatch1 + kStop50 + kLists;
const std::string kConsoleRepeat = std::string("argc=2\nargv=-\n") + kDialogue + kTracedHead +
                                   kResults + kRepeatMode + kFlagsYP + kMatch1 + kMatches23 +
                                   kStop50 + kLists;
const std::string kFile =
    std::string(kFHeader) + kFOnceMode + kFFlagsYP + kFMatch1 + kFStop50 + kFLists;
const std::string kFileRepeat =
    std::string(kFHeader) + kFRepeatMode + kFFlagsYP + kFMatch1 + kFMatches23 + kFStop50 + kFLists;

struct Outcome {
  RunResult r;
  std::string result_file;  ///< "Rezalts.txt" as written, or "(none)".
};

/// Runs podbor in a fresh directory holding data_1.txt with `data`.
Outcome RunOn(const std::string& data, const std::string& input = "data_1.txt\n",
              const Invocation& how = {}) {
  ScopedTempDir dir;
  write_file(dir / "data_1.txt", data);
  Outcome run;
  run.r = run_podbor(dir.path(), input, how);
  std::string path = dir / "Rezalts.txt";
  run.result_file = file_exists(path) ? read_file(path) : "(none)";
  return run;
}

}  // namespace

TEST(WholeRun, TracedRunByteForByte) {
  Outcome run = RunOn(kTraced);
  EXPECT_EQ(run.r.status, 0);
  EXPECT_EQ(run.r.out, kConsole);
  // Windows: the same text in Windows-1251 through a pipe, the file with CR LF.
  EXPECT_EQ(run.r.bytes, kWindows ? in_cp1251(kConsole) : kConsole);
  EXPECT_EQ(run.result_file, to_cp1251(kFile));
}

TEST(WholeRun, SwitchAllowsRepeatedUse) {
  Outcome run = RunOn(kTraced, "data_1.txt\n", {.args = {"-1"}});
  EXPECT_EQ(run.r.status, 0);
  EXPECT_EQ(run.r.out, kConsoleRepeat);
  EXPECT_EQ(run.result_file, to_cp1251(kFileRepeat));
}

TEST(WholeRun, Cp1251ConsoleGetsRawBytes) {
  Outcome run = RunOn(kTraced, "data_1.txt\n", {.env = {"LANG=C.UTF-8", "LC_ALL=ru_RU.CP1251"}});
  EXPECT_EQ(run.r.bytes, in_cp1251(kConsole));
}

TEST(WholeRun, InProcessRunsAgainAndAgainLikeTheExecutable) {
  ScopedTempDir dir(/*enter=*/true);
  for (int pass = 0; pass < 3; ++pass) {
    std::string text;
    EXPECT_EQ(in_memory_run(kTraced, "data_1.txt\n", &text), 0);
    EXPECT_EQ(text, kConsole);
    EXPECT_EQ(read_file("Rezalts.txt"), to_cp1251(kFile));
    // A run in between with other settings must leave nothing behind.
    EXPECT_EQ(in_memory_run("FALL,1,TIP,2,START,0,0,5,END,", "x\n", &text, "-1"), 1);
  }
}

namespace {

/// Six components whose series pairs give twelve printable matches with the
/// switch; their deviations are 0 (six times), 12.5, 14.3, 16.7, 40, 50, 133.3.
std::string Twelve(const char* tch) {
  return std::string("FALL,1,TCH,") + tch + ",START,10,20,30,40,50,60,END,\n";
}

}  // namespace

TEST(WholeRun, AFileNamedOnTheCommandLineRunsAsIfTyped) {
  const std::string kEcho = "argc=2\nargv=-\n";
  struct Case {
    std::string data;
    std::vector<std::string> named_args;  ///< The file named on the command line, answers piped ...
    std::string piped;
    std::vector<std::string> typed_args;  ///< ... against the name typed at the prompt.
    std::string typed;
  } cases[] = {
      {kTraced, {"data_1.txt"}, "", {}, "data_1.txt\n"},
      {kTraced, {"-1", "data_1.txt"}, "", {"-1"}, "data_1.txt\n"},
      {Twelve("60"), {"data_1.txt"}, "q", {}, "data_1.txt\nq"},
      {Twelve("60"), {"--", "data_1.txt"}, "x", {}, "data_1.txt\nx"},
      {kTraced, {"missing.txt"}, "", {}, "missing.txt\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.named_args));
    Outcome named = RunOn(c.data, c.piped, {.args = c.named_args});
    Outcome typed = RunOn(c.data, c.typed, {.args = c.typed_args});
    bool echoed = typed.r.out.compare(0, kEcho.size(), kEcho) == 0;
    EXPECT_EQ(named.r.out, typed.r.out.substr(echoed ? kEcho.size() : 0));
    EXPECT_EQ(named.r.status, typed.r.status);
    EXPECT_EQ(named.result_file, typed.result_file);
  }
}

TEST(WholeRun, AFailedMatchingKeepsTheEarlierResultFile) {
  ScopedTempDir dir;
  write_file(dir / "data_1.txt", "TIP,2,START,0,0,5,END,\n");
  const std::string earlier = to_cp1251(std::string(kFHeader) + "earlier run\n");
  write_file(dir / "Rezalts.txt", earlier);
  RunResult r = run_podbor(dir.path(), "data_1.txt\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("ПАРАЛЛЕЛЬНО элементов структуры 3\n\nПодбор невозможен"),
            std::string::npos);
  EXPECT_EQ(r.out.find("Результаты"), std::string::npos);
  EXPECT_EQ(read_file(dir / "Rezalts.txt"), earlier);
}

TEST(WholeRun, ACyrillicNameOnTheCommandLineOpens) {
  // On Windows the name goes through the wide command line and UTF-16 to the file system.
  ScopedTempDir dir;
  write_file(dir / "данные.txt", kTraced);
  RunResult r = run_podbor(dir.path(), "", {.args = {"данные.txt"}});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("\nИмя файла данные.txt  файл найден\n"), std::string::npos) << r.out;
  EXPECT_EQ(read_file(dir / "Rezalts.txt"), to_cp1251(kFile));
}

TEST(WholeRun, TheReasonFollowsTheConsoleLineItExplains) {
  // One terminal shows both streams: "not found" first, then why.
  ScopedTempDir dir;
  RunResult r = run_podbor(dir.path(), "missing.txt\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find("Имя файла missing.txt   файл не найден\nmissing.txt: не удалось открыть"),
            std::string::npos)
      << r.out;
}

// --most on the sample stock: the walk leaves a set among the unused parts
// and says so; --most reports it too, in both reports, and proves the count.
TEST(WholeRun, MostTakesTheSetsTheWalkLeaves) {
  ScopedTempDir dir;
  write_file(dir / "data_1.txt", read_file(examples_dir() + "/data_1.txt"));
  const struct {
    std::vector<std::string> args;
    int sets;
    const char* says;
  } cases[] = {
      {{"data_1.txt"}, 4, "podbor --most найдёт больше"},
      {{"-m", "data_1.txt"}, 5, "--most: подборок 5, и больше не составить никаким выбором"},
  };
  for (const auto& c : cases) {
    RunResult r = run_podbor_split(dir.path(), "", {c.args});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(count_of(r.out, "Rsr_"), c.sets);
    EXPECT_EQ(count_of(read_file(dir / "Rezalts.txt"), "Rsr_"), c.sets);
    EXPECT_EQ(count_of(r.out, "Вывод остановлен по превышению"), 1);
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
  }
}
