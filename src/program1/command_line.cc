#include "program1/command_line.h"

#include <cstring>

#include "platform/platform.h"
#include "program1/exit_status.h"
#include "version.h"

namespace {

/// The options besides the switch.
constexpr char kEndOfOptions[] = "--";
constexpr char kHelpShort[] = "-h";
constexpr char kHelpLong[] = "--help";
constexpr char kHelpSlash[] = "/?";
constexpr char kVersionOption[] = "--version";
constexpr char kMostShort[] = "-m";
constexpr char kMostLong[] = "--most";
constexpr char kCsvOption[] = "--csv";
constexpr char kCsvFormatOption[] = "--csv-format";
constexpr char kHtmlOption[] = "--html";
constexpr char kImportOption[] = "--import";
constexpr char kOutputShort[] = "-o";
constexpr char kColumnOption[] = "--column";
constexpr char kUnitOption[] = "--unit";
constexpr char kTchOption[] = "--tch";
constexpr char kZnachOption[] = "--znach";
constexpr char kOtclOption[] = "--otcl";
constexpr char kParallelOption[] = "--parallel";
/// The values of --csv-format.
constexpr char kCsvRfc[] = "rfc";
constexpr char kCsvSpreadsheet[] = "excel";

/// The argument count of the switch given alone: the program name and it.
constexpr int kSwitchAloneArgc = 2;

/// The first two characters decide, so -10 and -1x are the switch too.
bool IsSwitch(const char* arg) {
  return arg[0] == '-' && arg[1] == '1';
}

bool Is(const char* arg, const char* option) {
  return std::strcmp(arg, option) == 0;
}

/// "-" alone is a file name, as is every argument after "--".
bool IsOption(const char* arg) {
  return arg[0] == '-' && arg[1] != 0;
}

const char kUsage[] =
    "Использование: podbor [-1] [-m] [--csv ФАЙЛ.csv] [--html ФАЙЛ.html] [ФАЙЛ]\n"
    "               podbor --import СПИСОК [-o ФАЙЛ] [--column N|ИМЯ] [--unit k|M]\n"
    "                      [--tch X] [--znach X] [--otcl X] [--parallel]\n"
    "               podbor -h|--help\n"
    "               podbor --version\n"
    "Usage: podbor [-1] [-m] [--csv FILE.csv] [--html FILE.html] [FILE]\n"
    "       podbor --import LIST [-o FILE] [--column N|NAME] [--unit k|M]\n"
    "              [--tch X] [--znach X] [--otcl X] [--parallel]\n"
    "       podbor -h|--help\n"
    "       podbor --version\n";

const char kHelpRu[] =
    "\n"
    "Подбор согласованных пар из пар компонентов по файлу данных ФАЙЛ (без ФАЙЛА\n"
    "имя спрашивается). Результат: на консоли по 10 вариантов на страницу (ответ q\n"
    "или й заканчивает вывод) и в файле Rezalts.txt.\n"
    "Слова файла данных, каждое с запятой:\n"
    "  TCH, порог %,  ZNACH, значение,  OTCL, допуск %,  FOTCL, 0|1,  TIP, 1|2,\n"
    "  FALL, 0|1,  Y, P, Z, N,  START, NUL, значения компонентов..., END,\n"
    "  -1          повторное использование компонентов (как FALL, 1,)\n"
    "  -m, --most  наибольшее число подборок из имеющихся компонентов (с оценкой,\n"
    "              можно ли больше) вместо обычного обхода по отклонению\n"
    "  --csv ФАЙЛ  подборки и неиспользованные компоненты для электронной таблицы;\n"
    "              --csv-format=rfc: запятая и десятичная точка, для программ\n"
    "  --html ФАЙЛ страница с гистограммой компонентов и подборками\n"
    "  --import СПИСОК  список измеренных значений (столбец, CSV, по строке на\n"
    "              значение; 4k7, 10 кОм, 4,7) в файл данных: в ФАЙЛ по -o или на\n"
    "              стандартный вывод; --column, --unit, --tch, --znach, --otcl,\n"
    "              --parallel задают столбец, единицу и настройки файла\n"
    "  -h, --help  эта справка;  --version  версия;  --  конец параметров\n"
    "Код завершения: 0 - запуск завершён, 1 - подбор невозможен, 2 - ошибка\n"
    "(файл данных непригоден, результат не записан, неверная командная строка),\n"
    "3 - запуск завершён, но к файлу данных есть предупреждения.\n";

const char kHelpEn[] =
    "\n"
    "Matches pairs of component pairs from the data file FILE (asked for when\n"
    "not given). Results: on the console, 10 matches a page (answer q or й to end\n"
    "the listing), and in the file Rezalts.txt.\n"
    "Data file words, each followed by a comma:\n"
    "  TCH, threshold %,  ZNACH, value,  OTCL, tolerance %,  FOTCL, 0|1,  TIP, 1|2,\n"
    "  FALL, 0|1,  Y, P, Z, N,  START, NUL, component values..., END,\n"
    "  -1          components may serve in several matches (like FALL, 1,)\n"
    "  -m, --most  as many matched sets as the stock can give (and whether more\n"
    "              could be), instead of the usual walk by deviation\n"
    "  --csv FILE  the sets and the unused components for a spreadsheet;\n"
    "              --csv-format=rfc: comma and decimal point, for scripts\n"
    "  --html FILE a page with a histogram of the stock and the sets\n"
    "  --import LIST  a list of measured values (a column, a CSV, one value a\n"
    "              line; 4k7, 10 kOhm, 4,7) made into a data file: FILE with -o,\n"
    "              else standard output; --column, --unit, --tch, --znach, --otcl,\n"
    "              --parallel choose the column, the unit and the file's settings\n"
    "  -h, --help  this help;  --version  the version;  --  end of options\n"
    "Exit status: 0 run complete, 1 matching impossible, 2 trouble\n"
    "(data file unusable, results not written, bad command line),\n"
    "3 run complete, but the data file drew warnings.\n";

CommandLine Misuse(CommandLine line, const char* arg, const char* why) {
  line.request = Request::kMisuse;
  line.misused = arg;
  line.why = why;
  return line;
}

/// The value of the option `name` at argv[*k]: the part after "name=", or
/// the next argument. nullptr when `arg` is not that option or lacks its value.
const char* ValueOf(const char* name, int argc, const char* const* argv, int* k, bool* matched) {
  const char* arg = argv[*k];
  const size_t len = std::strlen(name);
  if (std::strncmp(arg, name, len) != 0) return nullptr;
  if (arg[len] == '=') {
    *matched = true;
    return arg + len + 1;
  }
  if (arg[len] != 0) return nullptr;
  *matched = true;
  if (*k + 1 >= argc) return nullptr;
  return argv[++*k];
}

/// The options that take a value, and where each goes.
struct ValueOption {
  const char* name;
  const char* CommandLine::*run_field;
  const char* ImportRequest::*import_field;
};

constexpr ValueOption kValueOptions[] = {
    {kCsvOption, &CommandLine::csv, nullptr},
    {kHtmlOption, &CommandLine::html, nullptr},
    {kImportOption, nullptr, &ImportRequest::list},
    {kOutputShort, nullptr, &ImportRequest::output},
    {kColumnOption, nullptr, &ImportRequest::column},
    {kUnitOption, nullptr, &ImportRequest::unit},
    {kTchOption, nullptr, &ImportRequest::tch},
    {kZnachOption, nullptr, &ImportRequest::znach},
    {kOtclOption, nullptr, &ImportRequest::otcl},
};

/// Takes an option with a value at argv[*k]; false when it is none of them.
/// A missing value makes the line a misuse.
bool TakeValueOption(CommandLine* line, int argc, const char* const* argv, int* k) {
  const char* arg = argv[*k];
  for (const ValueOption& o : kValueOptions) {
    bool matched = false;
    const char* value = ValueOf(o.name, argc, argv, k, &matched);
    if (!matched) continue;
    if (!value || !*value) {
      *line = Misuse(*line, arg, "требует значения");
    } else if (o.run_field) {
      line->*o.run_field = value;
    } else {
      line->import.*o.import_field = value;
    }
    return true;
  }
  bool matched = false;
  const char* style = ValueOf(kCsvFormatOption, argc, argv, k, &matched);
  if (!matched) return false;
  if (style && Is(style, kCsvRfc))
    line->csv_format = CsvFormat::kRfc;
  else if (style && Is(style, kCsvSpreadsheet))
    line->csv_format = CsvFormat::kSpreadsheet;
  else
    *line = Misuse(*line, arg, "принимает значения rfc или excel");
  return true;
}

/// Options that belong to --import alone, or to a run alone, given with the
/// other: a misuse, so that nothing is silently ignored.
CommandLine CheckCombination(CommandLine line) {
  const ImportRequest& im = line.import;
  const bool import_only =
      im.output || im.column || im.unit || im.tch || im.znach || im.otcl || im.parallel;
  if (im.list) {
    // The data file to make may also stand where a run's data file would.
    if (line.data_file && !im.output) {
      line.import.output = line.data_file;
      line.data_file = nullptr;
    }
    if (line.data_file || line.most || line.csv || line.html || line.repeat)
      return Misuse(line, kImportOption, "не сочетается с параметрами запуска и файлом данных");
    line.request = Request::kImport;
  } else if (import_only) {
    return Misuse(line, im.output ? kOutputShort : kColumnOption, "действует только с --import");
  }
  return line;
}

}  // namespace

