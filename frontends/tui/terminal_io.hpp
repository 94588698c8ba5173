#pragma once
// The terminal as the host uses it. The real one (posix_terminal) works on
// the process's terminal; tests give bytes and capture output with their own.
#include <string_view>

namespace tui {

class TerminalIo {
 public:
  static constexpr int kInputEnded = -1;

  virtual ~TerminalIo() = default;

  // Waits at most timeoutMs (0: only looks; negative: without limit) for
  // input, a wake() or a change of size, then reads what input is there.
  // Returns the number of bytes put into buf (0 when none came in time or
  // the wait was ended otherwise), or kInputEnded when the input has ended
  // (the terminal hung up).
  virtual int read(char* buf, int size, int timeoutMs) = 0;
  virtual void write(std::string_view bytes) = 0;
  // The terminal's size in cells.
  virtual void size(int& rows, int& cols) = 0;
  // True once after each change of size.
  virtual bool takeResize() = 0;
  // Ends a read() that is waiting. Safe from any thread.
  virtual void wake() = 0;
  // The signal that asked the program to end (interrupt, terminate, hang-up), or 0.
  virtual int quitSignal() = 0;
};

}  // namespace tui
