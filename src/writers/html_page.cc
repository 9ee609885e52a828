#include "writers/html_page.h"

#include <algorithm>
#include <cmath>

#include "writers/html_text.h"
#include "writers/number_text.h"
#include "writers/run_description.h"
#include "writers/stock_chart.h"

namespace {

constexpr const char* kStyle = R"(
@page { size: A4; margin: 12mm; }
body { font-family: "DejaVu Sans", "Segoe UI", Arial, sans-serif; font-size: 14px; color: #111;
       max-width: 1000px; margin: 16px auto; padding: 0 12px;
       -webkit-print-color-adjust: exact; print-color-adjust: exact; }
h1 { font-size: 1.45em; margin: 0 0 .3em; }
h2 { font-size: 1.15em; border-bottom: 1px solid #888; margin: 1.2em 0 .5em; }
table.about { border-collapse: collapse; }
table.about th { text-align: left; font-weight: normal; color: #444; padding: 1px 12px 1px 0; }
table.about td { padding: 1px 0; }
p.counts span { margin-right: 1.2em; white-space: nowrap; }
svg.stock { width: 100%; height: auto; display: block; }
svg.stock text { font-size: 13px; fill: #222; }
.grid { stroke: #ddd; stroke-width: 1; }
.axis { stroke: #333; stroke-width: 1; }
.legend { color: #333; font-size: .9em; }
.legend svg { vertical-align: middle; }
table.sets { border-collapse: collapse; width: 100%; font-variant-numeric: tabular-nums; }
table.sets th { text-align: left; font-weight: normal; color: #444; border-bottom: 1px solid #888;
                padding: 2px 6px; vertical-align: bottom; }
table.sets td { border-bottom: 1px solid #ddd; padding: 3px 6px; vertical-align: middle; }
table.sets td.number { white-space: nowrap; }
table.sets .side { white-space: nowrap; }
table.sets .sum { color: #444; }
table.sets tr.near td { font-weight: bold; }
.near-mark { font-weight: bold; }
svg.bars { display: block; }
ul.unused { columns: 9em; column-gap: 1.5em; list-style: none; padding: 0; margin: 0; }
ul.unused li { break-inside: avoid; font-variant-numeric: tabular-nums; }
.none { font-style: italic; }
@media print {
  body { font-size: 9pt; max-width: none; margin: 0; padding: 0; }
  h2 { break-after: avoid; }
  svg.stock, tr { break-inside: avoid; }
}
)";

/// Sizes of the bars of a set row, in pixels.
constexpr double kSideBarsWidth = 150;
constexpr double kSideBarsHeight = 22;
constexpr double kSideBarHeight = 7;
constexpr double kDeviationBarWidth = 110;
constexpr double kDeviationBarHeight = 10;
constexpr const char* kSideLowFill = "#0072B2";
constexpr const char* kSideHighFill = "#E69F00";
constexpr const char* kDeviationFill = "#009E73";
constexpr const char* kNearFill = "#D55E00";
/// Significant digits of a scale named in a legend.
constexpr int kScaleDigits = 3;
/// The marker of a set near the threshold, beside its number.
constexpr const char* kNearMark = "▲";

/// How the set rows draw their bars: both scales are common to all rows.
struct SetScales {
  long double side = 0;       ///< Half-width of the side bars, in % of the mean.
  long double deviation = 0;  ///< Full width of the deviation bar, in %.
  bool threshold = false;     ///< The deviation scale is the threshold.
};

/// `x` or 0 when it is no number: a bar of a NaN has no length.
long double Finite(long double x) {
  return std::isfinite(x) ? x : 0;
}

/// Side value against the set's mean, in %.
long double FromMean(float side, double mean) {
  return mean != 0 ? Finite((side / static_cast<long double>(mean) - 1) * 100) : 0;
}

SetScales Scales(const RunResults& r) {
  SetScales s;
  for (const ResultSet& set : r.sets) {
    s.side = std::max({s.side, std::fabs(FromMean(set.low.value, set.mean)),
                       std::fabs(FromMean(set.high.value, set.mean))});
    s.deviation = std::max(s.deviation, Finite(set.deviation));
  }
  if (has_threshold(r)) {
    s.deviation = r.tch;
    s.threshold = true;
  }
  return s;
}

std::string Bar(double x, double y, double w, double h, const char* fill,
                const std::string& title) {
  return "<rect x=\"" + svg_number(x) + "\" y=\"" + svg_number(y) + "\" width=\"" + svg_number(w) +
         "\" height=\"" + svg_number(h) + "\" fill=\"" + fill + "\"><title>" + title +
         "</title></rect>";
}

/// Length of a bar for `x` on a scale whose full length `length` stands for `full`.
double BarLength(long double x, long double full, double length) {
  if (!(full > 0)) return 0;
  return static_cast<double>(std::clamp(std::fabs(x) / full, 0.0L, 1.0L) * length);
}

std::string Percent(long double x) {
  return fixed_text(static_cast<double>(x), kDeviationDecimals, ',') + " %";
}

/// Side A leftwards and side B rightwards from the mean, on the common scale.
std::string SideBars(const ResultSet& set, const SetScales& scales) {
  double mid = kSideBarsWidth / 2;
  long double a = FromMean(set.low.value, set.mean);
  long double b = FromMean(set.high.value, set.mean);
  double la = BarLength(a, scales.side, mid - 1);
  double lb = BarLength(b, scales.side, mid - 1);
  std::string size = svg_number(kSideBarsWidth) + " " + svg_number(kSideBarsHeight);
  return "<svg class=\"bars\" width=\"" + svg_number(kSideBarsWidth) + "\" height=\"" +
         svg_number(kSideBarsHeight) + "\" viewBox=\"0 0 " + size + "\">" +
         Bar(mid - la, 3, la, kSideBarHeight, kSideLowFill, "A: " + Percent(a) + " от среднего") +
         Bar(mid, 4 + kSideBarHeight, lb, kSideBarHeight, kSideHighFill,
             "B: +" + Percent(b) + " от среднего") +
         "<line x1=\"" + svg_number(mid) + "\" y1=\"0\" x2=\"" + svg_number(mid) + "\" y2=\"" +
         svg_number(kSideBarsHeight) + "\" class=\"axis\"/></svg>";
}

/// The deviation against the threshold (or the largest deviation), with
/// the threshold as a dashed line at the bar's end.
std::string DeviationBar(const ResultSet& set, const SetScales& scales, bool near) {
  double w = kDeviationBarWidth - 2;
  double length = BarLength(Finite(set.deviation), scales.deviation, w);
  std::string svg = "<svg class=\"bars\" width=\"" + svg_number(kDeviationBarWidth) +
                    "\" height=\"" + svg_number(kDeviationBarHeight) + "\" viewBox=\"0 0 " +
                    svg_number(kDeviationBarWidth) + " " + svg_number(kDeviationBarHeight) + "\">" +
                    "<rect x=\"0.5\" y=\"0.5\" width=\"" + svg_number(w) + "\" height=\"" +
                    svg_number(kDeviationBarHeight - 1) +
                    "\" fill=\"#f2f2f2\" stroke=\"#bbb\" stroke-width=\"0.5\"/>" +
                    Bar(0.5, 0.5, length, kDeviationBarHeight - 1,
                        near ? kNearFill : kDeviationFill, Percent(set.deviation));
  if (scales.threshold)
    svg += "<line x1=\"" + svg_number(w + 0.5) + "\" y1=\"0\" x2=\"" + svg_number(w + 0.5) +
           "\" y2=\"" + svg_number(kDeviationBarHeight) +
           "\" stroke=\"#000\" stroke-width=\"1.5\" stroke-dasharray=\"2 1\"/>";
  return svg + "</svg>";
}

/// The components of a side: "R22 100,66 + R20 100,09".
std::string SideParts(const RunResults& r, const ResultSide& side) {
  std::string s;
  for (int index : side.parts) {
    if (index < 0 || index >= static_cast<int>(r.parts.size())) continue;
    const ResultPart& p = r.parts[index];
    if (!s.empty()) s += " + ";
    s += "<span class=\"side\"";
    if (!p.label.empty()) s += " title=\"" + html_escaped(p.label) + "\"";
    s += ">R" + std::to_string(p.number) + " " + shown_value(p.value) + "</span>";
  }
  return s;
}

std::string Heading(const RunResults& r) {
  std::string h = "<h1>Подборки: " + html_escaped(r.data_file) + "</h1>\n<table class=\"about\">";
  auto row = [&h](const std::string& key, const std::string& value) {
    h += "<tr><th>" + html_escaped(key) + "</th><td>" + html_escaped(value) + "</td></tr>";
  };
  row("Файл данных", r.data_path.empty() ? r.data_file : r.data_path);
  row("Дата", r.date);
  for (const DescriptionLine& line : run_settings(r, ','))
    row(line.key, line.value);
  h += "</table>\n<p class=\"counts\">";
  for (const DescriptionLine& line : count_lines(run_counts(r)))
    h += "<span>" + html_escaped(line.key) + ": <b>" + line.value + "</b></span>";
  return h + "</p>\n";
}

std::string Stock(const RunResults& r) {
  std::string chart = stock_chart(r);
  std::string s = "<h2>Запас компонентов</h2>\n";
  if (chart.empty()) return s + "<p class=\"none\">Компонентов нет.</p>\n";
  return s + chart +
         "\n<p class=\"legend\"><svg width=\"12\" height=\"12\"><rect width=\"12\" height=\"12\" "
         "fill=\"#0072B2\"/></svg> использованные и <svg width=\"12\" height=\"12\">"
         "<rect width=\"12\" height=\"12\" fill=\"url(#unused-hatch)\" stroke=\"#333\" "
         "stroke-width=\"0.5\"/></svg> не использованные компоненты по значениям. Ниже — каждый "
         "компонент: цвет и форма метки — его подборка (сочетания повторяются через 28 "
         "подборок), " +
         set_swatch(-1) + " — не использован; номер R виден при наведении указателя.</p>\n";
}

std::string Sets(const RunResults& r) {
  std::string s = "<h2>Подборки</h2>\n";
  if (r.sets.empty()) {
    s += "<p class=\"none\">Подборок нет: ни одна пара пар не сошлась";
    if (has_threshold(r)) s += " с отклонением меньше " + shown_value(r.tch) + " %";
    return s + ".</p>\n";
  }
  SetScales scales = Scales(r);
  s += "<p class=\"legend\">Полоски сторон: A влево и B вправо от среднего, шкала ±" +
       significant_text(static_cast<double>(scales.side), kScaleDigits, ',') +
       " %. Отклонение: полоска до " + (scales.threshold ? "порога " : "наибольшего отклонения ") +
       significant_text(static_cast<double>(scales.deviation), kScaleDigits, ',') + " %";
  if (scales.threshold)
    s += std::string("; ") + kNearMark + " и жирный шрифт — отклонение не меньше 0,9 порога";
  s += ".</p>\n<table class=\"sets\"><thead><tr><th>№</th><th>Сторона A</th><th>Сторона B</th>"
       "<th>Среднее</th><th>A и B от среднего</th><th>Отклонение</th></tr></thead><tbody>\n";
  for (size_t k = 0; k < r.sets.size(); ++k) {
    const ResultSet& set = r.sets[k];
    bool near = scales.threshold && set.deviation >= kNearThreshold * r.tch;
    s += near ? "<tr class=\"near\">" : "<tr>";
    s += "<td class=\"number\">" + set_swatch(static_cast<int>(k)) + " " +
         std::to_string(set.number) + (near ? std::string(" ") + kNearMark : "") + "</td>";
    s += "<td>" + SideParts(r, set.low) +
         "<br><span class=\"sum\">= " + shown_value(set.low.value) + "</span></td>";
    s += "<td>" + SideParts(r, set.high) +
         "<br><span class=\"sum\">= " + shown_value(set.high.value) + "</span></td>";
    s += "<td>" + significant_text(set.mean, kMeanDigits, ',') + "</td>";
    s += "<td>" + SideBars(set, scales) + "</td>";
    s += "<td>" + Percent(set.deviation) + DeviationBar(set, scales, near) + "</td></tr>\n";
  }
  return s + "</tbody></table>\n";
}

std::string Unused(const RunResults& r) {
  std::string items;
  int count = 0;
  for (const ResultPart& p : r.parts) {
    if (p.set >= 0) continue;
    ++count;
    items += "<li>R" + std::to_string(p.number) + " = " + shown_value(p.value);
    if (!p.label.empty()) items += " " + html_escaped(p.label);
    items += "</li>\n";
  }
  std::string s = "<h2>Не использованные компоненты (" + std::to_string(count) + ")</h2>\n";
  if (count == 0) return s + "<p class=\"none\">Все компоненты использованы.</p>\n";
  return s + "<ul class=\"unused\">\n" + items + "</ul>\n";
}

}  // namespace

std::string html_page(const RunResults& r) {
  return "<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta "
         "charset=\"utf-8\">\n<title>Подборки: " +
         html_escaped(r.data_file) + "</title>\n<style>" + kStyle + "</style>\n</head>\n<body>\n" +
         Heading(r) + Stock(r) + Sets(r) + Unused(r) + "</body>\n</html>\n";
}
