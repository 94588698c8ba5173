#include "posix_terminal.hpp"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "escapes.hpp"

namespace tui {

namespace {

// What the signal handlers need; set before the handlers are installed.
struct TerminalRecord {
  std::atomic<bool> open{false};
  int inFd = -1, outFd = -1, wakeWrite = -1;
  termios saved{};
  const char* leave = nullptr;
  std::size_t leaveSize = 0;
  std::atomic<bool> restored{false};
  std::atomic<bool> resized{false};
  std::atomic<int> quitSignal{0};
};
TerminalRecord g_term;

constexpr int kQuitSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kCrashSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
struct sigaction g_oldQuit[3], g_oldCrash[5], g_oldWinch, g_oldPipe;

// Async-signal-safe: only write() and tcsetattr().
void emergencyRestore() {
  if (g_term.restored.exchange(true)) return;
  std::size_t done = 0;
  while (done < g_term.leaveSize) {
    ssize_t n = ::write(g_term.outFd, g_term.leave + done, g_term.leaveSize - done);
    if (n > 0) done += static_cast<std::size_t>(n);
    else if (n < 0 && errno == EINTR) continue;
    else break;
  }
  ::tcsetattr(g_term.inFd, TCSAFLUSH, &g_term.saved);
}

void poke() {
  int saved = errno;
  char c = 1;
  [[maybe_unused]] ssize_t n = ::write(g_term.wakeWrite, &c, 1);
  errno = saved;
}

void onWinch(int) {
  g_term.resized = true;
  poke();
}

void onQuit(int sig) {
  int none = 0;
  if (g_term.quitSignal.compare_exchange_strong(none, sig)) {
    poke();  // the main loop ends the program in order
    return;
  }
  // Asked twice: the program is not listening; put the terminal back and go.
  emergencyRestore();
  ::signal(sig, SIG_DFL);
  ::raise(sig);
}

void onCrash(int sig, siginfo_t* info, void*) {
  emergencyRestore();
  // Hand the signal on to whoever had it before (the default action, or a
  // sanitizer's report): a fault re-executes and arrives again there.
  for (std::size_t i = 0; i < std::size(kCrashSignals); ++i)
    if (kCrashSignals[i] == sig) ::sigaction(sig, &g_oldCrash[i], nullptr);
  if (info == nullptr || info->si_code <= 0) ::raise(sig);  // sent, not caused: send again
}

void install() {
  struct sigaction sa{};
  sigemptyset(&sa.sa_mask);
  sa.sa_handler = onQuit;
  for (std::size_t i = 0; i < std::size(kQuitSignals); ++i) ::sigaction(kQuitSignals[i], &sa, &g_oldQuit[i]);
  sa.sa_handler = onWinch;
  sa.sa_flags = SA_RESTART;
  ::sigaction(SIGWINCH, &sa, &g_oldWinch);
  sa.sa_handler = SIG_IGN;  // a vanished terminal shows as a failed write, not a kill
  ::sigaction(SIGPIPE, &sa, &g_oldPipe);
  struct sigaction crash{};
  sigemptyset(&crash.sa_mask);
  crash.sa_sigaction = onCrash;
  crash.sa_flags = SA_SIGINFO;
  for (std::size_t i = 0; i < std::size(kCrashSignals); ++i) ::sigaction(kCrashSignals[i], &crash, &g_oldCrash[i]);
}

void uninstall() {
  for (std::size_t i = 0; i < std::size(kQuitSignals); ++i) ::sigaction(kQuitSignals[i], &g_oldQuit[i], nullptr);
  for (std::size_t i = 0; i < std::size(kCrashSignals); ++i) ::sigaction(kCrashSignals[i], &g_oldCrash[i], nullptr);
  ::sigaction(SIGWINCH, &g_oldWinch, nullptr);
  ::sigaction(SIGPIPE, &g_oldPipe, nullptr);
}

void writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(n));
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && errno == EAGAIN) {
      pollfd p{fd, POLLOUT, 0};
      ::poll(&p, 1, 100);
    } else {
      return;  // the terminal is gone; nothing more can be shown
    }
  }
}

}  // namespace

std::unique_ptr<PosixTerminal> PosixTerminal::open(int inFd, int outFd) {
  if (!::isatty(inFd) || !::isatty(outFd)) return nullptr;
  if (g_term.open.exchange(true)) return nullptr;
  termios saved{};
  int pipeFds[2];
  if (::tcgetattr(inFd, &saved) != 0 || ::pipe(pipeFds) != 0) {
    g_term.open = false;
    return nullptr;
  }
  for (int fd : pipeFds) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  }
  g_term.inFd = inFd, g_term.outFd = outFd, g_term.wakeWrite = pipeFds[1];
  g_term.saved = saved;
  std::string_view leave = esc::leaveSequence();
  g_term.leave = leave.data(), g_term.leaveSize = leave.size();
  g_term.restored = false, g_term.resized = false, g_term.quitSignal = 0;

  termios raw = saved;
  raw.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON);
  raw.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  raw.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  raw.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB);
  raw.c_cflag |= CS8;
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  install();
  ::tcsetattr(inFd, TCSAFLUSH, &raw);
  writeAll(outFd, esc::enterSequence());
  return std::unique_ptr<PosixTerminal>(new PosixTerminal(inFd, outFd, pipeFds[0], pipeFds[1]));
}

PosixTerminal::~PosixTerminal() {
  restore();
  uninstall();
  ::close(wakeRead_);
  ::close(wakeWrite_);
  g_term.wakeWrite = -1;
  g_term.open = false;
}

void PosixTerminal::restore() {
  if (restored_) return;
  restored_ = true;
  emergencyRestore();
}

int PosixTerminal::read(char* buf, int size, int timeoutMs) {
  pollfd fds[2] = {{in_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
  int n = ::poll(fds, 2, timeoutMs < 0 ? -1 : timeoutMs);
  if (n <= 0) return 0;  // time-out, or a signal (its flag is read by the caller)
  if (fds[1].revents & POLLIN) {
    char drain[64];
    while (::read(wakeRead_, drain, sizeof drain) > 0) {
    }
  }
  if (fds[0].revents & POLLIN) {
    ssize_t got = ::read(in_, buf, static_cast<std::size_t>(size));
    if (got > 0) return static_cast<int>(got);
    if (got == 0 || (errno != EINTR && errno != EAGAIN)) return kInputEnded;
    return 0;
  }
  if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) return kInputEnded;
  return 0;
}

void PosixTerminal::write(std::string_view bytes) { writeAll(out_, bytes); }

void PosixTerminal::size(int& rows, int& cols) {
  winsize ws{};
  if (::ioctl(out_, TIOCGWINSZ, &ws) == 0 && ws.ws_row > 0 && ws.ws_col > 0) {
    rows = ws.ws_row, cols = ws.ws_col;
  } else {
    rows = 24, cols = 80;
  }
}

bool PosixTerminal::takeResize() { return g_term.resized.exchange(false); }

void PosixTerminal::wake() {
  char c = 1;
  [[maybe_unused]] ssize_t n = ::write(wakeWrite_, &c, 1);
}

int PosixTerminal::quitSignal() { return g_term.quitSignal.load(); }

}  // namespace tui
