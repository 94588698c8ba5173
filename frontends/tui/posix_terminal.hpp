#pragma once
// The process's own terminal: raw mode, the program's terminal modes, a
// wake-up pipe, and the signals that must not leave the terminal unusable.
// Only one may be open at a time (signal handlers reach it through one
// process-wide record).
#include <memory>

#include "terminal_io.hpp"

namespace tui {

class PosixTerminal : public TerminalIo {
 public:
  // Takes over the terminal on inFd/outFd: saves its settings, switches to
  // raw mode, writes the program's modes (alternate screen, key and mouse
  // reporting) and installs handlers so the terminal is put back on exit,
  // on interrupt, terminate and hang-up, and on a crash. Returns nullptr when
  // the descriptors are not a terminal or one is already open.
  static std::unique_ptr<PosixTerminal> open(int inFd = 0, int outFd = 1);
  ~PosixTerminal() override;

  // Puts the terminal back as it was found. Safe to call twice.
  void restore();

  int read(char* buf, int size, int timeoutMs) override;
  void write(std::string_view bytes) override;
  void size(int& rows, int& cols) override;
  bool takeResize() override;
  void wake() override;
  int quitSignal() override;

 private:
  PosixTerminal(int inFd, int outFd, int wakeRead, int wakeWrite)
      : in_(inFd), out_(outFd), wakeRead_(wakeRead), wakeWrite_(wakeWrite) {}
  int in_, out_, wakeRead_, wakeWrite_;
  bool restored_ = false;
};

}  // namespace tui
