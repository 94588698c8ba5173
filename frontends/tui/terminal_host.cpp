#include "terminal_host.hpp"

#include <algorithm>

#include "escapes.hpp"
#include "message_box.hpp"
#include "platform/clock.hpp"

namespace tui {

TerminalHost::TerminalHost(TerminalIo& io) : io_(io) { io_.size(rows_, cols_); }

void TerminalHost::setPainter(std::function<void(CellGrid&)> painter) { painter_ = std::move(painter); }

void TerminalHost::refresh() {
  CellGrid grid(rows_, cols_, Cell{U' ', paletteColour(kBlack), paletteColour(kBlack), kAttrNone});
  if (painter_) painter_(grid);
  for (auto* overlay : overlays_) (*overlay)(grid);
  std::string out = renderer_.frame(grid, CursorState{});
  if (!out.empty()) io_.write(out);
}

void TerminalHost::runPosted() {
  std::deque<std::function<void()>> ready;
  {
    std::lock_guard<std::mutex> guard(postLock_);
    ready.swap(posted_);
  }
  for (auto& fn : ready) fn();
}

void TerminalHost::service(int waitMs) {
  runPosted();
  if (io_.takeResize()) {
    io_.size(rows_, cols_);
    renderer_.invalidate();
    refresh();
  }
  if (inputEnded_) return;

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
}

std::optional<InputEvent> TerminalHost::nextEvent(int timeoutMs) {
  const std::uint64_t start = platform::clock().ticks();
  for (bool first = true;; first = false) {
    if (!waiting_.empty()) {
      InputEvent e = waiting_.front();
      waiting_.pop_front();
      return e;
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

void TerminalHost::pump() { service(0); }

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
  std::function<void(CellGrid&)> overlay = [&](CellGrid& grid) {
    if (box.screenRows != grid.rows() || box.screenCols != grid.cols()) {
      // Re-laid out for the new size; the focus stays on the same button.
      box = layoutMessageBox(textCopy, captionCopy, flags, grid.rows(), grid.cols());
    }
    drawMessageBox(grid, box, input.focused());
  };
  overlays_.push_back(&overlay);
  refresh();

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
  overlays_.erase(std::find(overlays_.begin(), overlays_.end(), &overlay));
  refresh();
  return answer;
}

}  // namespace tui
