#include "report/file_report.h"

#include <cerrno>
#include <cstdio>

#include "platform/platform.h"
#include "program1/register_table.h"
#include "report/report_walk.h"
#include "text/output.h"
#include "text/trouble.h"

const char* result_file_name = kResultFile;

namespace {

/// Every ten matches a separator line; the file never stops there.
bool Separator(Output* out) {
  put_text(out, "------\n");
  return true;
}

const ReportLayout kFileLayout{
    "=====================Rezalts======================================\n",
    "==Варианты без повторных использований компонентов Flagrr='Y'=====\n",
    "==Варианты с повторным использованием компонентов Flagrr='Y'||'N'=\n",
    "=====================Flag = '%c'||'%c'==============================\n",
    "\n\nRsr_%d_= %f    ",
    "flag_%d = %c \t flag_%d = %c \t flagrr = %c \n\n",
    "R%-2d %c = %-7.2f || R%-2d %c = %-7.2f   and    R%-2d %c = %-7.2f || R%-2d %c = %-7.2f  "
    "  f_d%%=%-8f\n\n",
    "\n=====================Rezalts end>%f%% ===================\n",
    "R%4d =  %10f\t",
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
  FILE* f = create_beside(result_file_name, &tmp);
  if (!f) {
    NotWritten(errno);
    return -1;
  }
  return write_result_file(f, tmp, n, ttch, N, v1, v2, Ns);
}
