#include "text/console.h"

#include <cstdarg>
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"
#include "text/cp1251.h"

Console console;

namespace {

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

/// The code set of a locale name, "ru_RU.CP1251@euro" -> "CP1251", compared
/// without regard to case and to '-' and '_'.
bool CodesetIs1251(const char* name) {
  const char* dot = std::strchr(name, '.');
  const char* set = dot ? dot + 1 : name;
  char norm[32];
  size_t k = 0;
  for (; *set && *set != '@' && k + 1 < sizeof(norm); ++set)
    if (*set != '-' && *set != '_') norm[k++] = Lower(*set);
  norm[k] = 0;
  return std::strcmp(norm, "cp1251") == 0 || std::strcmp(norm, "windows1251") == 0;
}

}  // namespace

bool locale_is_cp1251(const char* lc_all, const char* lc_ctype, const char* lang) {
  for (const char* v : {lc_all, lc_ctype, lang})
    if (v && *v) return CodesetIs1251(v);
  return false;
}

namespace {

/// The standard stream `f` as the program writes its texts to it.
Output StdText(FILE* f) {
  Output o{f, false, false};
  switch (prepare_text_sink(f)) {
    case TextSink::kLocale:
      o.cp1251 =
          locale_is_cp1251(std::getenv("LC_ALL"), std::getenv("LC_CTYPE"), std::getenv("LANG"));
      break;
    case TextSink::kCp1251:
      o.cp1251 = true;
      break;
    case TextSink::kConsoleWindow:
      o.console_window = true;
      break;
  }
  return o;
}

}  // namespace

void console_init_std() {
  console.in = stdin;
  console.out = StdText(stdout);
  console.err = StdText(stderr);
  bool keyboard = is_terminal(stdin);
  // Output redirected away from the keyboard's terminal (podbor > out.txt):
  // the prompts are not seen, so nothing waits for an answer to them.
  bool unseen = keyboard && !is_terminal(stdout);
  console.pause = !unseen;
  console.answers = unseen ? Answers::kNone : keyboard ? Answers::kLine : Answers::kCharacter;
  console.err_terminal = is_terminal(stderr);
}

void console_print(const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  vprint(&console.out, fmt, ap);
  va_end(ap);
}

void vtell(const char* fmt, va_list ap) {
  flush_output(&console.out);
  vprint(&console.err, fmt, ap);
  put_text(&console.err, "\n");
  flush_output(&console.err);
}

void tell(const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  vtell(fmt, ap);
  va_end(ap);
}

void console_puts(const char* s) {
  put_text(&console.out, s);
  put_text(&console.out, "\n");
}

int console_getc() {
  flush_output(&console.out);
  return console.in ? read_input_byte(console.in) : EOF;
}

std::string console_line() {
  std::string line;
  for (int c = console_getc(); c != EOF && c != '\n'; c = console_getc())
    if (line.size() < kAnswerMax) line += static_cast<char>(c);
  return line;
}

unsigned char first_letter_cp1251(const std::string& line) {
  const char* p = line.data();
  const char* end = p + line.size();
  if (p == end) return 0;
  return console.out.cp1251 ? static_cast<unsigned char>(*p) : next_cp1251(&p, end);
}

void console_pause() {
  flush_output(&console.out);
  if (!console.pause || !console.in) return;
  const bool hint = console.err_terminal && is_terminal(console.in);
  if (hint) {
    put_text(&console.err, "   (нажмите любую клавишу)");
    flush_output(&console.err);
  }
  wait_key(console.in);
  if (hint) {
    put_text(&console.err, "\n");
    flush_output(&console.err);
  }
}
