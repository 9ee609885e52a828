#include "writers/csv_writer.h"

#include <array>
#include <string_view>

#include "writers/number_text.h"
#include "writers/run_description.h"

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";
constexpr char kQuote = '"';
/// Put before a text cell that a spreadsheet would take for a formula.
constexpr char kFormulaGuard = '\'';
/// First characters that make a spreadsheet read a cell as a formula.
constexpr std::string_view kFormulaStarts = "=+-@\t\r";

constexpr std::array<const char*, 9> kHeader{"Подборка", "Сторона",       "R",
                                             "Записано", "Значение",      "Значение стороны",
                                             "Среднее",  "Отклонение, %", "Метка"};
/// The cells an unused component leaves empty: side value, mean, deviation.
constexpr int kSetCells = 3;
constexpr const char* kSideLow = "A";
constexpr const char* kSideHigh = "B";

struct CsvStyle {
  char separator;
  char point;
  bool bom;
};

/// The text being built and where its current row stands.
struct CsvOut {
  CsvStyle style;
  std::string text;
  bool row_started = false;
};

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

/// A plain decimal number ("-5.1", "+1e3"): no formula, whatever it starts with.
bool IsPlainNumber(std::string_view s) {
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t digits = 0;
  for (; i < s.size() && (IsDigit(s[i]) || s[i] == '.' || s[i] == ','); ++i)
    digits += IsDigit(s[i]) ? 1 : 0;
  if (digits == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    if (i == s.size()) return false;
    while (i < s.size() && IsDigit(s[i]))
      ++i;
  }
  return i == s.size();
}

void PutCell(CsvOut* out, std::string_view cell, bool guard) {
  if (out->row_started) out->text += out->style.separator;
  out->row_started = true;
  bool quote = guard || cell.find_first_of(std::string{out->style.separator, kQuote, '\r', '\n'}) !=
                            std::string_view::npos;
  if (!quote) {
    out->text += cell;
    return;
  }
  out->text += kQuote;
  if (guard) out->text += kFormulaGuard;
  for (char c : cell) {
    if (c == kQuote) out->text += kQuote;
    out->text += c;
  }
  out->text += kQuote;
}

/// A cell of text; one from outside may be guarded against formulas.
void Text(CsvOut* out, std::string_view cell) {
  bool guard = !cell.empty() && kFormulaStarts.find(cell.front()) != std::string_view::npos &&
               !IsPlainNumber(cell);
  PutCell(out, cell, guard);
}

/// A cell the writer made from a number: never guarded.
void Number(CsvOut* out, const std::string& cell) {
  PutCell(out, cell, false);
}

void EndRow(CsvOut* out) {
  out->text += kLineEnd;
  out->row_started = false;
}

void KeyValue(CsvOut* out, const std::string& key, std::string_view value) {
  Text(out, key);
  Text(out, value);
  EndRow(out);
}

/// Set, side, R number, written, value: the cells every component row starts with.
void PartCells(CsvOut* out, const ResultPart& p, const std::string& set, const char* side) {
  Number(out, set);
  Text(out, side);
  Number(out, std::to_string(p.number));
  Text(out, p.written);
  Number(out, exact_float_text(p.value, out->style.point));
}

void SideRows(CsvOut* out, const RunResults& r, const ResultSet& s, const ResultSide& side,
              const char* name) {
  char point = out->style.point;
  for (int index : side.parts) {
    if (index < 0 || index >= static_cast<int>(r.parts.size())) continue;
    const ResultPart& p = r.parts[index];
    PartCells(out, p, std::to_string(s.number), name);
    Number(out, exact_float_text(side.value, point));
    Number(out, significant_text(s.mean, kMeanDigits, point));
    Number(out, fixed_text(static_cast<double>(s.deviation), kDeviationDecimals, point));
    Text(out, p.label);
    EndRow(out);
  }
}

}  // namespace

std::string csv_text(const RunResults& r, CsvFormat format) {
  CsvStyle style = format == CsvFormat::kRfc ? CsvStyle{',', '.', false} : CsvStyle{';', ',', true};
  CsvOut out{style, {}, false};
  if (style.bom) out.text += kBom;

  KeyValue(&out, "Файл данных", r.data_file);
  KeyValue(&out, "Путь", r.data_path);
  KeyValue(&out, "Дата", r.date);
  for (const DescriptionLine& line : run_settings(r, style.point))
    KeyValue(&out, line.key, line.value);
  for (const DescriptionLine& line : count_lines(run_counts(r)))
    KeyValue(&out, line.key, line.value);
  EndRow(&out);

  for (const char* cell : kHeader)
    Text(&out, cell);
  EndRow(&out);
  for (const ResultSet& s : r.sets) {
    SideRows(&out, r, s, s.low, kSideLow);
    SideRows(&out, r, s, s.high, kSideHigh);
  }
  for (const ResultPart& p : r.parts) {
    if (p.set >= 0) continue;
    PartCells(&out, p, "", "");
    for (int k = 0; k < kSetCells; ++k)
      Number(&out, "");
    Text(&out, p.label);
    EndRow(&out);
  }
  return out.text;
}
