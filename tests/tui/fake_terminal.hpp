#pragma once
// A terminal for tests: each read returns the next chunk of bytes given by
// the test ("" stands for a read in which nothing came in time, and moves the
// fake clock on by the wait); everything written is kept.
#include <cstring>
#include <deque>
#include <functional>
#include <string>

#include "support/fake_clock.hpp"
#include "tui/terminal_io.hpp"

namespace tui_testing {

class FakeTerminal : public tui::TerminalIo {
 public:
  explicit FakeTerminal(testing_support::FakeClock& clock) : clock_(clock) {}

  std::deque<std::string> input;
  std::string output;
  int rows = 30, cols = 100;
  bool resizePending = false;
  int quit = 0;
  int wakes = 0;
  // Called at the start of each read (tests change the world there).
  std::function<void()> onRead;
  // When false, a read with no input left is one in which nothing came (for
  // work that only pumps), instead of the end of the input.
  bool endWhenEmpty = true;

  int read(char* buf, int size, int timeoutMs) override {
    if (onRead) onRead();
    if (input.empty() && endWhenEmpty) return kInputEnded;
    std::string chunk;
    if (!input.empty()) {
      chunk = std::move(input.front());
      input.pop_front();
    }
    if (chunk.empty()) {
      if (timeoutMs > 0) clock_.advance(static_cast<std::uint64_t>(timeoutMs));
      return 0;
    }
    if (static_cast<int>(chunk.size()) > size) {
      input.push_front(chunk.substr(static_cast<std::size_t>(size)));
      chunk.resize(static_cast<std::size_t>(size));
    }
    std::memcpy(buf, chunk.data(), chunk.size());
    return static_cast<int>(chunk.size());
  }
  void write(std::string_view bytes) override { output.append(bytes); }
  void size(int& r, int& c) override { r = rows, c = cols; }
  bool takeResize() override {
    bool was = resizePending;
    resizePending = false;
    return was;
  }
  void wake() override { ++wakes; }
  int quitSignal() override { return quit; }

 private:
  testing_support::FakeClock& clock_;
};

}  // namespace tui_testing
