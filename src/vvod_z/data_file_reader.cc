#include "vvod_z/data_file_reader.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <string>

#include "platform/platform.h"
#include "text/console.h"
#include "text/file_system.h"
#include "text/trouble.h"
#include "vvod_z/command_interpreter.h"

std::array<int, kDataCells + 1> data;
std::array<CharOrigin, kDataCells + 1> data_origin;
FileNotes file_notes;

void reset_data() {
  data.fill(0);
  data_origin.fill(CharOrigin{});
  file_notes = FileNotes{};
}

namespace {

std::string file_name;

/// The comment filter's state: `fprop` 0 text, 1 after a slash, 2 line
/// comment, 3 block comment; `chm` the previous character as it remembers it.
struct CommentFilter {
  int fprop = 0;
  int chm = 0;
};

/// Advances the comment filter by the byte `ch`; true when the byte lies
/// outside every comment. The tests run in this order on purpose, each on the
/// state the previous ones left: that is why the '*' opening a block comment
/// also counts as the '*' before its closing '/', and why a lone '/' drops
/// every byte up to the next '/' or '*'.
bool OutsideComments(CommentFilter* k, int ch) {
  if (ch == '/' && k->fprop == 1 && k->chm == '/') {
    k->fprop = 2;
  }
  if (ch == '*' && k->fprop == 1 && k->chm == '/') {
    k->fprop = 3;
  }
  if (ch == '/' && k->fprop == 0) {
    k->fprop = 1;
    k->chm = '/';
  }
  if (ch == '\n' && k->fprop == 2) {
    k->fprop = 0;
    k->chm = 0;
  }
  if (ch == '/' && k->fprop == 3 && k->chm == '*') {
    k->fprop = 0;
    k->chm = 0;
  }
  if (k->fprop == 3) {
    k->chm = ch;
  }
  return k->fprop == 0;
}

/// The comment filter's state after a lone slash.
constexpr int kAfterSlash = 1;

/// Line and column of the next byte of the file. Columns count characters:
/// the continuation bytes of a UTF-8 sequence stay in the column of its
/// first byte, and a UTF-8 byte order mark takes none.
struct Position {
  int line = 1;
  int col = 1;
  int continuation = 0;  ///< Continuation bytes still expected.
  long byte = 0;
  unsigned char head[3] = {};
};

void Advance(Position* p, int ch) {
  if (p->byte < 3) p->head[p->byte] = static_cast<unsigned char>(ch);
  ++p->byte;
  if (ch == '\n') {
    ++p->line;
    p->col = 1;
    p->continuation = 0;
  } else if ((ch & 0xC0) == 0x80 && p->continuation > 0) {
    --p->continuation;
  } else {
    ++p->col;
    p->continuation = (ch & 0xE0) == 0xC0   ? 1
                      : (ch & 0xF0) == 0xE0 ? 2
                      : (ch & 0xF8) == 0xF0 ? 3
                                            : 0;
  }
  if (p->byte == 3 && p->head[0] == 0xEF && p->head[1] == 0xBB && p->head[2] == 0xBF) p->col = 1;
}

/// Notes what a byte that is not stored adds to the gap before the next
/// stored character.
void AddToGap(CharOrigin* gap, int ch) {
  if (ch == '\n') {
    gap->gap |= kGapLineBreak;
  } else if (ch == '\r') {
    gap->gap |= kGapCarriageReturn;
  } else if (ch == ' ' || ch == '\t' || ch == '\v' || ch == '\f') {
    gap->gap |= kGapBlank;
  } else {
    gap->gap |= kGapDropped;
    gap->dropped = static_cast<unsigned char>(ch);
  }
}

/// Follows the stretches that a lone '/' takes out of the file: from a byte
/// after the slash that is neither '/' nor '*' up to the end of the comment
/// that the next '/' or '*' opens.
struct SwallowWatch {
  int slash_line = 0;
  int slash_col = 0;
  bool on = false;
};

void WatchSwallow(SwallowWatch* w, int before, const CommentFilter& k, int line, int col) {
  if (before == 0 && k.fprop == kAfterSlash) {
    w->slash_line = line;
    w->slash_col = col;
  }
  if (before == kAfterSlash && k.fprop == kAfterSlash && !w->on) {
    w->on = true;
    if (file_notes.swallow_count < kSwallowNotes)
      file_notes.swallows[file_notes.swallow_count] = {w->slash_line, w->slash_col, 0};
    ++file_notes.swallow_count;
  }
  if (w->on && k.fprop == 0) {
    w->on = false;
    if (file_notes.swallow_count <= kSwallowNotes)
      file_notes.swallows[file_notes.swallow_count - 1].end_line = line;
  }
}

/// The characters that carry meaning in a data file; everything else
/// (layout, signs, bytes of other alphabets) is dropped.
bool IsMeaningful(int ch) {
  return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
         ch == '.' || ch == ',';
}

bool IsBlank(int c) {
  return c != EOF && std::isspace(static_cast<unsigned char>(c));
}

/// The name read when the input ends before a word.
constexpr char kDefaultName[] = "data_1.txt";

/// A name typed on the console: its first word, and the whole line it
/// stands on, trimmed, without the quotes a file manager's "copy as path"
/// puts around it.
struct TypedName {
  std::string word;
  std::string line;
};

/// The line that holds the first word, after any white space and empty
/// lines; at most kNameMax bytes of it are kept, and the rest of the line is
/// read up to the line feed or the end of input.
TypedName ReadFileName() {
  int c = console_getc();
  while (IsBlank(c)) {
    c = console_getc();
  }
  TypedName typed;
  for (; c != EOF && c != '\n'; c = console_getc())
    if (typed.line.size() < static_cast<size_t>(kNameMax)) typed.line += static_cast<char>(c);
  std::string& line = typed.line;
  typed.word = line.substr(0, std::find_if(line.begin(), line.end(), IsBlank) - line.begin());
  while (!line.empty() && IsBlank(static_cast<unsigned char>(line.back())))
    line.pop_back();
  if (line.size() >= 2 && line.front() == '"' && line.back() == '"')
    line = line.substr(1, line.size() - 2);
  if (typed.word.empty()) typed.word = typed.line = kDefaultName;
  return typed;
}

/// The reason OpenDataFile gives for a name it does not even try: neither
/// an errno nor kNotRegularFile.
constexpr int kNameTooLong = kNotRegularFile - 1;

/// Opens the named data file; a name too long for any system is refused
/// without a try. nullptr with the reason in *err when it cannot.
FILE* OpenDataFile(const std::string& name, int* err) {
  if (name.size() >= static_cast<size_t>(kNameMax)) {
    *err = kNameTooLong;
    return nullptr;
  }
  return files.open_data(name.c_str(), err);
}

/// Why the data file did not open, on standard error once the console has
/// said "not found", so that a terminal shows the two lines in that order.
void TellNotOpened(const std::string& name, int err) {
  if (err == kNameTooLong)
    trouble("Имя файла данных длиннее %d байт: файл не открыт", kNameMax - 1);
  else
    trouble("%s: не удалось открыть файл данных: %s", name.c_str(), system_reason(err));
}

}  // namespace

