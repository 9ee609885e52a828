#include "platform/platform.h"

#include <conio.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

/// The unfinished result file, removed when the console is closed or
/// interrupted. The console handler runs on a thread of its own; the
/// lock keeps it from seeing a half-made change.
char tmp_path[MAX_PATH + 16];
bool tmp_armed = false;
SRWLOCK guard = SRWLOCK_INIT;

BOOL WINAPI OnConsoleEvent(DWORD) {
  AcquireSRWLockExclusive(&guard);
  if (tmp_armed) DeleteFileA(tmp_path);
  tmp_armed = false;
  ReleaseSRWLockExclusive(&guard);
  return FALSE;  // the default handler ends the process
}

/// errno for the common reasons MoveFileEx gives.
int ErrnoOf(DWORD e) {
  switch (e) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    default:
      return EIO;
  }
}

}  // namespace

void handle_signals() {
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

void wait_key(FILE* in) {
  if (!_isatty(_fileno(in))) {
    std::getc(in);
    return;
  }
  // _getch leaves the console's modes as they are: nothing to restore.
  while (_kbhit())  // keys typed before the pause do not count
    _getch();
  _getch();
}

bool is_terminal(FILE* f) {
  int fd = _fileno(f);
  return fd >= 0 && _isatty(fd);
}

FILE* open_regular(const char* name, int* err) {
  struct _stat64 st;
  if (_stat64(name, &st) != 0) {
    *err = errno;
    return nullptr;
  }
  if ((st.st_mode & _S_IFMT) != _S_IFREG) {
    *err = kNotRegularFile;
    return nullptr;
  }
  FILE* f = std::fopen(name, "rb");
  if (!f) *err = errno;
  return f;
}

FILE* create_beside(const char* final_name, std::string* tmp_name) {
  std::string pattern = std::string(final_name) + ".XXXXXX";
  if (pattern.size() >= sizeof(tmp_path)) {
    errno = ENAMETOOLONG;
    return nullptr;
  }
  if (_mktemp_s(pattern.data(), pattern.size() + 1) != 0) return nullptr;
  AcquireSRWLockExclusive(&guard);
  int fd = _open(pattern.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_TEXT, _S_IREAD | _S_IWRITE);
  int err = errno;
  if (fd >= 0) {
    std::memcpy(tmp_path, pattern.c_str(), pattern.size() + 1);
    tmp_armed = true;
  }
  ReleaseSRWLockExclusive(&guard);
  if (fd < 0) {
    errno = err;
    return nullptr;
  }
  FILE* f = _fdopen(fd, "w");  // text mode: CR LF line breaks, as Windows tools expect
  if (!f) {
    err = errno;
    _close(fd);
    discard_file(pattern.c_str());
    errno = err;
    return nullptr;
  }
  *tmp_name = pattern;
  return f;
}

bool close_durably(FILE* f) {
  bool ok = std::fflush(f) == 0 && !std::ferror(f) && _commit(_fileno(f)) == 0;
  int err = errno;  // the first failure says why
  if (std::fclose(f) != 0 && ok) return false;
  errno = err;
  return ok;
}

bool replace_file(const char* tmp_name, const char* final_name) {
  // MOVEFILE_WRITE_THROUGH returns only once the move is on the disk.
  AcquireSRWLockExclusive(&guard);
  bool ok =
      MoveFileExA(tmp_name, final_name, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  DWORD e = GetLastError();
  if (ok) tmp_armed = false;
  ReleaseSRWLockExclusive(&guard);
  if (!ok) errno = ErrnoOf(e);
  return ok;
}

void discard_file(const char* tmp_name) {
  int err = errno;
  AcquireSRWLockExclusive(&guard);
  _unlink(tmp_name);
  tmp_armed = false;
  ReleaseSRWLockExclusive(&guard);
  errno = err;
}
