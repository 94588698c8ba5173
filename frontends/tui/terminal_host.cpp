#include "terminal_host.hpp"

#include <algorithm>

#include "canvas_window.hpp"
#include "escapes.hpp"
#include "form_draw.hpp"
#include "form_input.hpp"
#include "form_layout.hpp"
#include "message_box.hpp"
#include "platform/clock.hpp"
#include "progress_box.hpp"
#include "scroll_window.hpp"
#include "terminal_edit_window.hpp"
#include "ui/form_state.hpp"

namespace tui {

namespace k = ui::key;

TerminalHost::TerminalHost(TerminalIo& io) : io_(io) {
  io_.size(rows_, cols_);
  decoder_.reportRightButton(true);
}

TerminalHost::OverlayScope::OverlayScope(TerminalHost& host, Overlay& overlay) : host_(host), overlay_(&overlay) {
  host_.overlays_.push_back(overlay_);
  host_.refresh();
}

TerminalHost::OverlayScope::~OverlayScope() {
  auto it = std::find(host_.overlays_.begin(), host_.overlays_.end(), overlay_);
  if (it != host_.overlays_.end()) host_.overlays_.erase(it);
  // A scroll window opened over this layer now lies over what is left.
  if (host_.scroll_ && host_.scroll_->depth > host_.overlays_.size()) host_.scroll_->depth = host_.overlays_.size();
  host_.refresh();
}

void TerminalHost::setPainter(std::function<void(CellGrid&)> painter) { painter_ = std::move(painter); }

void TerminalHost::setTicker(std::function<void()> fn) {
  ticker_ = std::move(fn);
  lastTick_ = platform::clock().ticks();
}

std::unique_ptr<ui::EditWindow> TerminalHost::createEditWindow(ui::Screen& screen, ui::KeyQueue& keys,
                                                               const ui::EditWindowSetup& setup) {
  if (edit_) return nullptr;
  return std::make_unique<TerminalEditWindow>(*this, screen, keys, setup);
}

void TerminalHost::attachEditWindow(TerminalEditWindow* window) {
  edit_ = window;
  refresh();
}

void TerminalHost::detachEditWindow(TerminalEditWindow* window) {
  if (edit_ != window) return;
  edit_ = nullptr;
  refresh();  // the main screen again, and the cursor in its default shape
}

CellGrid TerminalHost::picture(CursorState* cursorOut) {
  CellGrid grid(rows_, cols_, Cell{U' ', paletteRgb(kBlack), paletteRgb(kBlack), kAttrNone});
  CursorState cursor;
  if (edit_) edit_->draw(grid, cursor);  // it covers the whole terminal
  else if (painter_) painter_(grid);
  auto drawScroll = [&] {
    CellRect box = scrollWindowBox(grid.rows(), grid.cols());
    scroll_->view.setVisible(scrollWindowRows(box), scrollWindowCols(box));
    drawScrollWindow(grid, box, scroll_->view);
    cursor = CursorState{};
  };
  for (std::size_t i = 0; i < overlays_.size(); ++i) {
    if (scroll_ && scroll_->depth == i) drawScroll();
    cursor = CursorState{};
    (*overlays_[i])(grid, cursor);
  }
  if (scroll_ && scroll_->depth >= overlays_.size()) drawScroll();
  if (cursorOut) *cursorOut = cursor;
  return grid;
}

void TerminalHost::refresh() {
  CursorState cursor;
  CellGrid grid = picture(&cursor);
  std::string out = renderer_.frame(grid, cursor);
  if (!out.empty()) io_.write(out);
  if (edit_) editDrawn_ = edit_->changeCount();
}

void TerminalHost::runPosted() {
  std::deque<std::function<void()>> ready;
  {
    std::lock_guard<std::mutex> guard(postLock_);
    ready.swap(posted_);
  }
  for (auto& fn : ready)
    if (fn) fn();
}

void TerminalHost::service(int waitMs) {
  runPosted();
  if (io_.takeResize()) {
    io_.size(rows_, cols_);
    renderer_.invalidate();
    refresh();
  }
  if (inputEnded_) {
    abortIfStopping();
    return;
  }

  std::uint64_t now = platform::clock().ticks();
  if (decoder_.pending()) {
    int left = escapeDeadline_ > now ? static_cast<int>(escapeDeadline_ - now) : 0;
    waitMs = waitMs < 0 ? left : std::min(waitMs, left);
  }
  char buf[512];
  int n = io_.read(buf, sizeof buf, waitMs);
  now = platform::clock().ticks();
  std::vector<InputEvent> events;
  if (n == TerminalIo::kInputEnded) {
    inputEnded_ = true;
    decoder_.timeOut(events);
  } else if (n > 0) {
    decoder_.feed(std::string_view(buf, static_cast<std::size_t>(n)), now, events);
    if (decoder_.pending()) escapeDeadline_ = now + kEscapeTimeoutMs;
  } else if (decoder_.pending() && now >= escapeDeadline_) {
    decoder_.timeOut(events);
  }
  for (const InputEvent& e : events)
    if (waiting_.size() < kMaxWaitingKeys) waiting_.push_back(e);
  runPosted();
  abortIfStopping();
}

void TerminalHost::abortIfStopping() {
  // Nobody is left to type: the engine's loops end instead of waiting for keys.
  if (edit_ && stopping()) edit_->abortInput();
}

bool TerminalHost::deliver(const InputEvent& e) {
  if (scrollWindowTakes(e)) {
    refresh();
    return true;
  }
  if (!editWindowHasInput()) return false;
  edit_->onEvent(e);
  return true;
}

void TerminalHost::tick() {
  if (!ticker_ || ticking_) return;
  std::uint64_t now = platform::clock().ticks();
  if (now - lastTick_ < kTickMs) return;
  lastTick_ = now;  // a late turn does not make up missed ticks
  ticking_ = true;
  std::function<void()> fn = ticker_;  // the ticker may replace itself
  fn();
  ticking_ = false;
}

bool TerminalHost::scrollWindowTakes(const InputEvent& e) {
  if (!scroll_ || scroll_->depth != overlays_.size()) return false;
  ui::ScrollView& view = scroll_->view;
  switch (e.key) {
    case k::kEscape:
      scroll_.reset();
      return true;
    case k::kUp:
    case k::kDown:
    case k::kPageUp:
    case k::kPageDown:
    case k::kLeft:
    case k::kRight:
    case k::kHome:
    case k::kEnd:
    case k::kWheelForward:
    case k::kWheelBack:
      view.key(e.key);
      return true;
    case k::kEnter:
      return true;  // the window has the focus: Enter does not reach the main window
    case k::kMouseClick:
    case k::kMouseDoubleClick:
    case k::kMouseRelease:
      return scrollWindowClick(view, scrollWindowBox(rows_, cols_), e.row, e.col);
    default:
      return false;
  }
}

std::optional<InputEvent> TerminalHost::nextEvent(int timeoutMs) {
  const std::uint64_t start = platform::clock().ticks();
  for (bool first = true;; first = false) {
    while (!waiting_.empty()) {
      InputEvent e = waiting_.front();
      waiting_.pop_front();
      // The right button means something only to the edit window.
      if (!deliver(e) && !e.rightButton) return e;
    }
    if (stopping()) return std::nullopt;
    int wait = -1;
    if (timeoutMs >= 0) {
      std::uint64_t spent = platform::clock().ticks() - start;
      if (!first && spent >= static_cast<std::uint64_t>(timeoutMs)) return std::nullopt;
      wait = spent >= static_cast<std::uint64_t>(timeoutMs) ? 0 : timeoutMs - static_cast<int>(spent);
    }
    service(wait);
  }
}

void TerminalHost::pump() {
  service(0);
  while (!waiting_.empty() && editWindowHasInput() && !edit_->queueFull()) {
    InputEvent e = waiting_.front();
    waiting_.pop_front();
    deliver(e);
  }
  tick();
  const bool statusChanged = edit_ && edit_->refreshStatusLine();
  if (edit_ && (statusChanged || edit_->changeCount() != editDrawn_)) refresh();
}

void TerminalHost::post(std::function<void()> fn) {
  {
    std::lock_guard<std::mutex> guard(postLock_);
    posted_.push_back(std::move(fn));
  }
  io_.wake();
}

void TerminalHost::beep() { io_.write(esc::kBell); }

int TerminalHost::messageBox(std::string_view text, std::string_view caption, unsigned flags) {
  std::string textCopy(text), captionCopy(caption);  // the caller's views may not outlive a resize
  MessageBoxLayout box = layoutMessageBox(textCopy, captionCopy, flags, rows_, cols_);
  MessageBoxInput input(box);
  Overlay overlay = [&](CellGrid& grid, CursorState&) {
    if (box.screenRows != grid.rows() || box.screenCols != grid.cols()) {
      // Re-laid out for the new size; the focus stays on the same button.
      box = layoutMessageBox(textCopy, captionCopy, flags, grid.rows(), grid.cols());
    }
    drawMessageBox(grid, box, input.focused());
  };
  OverlayScope shown(*this, overlay);

  int answer = 0;
  while (answer == 0) {
    if (stopping()) {
      answer = box.endAnswer;
      break;
    }
    // Wake at each full second so a clock beneath the box stays current.
    int toNextSecond = 1000 - platform::clock().localTime().millisecond;
    std::optional<InputEvent> e = nextEvent(std::max(toNextSecond, 1));
    if (e) answer = input.onEvent(*e);
    if (answer == 0) refresh();
  }
  return answer;
}

namespace {

// Passes every call on to the form's own controller and notes that one came,
// so the loop redraws only when something may have changed.
class Watched : public ui::FormController {
 public:
  explicit Watched(ui::FormController& inner) : inner_(inner) {}
  void onInit(ui::FormView& v) override { touched = true, inner_.onInit(v); }
  void onCommand(ui::FormView& v, int id) override { touched = true, inner_.onCommand(v, id); }
  void onSelectionChange(ui::FormView& v, int id) override { touched = true, inner_.onSelectionChange(v, id); }
  void onDoubleClick(ui::FormView& v, int id) override { touched = true, inner_.onDoubleClick(v, id); }
  void onTimer(ui::FormView& v, int id) override { touched = true, inner_.onTimer(v, id); }
  bool touched = false;

