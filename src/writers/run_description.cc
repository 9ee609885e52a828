#include "writers/run_description.h"

#include "report/report_walk.h"
#include "writers/number_text.h"

namespace {

std::string Percent(float x, char point) {
  return exact_float_text(x, point) + " %";
}

}  // namespace

bool has_threshold(const RunResults& r) {
  return static_cast<double>(r.tch) >= kNoThreshold;
}

std::vector<DescriptionLine> run_settings(const RunResults& r, char point) {
  std::vector<DescriptionLine> lines;
  lines.push_back({"Соединение (TIP)", r.parallel ? "параллельно" : "последовательно"});
  lines.push_back({"Порог точности (TCH)", has_threshold(r) ? Percent(r.tch, point) : "нет"});
  std::string band = "нет, хранятся все пары";
  if (r.band) {
    band = exact_float_text(r.znach, point) + " ± " + Percent(r.otcl, point) + ", от " +
           exact_float_text(r.zmin, point) + " до " + exact_float_text(r.zmax, point);
  }
  lines.push_back({"Искомое значение (ZNACH ± OTCL)", band});
  lines.push_back({"Повторное использование (FALL)", r.repeat ? "да" : "нет"});
  lines.push_back({"Флаги вывода", std::string{r.fv1} + " и " + std::string{r.fv2}});
  lines.push_back({"Режим", r.most ? "наибольшее число подборок (--most)"
                                   : "обычный: по возрастанию отклонения"});
  return lines;
}

RunCounts run_counts(const RunResults& r) {
  RunCounts c;
  c.components = static_cast<int>(r.parts.size());
  c.pairs = r.pairs;
  c.sets = static_cast<int>(r.sets.size());
  for (const ResultPart& p : r.parts)
    ++(p.set >= 0 ? c.used : c.unused);
  return c;
}

std::vector<DescriptionLine> count_lines(const RunCounts& c) {
  return {
      {"Компонентов", std::to_string(c.components)},
      {"Пар", std::to_string(c.pairs)},
      {"Подборок", std::to_string(c.sets)},
      {"Использовано компонентов", std::to_string(c.used)},
      {"Не использовано", std::to_string(c.unused)},
  };
}
