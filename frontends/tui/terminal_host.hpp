#pragma once
// ui::Host for the terminal: owns the picture (a painter for what lies
// beneath, boxes drawn over it), turns terminal input into key codes, runs
// posted functions, and answers message boxes.
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

#include "cell_grid.hpp"
#include "input_event.hpp"
#include "key_decoder.hpp"
#include "renderer.hpp"
#include "terminal_io.hpp"
#include "ui/host.hpp"

namespace tui {

class TerminalHost : public ui::Host {
 public:
  // How long an ESC waits for the rest of a sequence before it counts as Escape.
  static constexpr std::uint32_t kEscapeTimeoutMs = 100;
  // Keys kept while nobody reads them; later ones are dropped.
  static constexpr std::size_t kMaxWaitingKeys = 64;

  explicit TerminalHost(TerminalIo& io);

  int messageBox(std::string_view text, std::string_view caption, unsigned flags) override;
  void pump() override;
  void post(std::function<void()> fn) override;
  void beep() override;

  // What the screen shows beneath any box: called with a grid of the
  // terminal's size whenever the picture is rebuilt.
  void setPainter(std::function<void(CellGrid&)> painter);
  // Rebuilds the picture and writes what changed.
  void refresh();

  // Waits up to timeoutMs (negative: without limit) for a key, running posted
  // functions and redrawing after a change of size meanwhile. Returns the key,
  // or nothing when the time passed, the input ended or the program was asked
  // to quit.
  std::optional<InputEvent> nextEvent(int timeoutMs);

  // The terminal hung up (input ended).
  bool inputEnded() const { return inputEnded_; }
  // A signal asked the program to end (its number), or 0.
  int quitSignal() const { return io_.quitSignal(); }
  // True when the program should stop: input ended or a quit signal came.
  bool stopping() const { return inputEnded_ || io_.quitSignal() != 0; }

  int rows() const { return rows_; }
  int cols() const { return cols_; }

 private:
  // Reads what input there is (waiting at most waitMs), decodes it into
  // waiting_, runs posted functions and handles a change of size.
  void service(int waitMs);
  void runPosted();

  TerminalIo& io_;
  KeyDecoder decoder_;
  Renderer renderer_;
  std::function<void(CellGrid&)> painter_;
  std::vector<std::function<void(CellGrid&)>*> overlays_;  // open boxes, innermost last
  int rows_ = 0, cols_ = 0;
  std::deque<InputEvent> waiting_;
  std::uint64_t escapeDeadline_ = 0;
  bool inputEnded_ = false;

  std::mutex postLock_;
  std::deque<std::function<void()>> posted_;
};

}  // namespace tui
