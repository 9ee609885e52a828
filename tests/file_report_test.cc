#include "report/file_report.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "report/console_report.h"
#include "report_test_util.h"
#include "support/test_util.h"
#include "text/file_system.h"
#include "worked_example.h"

namespace {

const std::string kHead =
    std::string(worked_example::kFHeader) + worked_example::kFOnceMode + worked_example::kFFlagsYP;
const char* const kMatch1 = worked_example::kFMatch1;
const char* const kStop50 = worked_example::kFStop50;
const char* const kExampleLists = worked_example::kFLists;

/// Each test works in a fresh directory of its own.
class FPRezaltsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    old_ = std::filesystem::current_path();
    dir_ = make_temp_dir();
    ASSERT_FALSE(dir_.empty());
    std::filesystem::current_path(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all, ec);
    std::filesystem::current_path(old_);
    remove_tree(dir_);
  }

  /// Runs the file report; `console_` gets what it printed on the console
  /// and `err_` what it said on the error stream.
  int Write(int n, float tch, int N, int Ns, char f1 = 'Y', char f2 = 'P') {
    ConsoleCapture cap;
    int r = fPRezalts(n, &tch, N, &f1, &f2, Ns);
    console_ = cap.text();
    err_ = cap.errors();
    return r;
  }

  /// The report's file as written.
  std::string File() { return read_file(kResultFile); }

  /// The names in the working directory.
  std::set<std::string> Names() { return names_in("."); }

  std::filesystem::path old_;
  std::string dir_;
  std::string console_;
  std::string err_;
};

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

}  // namespace

TEST_F(FPRezaltsTest, WorkedExample) {
  int n = WorkedExample();
  ASSERT_EQ(Write(n, 50.0f, 19, 16), 0);
  std::string f = File();
  EXPECT_EQ(f, to_cp1251(std::string(kHead) + kMatch1 + kStop50 + kExampleLists));
  // Windows-1251 bytes, one per character; the head lines are 67 bytes each
  // (without the CR that Windows puts before each line feed).
  if (kWindows) std::erase(f, '\r');
  EXPECT_EQ(f.find('\n'), 66u);
  EXPECT_EQ(f.find('\n', 67), 133u);
  EXPECT_EQ(f.substr(69, 8), "\xC2\xE0\xF0\xE8\xE0\xED\xF2\xFB");  // "Варианты"
  EXPECT_EQ(f.substr(f.size() - 14), "\n\t\xCA\xEE\xED\xE5\xF6 \xF4\xE0\xE9\xEB\xE0\n");
  EXPECT_EQ(console_, "");
  EXPECT_EQ(Names(), std::set<std::string>{kResultFile});
}

TEST_F(FPRezaltsTest, WorkedExampleWithRepeatedUse) {
  int n = WorkedExample();
  fall = 1;
  ASSERT_EQ(Write(n, 50.0f, 19, 16), 0);
  std::string expected = std::string(worked_example::kFHeader) + worked_example::kFRepeatMode +
                         worked_example::kFFlagsYP + kMatch1 + worked_example::kFMatches23 +
                         kStop50 + kExampleLists;
  EXPECT_EQ(File(), to_cp1251(expected));
}

TEST_F(FPRezaltsTest, NoPairsAndNoList) {
  SetComponents({-1.0f, 10.0f, 12.0f, 22.0f});
  SetTable({});
  ASSERT_EQ(Write(-1, 50.0f, 19, 16), 0);
  EXPECT_EQ(File(), to_cp1251(std::string(kHead) +
                              "\n=====================Rezalts end==============================\n"
                              "\tСписок использованных элементов\n"
                              "\n\tСписок не использованных элементов\n"
                              "R   0 =   -1,000000\tR   1 =   10,000000\tR   2 =   12,000000\t"
                              "R   3 =   22,000000\t"
                              "\n\tКонец файла\n"));

  reset_register();
  ASSERT_EQ(Write(-1, 50.0f, 198, 200), 0);
  EXPECT_EQ(File(), to_cp1251(std::string(kHead) +
                              "\n=====================Rezalts end==============================\n"
                              "\tСписок использованных элементов\n"
                              "\n\tСписок не использованных элементов\n"
                              "\n\tКонец файла\n"));
}

