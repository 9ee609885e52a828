#include "program1/run.h"

#include "engine/bibl.h"
#include "engine/rank_index.h"
#include "engine/raschet.h"
#include "engine/raschet_de.h"
#include "engine/sort.h"
#include "platform/konsol.h"
#include "program1/nastroiki.h"
#include "program1/program1.h"
#include "report/fprezalts.h"
#include "report/prezalts.h"
#include "vvod_z/obrabotka.h"
#include "vvod_z/vvodz.h"

int run(int argc, const char* const* argv) {
  komandnaya_stroka(argc, argv);
  zapolnit_q();
  vvodz();

  int fxyz = vzyat_nastroiki();
  pechat_maski(fxyz);
  int Ns = countst();
  int N = count(Ns);
  kprint("Ns=%d     N=%d", Ns, N);
  kprint("     Число компонентов %d\n", N - Ns + 1);
  if (sdvig_rs(Ns) == -1) kputs("\nВ расcчётах присутствует мнимый пустой элемент R0=-1");

  float zmin = 0.0f;
  float zmax = 0.0f;
  granitsy(&zmin, &zmax);
  if (fotcl == 0)
    kprint("\nУстановлены границы искомого значения %f от %f до %f\n", znach, zmin, zmax);

  int nn = raschet(Ns, N, tipr, &zmin, &zmax, fotcl);
  Sort(nn);
  if (raschet_de(nn) == -1) {
    kputs(
        "Подбор невозможен: значения пар нельзя упорядочить, потому что значение какой-то пары "
        "не является числом (например, параллельная пара двух компонентов со значением 0); "
        "исправьте файл данных.");
    if (konsol.out.f) std::fflush(konsol.out.f);
    return 1;
  }
  Sort_de(nn);

  PRezalts(nn, &tch, N, &fv1, &fv2, Ns, 1);
  fPRezalts(nn, &tch, N, &fv1, &fv2, Ns);
  kpause();
  return 0;
}

void reset_run() {
  reset_register();
  reset_interpreter();
  reset_Mb();
  data.fill(0);
  po_sort.n = -1;
  po_sort_de.n = -1;
}
