// Runs in trouble through the real executable: a data file that cannot be
// used, results or a console that cannot be written. Each one ends with
// status 2, says why in one line on standard error, shows the usual console,
// and leaves an earlier "Rezalts.txt" exactly as it was.

#include <sys/stat.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/test_util.h"

namespace {

const char kEarlier[] = "earlier results\r\n\x01\xff";
const char kNoComponents[] = "N Y P Z <> 0 0 0 0     Ns=200     N=198     Число компонентов -1\n";
const char kEnd[] = "\n\a\tКонец программы";

/// How the run is set up beyond its data file.
enum class Setup {
  kNone,
  kNoDataFile,      ///< data_1.txt is removed.
  kOtherUser,       ///< The run is not root's: permissions count.
  kFileSizeLimit,   ///< Files may not grow beyond 4 KiB (ulimit -f).
  kResultFileOpen,  ///< Another program holds Rezalts.txt open (Windows).
};

struct Row {
  const char* name;
  std::string data;     ///< Content of data_1.txt.
  std::string input;    ///< What the user types.
  std::string console;  ///< Must stand on standard output.
  std::string err;      ///< Standard error, exactly.
  Setup setup = Setup::kNone;
  const char* fault = nullptr;  ///< What the system calls on data_1.txt fail with (with_fault).
};

/// The names in `dir`, dot files aside.
std::vector<std::string> Names(const ScopedTempDir& dir) {
  std::vector<std::string> v;
  for (const std::string& n : names_in(dir.path()))
    if (n[0] != '.') v.push_back(n);
  return v;
}

#ifdef _WIN32
/// What Windows has not: named pipes and symbolic links made by anyone,
/// /dev, permission bits, names beyond MAX_PATH said apart from missing ones.
const std::set<std::string> kPosixOnly = {
    "named pipe",         "device",           "name too long for the system",
    "symbolic link loop", "file as a folder", "permission denied",
    "file size limit",    "status unreadable"};
#endif

void Check(const Row& row) {
  SCOPED_TRACE(row.name);
  ScopedTempDir dir;
  ASSERT_TRUE(std::filesystem::create_directory(dir / "catalog"));
  write_file(dir / "data_1.txt", row.data);
  std::string path = dir / "Rezalts.txt";
  write_file(path, kEarlier);
#ifndef _WIN32
  ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0644), 0);
  ASSERT_EQ(symlink("loop", (dir / "loop").c_str()), 0);
  write_file(dir / "secret.txt", "START,10,20,END,");
  chmod((dir / "secret.txt").c_str(), 0);
  chmod(path.c_str(), 0640);
#endif
  if (row.setup == Setup::kNoDataFile) std::remove((dir / "data_1.txt").c_str());
  std::vector<std::string> before = Names(dir);

  Invocation how;
#ifndef _WIN32
  if (row.setup == Setup::kOtherUser) {
    chmod(dir.path().c_str(), 0777);
    // Root reads and writes whatever the permissions say: run as nobody.
    if (geteuid() == 0)
      how.wrapper = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
  }
  if (row.setup == Setup::kFileSizeLimit) how.wrapper = {"prlimit", "--fsize=4096"};
  if (row.fault && !with_fault(&how, row.fault, "data_1.txt")) return;  // no strace here
#endif
#ifdef _WIN32
  HANDLE held = row.setup == Setup::kResultFileOpen
                    ? CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                    : nullptr;
  RunResult r = run_podbor_split(dir.path(), row.input, how);
  if (held) CloseHandle(held);
#else
  RunResult r = run_podbor_split(dir.path(), row.input, how);
#endif

  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find(row.console), std::string::npos) << r.out.substr(0, 2000);
  EXPECT_EQ(r.out.substr(r.out.size() - std::string(kEnd).size()), kEnd);
  EXPECT_EQ(r.err, row.err);
  EXPECT_EQ(read_file(path), kEarlier);
#ifndef _WIN32
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
#endif
  EXPECT_EQ(Names(dir), before);
}

std::string Stored(int k) {
  std::string s = "START,";
  while (static_cast<int>(s.size()) < k)
    s += "1";
  return s;
}

const char kName[] = "data_1.txt\n";
const std::string kLongName(300, 'n');

}  // namespace

