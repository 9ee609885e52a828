#include "vvod_z/data_file_reader.h"

#include <cctype>
#include <cerrno>
#include <string>

#include "platform/platform.h"
#include "text/console.h"
#include "text/trouble.h"
#include "vvod_z/command_interpreter.h"

std::array<int, kDataCells + 1> data;

void reset_data() {
  data.fill(0);
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

/// The characters that carry meaning in a data file; everything else
/// (layout, signs, bytes of other alphabets) is dropped.
bool IsMeaningful(int ch) {
  return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
         ch == '.' || ch == ',';
}

bool IsBlank(int c) {
  return c != EOF && std::isspace(static_cast<unsigned char>(c));
}

/// The file name typed on the console: the first word, after any white space
/// and empty lines; "data_1.txt" when the input ends before a word. At most
/// kNameMax bytes of it are kept. The rest of the line is discarded, up to
/// the line feed or the end of input.
std::string ReadFileName() {
  int c = console_getc();
  while (IsBlank(c)) {
    c = console_getc();
  }
  std::string name;
  while (c != EOF && !IsBlank(c)) {
    if (name.size() < static_cast<size_t>(kNameMax)) name += static_cast<char>(c);
    c = console_getc();
  }
  while (c != EOF && c != '\n') {
    c = console_getc();
  }
  return name.empty() ? "data_1.txt" : name;
}

/// Opens the named data file; a name too long for any system is refused
/// without a try. The console says "not found" either way; standard error
/// says why.
FILE* OpenDataFile(const std::string& name) {
  if (name.size() >= static_cast<size_t>(kNameMax)) {
    trouble("Имя файла данных длиннее %d байт: файл не открыт", kNameMax - 1);
    return nullptr;
  }
  int err = 0;
  FILE* in = console.open_data(name.c_str(), &err);
  if (!in) trouble("%s: не удалось открыть файл данных: %s", name.c_str(), system_reason(err));
  return in;
}

}  // namespace

int read_data_file(FILE* in, int* words) {
  CommentFilter k;
  int i = 0;
  *words = 1;
  int ch;
  while ((ch = std::getc(in)) != EOF) {
    if (i == kDataCells) {
      return -1;
    }
    if (!OutsideComments(&k, ch) || !IsMeaningful(ch)) {
      continue;
    }
    data[i++] = ch;
    if (ch == ',') {
      ++*words;
    }
  }
  data[i] = 0;
  return i;
}

const char* data_file_name() {
  return file_name.c_str();
}

int vvodz(const char* named) {
  console_puts("========= Введите имя файла============= ");
  file_name = named ? named : ReadFileName();
  const std::string& name = file_name;
  console_puts("========= Информация о файле данных ============= ");
  console_print("\nИмя файла %s", name.c_str());
  FILE* in = OpenDataFile(name);
  if (!in) {
    console_puts("   файл не найден");
    return 1;
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
    return 1;
  }
  // The bytes read so far are used like a whole file; the run is in
  // trouble all the same.
  if (read_error != 0)
    trouble("%s: ошибка чтения файла данных: %s", name.c_str(), system_reason(read_error));
  console_print("\nЧисло символов=%d   Число слов=%d\n", i, words);
  console_puts("=========Конец информации о файле данных ============= ");
  obrabotka(data.data(), i);
  if (dropped_entries() > 0) {
    console_print_error(
        "Список компонентов переполнен: не записано элементов %d (список вмещает не более 184 "
        "элементов)\n",
        dropped_entries());
  }
  console_puts("");
  return 0;
}
