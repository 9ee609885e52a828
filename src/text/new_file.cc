#include "text/new_file.h"

#include <cerrno>
#include <cstdio>

#include "text/console.h"
#include "text/file_system.h"
#include "text/trouble.h"

namespace {

/// Says on standard error why the results are not in the file.
void NotWritten(const char* name, int err) {
  trouble("%s: результаты не записаны: %s", name, system_reason(err));
}

}  // namespace

bool open_new_file(const char* name, bool cp1251, NewFile* file) {
  file->name = name;
  int mode_err = 0;
  FILE* f = files.create_beside(name, &file->tmp, &mode_err);
  if (!f) {
    NotWritten(name, errno);
    return false;
  }
  // The results are written all the same, with the permissions they got.
  if (mode_err != 0)
    tell("%s: предупреждение: права доступа файла не установлены: %s", name,
         system_reason(mode_err));
  file->out = Output{f, cp1251, false};
  return true;
}

bool close_new_file(NewFile* file) {
  const bool closed = files.close_durably(file->out.f);
  int err = file->out.failed ? file->out.error : errno;
  file->out.f = nullptr;
  if (closed && !file->out.failed) {
    if (files.replace_file(file->tmp.c_str(), file->name)) return true;
    err = errno;
  }
  files.discard_file(file->tmp.c_str());
  NotWritten(file->name, err);
  return false;
}

bool write_new_file(const char* name, const std::string& bytes) {
  NewFile file;
  if (!open_new_file(name, false, &file)) return false;
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file.out.f) != bytes.size()) {
    file.out.failed = true;
    file.out.error = errno;
  }
  return close_new_file(&file);
}
