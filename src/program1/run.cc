#include "program1/run.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "engine/pair_building.h"
#include "engine/pair_matching.h"
#include "engine/pair_table.h"
#include "engine/rank_index.h"
#include "engine/rank_order.h"
#include "import/import_stage.h"
#include "program1/command_line.h"
#include "program1/exit_status.h"
#include "program1/register_table.h"
#include "program1/run_summary.h"
#include "program1/settings.h"
#include "report/console_report.h"
#include "report/file_report.h"
#include "selection/most_sets.h"
#include "text/console.h"
#include "text/file_system.h"
#include "text/format.h"
#include "text/new_file.h"
#include "text/trouble.h"
#include "vvod_z/command_interpreter.h"
#include "vvod_z/data_file_reader.h"
#include "vvod_z/data_file_warnings.h"
#include "writers/html_page.h"
#include "writers/run_results.h"

namespace {

/// The units --unit takes, by the letter the importer writes them with.
constexpr char kUnitKilo[] = "k";
constexpr char kUnitMega[] = "M";

/// `podbor --import`: the options as the importer takes them.
int Import(const ImportRequest& request) {
  ImportOptions options;
  if (request.column) {
    char* end = nullptr;
    const long n = std::strtol(request.column, &end, 10);
    if (*end == 0 && n > 0 && n < INT32_MAX)
      options.column = static_cast<int>(n);
    else
      options.column_name = request.column;
  }
  if (request.unit) {
    if (std::strcmp(request.unit, kUnitKilo) == 0 || std::strcmp(request.unit, kUnitMega) == 0) {
      options.unit = request.unit[0];
    } else if (std::strcmp(request.unit, "R") != 0) {
      tell("podbor: параметр --unit принимает значения R, k или M");
      return kTroubleStatus;
    }
  }
  if (request.tch) options.tch = request.tch;
  if (request.znach) options.znach = request.znach;
  if (request.otcl) options.otcl = request.otcl;
  options.parallel = request.parallel;
  return import_stage(request.list, request.output, options);
}

/// The data file read and applied, its settings taken and shown, its
/// components found. Returns the number of warnings about the file.
struct Input {
  int Ns = 0;
  int N = 0;
  int warnings = 0;
};

Input ReadInput(const CommandLine& line) {
  take_switch(line);
  mark_unwritten();
  const int stored = vvodz(line.data_file);
  const int fxyz = take_settings();
  Input in;
  // The warnings read the run settings, and the flags before count()
  // rewrites them; a file that was not read has nothing to warn about.
  if (stored >= 0) in.warnings = data_file_warnings(data_file_name(), stored, line.repeat);
  print_mask(fxyz);
  in.Ns = countst();
  in.N = count(in.Ns);
  console_print("Ns=%d     N=%d", in.Ns, in.N);
  console_print("     Число компонентов %d\n", in.N - in.Ns + 1);
  if (component_count(in.Ns, in.N) == 0)
    trouble("%s: в файле данных нет компонентов (нет START или список пуст)", data_file_name());
  if (number_shift(in.Ns) == -1)
    console_puts("\nВ расcчётах присутствует мнимый пустой элемент R0=-1");
  return in;
}

/// --most: the sets chosen instead of the walk by deviation, and the line
/// that says how good the choice is. Nothing to choose with repeated use:
/// the walk then runs as always.
std::optional<Selection> ChooseMost(const Input& in, int nn, RunSummary* summary) {
  if (fall != 0) {
    summary->most =
        "--most: компоненты можно использовать повторно (FALL, 1, или -1), выбирать нечего: "
        "выведен обычный обход";
    return std::nullopt;
  }
  Selection s = most_sets(nn, in.Ns, tch, fv1, fv2);
  const int found = static_cast<int>(s.sets.size());
  if (s.optimal)
    summary->most = format("--most: подборок %d, и больше не составить никаким выбором", found);
  else
    summary->most = format("--most: подборок %d; больше %d не составить никаким выбором%s", found,
                           s.upper_bound, s.timed_out ? " (поиск остановлен по времени)" : "");
  return s;
}

/// The files written besides the console, and what the file report walked.
struct Written {
  std::vector<WalkedMatch> walked;
  std::array<char, kSlots> flags{};  ///< The availability flags the file report left.
};

/// The result files: "Rezalts.txt" first, so that no end of the listing
/// costs it, then the CSV and HTML files from the same walk. Each starts
/// from the flags it always has; the console's are count()'s.
Written WriteFiles(const CommandLine& line, const Input& in, int nn, float zmin, float zmax,
                   const WalkPlan& plan, RunSummary* summary) {
  Written w;
  if (in_trouble()) return w;
  const std::array<char, kSlots> counted = flagRR;
  WalkPlan file_plan = plan;
  file_plan.walked = &w.walked;
  if (fPRezalts(nn, &tch, in.N, &fv1, &fv2, in.Ns, file_plan) == 0)
    summary->files.push_back(absolute_path(kResultFile));
  w.flags = flagRR;
  // The walk by deviation may leave sets among the parts it did not use.
  summary->more_sets =
      !plan.chosen && fall == 0 && !line.most && free_parts_hold_a_set(nn, in.Ns, tch, fv1, fv2);
  flagRR = counted;
  if (in_trouble() || (!line.csv && !line.html)) return w;
  const RunResults results = collect_run_results(data_file_name(), in.Ns, in.N, nn, zmin, zmax,
                                                 plan.chosen != nullptr, w.walked);
  if (line.csv && write_new_file(line.csv, csv_text(results, line.csv_format)))
    summary->files.push_back(absolute_path(line.csv));
  if (line.html && write_new_file(line.html, html_page(results)))
    summary->files.push_back(absolute_path(line.html));
  return w;
}

/// What the file report used and left, for the summary.
void CountUse(const Input& in, const Written& w, RunSummary* summary) {
  const ComponentList list = component_list(in.Ns, in.N);
  summary->sets = static_cast<int>(w.walked.size());
  for (int k = 0; k < list.K; ++k) {
    if (is_imaginary(RR[in.Ns + k])) continue;
    ++(w.flags[k] == kUsed ? summary->used : summary->unused);
  }
}

}  // namespace

