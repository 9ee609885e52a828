#include "platform/platform.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace {

/// The unfinished result file, removed when the console is closed or
/// interrupted. The console handler runs on a thread of its own; the
/// lock keeps it from seeing a half-made change.
wchar_t tmp_path[MAX_PATH + 16];
bool tmp_armed = false;
SRWLOCK guard = SRWLOCK_INIT;

BOOL WINAPI OnConsoleEvent(DWORD) {
  AcquireSRWLockExclusive(&guard);
  if (tmp_armed) DeleteFileW(tmp_path);
  tmp_armed = false;
  ReleaseSRWLockExclusive(&guard);
  return FALSE;  // the default handler ends the process
}

/// errno for the common reasons MoveFileEx gives; kFileInUse when another
/// program holds the file open (a spreadsheet or an editor showing it).
int ErrnoOf(DWORD e) {
  switch (e) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
      return EACCES;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return kFileInUse;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    default:
      return EIO;
  }
}

/// Why MoveFileEx failed with `e` to replace `target`: a folder in its place,
/// a file another program holds open (Windows says "access denied" for that
/// too; opening the file for deletion tells the two apart), or what `e` says.
int ReplaceErrno(DWORD e, const std::wstring& target) {
  DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return EISDIR;
  if (e == ERROR_ACCESS_DENIED) {
    HANDLE h =
        CreateFileW(target.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE)
      CloseHandle(h);
    else
      e = GetLastError();
  }
  return ErrnoOf(e);
}

/// The console window behind `f`, or nullptr for a file, a pipe or a
/// device: only a console has a console mode (NUL passes _isatty).
HANDLE ConsoleOf(FILE* f) {
  int fd = _fileno(f);
  if (fd < 0) return nullptr;
  HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
  DWORD mode;
  return h != INVALID_HANDLE_VALUE && GetConsoleMode(h, &mode) ? h : nullptr;
}

/// `name` in UTF-16 read in the code page `page`; empty when it is not
/// valid UTF-8 and `page` is UTF-8.
std::wstring Decoded(const char* name, UINT page) {
  int len = static_cast<int>(std::strlen(name));
  DWORD flags = page == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
  int n = MultiByteToWideChar(page, flags, name, len, nullptr, 0);
  std::wstring w(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(page, flags, name, len, w.data(), n);
  return w;
}

/// `name` in UTF-16: read as UTF-8 when it is valid UTF-8 (typed in a
/// console window or given on the command line), else in the system's code
/// page, as the program always took a name piped in.
std::wstring Wide(const char* name) {
  std::wstring w = Decoded(name, CP_UTF8);
  return w.empty() && name[0] != '\0' ? Decoded(name, CP_ACP) : w;
}

/// Whether a key is one that only changes others (Shift, Ctrl, Alt, the locks).
bool IsModifier(WORD key) {
  return key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU || key == VK_CAPITAL ||
         key == VK_NUMLOCK || key == VK_SCROLL || key == VK_LWIN || key == VK_RWIN;
}

/// The typed line being handed out by read_input_byte, in UTF-8.
std::string typed;
size_t typed_at = 0;

}  // namespace

std::vector<std::string> program_arguments(int argc, char** argv) {
  int n = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &n);
  if (!wide || n != argc) {
    if (wide) LocalFree(wide);
    return std::vector<std::string>(argv, argv + argc);
  }
  std::vector<std::string> args;
  for (int k = 0; k < n; ++k) {
    int len = WideCharToMultiByte(CP_UTF8, 0, wide[k], -1, nullptr, 0, nullptr, nullptr);
    std::string a(static_cast<size_t>(len > 0 ? len - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide[k], -1, a.data(), len, nullptr, nullptr);
    args.push_back(a);
  }
  LocalFree(wide);
  return args;
}

TextSink prepare_text_sink(FILE* f) {
  if (ConsoleOf(f)) return TextSink::kConsoleWindow;
  _setmode(_fileno(f), _O_BINARY);
  // The C library buffers standard error too when it leaves the console;
  // a message must come out at once, in its place among the console's.
  if (f == stderr) std::setvbuf(f, nullptr, _IONBF, 0);
  return TextSink::kCp1251;
}

bool write_console(FILE* f, const char* s, size_t n) {
  HANDLE h = ConsoleOf(f);
  if (!h) return false;
  wchar_t wide[1024];
  int len = MultiByteToWideChar(CP_UTF8, 0, s, static_cast<int>(n), wide, 1024);
  for (int at = 0; at < len;) {
    DWORD done = 0;
    if (!WriteConsoleW(h, wide + at, static_cast<DWORD>(len - at), &done, nullptr) || done == 0)
      return false;
    at += static_cast<int>(done);
  }
  return len > 0 || n == 0;
}

