#include "platform/platform.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

void wait_key(FILE* in) {
  int fd = fileno(in);
  termios saved;
  if (fd < 0 || !isatty(fd) || tcgetattr(fd, &saved) != 0) {
    std::getc(in);
    return;
  }
  termios raw = saved;
  raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  // Keys typed before the pause do not count: TCSAFLUSH drops them in the
  // same step that switches the mode, so a key pressed once the mode has
  // changed is never lost.
  tcsetattr(fd, TCSAFLUSH, &raw);
  char c;
  while (read(fd, &c, 1) < 0 && errno == EINTR) {
  }
  tcsetattr(fd, TCSANOW, &saved);
}

bool is_terminal(FILE* f) {
  int fd = fileno(f);
  return fd >= 0 && isatty(fd);
}

FILE* open_regular(const char* name) {
  // O_NONBLOCK: opening a named pipe must not wait for a writer.
  int fd = open(name, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return nullptr;
  }
  int flags = fcntl(fd, F_GETFL);
  if (flags >= 0) fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  FILE* f = fdopen(fd, "rb");
  if (!f) close(fd);
  return f;
}

FILE* create_beside(const char* final_name, std::string* tmp_name) {
  std::string pattern = std::string(final_name) + ".XXXXXX";
  int fd = mkstemp(pattern.data());
  if (fd < 0) return nullptr;
  // mkstemp makes the file private; give it the mode a plain fopen would.
  mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  FILE* f = fdopen(fd, "wb");
  if (!f) {
    close(fd);
    unlink(pattern.c_str());
    return nullptr;
  }
  *tmp_name = pattern;
  return f;
}

bool close_durably(FILE* f) {
  bool ok = std::fflush(f) == 0 && !std::ferror(f);
  ok = fsync(fileno(f)) == 0 && ok;
  return std::fclose(f) == 0 && ok;
}

bool replace_file(const char* tmp_name, const char* final_name) {
  return rename(tmp_name, final_name) == 0;
}