TEST(Trouble, KeepsTheEarlierResultFileAndSaysWhy) {
  const std::vector<Row> rows = {
      {"missing file", "", "missing.txt\n",
       "\nИмя файла missing.txt   файл не найден\n" + std::string(kNoComponents),
       "missing.txt: не удалось открыть файл данных: нет такого файла или каталога\n"},
      {"input ends at the prompt", "", "", "\nИмя файла data_1.txt   файл не найден\n",
       "data_1.txt: не удалось открыть файл данных: нет такого файла или каталога\n",
       Setup::kNoDataFile},
      {"directory", "", "catalog\n", "catalog   файл не найден\n",
       "catalog: не удалось открыть файл данных: не является обычным файлом\n"},
      {"named pipe", "", "pipe\n", "pipe   файл не найден\n",
       "pipe: не удалось открыть файл данных: не является обычным файлом\n"},
      {"device", "", "/dev/zero\n", "/dev/zero   файл не найден\n",
       "/dev/zero: не удалось открыть файл данных: не является обычным файлом\n"},
      {"name too long for the system", "", kLongName + "\n", kLongName + "   файл не найден\n",
       kLongName + ": не удалось открыть файл данных: слишком длинное имя файла\n"},
      {"symbolic link loop", "", "loop\n", "loop   файл не найден\n",
       "loop: не удалось открыть файл данных: слишком много уровней символических ссылок\n"},
      {"file as a folder", "", "data_1.txt/x\n", "data_1.txt/x   файл не найден\n",
       "data_1.txt/x: не удалось открыть файл данных: часть пути не является каталогом\n"},
      {"permission denied", "", "secret.txt\n", "secret.txt   файл не найден\n",
       "secret.txt: не удалось открыть файл данных: отказано в доступе\n", Setup::kOtherUser},
      {"name of 4096 bytes", "", std::string(5000, 'x') + " more\n",
       std::string(4096, 'x') + "   файл не найден\n" + kNoComponents,
       "Имя файла данных длиннее 4095 байт: файл не открыт\n"},
      {"too large", Stored(3001), kName,
       "  файл найден\n\nФайл слишком большой\n" + std::string(kNoComponents),
       "data_1.txt: файл данных слишком большой: учитывается не более 3000 символов\n"},
      {"empty file", "", kName, "Число символов=0   Число слов=1\n",
       "data_1.txt: в файле данных нет компонентов (нет START или список пуст)\n"},
      {"only comments", "// TCH, 50,\n/* START, 10, 20, END, */ // x\n", kName,
       "Число символов=0   Число слов=1\n=========Конец",
       "data_1.txt: в файле данных нет компонентов (нет START или список пуст)\n"},
      {"lower-case keywords", "tch, 50, start, 10, 20, end,\n", kName, kNoComponents,
       "data_1.txt:1:1: предупреждение: «tch» прочитано как число, а не как ключевое слово "
       "TCH: ключевые слова пишутся заглавными латинскими буквами\n"
       "data_1.txt:1:10: предупреждение: «start» прочитано как число, а не как ключевое слово "
       "START: ключевые слова пишутся заглавными латинскими буквами\n"
       "data_1.txt:1:25: предупреждение: «end» прочитано как число, а не как ключевое слово "
       "END: ключевые слова пишутся заглавными латинскими буквами\n"
       "data_1.txt: в файле данных нет компонентов (нет START или список пуст)\n"},
      {"empty list", "TCH,50,START,END,", kName, "Ns=16     N=15     Число компонентов 0\n",
       "data_1.txt: в файле данных нет компонентов (нет START или список пуст)\n"},
      {"unknown pair type", "TIP,3,START,10,20,END,", kName,
       "Число компонентов 2\n======================== Результаты",
       "Недопустимый тип соединения TIP=3: допустимы только 1 (ПОСЛЕДОВАТЕЛЬНО) и 2 "
       "(ПАРАЛЛЕЛЬНО); пары не рассчитаны\n"},
      {"file size limit", "FALL,1,START,1,2,3,4,5,6,7,8,9,10,END,", kName, "Число компонентов 10\n",
       "Rezalts.txt: результаты не записаны: файл слишком велик\n", Setup::kFileSizeLimit},
      {"status unreadable", "START,10,20,END,", kName, "data_1.txt   файл не найден\n",
       "data_1.txt: не удалось открыть файл данных: ошибка ввода-вывода\n", Setup::kNone,
       "fstat,newfstatat,statx:error=EIO"},
      {"result file open elsewhere", "START,10,20,END,", kName, "Число компонентов 2\n",
       "Rezalts.txt: результаты не записаны: файл занят: возможно, он открыт в другой программе\n",
       Setup::kResultFileOpen},
  };
  for (const Row& row : rows) {
    if (!kWindows && row.setup == Setup::kResultFileOpen) continue;
#ifdef _WIN32
    if (kPosixOnly.count(row.name) != 0) continue;
#endif
    Check(row);
  }
}

TEST(Trouble, AConsoleThatCannotBeWritten) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows has no full device";
#else
  ScopedTempDir dir;
  write_file(dir / "data_1.txt", "START,10,20,END,");
  Invocation how;
  how.out = open("/dev/full", O_WRONLY | O_CLOEXEC);
  RunResult r = run_podbor_split(dir.path(), kName, how);
  close(how.out);
  EXPECT_EQ(r.status, 2);
  // The result file does not depend on the console, and the run says it
  // was written.
  EXPECT_EQ(r.err,
            "Не удалось вывести результаты на консоль: на устройстве не осталось свободного "
            "места\nЗаписано: " +
                (dir / "Rezalts.txt\n"));
  EXPECT_NE(read_file(dir / "Rezalts.txt").find(to_cp1251("\tКонец файла\n")), std::string::npos);
#endif
}

TEST(Trouble, TheResultFileKeepsItsPermissions) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows files have no permission bits";
#else
  mode_t mask = umask(022);
  umask(mask);
  ScopedTempDir dir;
  write_file(dir / "data_1.txt", "START,10,20,END,");
  std::string path = dir / "Rezalts.txt";
  const std::string kNotSet = "Rezalts.txt: предупреждение: права доступа файла не установлены: ";
  // A new file gets what a plain fopen would give; a failure to carry the
  // permissions over is said, and the results are written all the same.
  const struct {
    int mode;  ///< -1: no earlier file.
    mode_t expected;
    std::string err;
    std::string fault;  ///< with_fault's
  } cases[] = {
      {0600, 0600, "", ""},
      {0640, 0640, "", ""},
      {0444, 0444, "", ""},
      {-1, 0666 & ~mask, "", ""},
      {06777, 0777, "", ""},
      {0640, 0600, kNotSet + "операция не позволена\n", "fchmod:error=EPERM"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    std::remove(path.c_str());
    if (c.mode >= 0) {
      write_file(path, kEarlier);
      chmod(path.c_str(), static_cast<mode_t>(c.mode));
    }
    Invocation how;
    if (!c.fault.empty() && !with_fault(&how, c.fault)) continue;  // no strace here
    RunResult r = run_podbor_split(dir.path(), kName, how);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, c.err);
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, c.expected);
    EXPECT_NE(read_file(path), kEarlier);
  }
#endif
}
