#include "program1/command_line.h"

#include <cstring>

#include "program1/exit_status.h"
#include "version.h"

namespace {

/// The options besides the switch.
constexpr char kEndOfOptions[] = "--";
constexpr char kHelpShort[] = "-h";
constexpr char kHelpLong[] = "--help";
constexpr char kVersionOption[] = "--version";

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
    "Использование: podbor [-1] [ФАЙЛ]\n"
    "               podbor -h|--help\n"
    "               podbor --version\n"
    "Usage: podbor [-1] [FILE]\n"
    "       podbor -h|--help\n"
    "       podbor --version\n";

const char kHelp[] =
    "\n"
    "Подбор согласованных пар из пар компонентов по файлу данных ФАЙЛ (без ФАЙЛА\n"
    "имя спрашивается). Результат: на консоли по 10 вариантов на страницу (ответ q\n"
    "или й заканчивает вывод) и в файле Rezalts.txt.\n"
    "Слова файла данных, каждое с запятой:\n"
    "  TCH, порог %,  ZNACH, значение,  OTCL, допуск %,  FOTCL, 0|1,  TIP, 1|2,\n"
    "  FALL, 0|1,  Y, P, Z, N,  START, NUL, значения компонентов..., END,\n"
    "  -1          повторное использование компонентов (как FALL, 1,)\n"
    "  -h, --help  эта справка;  --version  версия;  --  конец параметров\n"
    "Код завершения: 0 - запуск завершён, 1 - подбор невозможен, 2 - ошибка\n"
    "(файл данных непригоден, результат не записан, неверная командная строка).\n"
    "Руководство: man podbor\n"
    "\n"
    "Matches pairs of component pairs from the data file FILE (asked for when\n"
    "not given). Results: on the console, 10 matches a page (answer q or й to end\n"
    "the listing), and in the file Rezalts.txt.\n"
    "Data file words, each followed by a comma:\n"
    "  TCH, threshold %,  ZNACH, value,  OTCL, tolerance %,  FOTCL, 0|1,  TIP, 1|2,\n"
    "  FALL, 0|1,  Y, P, Z, N,  START, NUL, component values..., END,\n"
    "  -1          components may serve in several matches (like FALL, 1,)\n"
    "  -h, --help  this help;  --version  the version;  --  end of options\n"
    "Exit status: 0 run complete, 1 matching impossible, 2 trouble\n"
    "(data file unusable, results not written, bad command line).\n"
    "Manual: man podbor\n";

CommandLine Misuse(CommandLine line, const char* arg, bool second_file) {
  line.request = Request::kMisuse;
  line.misused = arg;
  line.second_file = second_file;
  return line;
}

}  // namespace

CommandLine parse_command_line(int argc, const char* const* argv) {
  CommandLine line;
  line.argc = argc;
  bool options = true;
  for (int k = 1; k < argc; ++k) {
    const char* arg = argv[k];
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
      } else {
        return Misuse(line, arg, false);
      }
    } else if (line.data_file) {
      return Misuse(line, arg, true);
    } else {
      line.data_file = arg;
    }
  }
  if (argc == kSwitchAloneArgc && line.repeat) line.echoed = argv[1];
  return line;
}

int answer_request(const CommandLine& line, Output* out, Output* err) {
  switch (line.request) {
    case Request::kHelp:
      put_text(out, kUsage);
      put_text(out, kHelp);
      return kStatusComplete;
    case Request::kVersion:
      print(out, "podbor %s\n", kVersion);
      return kStatusComplete;
    case Request::kMisuse:
    case Request::kRun:
      break;
  }
  if (line.second_file)
    print(err, "podbor: лишний аргумент %s: файл данных может быть только один\n", line.misused);
  else
    print(err, "podbor: неизвестный параметр %s\n", line.misused);
  put_text(err, kUsage);
  return kTroubleStatus;
}
