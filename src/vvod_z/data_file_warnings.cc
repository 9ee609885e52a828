#include "vvod_z/data_file_warnings.h"

#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "program1/register_table.h"
#include "text/console.h"
#include "text/format.h"
#include "vvod_z/command_interpreter.h"
#include "vvod_z/data_file_reader.h"
#include "vvod_z/keyword_likeness.h"

namespace {

/// A word is quoted with at most this many characters.
constexpr int kQuoteChars = 32;
/// A file counts as no text when at least one byte in this many is a NUL.
constexpr int kNulShare = 8;
constexpr int kFewNuls = 4;

constexpr unsigned char kLayout = kGapBlank | kGapLineBreak | kGapCarriageReturn;

struct Reporter {
  const char* name = nullptr;
  int found = 0;
};

void Warn(Reporter* r, const CharOrigin& at, const char* fmt, ...)
    __attribute__((format(printf, 3, 4)));

void Warn(Reporter* r, const CharOrigin& at, const char* fmt, ...) {
  if (++r->found > kMaxWarnings) return;
  va_list ap;
  va_start(ap, fmt);
  const std::string what = vformat_string(fmt, ap);
  va_end(ap);
  tell("%s:%d:%d: предупреждение: %s", r->name, at.line, at.col, what.c_str());
}

/// Stored characters `from` to `to` - 1, cut after kQuoteChars.
struct Quote {
  char s[kQuoteChars + 4] = {};
};

Quote Cells(int from, int to) {
  Quote q;
  int n = 0;
  for (int p = from; p < to && n < kQuoteChars; ++p)
    q.s[n++] = static_cast<char>(data[p]);
  if (to - from > kQuoteChars) std::strcpy(q.s + n, "...");
  return q;
}

Quote Word(const WordNote& w) {
  return Cells(w.first, w.comma);
}

bool IsDigit(int c) {
  return c >= '0' && c <= '9';
}

bool IsLetter(int c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

/// The first cell of the word that satisfies `test`, or -1.
template <typename Test>
int FirstWhere(const WordNote& w, Test test) {
  for (int p = w.first; p < w.comma; ++p)
    if (test(data[p])) return p;
  return -1;
}

bool OnlyDigits(const WordNote& w) {
  return w.first < w.comma && FirstWhere(w, [](int c) { return !IsDigit(c); }) < 0;
}

bool OnlyLetters(const WordNote& w) {
  return w.first < w.comma && FirstWhere(w, [](int c) { return !IsLetter(c); }) < 0;
}

/// What the filters dropped in a gap, in words.
struct GapText {
  char s[256] = {};
};

GapText Describe(const CharOrigin& o) {
  GapText t;
  auto add = [&t](const char* part) {
    if (t.s[0]) std::strcat(t.s, ", ");
    std::strcat(t.s, part);
  };
  if (o.gap & kGapLineBreak) add("перевод строки");
  if ((o.gap & kGapCarriageReturn) && !(o.gap & kGapLineBreak)) add("возврат каретки");
  if (o.gap & kGapBlank) add("пробел");
  if (o.gap & kGapComment) add("комментарий");
  if (o.gap & kGapDropped) {
    if (o.dropped > ' ' && o.dropped < 0x7F) {
      char c[32];
      std::snprintf(c, sizeof(c), "символ «%c»", o.dropped);
      add(c);
    } else {
      add("символы, которые файл данных пропускает");
    }
  }
  return t;
}

/// The first character after `from` in the word that follows a gap (not
/// one that a lone '/' made), or -1.
int GapInside(const WordNote& w, int from) {
  for (int p = from + 1; p < w.comma; ++p) {
    const unsigned char g = data_origin[p].gap;
    if (g != 0 && !(g & kGapSwallowed)) return p;
  }
  return -1;
}

bool Loose(int cell, int a) {
  return cell >= a || (data_origin[cell].gap & kLayout) != 0;
}

/// A comma between two words of digits that follow it without a blank,
/// while the commas around them are followed by blanks or line breaks: the
/// comma of a decimal fraction written in the Russian way.
bool DecimalComma(const WordNote* w, int n, int k, int a) {
  if (k + 1 >= n || !OnlyDigits(w[k]) || !OnlyDigits(w[k + 1])) return false;
  if (data_origin[w[k + 1].first].gap != 0) return false;
  const bool before = k == 0 || Loose(w[k].first, a);
  return before && Loose(w[k + 1].comma + 1, a);
}

void SayLetters(Reporter* r, const WordNote& w, int letter) {
  Warn(r, data_origin[letter],
       "в числе «%s» буква «%c» прочитана как цифра %d, и значение искажено: пишите значения "
       "цифрами с точкой, без множителей (k, M, R), порядка (e) и обозначений (например 4700 "
       "вместо 4k7, 1000 вместо 1e3)",
       Word(w).s, static_cast<char>(data[letter]), data[letter] - '0');
}

/// What the traps of one word found.
enum class Trap {
  kNone,
  kSaid,
  kKeywordLike,   ///< A misspelt keyword: the next word is probably its number.
  kDecimalComma,  ///< The next word is the fraction and says nothing more.
};

/// One word in its list, as the checks of a single word see it.
struct WordAt {
  const WordNote* w;
  int n;  ///< Words in all.
  int k;  ///< This word.
  int a;  ///< Stored characters.
  const WordNote& v() const { return w[k]; }
};

Trap EmptyWord(Reporter* r, const WordAt& at) {
  const WordNote& v = at.v();
  if (v.first != v.comma) return Trap::kNone;
  Warn(r, data_origin[v.comma], "пустое слово (две запятые подряд) прочитано как число 0%s",
       v.argument    ? " и стало значением команды перед ним"
       : v.slot >= 0 ? " и добавлено в список как компонент"
                     : "");
  return Trap::kSaid;
}

/// The first letter of a word that is no keyword, or -1.
int LetterIn(const WordNote& v) {
  return v.command == kNotKeyword ? FirstWhere(v, IsLetter) : -1;
}

Trap MisspeltKeyword(Reporter* r, const WordAt& at) {
  const WordNote& v = at.v();
  bool by_case = false;
  const int likely = LetterIn(v) >= 0 && OnlyLetters(v) && GapInside(v, v.first) < 0
                         ? likely_keyword(&data[v.first], v.comma - v.first, &by_case)
                         : -1;
  if (likely < 0) return Trap::kNone;
  if (by_case)
    Warn(r, data_origin[v.first],
         "«%s» прочитано как число, а не как ключевое слово %s: ключевые слова пишутся "
         "заглавными латинскими буквами",
         Word(v).s, keyword_name(likely));
  else
    Warn(r, data_origin[v.first],
         "«%s» не ключевое слово и прочитано как число; может быть, имелось в виду %s?", Word(v).s,
         keyword_name(likely));
  return Trap::kKeywordLike;
}

/// How a unit or a multiplier after a value is spelt, and the power of ten
/// it stands for. Ом and Ω are no letters of the data file and drop out by
/// themselves; these are read as digits.
struct UnitSpelling {
  const char* text;
  int power;
};
constexpr UnitSpelling kUnits[] = {
    {"Ohm", 0},  {"ohm", 0},  {"OHM", 0},  {"Om", 0},  {"om", 0},    {"R", 0},
    {"kOhm", 3}, {"kohm", 3}, {"KOhm", 3}, {"kOm", 3}, {"k", 3},     {"K", 3},
    {"MOhm", 6}, {"Mohm", 6}, {"MOm", 6},  {"M", 6},   {"mOhm", -3}, {"m", -3},
};
/// The longest number a unit advice rewrites.
constexpr int kAdviceDigits = 24;

/// The digits of `number` ("4.7") times ten to the `power`, written as the
/// data file writes numbers ("4700", "0.0047"); empty when it is too long.
std::string Scaled(std::string number, int power) {
  size_t point = number.find('.');
  if (point == std::string::npos) point = number.size();
  number.erase(std::remove(number.begin(), number.end(), '.'), number.end());
  long shifted = static_cast<long>(point) + power;
  if (shifted < 0 || number.size() > static_cast<size_t>(kAdviceDigits)) return "";
  while (static_cast<long>(number.size()) < shifted)
    number += '0';
  std::string whole = number.substr(0, static_cast<size_t>(shifted));
  std::string fraction = number.substr(static_cast<size_t>(shifted));
  while (!fraction.empty() && fraction.back() == '0')
    fraction.pop_back();
  const size_t digit = whole.find_first_not_of('0');
  whole = digit == std::string::npos ? "0" : whole.substr(digit);
  return fraction.empty() ? whole : whole + "." + fraction;
}

/// A value followed by a unit or a multiplier ("100 Ohm", "4.7k", "100R"):
/// its letters are read as digits. The advice is the number alone, in ohms,
/// which the reader takes as it stands.
Trap UnitAfterValue(Reporter* r, const WordAt& at) {
  const WordNote& v = at.v();
  const int letter = LetterIn(v);
  if (letter <= v.first || FirstWhere(v, [](int c) { return c == '.'; }) > letter)
    return Trap::kNone;
  std::string number;
  for (int p = v.first; p < letter; ++p) {
    if (!IsDigit(data[p]) && data[p] != '.') return Trap::kNone;
    if (p > v.first && data_origin[p].gap != 0) return Trap::kNone;
    number += static_cast<char>(data[p]);
  }
  std::string unit;
  for (int p = letter; p < v.comma; ++p) {
    if (!IsLetter(data[p]) || (p > letter && data_origin[p].gap != 0)) return Trap::kNone;
    unit += static_cast<char>(data[p]);
  }
  for (const UnitSpelling& u : kUnits) {
    if (unit != u.text) continue;
    const std::string advice = Scaled(number, u.power);
    if (advice.empty()) return Trap::kNone;
    Warn(r, data_origin[letter],
         "в «%s» обозначение «%s» прочитано как цифры, и значение искажено: единицы и множители "
         "в файле данных не пишутся, значения пишутся в омах одним числом: «%s,»",
         Word(v).s, u.text, advice.c_str());
    return Trap::kSaid;
  }
  return Trap::kNone;
}

Trap LettersInNumber(Reporter* r, const WordAt& at) {
  const WordNote& v = at.v();
  const int letter = LetterIn(v);
  const int gap = GapInside(v, v.first);
  if (letter < 0 || (gap >= 0 && (data_origin[gap].gap & kLayout) != 0)) return Trap::kNone;
  SayLetters(r, v, letter);
  return Trap::kSaid;
}

Trap NoCommaBetween(Reporter* r, const WordAt& at) {
  const WordNote& v = at.v();
  const int gap = GapInside(v, v.first);
  if (gap < 0) return Trap::kNone;
  const int next = GapInside(v, gap);
  const int piece_end = next < 0 ? v.comma : next;
  Warn(r, data_origin[gap],
       "между «%s» и «%s» нет запятой, только %s: прочитано одно слово «%s»; слова "
       "разделяются запятыми",
       Cells(v.first, gap).s, Cells(gap, piece_end).s, Describe(data_origin[gap]).s, Word(v).s);
  return Trap::kSaid;
}

Trap DroppedSign(Reporter* r, const WordAt& at) {
  const WordNote& v = at.v();
  if (v.command != kNotKeyword || !(data_origin[v.first].gap & kGapDropped) ||
      data_origin[v.first].dropped != '-')
    return Trap::kNone;
  Warn(r, data_origin[v.first],
       "знак «-» перед «%s» отброшен, прочитано %s: отрицательных значений файл данных не знает",
       Word(v).s, Word(v).s);
  return Trap::kSaid;
}

Trap CommaInNumber(Reporter* r, const WordAt& at) {
  if (!DecimalComma(at.w, at.n, at.k, at.a)) return Trap::kNone;
  const WordNote& v = at.v();
  const WordNote& fraction = at.w[at.k + 1];
  Warn(r, data_origin[v.comma],
       "«%s,%s» прочитано как два числа %s и %s: в файле данных дробную часть отделяет "
       "точка (%s.%s), а запятая разделяет слова",
       Word(v).s, Word(fraction).s, Word(v).s, Word(fraction).s, Word(v).s, Word(fraction).s);
  return Trap::kDecimalComma;
}

/// The checks of one word by itself, in order: the first that finds a trap
/// says it, and the word has had its warning.
constexpr Trap (*kWordChecks[])(Reporter*, const WordAt&) = {
    EmptyWord,      MisspeltKeyword, UnitAfterValue, LettersInNumber,
    NoCommaBetween, DroppedSign,     CommaInNumber,
};

/// The traps of one word by itself.
Trap WordTraps(Reporter* r, const WordNote* w, int n, int k, int a) {
  const WordAt at{w, n, k, a};
  for (auto check : kWordChecks) {
    const Trap t = check(r, at);
    if (t != Trap::kNone) return t;
  }
  return Trap::kNone;
}

bool Before(const FileNotes::Swallow& s, const CharOrigin& o) {
  return s.line < o.line || (s.line == o.line && s.col < o.col);
}

void SaySwallow(Reporter* r, const FileNotes::Swallow& s) {
  const CharOrigin at{s.line, s.col, 0, 0};
  if (s.end_line == 0)
    Warn(r, at,
         "одиночная «/» пропускает весь текст до конца файла: комментарий пишется «//» или "
         "«/* */», а дробь числом с точкой");
  else
    Warn(r, at,
         "одиночная «/» пропускает текст по строку %d: комментарий пишется «//» или «/* */», "
         "а дробь числом с точкой",
         s.end_line);
}

/// What the words told about the list and the settings, for the warnings
/// about the file as a whole.
struct Survey {
  int start = -1;  ///< The last START.
  bool ended = false;
  int lost = 0;
  int first_lost = -1;
  int after_end = 0;
  int first_after_end = -1;
  /// OTCL with its number: a tolerance band is meant. ZNACH alone may
  /// stand for a note of the sought value, and says nothing.
  int band = -1;
  int znach = -1;  ///< ZNACH with its number.
  int fotcl = -1;  ///< FOTCL with its number.
  int fall = -1;   ///< The last FALL with its number.
};

void Tally(int* n, int* first, int k) {
  if ((*n)++ == 0) *first = k;
}

/// Notes what word k does to the list and the settings.
void SurveyWord(Survey* s, const WordNote* w, int k) {
  const WordNote& v = w[k];
  if (v.command == kSTART) {
    s->start = k;
    s->ended = false;
  }
  if (s->start >= 0 && v.slot != kNoSlot) {
    if (v.command == kEND) {
      s->ended = true;
    } else if (s->ended) {
      Tally(&s->after_end, &s->first_after_end, k);
    } else if (v.slot >= kFlagSlots) {
      Tally(&s->lost, &s->first_lost, k);
    }
  }
  if (v.argument && k > 0) {
    const int c = w[k - 1].command;
    if (c == kOTCL) s->band = k - 1;
    if (c == kZNACH) s->znach = k - 1;
    if (c == kFOTCL) s->fotcl = k - 1;
    if (c == kFALL) s->fall = k - 1;
  }
}

/// The traps of a word in its place: a keyword where a number was due, a
/// number outside the list that no command takes (said once for a run of
/// them; in a file without START every number is one, and the file is
/// refused anyway). `say` is false when the word has had its warning.
void PlaceTraps(Reporter* r, const WordNote* w, int k, bool start_seen, bool has_start, bool say,
                bool* stray_run) {
  const WordNote& v = w[k];
  if (say && k > 0 && w[k - 1].result == kExpectsNumber && v.command != kNotKeyword)
    Warn(r, data_origin[v.first], "после %s ожидалось число, а стоит %s: %s остаётся без значения",
         keyword_name(w[k - 1].command), keyword_name(v.command), keyword_name(w[k - 1].command));
  const bool stray = v.command == kNotKeyword && !v.argument && !start_seen && has_start;
  if (say && stray && !*stray_run)
    Warn(r, data_origin[v.first],
         "«%s» стоит до START и не относится ни к какой команде: это слово не действует",
         Word(v).s);
  *stray_run = stray;
}

void FileTraps(Reporter* r, const WordNote* w, int n, int a, const Survey& s, bool repeat_switch) {
  const int tail = n > 0 ? w[n - 1].comma + 1 : 0;
  if (tail < a)
    Warn(r, data_origin[tail], "последнее слово «%s» не прочитано: за ним нет запятой",
         Cells(tail, a).s);
  if (s.after_end > 0)
    Warn(r, data_origin[w[s.first_after_end].first],
         "записи после END (%d) не входят в список компонентов", s.after_end);
  if (s.lost > 0)
    Warn(r, data_origin[w[s.first_lost].first],
         "список вмещает не более %d компонентов: записи с этой (всего %d) не используются",
         kFlagSlots - kFirstComponentSlot, s.lost);
  // A file without START is refused after the reading, with its reason.
  if (s.start >= 0 && !s.ended)
    Warn(r, data_origin[w[s.start].first],
         "список, начатый здесь словом START, не закончен словом END: он кончается последней "
         "записью");
  const bool band_on = fotcl == 0;
  if (s.band >= 0 && !band_on)
    Warn(r, data_origin[w[s.band].first],
         "допуск OTCL задан, но без «FOTCL, 0,» границы искомого значения не применяются: в "
         "расчёт идут все пары");
  if (band_on && s.znach < 0 && s.fotcl >= 0)
    Warn(r, data_origin[w[s.fotcl].first],
         "«FOTCL, 0,» без ZNACH: границы искомого значения 0 и 0, и пар не останется");
  if (repeat_switch && s.fall >= 0 && fall == 0)
    Warn(r, data_origin[w[s.fall].first],
         "«FALL, 0,» в файле данных отменяет параметр -1: каждый компонент входит не более чем "
         "в один вариант");
}

}  // namespace

int data_file_warnings(const char* name, int a, bool repeat_switch) {
  Reporter r{name, 0};
  const CharOrigin file_start{1, 1, 0, 0};
  if (file_notes.utf16) {
    Warn(&r, file_start,
         "файл в кодировке UTF-16 (в Блокноте «Юникод») и прочитан неверно: сохраните его в "
         "кодировке UTF-8 или ANSI");
    return r.found;
  }
  if (file_notes.nul_bytes >= kFewNuls && file_notes.nul_bytes * kNulShare >= file_notes.bytes) {
    Warn(&r, file_start,
         "файл, видимо, не текстовый (нулевых байтов: %d): файл данных пишется обычным текстом",
         static_cast<int>(std::min<long>(file_notes.nul_bytes, INT_MAX)));
    return r.found;
  }
  const WordNote* w = nullptr;
  const int n = word_notes(&w);
  const int swallows = std::min(file_notes.swallow_count, kSwallowNotes);
  int next_swallow = 0;
  bool has_start = false;
  for (int k = 0; k < n; ++k)
    has_start = has_start || w[k].command == kSTART;
  Survey s;
  bool quiet = false;  // the number of a misspelt keyword, the fraction after a decimal comma
  bool stray_run = false;
  for (int k = 0; k < n; ++k) {
    for (; next_swallow < swallows &&
           Before(file_notes.swallows[next_swallow], data_origin[w[k].first]);
         ++next_swallow)
      SaySwallow(&r, file_notes.swallows[next_swallow]);
    const Trap trap = WordTraps(&r, w, n, k, a);
    PlaceTraps(&r, w, k, s.start >= 0, has_start, !quiet && trap == Trap::kNone, &stray_run);
    quiet = trap == Trap::kKeywordLike || trap == Trap::kDecimalComma;
    SurveyWord(&s, w, k);
  }
  for (; next_swallow < swallows; ++next_swallow)
    SaySwallow(&r, file_notes.swallows[next_swallow]);
  FileTraps(&r, w, n, a, s, repeat_switch);
  if (r.found > kMaxWarnings)
    tell("%s: ещё предупреждений: %d (не показаны)", name, r.found - kMaxWarnings);
  return r.found;
}