int read_input_byte(FILE* in) {
  HANDLE h = ConsoleOf(in);
  if (!h) return std::getc(in);
  if (typed_at == typed.size()) {
    wchar_t wide[1024];
    DWORD n = 0;
    if (!ReadConsoleW(h, wide, 1024, &n, nullptr) || n == 0) return EOF;
    if (wide[0] == 0x1A) return EOF;  // Ctrl+Z, then Enter: the end of input
    int len =
        WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(n), nullptr, 0, nullptr, nullptr);
    typed.assign(static_cast<size_t>(len), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(n), typed.data(), len, nullptr, nullptr);
    std::erase(typed, '\r');  // Enter gives CR LF
    typed_at = 0;
    if (typed.empty()) return read_input_byte(in);
  }
  return static_cast<unsigned char>(typed[typed_at++]);
}

void handle_signals() {
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

void wait_key(FILE* in) {
  HANDLE h = ConsoleOf(in);
  if (!h) {
    std::getc(in);
    return;
  }
  // Reading input records echoes nothing and leaves the console's modes as
  // they are. Keys typed before the pause do not count.
  FlushConsoleInputBuffer(h);
  for (;;) {
    INPUT_RECORD r;
    DWORD n = 0;
    if (!ReadConsoleInputW(h, &r, 1, &n) || n == 0) return;
    if (r.EventType == KEY_EVENT && r.Event.KeyEvent.bKeyDown &&
        !IsModifier(r.Event.KeyEvent.wVirtualKeyCode))
      return;
  }
}

bool is_terminal(FILE* f) {
  return ConsoleOf(f) != nullptr;
}

FILE* open_regular(const char* name, int* err) {
  std::wstring wide = Wide(name);
  struct _stat64 st;
  if (_wstat64(wide.c_str(), &st) != 0) {
    *err = errno;
    // A name piped from cmd (echo NAME | podbor.exe) comes in the console's
    // input code page, 866 in a Russian Windows, which neither UTF-8 nor the
    // system's code page reads right.
    UINT typed = GetConsoleCP();
    std::wstring piped = typed != 0 && *err == ENOENT ? Decoded(name, typed) : std::wstring();
    if (piped.empty() || piped == wide || _wstat64(piped.c_str(), &st) != 0) return nullptr;
    wide = piped;
  }
  if ((st.st_mode & _S_IFMT) != _S_IFREG) {
    *err = kNotRegularFile;
    return nullptr;
  }
  FILE* f = _wfopen(wide.c_str(), L"rb");
  if (!f) *err = errno;
  return f;
}

FILE* create_beside(const char* final_name, std::string* tmp_name, int* mode_err) {
  *mode_err = 0;  // Windows files have no permission bits to carry over
  std::string pattern = std::string(final_name) + ".XXXXXX";
  if (_mktemp_s(pattern.data(), pattern.size() + 1) != 0) return nullptr;
  std::wstring wide = Wide(pattern.c_str());
  if (wide.size() >= sizeof(tmp_path) / sizeof(tmp_path[0])) {
    errno = ENAMETOOLONG;
    return nullptr;
  }
  AcquireSRWLockExclusive(&guard);
  int fd = _wopen(wide.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_TEXT, _S_IREAD | _S_IWRITE);
  int err = errno;
  if (fd >= 0) {
    std::wmemcpy(tmp_path, wide.c_str(), wide.size() + 1);
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
  std::wstring wide_final = Wide(final_name);
  bool ok = MoveFileExW(Wide(tmp_name).c_str(), wide_final.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  DWORD e = GetLastError();
  if (ok) tmp_armed = false;
  ReleaseSRWLockExclusive(&guard);
  if (!ok) errno = ReplaceErrno(e, wide_final);
  return ok;
}

void discard_file(const char* tmp_name) {
  int err = errno;
  AcquireSRWLockExclusive(&guard);
  _wunlink(Wide(tmp_name).c_str());
  tmp_armed = false;
  ReleaseSRWLockExclusive(&guard);
  errno = err;
}

ManualPlace manual_place() {
  return {"podbor.1.txt рядом с podbor.exe", "podbor.1.txt beside podbor.exe"};
}

bool slash_question_is_help() {
  return true;
}

FILE* create_new_file(const char* name) {
  std::wstring wide = Wide(name);
  int fd = _wopen(wide.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_TEXT, _S_IREAD | _S_IWRITE);
  if (fd < 0) return nullptr;
  FILE* f = _fdopen(fd, "w");  // text mode: CR LF line breaks, as Windows tools expect
  if (!f) {
    int err = errno;
    _close(fd);
    _wunlink(wide.c_str());
    errno = err;
  }
  return f;
}
