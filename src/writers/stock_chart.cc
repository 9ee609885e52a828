#include "writers/stock_chart.h"

#include <algorithm>
#include <cmath>

#include "writers/html_text.h"
#include "writers/number_text.h"

namespace {

// The layout, in the SVG's own pixels; the page scales it to its width.
constexpr double kWidth = 960;
constexpr double kLeft = 52;   ///< Room for the count labels.
constexpr double kRight = 20;  ///< Room for the last value label.
constexpr double kTop = 12;
constexpr double kHistogramHeight = 170;
constexpr double kAxisLabelDrop = 18;  ///< Value labels below the axis line.
constexpr double kMarksTop = 40;       ///< First row of marks below the axis line.
constexpr double kMarkRadius = 4.5;
constexpr double kMarkGap = 1.5;     ///< Least room between two marks in a row.
constexpr double kRowHeight = 10.5;  ///< Between rows of stacked marks.
constexpr double kBottom = 12;
/// The axis reaches this share of the value range beyond each end, so that
/// the end marks are whole.
constexpr long double kAxisPad = 0.03L;
/// The span around a single value, as a share of it, when all values agree.
constexpr long double kLoneSpan = 0.02L;
constexpr int kValueTicks = 8;  ///< About as many value labels.
constexpr int kMaxValueTicks = 2 * kValueTicks;
constexpr int kCountTicks = 4;  ///< About as many count labels.
constexpr const char* kUsedFill = "#0072B2";
constexpr const char* kHatchId = "unused-hatch";

/// A step of 1, 2 or 5 times a power of ten that cuts `span` into about
/// `parts` parts.
long double NiceStep(long double span, int parts) {
  long double raw = span / parts;
  long double power = std::pow(10.0L, std::floor(std::log10(raw)));
  long double m = raw / power;
  long double nice = m < 1.5L ? 1 : m < 3.5L ? 2 : m < 7.5L ? 5 : 10;
  return nice * power;
}

/// Decimals a tick label needs for `step`.
int StepDecimals(long double step) {
  auto d = static_cast<int>(-std::floor(std::log10(step) + 1e-9L));
  return std::max(d, 0);
}

/// The value axis: values lo to hi over the pixels kLeft to kWidth - kRight.
struct Axis {
  long double lo;
  long double hi;
};

double XOf(const Axis& a, long double v) {
  return static_cast<double>(kLeft + (v - a.lo) / (a.hi - a.lo) * (kWidth - kLeft - kRight));
}

/// The quartile q (0.25, 0.75) of sorted values, interpolated.
long double Quartile(const std::vector<float>& sorted, long double q) {
  long double at = q * static_cast<long double>(sorted.size() - 1);
  auto below = static_cast<size_t>(at);
  size_t above = std::min(below + 1, sorted.size() - 1);
  long double t = at - below;
  return sorted[below] + (static_cast<long double>(sorted[above]) - sorted[below]) * t;
}

/// The values a chart can place: an infinite or NaN value has no place on
/// an axis (the data file can hold one).
std::vector<float> FiniteValues(const RunResults& r) {
  std::vector<float> values;
  for (const ResultPart& p : r.parts)
    if (std::isfinite(p.value)) values.push_back(p.value);
  return values;
}

std::string Line(double x1, double y1, double x2, double y2, const char* style) {
  return "<line x1=\"" + svg_number(x1) + "\" y1=\"" + svg_number(y1) + "\" x2=\"" +
         svg_number(x2) + "\" y2=\"" + svg_number(y2) + "\" class=\"" + style + "\"/>";
}

std::string Label(double x, double y, const char* anchor, const std::string& text) {
  return "<text x=\"" + svg_number(x) + "\" y=\"" + svg_number(y) + "\" text-anchor=\"" + anchor +
         "\">" + text + "</text>";
}

std::string Rect(double x, double y, double w, double h, const std::string& fill,
                 const std::string& title) {
  return "<rect x=\"" + svg_number(x) + "\" y=\"" + svg_number(y) + "\" width=\"" + svg_number(w) +
         "\" height=\"" + svg_number(h) + "\" fill=\"" + fill +
         "\" stroke=\"#333\" stroke-width=\"0.5\"><title>" + title + "</title></rect>";
}

/// The histogram bars, each split into used (below) and unused (above), and
/// the count axis; `base` is the y of the value axis.
std::string Histogram(const RunResults& r, const Axis& axis, long double lo, long double hi,
                      double base) {
  int bins = bin_count(FiniteValues(r));
  long double width = (hi - lo) / bins;
  std::vector<int> used(bins, 0);
  std::vector<int> unused(bins, 0);
  for (const ResultPart& p : r.parts) {
    if (!std::isfinite(p.value)) continue;
    auto b = static_cast<int>((p.value - lo) / width);
    b = std::clamp(b, 0, bins - 1);
    ++(p.set >= 0 ? used : unused)[b];
  }
  int most = 1;
  for (int b = 0; b < bins; ++b)
    most = std::max(most, used[b] + unused[b]);
  long double count_step = std::max(1.0L, std::round(NiceStep(most, kCountTicks)));
  long double top = std::ceil(most / count_step) * count_step;
  auto y_of = [&](long double n) { return static_cast<double>(base - n / top * kHistogramHeight); };

  std::string svg;
  for (long double n = 0; n <= top; n += count_step) {
    double y = y_of(n);
    svg += Line(kLeft, y, kWidth - kRight, y, "grid");
    svg += Label(kLeft - 6, y + 4, "end", std::to_string(static_cast<int>(n)));
  }
  int decimals = StepDecimals(width) + 1;
  for (int b = 0; b < bins; ++b) {
    long double from = lo + width * b;
    double x1 = XOf(axis, from);
    double x2 = XOf(axis, from + width);
    std::string range = fixed_text(static_cast<double>(from), decimals, ',') + "–" +
                        fixed_text(static_cast<double>(from + width), decimals, ',');
    std::string title = range + ": " + std::to_string(used[b] + unused[b]) + ", использовано " +
                        std::to_string(used[b]);
    if (used[b] > 0)
      svg += Rect(x1, y_of(used[b]), x2 - x1, y_of(0) - y_of(used[b]), kUsedFill, title);
    if (unused[b] > 0)
      svg += Rect(x1, y_of(used[b] + unused[b]), x2 - x1, y_of(used[b]) - y_of(used[b] + unused[b]),
                  std::string("url(#") + kHatchId + ")", title);
  }
  return svg;
}

/// Every component as a mark below the axis, rows stacked so that no mark
/// covers another; `*rows` receives the number of rows used.
std::string Marks(const RunResults& r, const Axis& axis, double top, int* rows) {
  std::vector<size_t> order;
  for (size_t k = 0; k < r.parts.size(); ++k)
    if (std::isfinite(r.parts[k].value)) order.push_back(k);
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return r.parts[a].value < r.parts[b].value; });
  std::vector<double> row_end;  // the x of the last mark of each row
  std::string svg;
  for (size_t k : order) {
    const ResultPart& p = r.parts[k];
    double x = XOf(axis, p.value);
    size_t row = 0;
    while (row < row_end.size() && x - row_end[row] < 2 * kMarkRadius + kMarkGap)
      ++row;
    if (row == row_end.size()) row_end.push_back(x);
    row_end[row] = x;
    std::string title = "R" + std::to_string(p.number) + " = " + shown_value(p.value);
    if (p.set >= 0 && p.set < static_cast<int>(r.sets.size()))
      title += ", подборка " + std::to_string(r.sets[p.set].number);
    else
      title += ", не использован";
    if (!p.label.empty()) title += ", " + html_escaped(p.label);
    double y = top + kMarkRadius + kRowHeight * static_cast<double>(row);
    svg += set_mark(p.set, x, y, kMarkRadius, title);
  }
  *rows = static_cast<int>(row_end.size());
  return svg;
}

}  // namespace

