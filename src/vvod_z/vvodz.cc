#include "vvod_z/vvodz.h"

#include <cctype>
#include <string>

#include "platform/konsol.h"
#include "platform/platform.h"
#include "vvod_z/obrabotka.h"

std::array<int, kDataCells + 1> data;

namespace {

/// The comment filter's state: `fprop` 0 text, 1 after a slash, 2 line
/// comment, 3 block comment; `chm` the previous character as it remembers it.
struct Kommentarii {
  int fprop = 0;
  int chm = 0;
};

/// Advances the comment filter by the byte `ch`; true when the byte lies
/// outside every comment. The tests run in this order on purpose, each on the
/// state the previous ones left: that is why the '*' opening a block comment
/// also counts as the '*' before its closing '/', and why a lone '/' drops
/// every byte up to the next '/' or '*'.
bool VneKommentariya(Kommentarii* k, int ch) {
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
bool Znachimyi(int ch) {
  return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
         ch == '.' || ch == ',';
}

bool Probel(int c) {
  return c != EOF && std::isspace(static_cast<unsigned char>(c));
}

/// The file name typed on the console: the first word, after any white space
/// and empty lines; "data_1.txt" when the input ends before a word. The rest
/// of the line is discarded, up to the line feed or the end of input.
std::string ChitatImya() {
  int c = kgetc();
  while (Probel(c)) {
    c = kgetc();
  }
  std::string imya;
  while (c != EOF && !Probel(c)) {
    imya += static_cast<char>(c);
    c = kgetc();
  }
  while (c != EOF && c != '\n') {
    c = kgetc();
  }
  return imya.empty() ? "data_1.txt" : imya;
}

}  // namespace

int chitat_fail(FILE* in, int* slov) {
  Kommentarii k;
  int i = 0;
  *slov = 1;
  int ch;
  while ((ch = std::getc(in)) != EOF) {
    if (i == kDataCells) {
      return -1;
    }
    if (!VneKommentariya(&k, ch) || !Znachimyi(ch)) {
      continue;
    }
    data[i++] = ch;
    if (ch == ',') {
      ++*slov;
    }
  }
  data[i] = 0;
  return i;
}

int vvodz() {
  kputs("========= Введите имя файла============= ");
  std::string imya = ChitatImya();
  kputs("========= Информация о файле данных ============= ");
  kprint("\nИмя файла %s", imya.c_str());
  FILE* in = konsol.open_data(imya.c_str());
  if (!in) {
    kputs("   файл не найден");
    return 1;
  }
  kputs("  файл найден");

  int slov = 0;
  int i = chitat_fail(in, &slov);
  std::fclose(in);
  if (i < 0) {
    kputs("\nФайл слишком большой");
    return 1;
  }
  kprint("\nЧисло символов=%d   Число слов=%d\n", i, slov);
  kputs("=========Конец информации о файле данных ============= ");
  obrabotka(data.data(), i);
  if (propushcheno_zapisei() > 0) {
    kprint(
        "Список компонентов переполнен: не записано элементов %d (список вмещает не более 184 "
        "элементов)\n",
        propushcheno_zapisei());
  }
  kputs("");
  return 0;
}
