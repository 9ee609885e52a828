#include "report/console_report.h"

#include <string>

#include "report/report_walk.h"
#include "text/console.h"
#include "text/cp1251.h"

namespace {

/// The answer at a paging prompt that ends the listing.
constexpr int kQuit = 'q';
constexpr int kQuitCapital = 'Q';

/// A line typed at a terminal ends the listing when it begins with q in
/// either case, or with й or Й: the same key with a Russian layout.
bool StopsListing(const std::string& line) {
  int c = first_letter_cp1251(line);
  return c == kQuit || c == kQuitCapital || c == kCp1251SmallShortI || c == kCp1251CapitalShortI;
}

/// Every ten matches the user may end the listing. Piped input answers with
/// one character, and only 'q' ends it: the rest of a line answers the next
/// prompts, as scripts expect. At a terminal the answer is the whole typed
/// line, and anything but a stop shows exactly one more page. When nobody
/// sees the prompt, nothing waits for an answer.
bool Pause(Output*) {
  console_puts("------Для окончания вывода введите 'q'");
  switch (console.answers) {
    case Answers::kNone:
      return true;
    case Answers::kLine:
      return !StopsListing(console_line());
    case Answers::kCharacter:
      break;
  }
  return console_getc() != kQuit;
}

void OutputFlags(Output* out, char flag1, char flag2) {
  print(out, "================== Флаги вывода  результата '%c' '%c' ==================\n\n", flag1,
        flag2);
}

void Label(Output* out, int number, double mean) {
  print(out, "Rsr_%d_=%f    ", number, mean);
}

void FlagLine(Output* out, int j, char flag_j, int p, char flag_p, char flagrr) {
  print(out, "flag_%d=%c \t flag_%d=%c   flagrr=%c \n", j, flag_j, p, flag_p, flagrr);
}

void ComponentLine(Output* out, const MatchComponents& k, double f_de) {
  print(out,
        "R%-2d%c=%-7.2f || R%-2d%c=%-7.2f  and  R%-2d%c=%-7.2f || R%-2d%c=%-7.2f  f_d%%=%-8f\n\n",
        MATCH_COMPONENT_VALUES(k, f_de));
}

void Stop(Output* out, double threshold) {
  print(out, "\n== Вывод остановлен по превышению процента ошибки подбора f_d%% > %7.4f ==\n",
        threshold);
}

void Element(Output* out, int number, double value) {
  print(out, "R%-3d=%9f\t", number, value);
}

const ReportLayout kConsoleLayout{
    "======================== Результаты ==================================\n"
    "\n",
    "===== Варианты без повторных использований компонентов Flagrr='Y'=====\n"
    "\n",
    "= Варианты с повторным использованием компонентов Flagrr='Y'||'N'=\n"
    "\n",
    OutputFlags,
    Label,
    FlagLine,
    ComponentLine,
    Stop,
    Element,
    4,
    Pause,
};

}  // namespace

int PRezalts(int n, const float* ttch, int N, const char* flag1, const char* flag2, int Ns,
             int fpause, const WalkPlan& plan) {
  ReportLayout layout = kConsoleLayout;
  if (fpause == 0) {
    layout.every_ten = nullptr;
  }
  report_walk(layout, &console.out, n, *ttch, N, *flag1, *flag2, Ns, plan);
  console_print("\n%c\tКонец программы", 7);
  return 0;
}