int run(int argc, const char* const* argv) {
  const CommandLine line = parse_command_line(argc, argv);
  if (line.request == Request::kImport) return Import(line.import);
  if (line.request != Request::kRun) return answer_request(line, &console.out, &console.err);

  const Input in = ReadInput(line);
  float zmin = 0.0f;
  float zmax = 0.0f;
  sought_bounds(&zmin, &zmax);
  if (fotcl == 0)
    console_print("\nУстановлены границы искомого значения %f от %f до %f\n", znach, zmin, zmax);

  const int nn = raschet(in.Ns, in.N, tipr, &zmin, &zmax, fotcl);
  Sort(nn);
  if (raschet_de(nn) == -1) {
    tell(
        "Подбор невозможен: значения пар нельзя упорядочить, потому что значение какой-то пары "
        "не является числом (например, параллельная пара двух компонентов со значением 0); "
        "исправьте файл данных.");
    return kStatusNoMatching;
  }
  Sort_de(nn);

  WalkPlan plan;
  RunSummary summary;
  const std::optional<Selection> most = line.most ? ChooseMost(in, nn, &summary) : std::nullopt;
  if (most) plan.chosen = &most->sets;
  summary.warnings = in.warnings;
  const Written written = WriteFiles(line, in, nn, zmin, zmax, plan, &summary);
  PRezalts(nn, &tch, in.N, &fv1, &fv2, in.Ns, 1, plan);
  flush_output(&console.out);
  if (output_lost(console.out)) {
    trouble("Не удалось вывести результаты на консоль: %s", system_reason(console.out.error));
    tell_summary(summary);
    return kTroubleStatus;
  }
  CountUse(in, written, &summary);
  tell_summary(summary);
  console_pause();
  if (in_trouble()) return kTroubleStatus;
  return in.warnings > 0 ? kStatusWarned : kStatusComplete;
}

void reset_run() {
  reset_trouble();
  reset_register();
  reset_interpreter();
  reset_Mb();
  reset_data();
  reset_rank_indices();
}
