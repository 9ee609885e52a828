#include "report/file_report.h"

#include "program1/register_table.h"
#include "report/report_walk.h"
#include "text/new_file.h"

namespace {

/// Every ten matches a separator line; the file never stops there.
bool Separator(Output* out) {
  put_text(out, "------\n");
  return true;
}

void OutputFlags(Output* out, char flag1, char flag2) {
  print(out, "=====================Flag = '%c'||'%c'==============================\n", flag1,
        flag2);
}

void Label(Output* out, int number, double mean) {
  print(out, "\n\nRsr_%d_= %f    ", number, mean);
}

void FlagLine(Output* out, int j, char flag_j, int p, char flag_p, char flagrr) {
  print(out, "flag_%d = %c \t flag_%d = %c \t flagrr = %c \n\n", j, flag_j, p, flag_p, flagrr);
}

void ComponentLine(Output* out, const MatchComponents& k, double f_de) {
  print(out,
        "R%-2d %c = %-7.2f || R%-2d %c = %-7.2f   and    R%-2d %c = %-7.2f || R%-2d %c = %-7.2f  "
        "  f_d%%=%-8f\n\n",
        MATCH_COMPONENT_VALUES(k, f_de));
}

void Stop(Output* out, double threshold) {
  print(out, "\n=====================Rezalts end>%f%% ===================\n", threshold);
}

void Element(Output* out, int number, double value) {
  print(out, "R%4d =  %10f\t", number, value);
}

const ReportLayout kFileLayout{
    "=====================Rezalts======================================\n",
    "==Варианты без повторных использований компонентов Flagrr='Y'=====\n",
    "==Варианты с повторным использованием компонентов Flagrr='Y'||'N'=\n",
    OutputFlags,
    Label,
    FlagLine,
    ComponentLine,
    Stop,
    Element,
    5,
    Separator,
};

}  // namespace

int fPRezalts(int n, const float* ttch, int N, const char* flag1, const char* flag2, int Ns,
              const WalkPlan& plan) {
  NewFile file;
  // The file is always in Windows-1251, whatever the console uses.
  if (!open_new_file(kResultFile, /*cp1251=*/true, &file)) return -1;
  // The walk starts with every component free, whatever the flags hold.
  for (int k = 0; k < kFlagSlots; ++k) {
    flagRR[k] = kFree;
  }
  report_walk(kFileLayout, &file.out, n, *ttch, N, *flag1, *flag2, Ns, plan);
  put_text(&file.out, "\n\tКонец файла\n");
  return close_new_file(&file) ? 0 : -1;
}
