// What the worked example prints, piece by piece: the components NUL, 10,
// 12 and 22 in series, output flags Y and P, threshold 50, on the console
// and in "Rezalts.txt" (here in UTF-8). The report tests and the whole-run
// tests check against the same pieces.
#pragma once

namespace worked_example {

// Console.
inline constexpr char kResults[] =
    "======================== Результаты ==================================\n\n";
inline constexpr char kOnceMode[] =
    "===== Варианты без повторных использований компонентов Flagrr='Y'=====\n\n";
inline constexpr char kRepeatMode[] =
    "= Варианты с повторным использованием компонентов Flagrr='Y'||'N'=\n\n";
inline constexpr char kFlagsYP[] =
    "================== Флаги вывода  результата 'Y' 'P' ==================\n\n";
inline constexpr char kMatch1[] =
    "Rsr_1_=22,000000    flag_3=P \t flag_2=P   flagrr=Y \n"
    "R2 Y=12,00   || R1 Y=10,00    and  R3 Y=22,00   || R0 Y=-1,00    f_d%=0,000000\n\n";
/// The two matches that only repeated use of components lets through.
inline constexpr char kMatches23[] =
    "Rsr_2_=11,000000    flag_0=P \t flag_1=P   flagrr=N \n"
    "R1 N=10,00   || R0 Y=-1,00    and  R2 N=12,00   || R0 Y=-1,00    f_d%=20,000000\n\n"
    "Rsr_3_=27,000000    flag_2=P \t flag_4=Z   flagrr=N \n"
    "R3 N=22,00   || R0 Y=-1,00    and  R3 N=22,00   || R1 N=10,00    f_d%=45,454544\n\n";
inline constexpr char kStop50[] =
    "\n== Вывод остановлен по превышению процента ошибки подбора f_d% > 50,0000 ==\n";
inline constexpr char kLists[] =
    "\n=====================Rezalts end==============================\n"
    "\tСписок использованных элементов\n"
    "R1  =10,000000\tR2  =12,000000\tR3  =22,000000\t"
    "\n\tСписок не использованных элементов\n"
    "R0  =-1,000000\t"
    "\n\a\tКонец программы";

// Rezalts.txt.
inline constexpr char kFHeader[] =
    "=====================Rezalts======================================\n";
inline constexpr char kFOnceMode[] =
    "==Варианты без повторных использований компонентов Flagrr='Y'=====\n";
inline constexpr char kFRepeatMode[] =
    "==Варианты с повторным использованием компонентов Flagrr='Y'||'N'=\n";
inline constexpr char kFFlagsYP[] =
    "=====================Flag = 'Y'||'P'==============================\n";
inline constexpr char kFMatch1[] =
    "\n\nRsr_1_= 22,000000    flag_3 = P \t flag_2 = P \t flagrr = Y \n\n"
    "R2  Y = 12,00   || R1  Y = 10,00     and    R3  Y = 22,00   || R0  Y = -1,00      "
    "f_d%=0,000000\n\n";
inline constexpr char kFMatches23[] =
    "\n\nRsr_2_= 11,000000    flag_0 = P \t flag_1 = P \t flagrr = N \n\n"
    "R1  N = 10,00   || R0  Y = -1,00     and    R2  N = 12,00   || R0  Y = -1,00      "
    "f_d%=20,000000\n\n"
    "\n\nRsr_3_= 27,000000    flag_2 = P \t flag_4 = Z \t flagrr = N \n\n"
    "R3  N = 22,00   || R0  Y = -1,00     and    R3  N = 22,00   || R1  N = 10,00      "
    "f_d%=45,454544\n\n";
inline constexpr char kFStop50[] =
    "\n=====================Rezalts end>50,000000% ===================\n";
inline constexpr char kFLists[] =
    "\n=====================Rezalts end==============================\n"
    "\tСписок использованных элементов\n"
    "R   1 =   10,000000\tR   2 =   12,000000\tR   3 =   22,000000\t"
    "\n\tСписок не использованных элементов\n"
    "R   0 =   -1,000000\t"
    "\n\tКонец файла\n";

}  // namespace worked_example
