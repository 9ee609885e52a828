#include "platform/platform.h"

#include <conio.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>

void wait_key(FILE* in) {
  if (!_isatty(_fileno(in))) {
    std::getc(in);
    return;
  }
  while (_kbhit())  // keys typed before the pause do not count
    _getch();
  _getch();
}

bool is_terminal(FILE* f) {
  int fd = _fileno(f);
  return fd >= 0 && _isatty(fd);
}

FILE* open_regular(const char* name) {
  struct _stat64 st;
  if (_stat64(name, &st) != 0 || (st.st_mode & _S_IFMT) != _S_IFREG) return nullptr;
  return std::fopen(name, "rb");
}

FILE* create_beside(const char* final_name, std::string* tmp_name) {
  std::string pattern = std::string(final_name) + ".XXXXXX";
  if (_mktemp_s(pattern.data(), pattern.size() + 1) != 0) return nullptr;
  int fd = _open(pattern.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_TEXT, _S_IREAD | _S_IWRITE);
  if (fd < 0) return nullptr;
  FILE* f = _fdopen(fd, "w");  // text mode: CR LF line breaks, as Windows tools expect
  if (!f) {
    _close(fd);
    _unlink(pattern.c_str());
    return nullptr;
  }
  *tmp_name = pattern;
  return f;
}

bool close_durably(FILE* f) {
  bool ok = std::fflush(f) == 0 && !std::ferror(f);
  ok = _commit(_fileno(f)) == 0 && ok;
  return std::fclose(f) == 0 && ok;
}

bool replace_file(const char* tmp_name, const char* final_name) {
  return MoveFileExA(tmp_name, final_name, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
