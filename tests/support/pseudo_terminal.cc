#ifndef _WIN32

#include "support/pseudo_terminal.h"

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {

/// Polls of this many milliseconds make up the bound of every wait.
constexpr int kPollMs = 10;
/// The bound of every wait, in polls: 20 seconds, as long as a run may take.
constexpr int kPolls = 2000;

}  // namespace

PseudoTerminal::PseudoTerminal(const std::string& dir, const Invocation& how) {
  if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) return;
  pid = spawn_podbor(dir, slave, how.out >= 0 ? how.out : slave, slave, how, /*terminal=*/true);
}

PseudoTerminal::~PseudoTerminal() {
  if (pid > 0 && !Ended()) end_with(SIGKILL);
  if (master >= 0) close(master);
  if (slave >= 0) close(slave);
}

bool PseudoTerminal::type(const std::string& keys) {
  return pid > 0 && write(master, keys.data(), keys.size()) == static_cast<ssize_t>(keys.size());
}

bool PseudoTerminal::ReadSome(int ms) {
  pollfd p{master, POLLIN, 0};
  if (poll(&p, 1, ms) <= 0) return false;
  char buf[4096];
  ssize_t n = read(master, buf, sizeof(buf));
  if (n <= 0) return false;
  screen.append(buf, static_cast<size_t>(n));
  return true;
}

bool PseudoTerminal::Ended() {
  if (!ended_ && pid > 0 && waitpid(pid, &status_, WNOHANG) == pid) ended_ = true;
  return ended_;
}

bool PseudoTerminal::read_until(const std::string& what) {
  for (int polls = 0; pid > 0 && polls < kPolls; ++polls) {
    if (screen.find(what) != std::string::npos) return true;
    ReadSome(kPollMs);
  }
  return screen.find(what) != std::string::npos;
}

void PseudoTerminal::read_to_end(bool press_key) {
  for (int idle = 0; pid > 0 && idle < kPolls;) {
    if (ReadSome(kPollMs)) {
      idle = 0;
      continue;
    }
    if (Ended()) {
      while (ReadSome(0)) {
      }
      return;
    }
    termios t;
    if (press_key && tcgetattr(master, &t) == 0 && !(t.c_lflag & ICANON))
      press_key = write(master, "k", 1) != 1;
    ++idle;
  }
}

bool PseudoTerminal::wait_for_echo(bool on) {
  termios now;
  for (int polls = 0; polls < kPolls; ++polls) {
    if (tcgetattr(slave, &now) == 0 && ((now.c_lflag & ECHO) != 0) == on) return true;
    usleep(kPollMs * 1000);
  }
  return false;
}

int PseudoTerminal::end_with(int sig) {
  if (pid <= 0) return -1;
  if (sig != 0 && !Ended()) kill(pid, sig);
  if (!ended_ && waitpid(pid, &status_, 0) == pid) ended_ = true;
  return status_;
}

#endif  // _WIN32
