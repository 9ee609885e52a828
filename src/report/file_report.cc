#include "report/file_report.h"

#include <cerrno>
#include <cstdio>

#include "platform/platform.h"
#include "program1/register_table.h"
#include "report/report_walk.h"
#include "text/console.h"
#include "text/output.h"
#include "text/trouble.h"

const char* result_file_name = kResultFile;

namespace {

/// Every ten matches a separator line; the file never stops there.
bool Separator(Output* out) {
  put_text(out, "------\n");
  return true;
}

void OutputFlags(Output* out, char v1, char v2) {
  print(out, "=====================Flag = '%c'||'%c'==============================\n", v1, v2);
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

/// Says on standard error why the results are not in the file; an earlier
/// file of that name is untouched.
void NotWritten(int err) {
  trouble("%s: результаты не записаны: %s", result_file_name, system_reason(err));
}

}  // namespace

int write_result_file(FILE* f, const std::string& tmp_name, int n, const float* ttch, int N,
                      const char* v1, const char* v2, int Ns) {
  // The file is always in Windows-1251, whatever the console uses.
  Output v{f, /*cp1251=*/true, false};
  // The walk starts with every component free, whatever the flags hold.
  for (int k = 0; k < kFlagSlots; ++k) {
    flagRR[k] = kFree;
  }
  report_walk(kFileLayout, &v, n, *ttch, N, *v1, *v2, Ns);
  put_text(&v, "\n\tКонец файла\n");

  bool closed = close_durably(f);
  int err = v.failed ? v.error : errno;
  if (closed && !v.failed) {
    if (replace_file(tmp_name.c_str(), result_file_name)) return 0;
    err = errno;
  }
  discard_file(tmp_name.c_str());
  NotWritten(err);
  return -1;
}

int fPRezalts(int n, const float* ttch, int N, const char* v1, const char* v2, int Ns) {
  std::string tmp;
  int mode_err = 0;
  FILE* f = create_beside(result_file_name, &tmp, &mode_err);
  if (!f) {
    NotWritten(errno);
    return -1;
  }
  // The results are written all the same, with the permissions they got.
  if (mode_err != 0)
    console_print_error("%s: предупреждение: права доступа файла не установлены: %s\n",
                        result_file_name, system_reason(mode_err));
  return write_result_file(f, tmp, n, ttch, N, v1, v2, Ns);
}
