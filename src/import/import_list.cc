#include "import/import_list.h"

#include <algorithm>

#include "import/data_file_writer.h"
#include "import/list_reader.h"
#include "import/text_decoding.h"
#include "import/value_text.h"
#include "program1/register_table.h"
#include "vvod_z/data_file_reader.h"

namespace {

/// A percentage as the data file writes it: digits with at most one
/// decimal mark (a comma becomes the point); empty when it is none.
std::string Percentage(const std::string& given) {
  constexpr size_t kMaxChars = 24;
  std::string s;
  for (char c : given)
    if (c != ' ') s += c == ',' ? '.' : c;
  const bool digits_only = s.find_first_not_of("0123456789.") == std::string::npos;
  const bool digit = s.find_first_of("0123456789") != std::string::npos;
  const bool one_mark = std::count(s.begin(), s.end(), '.') <= 1;
  if (!digits_only || !digit || !one_mark || s.size() > kMaxChars) return {};
  if (s.front() == '.') s.insert(0, "0");
  if (s.back() == '.') s.pop_back();
  return s;
}

/// The settings as the data file writes them; an error text when one of
/// them cannot be written.
std::string TakeSettings(const ImportOptions& o, DataFileSettings* s) {
  s->unit = o.unit;
  s->parallel = o.parallel;
  if (o.unit != kOhms && o.unit != kKiloOhms && o.unit != kMegaOhms)
    return "единица значений — Ом, k (кОм) или M (МОм)";
  if (!o.tch.empty() && (s->tch = Percentage(o.tch)).empty())
    return "порог точности TCH «" + o.tch + "» не число процентов (например 0.05)";
  if (!o.otcl.empty() && (s->otcl = Percentage(o.otcl)).empty())
    return "допуск OTCL «" + o.otcl + "» не число процентов (например 1.5)";
  if (!o.znach.empty()) {
    const ValueReading r = read_value(o.znach, o.unit, CommaReading::kDecimal);
    if (!r.ok) return "искомое значение ZNACH «" + o.znach + "» не прочитано: " + r.reason;
    s->znach = r.digits;
  }
  if (!s->otcl.empty() && s->znach.empty())
    return "допуск OTCL задан без искомого значения ZNACH: границам не от чего отсчитываться";
  return {};
}

}  // namespace

ImportResult import_list(const std::string& bytes, const ImportOptions& options) {
  constexpr size_t kMaxComponents = kFlagSlots - kFirstComponentSlot;
  ImportResult result;
  DataFileSettings settings;
  result.trouble = TakeSettings(options, &settings);
  if (!result.trouble.empty()) return result;
  ListReading list = read_list(decode_to_utf8(bytes), options, kMaxComponents);
  result.warnings = std::move(list.warnings);
  result.more_warnings = list.more_warnings;
  if (!list.trouble.empty()) {
    result.trouble = list.trouble;
    return result;
  }
  if (list.values.empty()) {
    result.trouble = "в списке нет ни одного значения, которое можно прочитать";
    return result;
  }
  WrittenDataFile file = write_data_file(list.values, settings);
  result.data_file = std::move(file.text);
  result.values = file.values;
  const size_t written = static_cast<size_t>(file.values);
  const int left = static_cast<int>(list.values.size() - written) + list.further;
  if (left > 0) {
    const int line = written < list.values.size() ? list.values[written].line : list.further_line;
    result.warnings.push_back(
        {line, 1,
         "значений больше, чем вмещает файл данных (не более " + std::to_string(kMaxComponents) +
             " компонентов и " + std::to_string(kDataCells) +
             " символов): " + std::to_string(left) + " пропущено, начиная с этой строки"});
    std::stable_sort(
        result.warnings.begin(), result.warnings.end(),
        [](const ImportWarning& a, const ImportWarning& b) { return a.line < b.line; });
  }
  return result;
}
