// Whole runs of the real executable with piped input, checked byte for byte
// on the console and in "Rezalts.txt".

#include <unistd.h>

#include <cstdlib>

#include <gtest/gtest.h>

#include "platform/cp1251.h"
#include "program1/v_pamyati.h"
#include "test_util.h"

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
    "\nЧисло рассчитанных ПОСЛЕДОВАТЕЛЬНО элементов структуры 6\n\n"
    "======================== Результаты ==================================\n\n";

const char kNoRepeat[] =
    "===== Варианты без повторных использований компонентов Flagrr='Y'=====\n\n";
const char kRepeat[] = "= Варианты с повторным использованием компонентов Flagrr='Y'||'N'=\n\n";

const char kMatch1[] =
    "================== Флаги вывода  результата 'Y' 'P' ==================\n\n"
    "Rsr_1_=22,000000    flag_3=P \t flag_2=P   flagrr=Y \n"
    "R2 Y=12,00   || R1 Y=10,00    and  R3 Y=22,00   || R0 Y=-1,00    f_d%=0,000000\n\n";

const char kMatches2And3[] =
    "Rsr_2_=11,000000    flag_0=P \t flag_1=P   flagrr=N \n"
    "R1 N=10,00   || R0 Y=-1,00    and  R2 N=12,00   || R0 Y=-1,00    f_d%=20,000000\n\n"
    "Rsr_3_=27,000000    flag_2=P \t flag_4=Z   flagrr=N \n"
    "R3 N=22,00   || R0 Y=-1,00    and  R3 N=22,00   || R1 N=10,00    f_d%=45,454544\n\n";

const char kTracedTail[] =
    "\n== Вывод остановлен по превышению процента ошибки подбора f_d% > 50,0000 ==\n"
    "\n=====================Rezalts end==============================\n"
    "\tСписок использованных элементов\n"
    "R1  =10,000000\tR2  =12,000000\tR3  =22,000000\t"
    "\n\tСписок не использованных элементов\n"
    "R0  =-1,000000\t"
    "\n\a\tКонец программы";

const char kFileHead[] = "=====================Rezalts======================================\n";
const char kFileNoRepeat[] = "==Варианты без повторных использований компонентов Flagrr='Y'=====\n";
const char kFileRepeat[] = "==Варианты с повторным использованием компонентов Flagrr='Y'||'N'=\n";
const char kFileMatch1[] =
    "=====================Flag = 'Y'||'P'==============================\n"
    "\n\nRsr_1_= 22,000000    flag_3 = P \t flag_2 = P \t flagrr = Y \n\n"
    "R2  Y = 12,00   || R1  Y = 10,00     and    R3  Y = 22,00   || R0  Y = -1,00      "
    "f_d%=0,000000\n\n";
const char kFileMatches2And3[] =
    "\n\nRsr_2_= 11,000000    flag_0 = P \t flag_1 = P \t flagrr = N \n\n"
    "R1  N = 10,00   || R0  Y = -1,00     and    R2  N = 12,00   || R0  Y = -1,00      "
    "f_d%=20,000000\n\n"
    "\n\nRsr_3_= 27,000000    flag_2 = P \t flag_4 = Z \t flagrr = N \n\n"
    "R3  N = 22,00   || R0  Y = -1,00     and    R3  N = 22,00   || R1  N = 10,00      "
    "f_d%=45,454544\n\n";
const char kFileTail[] =
    "\n=====================Rezalts end>50,000000% ===================\n"
    "\n=====================Rezalts end==============================\n"
    "\tСписок использованных элементов\n"
    "R   1 =   10,000000\tR   2 =   12,000000\tR   3 =   22,000000\t"
    "\n\tСписок не использованных элементов\n"
    "R   0 =   -1,000000\t"
    "\n\tКонец файла\n";

std::string Cp1251(const std::string& utf8) {
  std::string out(utf8.size(), '\0');
  out.resize(utf8_to_cp1251(utf8.data(), utf8.size(), out.data()));
  return out;
}

struct Outcome {
  RunResult r;
  std::string rezalts;  ///< "Rezalts.txt" as written, or "(none)".
};

/// Runs podbor in a fresh directory holding data_1.txt with `data`.
Outcome RunOn(const std::string& data, const std::string& input = "data_1.txt\n",
              const std::string& args = "", const std::string& env = "LANG=C.UTF-8") {
  std::string dir = make_temp_dir();
  write_file(dir + "/data_1.txt", data);
  Outcome run;
  run.r = run_podbor(dir, input, args, env);
  std::string path = dir + "/Rezalts.txt";
  run.rezalts = access(path.c_str(), F_OK) == 0 ? read_file(path) : "(none)";
  std::system(("rm -rf '" + dir + "'").c_str());
  return run;
}

}  // namespace

TEST(WholeRun, TracedRunByteForByte) {
  Outcome run = RunOn(kTraced);
  EXPECT_EQ(run.r.status, 0);
  EXPECT_EQ(run.r.out, std::string(kDialogue) + kTracedHead + kNoRepeat + kMatch1 + kTracedTail);
  EXPECT_EQ(run.rezalts, Cp1251(std::string(kFileHead) + kFileNoRepeat + kFileMatch1 + kFileTail));
}

TEST(WholeRun, SwitchAllowsRepeatedUse) {
  Outcome run = RunOn(kTraced, "data_1.txt\n", "-1");
  EXPECT_EQ(run.r.status, 0);
  EXPECT_EQ(run.r.out, std::string("argc=2\nargv=-\n") + kDialogue + kTracedHead + kRepeat +
                           kMatch1 + kMatches2And3 + kTracedTail);
  EXPECT_EQ(run.rezalts, Cp1251(std::string(kFileHead) + kFileRepeat + kFileMatch1 +
                                kFileMatches2And3 + kFileTail));
}

TEST(WholeRun, Cp1251ConsoleGetsRawBytes) {
  Outcome run = RunOn(kTraced, "data_1.txt\n", "", "LANG=C.UTF-8 LC_ALL=ru_RU.CP1251");
  EXPECT_EQ(run.r.out,
            Cp1251(std::string(kDialogue) + kTracedHead + kNoRepeat + kMatch1 + kTracedTail));
}

TEST(WholeRun, InProcessRunsAgainAndAgainLikeTheExecutable) {
  std::string dir = make_temp_dir();
  char old_dir[4096];
  ASSERT_NE(getcwd(old_dir, sizeof(old_dir)), nullptr);
  ASSERT_EQ(chdir(dir.c_str()), 0);
  for (int pass = 0; pass < 3; ++pass) {
    std::string console;
    EXPECT_EQ(run_v_pamyati(kTraced, "data_1.txt\n", &console), 0);
    EXPECT_EQ(console, std::string(kDialogue) + kTracedHead + kNoRepeat + kMatch1 + kTracedTail);
    EXPECT_EQ(read_file("Rezalts.txt"),
              Cp1251(std::string(kFileHead) + kFileNoRepeat + kFileMatch1 + kFileTail));
    // A run in between with other settings must leave nothing behind.
    EXPECT_EQ(run_v_pamyati("FALL,1,TIP,2,START,0,0,5,END,", "x\n", &console, "-1"), 1);
  }
  ASSERT_EQ(chdir(old_dir), 0);
  std::system(("rm -rf '" + dir + "'").c_str());
}
