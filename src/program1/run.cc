#include "program1/run.h"

#include <array>

#include "engine/pair_building.h"
#include "engine/pair_matching.h"
#include "engine/pair_table.h"
#include "engine/rank_index.h"
#include "engine/rank_order.h"
#include "program1/command_line.h"
#include "program1/exit_status.h"
#include "program1/register_table.h"
#include "program1/settings.h"
#include "report/console_report.h"
#include "report/file_report.h"
#include "text/console.h"
#include "text/trouble.h"
#include "vvod_z/command_interpreter.h"
#include "vvod_z/data_file_reader.h"
#include "vvod_z/data_file_warnings.h"

int run(int argc, const char* const* argv) {
  CommandLine line = parse_command_line(argc, argv);
  if (line.request != Request::kRun) return answer_request(line, &console.out, &console.err);
  take_switch(line);
  mark_unwritten();
  const int stored = vvodz(line.data_file);

  int fxyz = take_settings();
  // The warnings read the run settings, and the flags before count()
  // rewrites them; a file that was not read has nothing to warn about.
  if (stored >= 0) data_file_warnings(data_file_name(), stored, line.repeat);
  print_mask(fxyz);
  int Ns = countst();
  int N = count(Ns);
  console_print("Ns=%d     N=%d", Ns, N);
  console_print("     Число компонентов %d\n", N - Ns + 1);
  if (component_count(Ns, N) == 0)
    trouble("%s: в файле данных нет компонентов (нет START или список пуст)", data_file_name());
  if (number_shift(Ns) == -1)
    console_puts("\nВ расcчётах присутствует мнимый пустой элемент R0=-1");

  float zmin = 0.0f;
  float zmax = 0.0f;
  sought_bounds(&zmin, &zmax);
  if (fotcl == 0)
    console_print("\nУстановлены границы искомого значения %f от %f до %f\n", znach, zmin, zmax);

  int nn = raschet(Ns, N, tipr, &zmin, &zmax, fotcl);
  Sort(nn);
  if (raschet_de(nn) == -1) {
    tell(
        "Подбор невозможен: значения пар нельзя упорядочить, потому что значение какой-то пары "
        "не является числом (например, параллельная пара двух компонентов со значением 0); "
        "исправьте файл данных.");
    return kStatusNoMatching;
  }
  Sort_de(nn);

  // The result file is in place before the listing starts: ending the
  // listing early, in whatever way, never costs it. Each report starts from
  // the flags it always has, the file's own reset and count's for the console.
  if (!in_trouble()) {
    std::array<char, kSlots> counted = flagRR;
    fPRezalts(nn, &tch, N, &fv1, &fv2, Ns);
    flagRR = counted;
  }
  PRezalts(nn, &tch, N, &fv1, &fv2, Ns, 1);
  flush_output(&console.out);
  if (output_lost(console.out)) {
    trouble("Не удалось вывести результаты на консоль: %s", system_reason(console.out.error));
    return kTroubleStatus;
  }
  console_pause();
  return in_trouble() ? kTroubleStatus : kStatusComplete;
}

void reset_run() {
  reset_trouble();
  reset_register();
  reset_interpreter();
  reset_Mb();
  reset_data();
  reset_rank_indices();
}
