#include "text/trouble.h"

#include <cerrno>
#include <cstdarg>
#include <cstring>

#include "platform/platform.h"
#include "text/console.h"

namespace {

bool troubled = false;

struct Reason {
  int err;
  const char* text;
};

const Reason kReasons[] = {
    {kNotRegularFile, "не является обычным файлом"},
    {kFileInUse, "файл занят: возможно, он открыт в другой программе"},
    {ENOENT, "нет такого файла или каталога"},
    {EACCES, "отказано в доступе"},
    {EPERM, "операция не позволена"},
    {EISDIR, "это каталог"},
    {ENOTDIR, "часть пути не является каталогом"},
    {ENAMETOOLONG, "слишком длинное имя файла"},
    {ELOOP, "слишком много уровней символических ссылок"},
    {ENOSPC, "на устройстве не осталось свободного места"},
#ifdef EDQUOT
    {EDQUOT, "превышена дисковая квота"},
#endif
    {EROFS, "файловая система доступна только для чтения"},
    {EIO, "ошибка ввода-вывода"},
    {EFBIG, "файл слишком велик"},
    {EMFILE, "слишком много открытых файлов"},
    {ENFILE, "слишком много открытых файлов в системе"},
    {EBUSY, "устройство или ресурс занято"},
    {EPIPE, "канал закрыт читающей стороной"},
    {0, "причина неизвестна"},
};

}  // namespace

void trouble(const char* fmt, ...) {
  if (troubled) return;
  troubled = true;
  va_list ap;
  va_start(ap, fmt);
  vtell(fmt, ap);
  va_end(ap);
}

bool in_trouble() {
  return troubled;
}

void reset_trouble() {
  troubled = false;
}

const char* system_reason(int err) {
  for (const Reason& r : kReasons)
    if (r.err == err) return r.text;
  return std::strerror(err);
}