int read_data_file(FILE* in, int* words) {
  CommentFilter k;
  Position at;
  SwallowWatch swallow;
  CharOrigin gap;
  file_notes = FileNotes{};
  int i = 0;
  *words = 1;
  int ch;
  while ((ch = std::getc(in)) != EOF) {
    if (i == kDataCells) {
      return -1;
    }
    const int line = at.line;
    const int col = at.col;
    Advance(&at, ch);
    if (ch == 0) ++file_notes.nul_bytes;
    const int before = k.fprop;
    const bool outside = OutsideComments(&k, ch);
    WatchSwallow(&swallow, before, k, line, col);
    // The '/' that closes a block comment belongs to the comment.
    if (!outside || (before != 0 && ch == '/')) {
      gap.gap |= swallow.on ? kGapComment | kGapSwallowed : kGapComment;
      continue;
    }
    if (!IsMeaningful(ch)) {
      AddToGap(&gap, ch);
      continue;
    }
    data_origin[i] = {line, col, gap.gap, gap.dropped};
    gap = CharOrigin{};
    data[i++] = ch;
    if (ch == ',') {
      ++*words;
    }
  }
  file_notes.bytes = at.byte;
  file_notes.utf16 = at.byte >= 2 && ((at.head[0] == 0xFF && at.head[1] == 0xFE) ||
                                      (at.head[0] == 0xFE && at.head[1] == 0xFF));
  data_origin[i] = {at.line, at.col, gap.gap, gap.dropped};
  data[i] = 0;
  return i;
}

const char* data_file_name() {
  return file_name.c_str();
}

int vvodz(const char* named) {
  console_puts("========= Введите имя файла============= ");
  // Nobody sees the prompt when the output goes to a file: say it where
  // the user looks.
  if (!named && console.answers == Answers::kNone)
    tell("========= Введите имя файла============= ");
  int err = 0;
  FILE* in = nullptr;
  if (named) {
    file_name = named;
  } else {
    // A name with blanks in it is taken whole when a file has it, else
    // the first word is the name.
    TypedName typed = ReadFileName();
    if (typed.line != typed.word) in = OpenDataFile(typed.line, &err);
    file_name = in ? typed.line : typed.word;
  }
  const std::string& name = file_name;
  console_puts("========= Информация о файле данных ============= ");
  console_print("\nИмя файла %s", name.c_str());
  if (!in) in = OpenDataFile(name, &err);
  if (!in) {
    console_puts("   файл не найден");
    TellNotOpened(name, err);
    return -1;
  }
  console_puts("  файл найден");

  int words = 0;
  int i = read_data_file(in, &words);
  int read_error = std::ferror(in) ? errno : 0;
  std::fclose(in);
  if (i < 0) {
    console_puts("\nФайл слишком большой");
    trouble("%s: файл данных слишком большой: учитывается не более %d символов", name.c_str(),
            kDataCells);
    return -1;
  }
  // The bytes read so far are used like a whole file; the run is in
  // trouble all the same.
  if (read_error != 0)
    trouble("%s: ошибка чтения файла данных: %s", name.c_str(), system_reason(read_error));
  console_print("\nЧисло символов=%d   Число слов=%d\n", i, words);
  console_puts("=========Конец информации о файле данных ============= ");
  obrabotka(data.data(), i);
  console_puts("");
  return i;
}