 private:
  ui::FormController& inner_;
};

}  // namespace

int TerminalHost::runForm(const ui::Form& form, ui::FormController& controller) {
  platform::Clock& clock = platform::clock();
  Watched watched(controller);
  ui::FormState state(form, watched);
  FormInput input(state);
  state.tick(clock.ticks());  // timers started in onInit count from now
  state.init();
  FormLayout layout = layoutForm(state.form(), rows_, cols_);
  Overlay overlay = [&](CellGrid& grid, CursorState& cursor) {
    if (layout.screenRows != grid.rows() || layout.screenCols != grid.cols())
      layout = layoutForm(state.form(), grid.rows(), grid.cols());
    input.follow(layout);
    cursor = drawForm(grid, layout, state, input);
  };
  if (state.ended()) return state.result();
  OverlayScope shown(*this, overlay);
  int second = clock.localTime().second;
  while (!state.ended()) {
    if (stopping()) {
      // Nobody is left to answer: the form ends as if cancelled, without
      // running the controller into more questions.
      state.end(0);
      break;
    }
    watched.touched = false;
    std::optional<InputEvent> e = nextEvent(kPollMs);
    if (e) input.onEvent(*e, layout);
    state.tick(clock.ticks());
    // Redraw after input, after the controller ran, and each second for the clock beneath.
    const int now = clock.localTime().second;
    if (!state.ended() && (e || watched.touched || now != second)) refresh();
    second = now;
  }
  return state.result();
}

void TerminalHost::showProgress(const ui::ProgressSpec& desc, ui::Progress& progress) {
  platform::Clock& clock = platform::clock();
  ui::Progress::Snapshot shown = progress.snapshot();
  Overlay overlay = [&](CellGrid& grid, CursorState&) {
    drawProgressBox(grid, layoutProgressBox(desc, grid.rows(), grid.cols()), desc, shown);
  };
  OverlayScope scope(*this, overlay);
  while (!shown.finished) {
    // The worker cannot be stopped, so even a lost terminal waits for it.
    if (stopping()) {
      runPosted();
      clock.sleep(kPollMs);
    } else {
      nextEvent(kPollMs);  // keys typed meanwhile go to the box, which has no use for them
    }
    ui::Progress::Snapshot now = progress.snapshot();
    if (now.serial != shown.serial) {
      shown = now;
      refresh();
    }
  }
}

ui::Host::CanvasOutcome TerminalHost::runCanvasWindow(const ui::CanvasWindowDesc& desc,
                                                      ui::CanvasController& controller) {
  return runTerminalCanvas(*this, desc, controller);
}

bool TerminalHost::toggleScrollWindow(const std::string& title, const std::vector<std::string>& lines) {
  if (scroll_ && scroll_->view.title() == title) {
    scroll_.reset();
  } else {
    // One scroll window at a time: a different one replaces it.
    scroll_.emplace(ScrollWindow{ui::ScrollView(title, lines), overlays_.size()});
  }
  refresh();
  return true;
}

int TerminalHost::scrollWindowColumns() { return scrollWindowCols(scrollWindowBox(rows_, cols_)); }

bool TerminalHost::mainWindowHasFocus() { return overlays_.empty() && !scroll_ && !edit_; }

}  // namespace tui