TEST_F(FPRezaltsTest, FiveEntriesToALine) {
  Series(2);  // Components 1 to 8; nothing printed when no record is taken.
  SetTable({});
  ASSERT_EQ(Write(-1, 0.0f, 23, 16), 0);
  EXPECT_NE(File().find(to_cp1251("R   5 =    5,000000\t\nR   6 =    6,000000\t")),
            std::string::npos);
}

TEST_F(FPRezaltsTest, StartsWithEveryComponentFree) {
  // The console marked what it printed (and more); the file starts afresh.
  int n = WorkedExample();
  flagRR.fill('N');
  flagRR[199] = 'E';
  ASSERT_EQ(Write(n, 50.0f, 19, 16), 0);
  EXPECT_EQ(File(), to_cp1251(std::string(kHead) + kMatch1 + kStop50 + kExampleLists));
  EXPECT_EQ(flagRR[199], 'E');
}

TEST_F(FPRezaltsTest, ThresholdAndOutputFlags) {
  int n = WorkedExample();
  ASSERT_EQ(Write(n, 0.0f, 19, 16), 0);
  EXPECT_EQ(count_of(File(), "Rezalts end>"), 0);
  WorkedExample();
  ASSERT_EQ(Write(n, 0.0001f, 19, 16), 0);
  EXPECT_EQ(count_of(File(), "Rezalts end>"), 0);
  WorkedExample();
  ASSERT_EQ(Write(n, 20.0f, 19, 16), 0);
  EXPECT_NE(File().find(
                to_cp1251("f_d%=0,000000\n\n\n=====================Rezalts end>20,000000% =====")),
            std::string::npos);

  WorkedExample();
  ASSERT_EQ(Write(n, 50.0f, 19, 16, 'Z', 'Z'), 0);
  std::string f = File();
  EXPECT_NE(f.find("=====================Flag = 'Z'||'Z'====="), std::string::npos);
  EXPECT_NE(
      f.find(to_cp1251("\n\nRsr_1_= 22,000000    flag_5 = Z \t flag_0 = P \t flagrr = Y \n\n")),
      std::string::npos);
  EXPECT_EQ(count_of(f, "Rsr_"), 1);
  WorkedExample();
  ASSERT_EQ(Write(n, 50.0f, 19, 16, 'N', 'N'), 0);
  EXPECT_EQ(count_of(File(), "Rsr_"), 0);
}

TEST_F(FPRezaltsTest, SeparatorEveryTenMatches) {
  int n = Series(10);
  ASSERT_EQ(Write(n, 0.0f, 55, 16), 0);
  EXPECT_EQ(count_of(File(), "Rsr_"), 10);
  EXPECT_EQ(count_of(File(), "------"), 0);

  n = Series(11);
  ASSERT_EQ(Write(n, 0.0f, 59, 16), 0);
  std::string f = File();
  EXPECT_EQ(count_of(f, "Rsr_"), 11);
  EXPECT_EQ(count_of(f, "------"), 1);
  EXPECT_NE(f.find(to_cp1251("f_d%=9,000000\n\n------\n\n\nRsr_11_= ")), std::string::npos);
}

TEST_F(FPRezaltsTest, QuitAtTheConsoleLeavesTheFileWhole) {
  int n = Series(11);
  float t = 0.0f;
  char f1 = 'Y';
  char f2 = 'P';
  {
    ConsoleCapture cap("q");
    PRezalts(n, &t, 59, &f1, &f2, 16, 1);
    EXPECT_EQ(count_of(cap.text(), "Rsr_"), 10);
  }
  ASSERT_EQ(Write(n, 0.0f, 59, 16), 0);
  std::string f = File();
  EXPECT_EQ(count_of(f, "Rsr_"), 11);
  EXPECT_NE(f.find(to_cp1251("\tСписок не использованных элементов\n\n\tКонец файла\n")),
            std::string::npos);
}

