#include "platform/konsol.h"

#include <cstdarg>
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"

Konsol konsol;

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

void konsol_init_std() {
  konsol.in = stdin;
  konsol.out = Vyvod{
      stdout, locale_is_cp1251(std::getenv("LC_ALL"), std::getenv("LC_CTYPE"), std::getenv("LANG")),
      false};
  konsol.pause = true;
  konsol.open_data = open_regular;
  konsol.rezalts = nullptr;
}

void kprint(const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  vprint(&konsol.out, fmt, ap);
  va_end(ap);
}

void kputs(const char* s) {
  put_text(&konsol.out, s);
  put_text(&konsol.out, "\n");
}

int kgetc() {
  if (konsol.out.f) std::fflush(konsol.out.f);
  return konsol.in ? std::getc(konsol.in) : EOF;
}

void kpause() {
  if (konsol.out.f) std::fflush(konsol.out.f);
  if (konsol.pause && konsol.in) wait_key(konsol.in);
}
