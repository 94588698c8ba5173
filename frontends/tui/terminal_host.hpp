#pragma once
// ui::Host for the terminal: owns the picture (a painter for what lies
// beneath, the edit window over it while one is open, layers over both),
// turns terminal input into key codes, runs posted functions, and shows
// message boxes, forms, progress windows, the scroll window and the edit
// window.
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

#include "cell_grid.hpp"
#include "frame.hpp"
#include "input_event.hpp"
#include "key_decoder.hpp"
#include "renderer.hpp"
#include "terminal_io.hpp"
#include "ui/host.hpp"
#include "ui/scroll_view.hpp"

namespace tui {

class TerminalEditWindow;

class TerminalHost : public ui::Host {
 public:
  // How long an ESC waits for the rest of a sequence before it counts as Escape.
  static constexpr std::uint32_t kEscapeTimeoutMs = 100;
  // Keys kept while nobody reads them; later ones are dropped.
  static constexpr std::size_t kMaxWaitingKeys = 64;
  // The step in which modal loops poll (forms run their timers in it).
  static constexpr int kPollMs = 10;
  // The ticker's period.
  static constexpr std::uint32_t kTickMs = 1000;

  explicit TerminalHost(TerminalIo& io);

  int messageBox(std::string_view text, std::string_view caption, unsigned flags) override;
  // Services input as nextEvent does; while the edit window has the input,
  // what came goes to it (other waiting input stays for nextEvent). Then
  // runs the ticker when it is due and redraws when the edit window's Screen
  // changed.
  void pump() override;
  void post(std::function<void()> fn) override;
  void beep() override;
  int runForm(const ui::Form& form, ui::FormController& controller) override;
  bool toggleScrollWindow(const std::string& title, const std::vector<std::string>& lines) override;
  int scrollWindowColumns() override;
  bool mainWindowHasFocus() override;
  void showProgress(const ui::ProgressSpec& desc, ui::Progress& progress) override;
  // The canvas window over the whole screen as a layer, run modally
  // (canvas_window.hpp); always shown.
  CanvasOutcome runCanvasWindow(const ui::CanvasWindowDesc& desc, ui::CanvasController& controller) override;

  // Called by pump() at most once per kTickMs of the platform clock (first
  // kTickMs after this call), so the main window's timer keeps running while
  // the engine's loops pump. Not called again while it runs. Empty: none.
  void setTicker(std::function<void()> fn);

  // What the screen shows beneath any box: called with a grid of the
  // terminal's size whenever the picture is rebuilt.
  void setPainter(std::function<void(CellGrid&)> painter);
  // Rebuilds the picture and writes what changed.
  void refresh();
  // The picture as it stands: the painter's (or the edit window's, which
  // covers it, while one is open), the scroll window and every layer over
  // it; cursor (when given) gets the topmost layer's cursor.
  CellGrid picture(CursorState* cursor = nullptr);

  // A layer over the picture (a box, a menu). It may place the cursor; the
  // cursor of the topmost layer counts.
  using Overlay = std::function<void(CellGrid&, CursorState&)>;
  // Shows an overlay for the scope's lifetime, innermost last. While one is
  // shown above the scroll window, the scroll window takes no input.
  class OverlayScope {
   public:
    OverlayScope(TerminalHost& host, Overlay& overlay);
    ~OverlayScope();
    OverlayScope(const OverlayScope&) = delete;
    OverlayScope& operator=(const OverlayScope&) = delete;

   private:
    TerminalHost& host_;
    Overlay* overlay_;
  };

  // Waits up to timeoutMs (negative: without limit) for a key, running posted
  // functions and redrawing after a change of size meanwhile. Returns the key,
  // or nothing when the time passed, the input ended or the program was asked
  // to quit. While the scroll window has the input, its keys (Escape, the
  // cursor and page keys, Enter, the wheel, clicks on it) are used there and
  // not returned; while the edit window has it (no layer above it), every
  // other event goes to the edit window and is not returned either.
  std::optional<InputEvent> nextEvent(int timeoutMs);

  // The terminal hung up (input ended).
  bool inputEnded() const { return inputEnded_; }
  // A signal asked the program to end (its number), or 0.
  int quitSignal() const { return io_.quitSignal(); }
  // True when the program should stop: input ended or a quit signal came.
  bool stopping() const { return inputEnded_ || io_.quitSignal() != 0; }

  int rows() const { return rows_; }
  int cols() const { return cols_; }

  // The open scroll window, or null.
  const ui::ScrollView* scrollWindow() const { return scroll_ ? &scroll_->view : nullptr; }
  // The open edit window, or null.
  const TerminalEditWindow* editWindow() const { return edit_; }

 protected:
  // A TerminalEditWindow on screen and keys.
  std::unique_ptr<ui::EditWindow> createEditWindow(ui::Screen& screen, ui::KeyQueue& keys,
                                                   const ui::EditWindowSetup& setup) override;

 private:
  friend class TerminalEditWindow;
  // The edit window shows itself and goes (one at a time).
  void attachEditWindow(TerminalEditWindow* window);
  void detachEditWindow(TerminalEditWindow* window);
  // Gives e to the scroll window or the edit window when one has the input;
  // true when it was used.
  bool deliver(const InputEvent& e);
  bool editWindowHasInput() const { return edit_ && overlays_.empty(); }
  void tick();
  // The terminal went away (or a signal asks to end): the edit window's queue aborts.
  void abortIfStopping();

  // Reads what input there is (waiting at most waitMs), decodes it into
  // waiting_, runs posted functions and handles a change of size.
  void service(int waitMs);
  void runPosted();
  // Uses e in the scroll window when that has the input; true when used.
  bool scrollWindowTakes(const InputEvent& e);

  struct ScrollWindow {
    ui::ScrollView view;
    std::size_t depth;  // overlays beneath it
  };

  TerminalIo& io_;
  KeyDecoder decoder_;
  Renderer renderer_;
  std::function<void(CellGrid&)> painter_;
  std::vector<Overlay*> overlays_;  // open layers, innermost last
  std::optional<ScrollWindow> scroll_;
  TerminalEditWindow* edit_ = nullptr;
  std::uint64_t editDrawn_ = 0;  // the edit window's change count last written
  std::function<void()> ticker_;
  std::uint64_t lastTick_ = 0;
  bool ticking_ = false;
  int rows_ = 0, cols_ = 0;
  std::deque<InputEvent> waiting_;
  std::uint64_t escapeDeadline_ = 0;
  bool inputEnded_ = false;

  std::mutex postLock_;
  std::deque<std::function<void()>> posted_;
};

}  // namespace tui
