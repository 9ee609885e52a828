#include "program1/run_summary.h"

#include "text/console.h"
#include "text/trouble.h"

void tell_summary(const RunSummary& summary) {
  // The listing ends without a line break: at a terminal the summary starts
  // on a line of its own.
  if (console.err_terminal && (!in_trouble() || !summary.files.empty() || !summary.most.empty())) {
    flush_output(&console.out);
    put_text(&console.err, "\n");
  }
  if (!summary.most.empty()) tell("%s", summary.most.c_str());
  if (summary.more_sets && !in_trouble())
    tell("Среди неиспользованных компонентов есть ещё подборки: podbor --most найдёт больше.");
  if (!console.err_terminal && summary.warnings == 0 && !in_trouble()) return;
  // A run in trouble has said why; only what it did write is news.
  if (!in_trouble())
    tell("Итог: вариантов %d, компонентов использовано %d, не использовано %d.", summary.sets,
         summary.used, summary.unused);
  for (const std::string& path : summary.files)
    tell("Записано: %s", path.c_str());
  if (summary.warnings > 0 && !in_trouble())
    tell("Результаты могут не соответствовать файлу данных: см. предупреждения выше (%d).",
         summary.warnings);
}
