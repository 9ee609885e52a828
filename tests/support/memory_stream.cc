#include "support/memory_stream.h"

#include <cstdlib>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

#ifdef _WIN32

FILE* temporary_file() {
  // tmpfile() would make its file in the root of the drive, which a user
  // may not write to; the user's temporary folder is the place.
  wchar_t dir[MAX_PATH + 1];
  wchar_t name[MAX_PATH + 1];
  if (GetTempPathW(MAX_PATH + 1, dir) == 0 || GetTempFileNameW(dir, L"pdb", 0, name) == 0)
    return nullptr;
  int fd = _wopen(name, _O_RDWR | _O_BINARY | _O_TEMPORARY);
  if (fd < 0) return nullptr;
  FILE* f = _fdopen(fd, "w+b");
  if (!f) _close(fd);
  return f;
}

FILE* open_reading(const std::string& bytes) {
  FILE* f = temporary_file();
  if (!f) return nullptr;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::rewind(f);
  return f;
}

void open_collected(Collected* c) {
  c->f = temporary_file();
}

std::string close_collected(Collected* c) {
  std::string text;
  if (!c->f) return text;
  std::rewind(c->f);
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof(buf), c->f)) > 0)
    text.append(buf, n);
  std::fclose(c->f);
  c->f = nullptr;
  return text;
}

#else

FILE* temporary_file() {
  return std::tmpfile();
}

FILE* open_reading(const std::string& bytes) {
  // fmemopen takes no empty buffer everywhere, and a writable one even to
  // read; it only reads here.
  if (bytes.empty()) return temporary_file();
  return fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "rb");
}

void open_collected(Collected* c) {
  c->f = open_memstream(&c->buf, &c->len);
}

std::string close_collected(Collected* c) {
  if (c->f) std::fclose(c->f);
  std::string text(c->buf ? c->buf : "", c->buf ? c->len : 0);
  std::free(c->buf);
  *c = Collected{};
  return text;
}

#endif
