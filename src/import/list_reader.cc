#include "import/list_reader.h"

#include <array>
#include <string_view>

#include "import/value_text.h"
#include "vvod_z/data_file_warnings.h"

namespace {

/// Columns beyond this many are not looked at.
constexpr size_t kMaxColumns = 64;

enum class Delimiter { kTab, kSemicolon, kComma, kBlank };

struct Layout {
  Delimiter delimiter = Delimiter::kBlank;
  /// Whether a single space between digits groups thousands ("1 000")
  /// rather than separates two values: only in a list where every such
  /// space can.
  bool blank_groups = true;
};

struct Cell {
  std::string text;
  int line = 0;
  int col = 0;
};

struct Record {
  std::vector<Cell> cells;
  int line = 0;
  int dropped = 0;  ///< Cells beyond kMaxColumns.
};

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsLineEnd(char c) {
  return c == '\n' || c == '\r';
}

bool IsSplitBlank(char c) {
  return c == ' ' || c == '\t';
}

bool IsContinuation(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

/// Whether the space at `i` stands between thousands: 1 to 3 digits that
/// begin a number before it, exactly 3 digits and no more after it.
bool GroupingSpace(std::string_view t, size_t i) {
  constexpr size_t kGroup = 3;
  size_t run = 0;
  while (run <= kGroup && run < i && IsDigit(t[i - 1 - run]))
    ++run;
  if (run == 0 || run > kGroup) return false;
  const size_t start = i - run;
  if (start > 0 && !(IsSplitBlank(t[start - 1]) || IsLineEnd(t[start - 1]) || t[start - 1] == '+' ||
                     t[start - 1] == '"'))
    return false;
  size_t after = 0;
  while (after <= kGroup && i + 1 + after < t.size() && IsDigit(t[i + 1 + after]))
    ++after;
  return after == kGroup;
}

/// Whether a comment begins at `i`: "//" anywhere outside quotes, '#' at
/// the start of a line or after a blank.
bool CommentAt(std::string_view t, size_t i) {
  if (t[i] == '/' && i + 1 < t.size() && t[i + 1] == '/') return true;
  return t[i] == '#' && (i == 0 || IsSplitBlank(t[i - 1]) || IsLineEnd(t[i - 1]));
}

/// Past the line end at `i` (CR LF, LF or CR).
size_t SkipLineEnd(std::string_view t, size_t i) {
  return t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n' ? i + 2 : i + 1;
}

/// The delimiter the list uses: a tab or a semicolon wherever one stands
/// outside quotes; else a comma that is no decimal mark (one beside a
/// blank, a letter or a line end: "10.02, 10.05", "R1,10.02"); else blanks.
Layout FindLayout(std::string_view t) {
  bool tab = false;
  bool semicolon = false;
  bool comma = false;
  bool spaces_split = false;
  bool quoted = false;
  for (size_t i = 0; i < t.size(); ++i) {
    const char c = t[i];
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (CommentAt(t, i)) {
      while (i + 1 < t.size() && !IsLineEnd(t[i + 1]))
        ++i;
      continue;
    }
    tab = tab || c == '\t';
    semicolon = semicolon || c == ';';
    if (c == ',' && (i == 0 || i + 1 == t.size() || !IsDigit(t[i - 1]) || !IsDigit(t[i + 1])))
      comma = true;
    if (c == ' ' && i > 0 && IsDigit(t[i - 1]) && i + 1 < t.size() && IsDigit(t[i + 1]) &&
        !GroupingSpace(t, i))
      spaces_split = true;
  }
  Layout layout;
  layout.delimiter = tab         ? Delimiter::kTab
                     : semicolon ? Delimiter::kSemicolon
                     : comma     ? Delimiter::kComma
                                 : Delimiter::kBlank;
  layout.blank_groups = !spaces_split;
  return layout;
}

bool IsDelimiter(const Layout& layout, char c) {
  switch (layout.delimiter) {
    case Delimiter::kTab:
      return c == '\t';
    case Delimiter::kSemicolon:
      return c == ';';
    case Delimiter::kComma:
      return c == ',';
    case Delimiter::kBlank:
      return IsSplitBlank(c);
  }
  return false;
}

/// The word at `i` (up to a blank, a delimiter, a quote or the line end).
std::string_view WordAt(std::string_view t, size_t i) {
  size_t end = i;
  while (end < t.size() && !IsSplitBlank(t[end]) && !IsLineEnd(t[end]) && t[end] != '"')
    ++end;
  return t.substr(i, end - i);
}

/// Cuts the text into records of cells and hands each record that holds
/// anything to `on_record`. One pass, no step back beyond a few bytes.
template <typename OnRecord>
void ForEachRecord(std::string_view t, const Layout& layout, OnRecord on_record) {
  Record rec;
  Cell cell;
  bool started = false;  // the cell has a character other than a blank
  bool quoted = false;
  int line = 1;
  int col = 1;
  rec.line = 1;
  const auto end_cell = [&]() {
    if (rec.cells.size() < kMaxColumns)
      rec.cells.push_back(cell);
    else
      ++rec.dropped;
    cell = Cell{};
    started = false;
  };
  const auto end_record = [&]() {
    end_cell();
    bool any = false;
    for (const Cell& c : rec.cells)
      any = any || c.text.find_first_not_of(" \t") != std::string::npos;
    if (any) on_record(rec);
    rec.cells.clear();
    rec.dropped = 0;
  };
  const auto put = [&](char c, size_t i) {
    if (!started && !IsSplitBlank(c)) {
      started = true;
      cell.line = line;
      cell.col = col;
    }
    cell.text += c;
    if (!IsContinuation(t[i])) ++col;
  };
  size_t i = 0;
  while (i < t.size()) {
    const char c = t[i];
    if (quoted) {
      if (c == '"' && i + 1 < t.size() && t[i + 1] == '"') {
        cell.text += '"';
        col += 2;
        i += 2;
      } else if (c == '"') {
        quoted = false;
        ++col;
        ++i;
      } else if (IsLineEnd(c)) {
        cell.text += '\n';
        ++line;
        col = 1;
        i = SkipLineEnd(t, i);
      } else {
        cell.text += c;
        if (!IsContinuation(c)) ++col;
        ++i;
      }
      continue;
    }
    if (IsLineEnd(c)) {
      end_record();
      ++line;
      col = 1;
      rec.line = line;
      i = SkipLineEnd(t, i);
      continue;
    }
    if (c == '"' && !started) {
      quoted = true;
      started = true;
      cell.line = line;
      cell.col = col++;
      ++i;
      continue;
    }
    if (CommentAt(t, i)) {
      while (i < t.size() && !IsLineEnd(t[i]))
        ++i;
      continue;
    }
    if (layout.delimiter == Delimiter::kBlank && IsSplitBlank(c)) {
      const bool keep = started && !cell.text.empty() && IsDigit(cell.text.back()) &&
                        ((c == ' ' && layout.blank_groups && GroupingSpace(t, i)) ||
                         is_unit_word(WordAt(t, i + 1)));
      if (keep) {
        put(c, i++);
      } else {
        if (started) end_cell();
        ++col;
        ++i;
      }
      continue;
    }
    if (IsDelimiter(layout, c)) {
      end_cell();
      ++col;
      ++i;
      continue;
    }
    put(c, i++);
  }
  end_record();
}

std::string Trimmed(const std::string& s) {
  const size_t from = s.find_first_not_of(" \t");
  if (from == std::string::npos) return {};
  return s.substr(from, s.find_last_not_of(" \t") - from + 1);
}

/// What the survey learnt about one column.
struct ColumnStats {
  int numbers = 0;  ///< Cells that read as values and look like numbers.
  int texts = 0;    ///< Cells with something else.
  int comma_decimal = 0;
  int comma_grouping = 0;
  int ambiguous = 0;
  /// Whether its numbers so far are 1, 2, 3, ... (a running count).
  bool counting = true;
  long next_count = 0;
  std::string name;  ///< Its header cell.
};

bool RunningCount(const ColumnStats& s) {
  return s.counting && s.texts == 0 && s.numbers >= 2;
}

CommaReading HintOf(const ColumnStats& s) {
  return s.comma_grouping > s.comma_decimal ? CommaReading::kGrouping : CommaReading::kDecimal;
}

/// Notes one data cell of a column.
void Survey(ColumnStats* s, const Cell& cell, char unit) {
  const std::string_view text = cell.text;
  if (text.find_first_not_of(" \t") == std::string_view::npos) return;
  const ValueReading r = read_value(text, unit, CommaReading::kDecimal);
  if (!r.ok || !starts_like_number(text)) {
    ++s->texts;
    return;
  }
  ++s->numbers;
  if (r.comma == CommaEvidence::kDecimal) ++s->comma_decimal;
  if (r.comma == CommaEvidence::kGrouping) ++s->comma_grouping;
  if (r.comma == CommaEvidence::kAmbiguous) ++s->ambiguous;
  // A count is judged on the digits as written, whatever the unit.
  constexpr size_t kMaxCountDigits = 9;
  const std::string written = Trimmed(cell.text);
  const bool integer = written.size() <= kMaxCountDigits &&
                       written.find_first_not_of("0123456789") == std::string::npos;
  const long n = integer ? std::stol(written) : -1;
  if (s->numbers == 1) s->next_count = n;
  s->counting = s->counting && integer && n == s->next_count;
  ++s->next_count;
}

/// A header row: words and no value ("-5" is a bad value, not a name).
bool IsHeader(const Record& rec, char unit) {
  bool words = false;
  for (const Cell& c : rec.cells) {
    if (read_value(c.text, unit, CommaReading::kDecimal).ok) return false;
    for (char ch : c.text)
      words = words || (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') ||
              static_cast<unsigned char>(ch) >= 0x80;
  }
  return words;
}

/// A label that cannot break the comment it goes into: control characters
/// and line breaks become blanks, blanks are squeezed, the length is cut
/// (on a character boundary).
std::string CleanLabel(const std::string& s) {
  std::string out;
  size_t chars = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    constexpr unsigned char kDelete = 0x7F;
    const bool control = c < ' ' || c == kDelete ||
                         s.compare(i, 3, "\xE2\x80\xA8") == 0 ||  // line separator
                         s.compare(i, 3, "\xE2\x80\xA9") == 0;    // paragraph separator
    if (control && c >= ' ') i += 2;
    if (control) c = ' ';
    if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
    if (!IsContinuation(static_cast<char>(c)) && ++chars > kMaxLabelChars) break;
    out += static_cast<char>(c);
  }
  while (!out.empty() && out.back() == ' ')
    out.pop_back();
  return out;
}

/// Collects warnings up to kMaxWarnings and counts the rest.
struct Warnings {
  std::vector<ImportWarning>* kept;
  int* more;
  void Add(int line, int col, std::string text) const {
    if (kept->size() < static_cast<size_t>(kMaxWarnings))
      kept->push_back({line, col, std::move(text)});
    else
      ++*more;
  }
};

std::string Quote(const std::string& s) {
  constexpr size_t kQuoteChars = 32;
  const std::string clean = CleanLabel(s);
  std::string q;
  size_t chars = 0;
  for (char c : clean) {
    if (!IsContinuation(c) && ++chars > kQuoteChars) return "«" + q + "...»";
    q += c;
  }
  return "«" + q + "»";
}

/// What the survey decided: where the values are, where their labels.
struct Plan {
  bool table = false;  ///< One column of values; otherwise every cell is one.
  size_t value_column = 0;
  size_t label_column = kMaxColumns;  ///< kMaxColumns: none.
  bool header = false;
  int header_line = 0;
  std::array<ColumnStats, kMaxColumns> columns;
  ColumnStats all;  ///< Every column together, for a list of values.
};

std::string LowerAscii(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

/// Chooses the column of values and the label column; an error text when
/// the one asked for is not there.
std::string ChoosePlan(Plan* p, size_t width, const ImportOptions& options) {
  if (!options.column_name.empty()) {
    p->table = true;
    size_t k = 0;
    while (k < width && LowerAscii(p->columns[k].name) != LowerAscii(Trimmed(options.column_name)))
      ++k;
    if (!p->header || k == width)
      return "в заголовке списка нет столбца «" + CleanLabel(options.column_name) + "»";
    p->value_column = k;
  } else if (options.column > 0) {
    p->table = true;
    if (static_cast<size_t>(options.column) > kMaxColumns)
      return "столбец " + std::to_string(options.column) +
             " дальше последнего, который читается (" + std::to_string(kMaxColumns) + ")";
    p->value_column = static_cast<size_t>(options.column) - 1;
  } else {
    bool text_column = false;
    bool count_column = false;
    for (size_t k = 0; k < width; ++k) {
      text_column = text_column || p->columns[k].texts > p->columns[k].numbers;
      count_column = count_column || RunningCount(p->columns[k]);
    }
    p->table = width > 1 && (p->header || text_column || count_column);
    if (!p->table) return {};
    // The first column of numbers that is no running count; a running
    // count only when nothing else holds numbers.
    size_t chosen = width;
    for (size_t k = 0; k < width && chosen == width; ++k)
      if (p->columns[k].numbers > 0 && p->columns[k].numbers >= p->columns[k].texts &&
          !RunningCount(p->columns[k]))
        chosen = k;
    for (size_t k = 0; k < width && chosen == width; ++k)
      if (p->columns[k].numbers > 0) chosen = k;
    p->value_column = chosen == width ? 0 : chosen;
  }
  for (size_t k = 0; k < width && p->label_column == kMaxColumns; ++k)
    if (k != p->value_column && p->columns[k].texts > 0) p->label_column = k;
  for (size_t k = 0; k < width && p->label_column == kMaxColumns; ++k)
    if (k != p->value_column && RunningCount(p->columns[k])) p->label_column = k;
  return {};
}

void Merge(ColumnStats* into, const ColumnStats& s) {
  into->comma_decimal += s.comma_decimal;
  into->comma_grouping += s.comma_grouping;
  into->ambiguous += s.ambiguous;
}

/// Whether the other numbers of a column tell how to read "1,000": they
/// use the comma one way only.
bool Settled(const ColumnStats& s) {
  return (s.comma_decimal > 0) != (s.comma_grouping > 0);
}

/// Says once per column how its numbers like "1,000" were read, when the
/// column does not settle it.
void SayAmbiguous(const Warnings& w, const Cell& cell, const ValueReading& r,
                  const ColumnStats& s) {
  w.Add(cell.line, cell.col,
        Quote(cell.text) + " можно прочитать двояко (запятая отделяет дробную часть или " +
            "тысячи), и другие строки этого не решают: прочитано " + r.digits +
            ", запятая дробная; чисел, прочитанных так: " + std::to_string(s.ambiguous));
}

}  // namespace

ListReading read_list(const std::string& text, const ImportOptions& options, size_t keep) {
  ListReading out;
  const Warnings warn{&out.warnings, &out.more_warnings};
  const Layout layout = FindLayout(text);
  const char unit = options.unit;

  Plan p;
  size_t width = 0;
  bool first = true;
  ForEachRecord(text, layout, [&](const Record& rec) {
    if (first && IsHeader(rec, unit)) {
      p.header = true;
      p.header_line = rec.line;
      for (size_t k = 0; k < rec.cells.size(); ++k)
        p.columns[k].name = Trimmed(rec.cells[k].text);
    } else {
      for (size_t k = 0; k < rec.cells.size(); ++k)
        Survey(&p.columns[k], rec.cells[k], unit);
    }
    first = false;
    width = std::max(width, rec.cells.size());
  });
  out.trouble = ChoosePlan(&p, width, options);
  if (!out.trouble.empty()) return out;
  for (size_t k = 0; k < width; ++k)
    Merge(&p.all, p.columns[k]);

  std::array<bool, kMaxColumns> told{};  // an ambiguous comma, said once
  const Layout blanks{Delimiter::kBlank, layout.blank_groups};
  const auto take_one = [&](const Cell& cell, size_t column, const std::string& label) {
    const ColumnStats& s = p.table ? p.columns[column] : p.all;
    const ValueReading r = read_value(cell.text, unit, HintOf(s));
    if (!r.ok) {
      warn.Add(cell.line, cell.col, Quote(cell.text) + " не прочитано и пропущено: " + r.reason);
      return;
    }
    // A list parted by semicolons comes from a spreadsheet whose decimal
    // mark is the comma (that is why it parts its cells so): no doubt there.
    const bool comma_decimal = layout.delimiter == Delimiter::kSemicolon;
    if (r.comma == CommaEvidence::kAmbiguous && !Settled(s) && !comma_decimal &&
        !told[p.table ? column : 0]) {
      told[p.table ? column : 0] = true;
      SayAmbiguous(warn, cell, r, s);
    }
    if (out.values.size() < keep) {
      out.values.push_back({r.digits, CleanLabel(label), cell.line});
    } else if (out.further++ == 0) {
      out.further_line = cell.line;
    }
  };
  const auto take = [&](const Cell& cell, size_t column, const std::string& label) {
    const std::string values = Trimmed(cell.text);
    const bool parted = !p.table && layout.delimiter != Delimiter::kBlank &&
                        values.find_first_of(" \t") != std::string::npos &&
                        !read_value(values, unit, HintOf(p.all)).ok;
    if (!parted) {
      take_one(cell, column, label);
      return;
    }
    // A list may part its values by blanks as well ("10.02 10.05, 10.07").
    ForEachRecord(values, blanks, [&](const Record& pieces) {
      for (Cell piece : pieces.cells) {
        piece.col += pieces.line == 1 ? cell.col - 1 : 0;
        piece.line += cell.line - 1;
        take_one(piece, column, label);
      }
    });
  };
  ForEachRecord(text, layout, [&](const Record& rec) {
    if (p.header && rec.line == p.header_line) return;
    if (rec.dropped > 0)
      warn.Add(rec.line, rec.cells.back().col,
               "в строке больше " + std::to_string(kMaxColumns) + " полей: дальнейшие не читаются");
    if (!p.table) {
      for (size_t k = 0; k < rec.cells.size(); ++k)
        if (!Trimmed(rec.cells[k].text).empty()) take(rec.cells[k], k, std::string());
      return;
    }
    const std::string label =
        p.label_column < rec.cells.size() ? Trimmed(rec.cells[p.label_column].text) : "";
    if (p.value_column >= rec.cells.size() || Trimmed(rec.cells[p.value_column].text).empty()) {
      warn.Add(rec.line, 1,
               "строка пропущена: в столбце " + std::to_string(p.value_column + 1) +
                   " нет значения" + (label.empty() ? "" : " (метка " + Quote(label) + ")"));
      return;
    }
    take(rec.cells[p.value_column], p.value_column, label);
  });
  return out;
}
