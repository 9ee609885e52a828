#include "import/data_file_writer.h"

#include "program1/register_table.h"
#include "vvod_z/command_interpreter.h"
#include "vvod_z/data_file_reader.h"

namespace {

/// Values and their comments line up at this column.
constexpr size_t kCommentColumn = 12;

/// Builds the text and counts the characters the reader will store: the
/// letters, digits, points and commas outside comments.
struct Builder {
  std::string text;
  int stored = 0;

  void Comment(const std::string& line) { text += line.empty() ? "//\n" : "// " + line + "\n"; }

  /// Words: each is written followed by a comma.
  void Code(const std::string& words, const std::string& comment = std::string()) {
    std::string line = words;
    if (!comment.empty()) {
      if (line.size() < kCommentColumn) line.resize(kCommentColumn, ' ');
      line += "  // " + comment;
    }
    text += line + "\n";
    stored += StoredChars(words);
  }

  static int StoredChars(const std::string& code) {
    int n = 0;
    for (char c : code)
      if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
          c == ',')
        ++n;
    return n;
  }
};

std::string Word(int keyword, const std::string& number = std::string()) {
  std::string w = std::string(keyword_name(keyword)) + ",";
  return number.empty() ? w : w + " " + number + ",";
}

/// A setting: written when chosen, else shown with its default as a
/// comment that one can turn into a setting.
void Setting(Builder* b, int keyword, const std::string& chosen, const char* fallback) {
  if (chosen.empty())
    b->Comment(Word(keyword, fallback));
  else
    b->Code(Word(keyword, chosen));
}

const char* UnitName(char unit) {
  return unit == 'k' ? "кОм" : unit == 'M' ? "МОм" : "Ом";
}

void WriteSettings(Builder* b, const DataFileSettings& s) {
  const bool band = !s.otcl.empty() && !s.znach.empty();
  b->Comment("Файл данных podbor, составленный командой podbor --import из списка измерений.");
  b->Comment("Каждое слово кончается запятой; от «//» до конца строки и между /* и */ —");
  b->Comment("комментарий. Настройка в комментарии не действует: уберите перед ней «//»,");
  b->Comment("чтобы её включить. Числа пишутся с точкой.");
  b->Comment("");
  b->Comment("TCH — порог точности, %: выводятся подборки с отклонением до порога;");
  b->Comment("  0 — все (по умолчанию 0).");
  Setting(b, kTCH, s.tch, "0");
  b->Comment(std::string("ZNACH — искомое значение пары, ") + UnitName(s.unit) +
             " (по умолчанию 0: не задано).");
  Setting(b, kZNACH, s.znach, "0");
  b->Comment("OTCL — допуск на искомое значение, % (по умолчанию 0).");
  Setting(b, kOTCL, band ? s.otcl : std::string(), "0");
  b->Comment("FOTCL — 0: в расчёт идут только пары в границах ZNACH ± OTCL %;");
  b->Comment("  1: все пары (по умолчанию 1).");
  Setting(b, kFOTCL, band ? "0" : "", "1");
  b->Comment("TIP — соединение пары: 1 последовательно, 2 параллельно (по умолчанию 1).");
  b->Code(Word(kTIP, std::to_string(s.parallel ? kParallel : kSeries)));
  b->Comment("FALL — 0: компонент входит не более чем в одну подборку; 1: в несколько");
  b->Comment("  (по умолчанию 0, как без параметра -1).");
  Setting(b, kFALL, std::string(), "0");
  b->Comment("Флаги вывода: какие пары показывать (по умолчанию Y и P). Y — партнёр без общих");
  b->Comment("  компонентов; P — партнёр через мнимый элемент; Z — пара без партнёра;");
  b->Comment("  N — не отмечает ни одной пары. Действуют первый и последний из данных.");
  b->Code(Word(kY) + " " + Word(kP));
  b->Comment("");
  b->Comment(std::string("Измеренные значения, ") + UnitName(s.unit) +
             ". R — номер компонента в отчёте podbor, за ним метка из списка.");
}

}  // namespace

WrittenDataFile write_data_file(const std::vector<ListValue>& values,
                                const DataFileSettings& settings) {
  constexpr size_t kMaxComponents = kFlagSlots - kFirstComponentSlot;
  Builder b;
  WriteSettings(&b, settings);
  b.Code(Word(kSTART));
  const std::string end = Word(kEND);
  // The line break after END must still be read: one stored cell to spare.
  const int room = kDataCells - 1 - Builder::StoredChars(end);
  WrittenDataFile out;
  for (const ListValue& v : values) {
    const std::string word = v.digits + ",";
    if (static_cast<size_t>(out.values) == kMaxComponents ||
        b.stored + Builder::StoredChars(word) > room)
      break;
    ++out.values;
    std::string comment = "R" + std::to_string(out.values);
    if (!v.label.empty()) comment += "  " + v.label;
    b.Code(word, comment);
  }
  b.Code(end);
  out.text = std::move(b.text);
  return out;
}