CommandLine parse_command_line(int argc, const char* const* argv) {
  CommandLine line;
  line.argc = argc;
  bool options = true;
  for (int k = 1; k < argc; ++k) {
    const char* arg = argv[k];
    if (options && slash_question_is_help() && Is(arg, kHelpSlash)) {
      line.request = Request::kHelp;
      return line;
    }
    if (options && IsOption(arg)) {
      if (IsSwitch(arg)) {
        line.repeat = true;
      } else if (Is(arg, kEndOfOptions)) {
        options = false;
      } else if (Is(arg, kHelpShort) || Is(arg, kHelpLong)) {
        line.request = Request::kHelp;
        return line;
      } else if (Is(arg, kVersionOption)) {
        line.request = Request::kVersion;
        return line;
      } else if (Is(arg, kMostShort) || Is(arg, kMostLong)) {
        line.most = true;
      } else if (Is(arg, kParallelOption)) {
        line.import.parallel = true;
      } else if (!TakeValueOption(&line, argc, argv, &k)) {
        return Misuse(line, arg, nullptr);
      }
      if (line.request == Request::kMisuse) return line;
    } else if (line.data_file) {
      return Misuse(line, arg, "файл данных может быть только один");
    } else {
      line.data_file = arg;
    }
  }
  if (argc == kSwitchAloneArgc && line.repeat) line.echoed = argv[1];
  return CheckCombination(line);
}

int answer_request(const CommandLine& line, Output* out, Output* err) {
  switch (line.request) {
    case Request::kHelp:
      put_text(out, kUsage);
      put_text(out, kHelpRu);
      print(out, "Руководство: %s\n", manual_place().ru);
      put_text(out, kHelpEn);
      print(out, "Manual: %s\n", manual_place().en);
      return kStatusComplete;
    case Request::kVersion:
      print(out, "podbor %s\n", kVersion);
      return kStatusComplete;
    case Request::kMisuse:
    case Request::kRun:
    case Request::kImport:
      break;
  }
  if (!line.why)
    print(err, "podbor: неизвестный параметр %s\n", line.misused);
  else if (IsOption(line.misused))
    print(err, "podbor: параметр %s %s\n", line.misused, line.why);
  else
    print(err, "podbor: лишний аргумент %s: %s\n", line.misused, line.why);
  put_text(err, kUsage);
  return kTroubleStatus;
}
