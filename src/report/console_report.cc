#include "report/console_report.h"

#include "report/report_walk.h"
#include "text/console.h"

namespace {

/// The answer at a paging prompt that ends the listing.
constexpr int kQuit = 'q';

/// Every ten matches the user may end the listing: one character is taken,
/// and only 'q' ends it; the rest of a typed line answers the next prompts.
bool Pause(Output*) {
  console_puts("------Для окончания вывода введите 'q'");
  return console_getc() != kQuit;
}

const ReportLayout kConsoleLayout{
    "======================== Результаты ==================================\n"
    "\n",
    "===== Варианты без повторных использований компонентов Flagrr='Y'=====\n"
    "\n",
    "= Варианты с повторным использованием компонентов Flagrr='Y'||'N'=\n"
    "\n",
    "================== Флаги вывода  результата '%c' '%c' ==================\n\n",
    "Rsr_%d_=%f    ",
    "flag_%d=%c \t flag_%d=%c   flagrr=%c \n",
    "R%-2d%c=%-7.2f || R%-2d%c=%-7.2f  and  R%-2d%c=%-7.2f || R%-2d%c=%-7.2f  f_d%%=%-8f\n\n",
    "\n== Вывод остановлен по превышению процента ошибки подбора f_d%% > %7.4f ==\n",
    "R%-3d=%9f\t",
    4,
    Pause,
};

}  // namespace

int PRezalts(int n, const float* ttch, int N, const char* fv1, const char* fv2, int Ns,
             int fpause) {
  ReportLayout m = kConsoleLayout;
  if (fpause == 0) {
    m.every_ten = nullptr;
  }
  report_walk(m, &console.out, n, *ttch, N, *fv1, *fv2, Ns);
  console_print("\n%c\tКонец программы", 7);
  return 0;
}