int bin_count(std::vector<float> values) {
  if (values.size() < 2) return kMinBins;
  std::sort(values.begin(), values.end());
  long double span = static_cast<long double>(values.back()) - values.front();
  auto n = static_cast<long double>(values.size());
  long double iqr = Quartile(values, 0.75L) - Quartile(values, 0.25L);
  long double bins = std::ceil(std::sqrt(n));
  if (iqr > 0 && span > 0) bins = std::ceil(span / (2 * iqr / std::cbrt(n)));
  return static_cast<int>(
      std::clamp(bins, static_cast<long double>(kMinBins), static_cast<long double>(kMaxBins)));
}

std::string stock_chart(const RunResults& r) {
  std::vector<float> values = FiniteValues(r);
  if (values.empty()) return {};
  auto [low, high] = std::minmax_element(values.begin(), values.end());
  long double lo = *low;
  long double hi = *high;
  if (!(hi > lo)) {  // one value: a span around it
    long double half = lo != 0 ? std::fabs(lo) * kLoneSpan : 1;
    lo -= half;
    hi += half;
  }
  long double pad = (hi - lo) * kAxisPad;
  Axis axis{lo - pad, hi + pad};
  double base = kTop + kHistogramHeight;

  std::string body = Histogram(r, axis, lo, hi, base);
  body += Line(kLeft, base, kWidth - kRight, base, "axis");
  long double step = NiceStep(axis.hi - axis.lo, kValueTicks);
  int decimals = StepDecimals(step);
  long double first = std::ceil(axis.lo / step);
  for (int k = 0; k <= kMaxValueTicks; ++k) {
    long double v = (first + k) * step;
    if (v > axis.hi) break;
    double x = XOf(axis, v);
    body += Line(x, base, x, base + 4, "axis");
    body += Label(x, base + kAxisLabelDrop, "middle",
                  fixed_text(static_cast<double>(v), decimals, ','));
  }
  int rows = 0;
  double marks_top = base + kMarksTop;
  body += Line(kLeft, marks_top - 4, kWidth - kRight, marks_top - 4, "grid");
  body += Marks(r, axis, marks_top, &rows);
  double height = marks_top + kRowHeight * rows + kBottom;

  std::string size = svg_number(kWidth) + " " + svg_number(height);
  return "<svg class=\"stock\" viewBox=\"0 0 " + size +
         "\" role=\"img\" aria-label=\"Гистограмма значений и компоненты по подборкам\">"
         "<defs><pattern id=\"" +
         kHatchId +
         "\" width=\"6\" height=\"6\" patternUnits=\"userSpaceOnUse\" "
         "patternTransform=\"rotate(45)\"><rect width=\"6\" height=\"6\" fill=\"#e4e4e4\"/>"
         "<line x1=\"0\" y1=\"0\" x2=\"0\" y2=\"6\" stroke=\"#888\" stroke-width=\"2\"/>"
         "</pattern></defs>" +
         body + "</svg>";
}