TEST_F(FPRezaltsTest, ImaginaryElementInsideTheList) {
  int N = SetComponents({10.0f, -1.0f, 22.0f, 12.0f});
  int n = SetTable({
      {22.0f, 0.0f, 3, -1, 'P', 0, 1},
      {22.0f, 0.0f, 4, 1, 'Y', 1, 0},
  });
  ASSERT_EQ(Write(n, 50.0f, N, 16), 0);
  EXPECT_EQ(File(), to_cp1251(std::string(kHead) +
                              "\n\nRsr_1_= 22,000000    flag_0 = P \t flag_1 = Y \t flagrr = Y \n\n"
                              "R3  Y = 22,00   || R0  Y = -1,00     and    R4  Y = 12,00   || "
                              "R1  Y = 10,00      f_d%=0,000000\n\n"
                              "\n=====================Rezalts end==============================\n"
                              "\tСписок использованных элементов\n"
                              "R   1 =   10,000000\tR   3 =   22,000000\tR   4 =   12,000000\t"
                              "\n\tСписок не использованных элементов\n"
                              "R   2 =   -1,000000\t"
                              "\n\tКонец файла\n"));
}

TEST_F(FPRezaltsTest, ReplacesAnEarlierFile) {
  write_file(kResultFile, std::string(5000, 'x'));
  int n = WorkedExample();
  ASSERT_EQ(Write(n, 50.0f, 19, 16), 0);
  EXPECT_EQ(File(), to_cp1251(std::string(kHead) + kMatch1 + kStop50 + kExampleLists));
  EXPECT_EQ(Names(), std::set<std::string>{kResultFile});
}

TEST_F(FPRezaltsTest, FailuresKeepTheEarlierFile) {
  const std::string full = kNotWritten + "на устройстве не осталось свободного места\n";
  int n = WorkedExample();

  // A directory of that name blocks the replacement.
  ASSERT_TRUE(std::filesystem::create_directory(kResultFile));
  EXPECT_EQ(Write(n, 50.0f, 19, 16), -1);
  EXPECT_EQ(console_, "");
  EXPECT_EQ(err_, kNotWritten + "это каталог\n");
  EXPECT_TRUE(std::filesystem::is_directory(kResultFile));
  EXPECT_EQ(Names(), std::set<std::string>{kResultFile});
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
    EXPECT_EQ(Write(n, 50.0f, 19, 16), -1);
    files = saved;
    EXPECT_EQ(console_, "");
    EXPECT_EQ(err_, full);
    EXPECT_EQ(File(), earlier);
    EXPECT_EQ(Names(), std::set<std::string>{kResultFile});
  }

  // A working directory that no longer exists: nothing can be created there.
  ASSERT_TRUE(std::filesystem::create_directory("gone"));
  std::filesystem::current_path("gone");
  ASSERT_TRUE(std::filesystem::remove(dir_ + "/gone"));
  EXPECT_EQ(Write(n, 50.0f, 19, 16), -1);
  EXPECT_EQ(console_, "");
  EXPECT_EQ(err_, kNotWritten + "нет такого файла или каталога\n");
  std::filesystem::current_path(dir_);
  EXPECT_EQ(File(), earlier);
  EXPECT_EQ(Names(), std::set<std::string>{kResultFile});
#endif
}

TEST_F(FPRezaltsTest, ReadOnlyDirectory) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows keeps no write permission on a directory";
#else
  if (geteuid() == 0) {
    GTEST_SKIP() << "root writes anywhere";
  }
  const std::string earlier = "earlier results\n";
  write_file(kResultFile, earlier);
  int n = WorkedExample();
  ASSERT_EQ(chmod(".", 0555), 0);
  EXPECT_EQ(Write(n, 50.0f, 19, 16), -1);
  EXPECT_EQ(console_, "");
  EXPECT_EQ(err_, kNotWritten + "отказано в доступе\n");
  EXPECT_EQ(File(), earlier);
  EXPECT_EQ(Names(), std::set<std::string>{kResultFile});
#endif
}
