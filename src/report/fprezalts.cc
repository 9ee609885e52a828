#include "report/fprezalts.h"

#include <cstdio>

#include "platform/konsol.h"
#include "platform/platform.h"
#include "platform/vyvod.h"
#include "program1/program1.h"
#include "report/komponenty.h"

namespace {

/// Every ten matches a separator line; the file never stops there.
bool Razdelitel(Vyvod* out) {
  put_text(out, "------\n");
  return true;
}

const Maket kFajl{
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
    Razdelitel,
};

/// The result file's name: "Rezalts.txt" unless a run driven in-process
/// puts it elsewhere.
const char* ImyaFajla() {
  return konsol.rezalts ? konsol.rezalts : kRezaltsFile;
}

}  // namespace

int zapisat_rezalts(FILE* f, const std::string& tmp_name, int n, const float* ttch, int N,
                    const char* v1, const char* v2, int Ns) {
  // The file is always in Windows-1251, whatever the console uses.
  Vyvod v{f, /*cp1251=*/true, false};
  // The walk starts with every component free, whatever the console marked.
  for (int k = 0; k < kSlots - 1; ++k) {
    flagRR[k] = 'Y';
  }
  otchet(kFajl, &v, n, *ttch, N, *v1, *v2, Ns);
  put_text(&v, "\n\tКонец файла\n");

  bool zakryt = close_durably(f);
  if (!zakryt || v.failed || !replace_file(tmp_name.c_str(), ImyaFajla())) {
    std::remove(tmp_name.c_str());
    kprint("\nОшибка записи файла %s: результаты в файл не записаны, прежний файл сохранён\n",
           ImyaFajla());
    return -1;
  }
  return 0;
}

int fPRezalts(int n, const float* ttch, int N, const char* v1, const char* v2, int Ns) {
  std::string tmp;
  FILE* f = create_beside(ImyaFajla(), &tmp);
  if (!f) {
    kprint("\nНе удалось создать файл %s: результаты в файл не записаны\n", ImyaFajla());
    return -1;
  }
  return zapisat_rezalts(f, tmp, n, ttch, N, v1, v2, Ns);
}
