#include "vvod_z/data_file_reader.h"

#include <cctype>
#include <string>

#include "platform/platform.h"
#include "text/console.h"
#include "vvod_z/command_interpreter.h"

std::array<int, kDataCells + 1> data;

void reset_data() {
  data.fill(0);
}

namespace {

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
/// and empty lines; "data_1.txt" when the input ends before a word. The rest
/// of the line is discarded, up to the line feed or the end of input.
std::string ReadFileName() {
  int c = console_getc();
  while (IsBlank(c)) {
    c = console_getc();
  }
  std::string name;
  while (c != EOF && !IsBlank(c)) {
    name += static_cast<char>(c);
    c = console_getc();
  }
  while (c != EOF && c != '\n') {
    c = console_getc();
  }
  return name.empty() ? "data_1.txt" : name;
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

int vvodz(const char* named) {
  console_puts("========= Введите имя файла============= ");
  std::string name = named ? named : ReadFileName();
  console_puts("========= Информация о файле данных ============= ");
  console_print("\nИмя файла %s", name.c_str());
  FILE* in = console.open_data(name.c_str());
  if (!in) {
    console_puts("   файл не найден");
    return 1;
  }
  console_puts("  файл найден");

  int words = 0;
  int i = read_data_file(in, &words);
  std::fclose(in);
  if (i < 0) {
    console_puts("\nФайл слишком большой");
    return 1;
  }
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
