#include "serial/sensor_terminal.hpp"

#include <algorithm>

#include "platform/clock.hpp"
#include "serial/port_layer.hpp"
#include "ui/host.hpp"
#include "ui/key_queue.hpp"
#include "ui/screen.hpp"

namespace serial {

namespace {

namespace k = ui::key;

constexpr ui::KeyCode kCtrlT = k::ctrlLetter('t');
constexpr ui::KeyCode kCtrlW = k::ctrlLetter('w');

bool leavesTerminal(ui::KeyCode key) {
  return key == k::kF8 || key == k::kF4 || key == kCtrlT || key == k::altLetter('t') || key == k::kAbort;
}

void drawFlag(ui::Screen& screen, int col, bool on) {
  screen.gotoCell(kTerminalHeaderRows, col);
  screen.putText(on ? " On" : "Off");
}

void drawArea(ui::Screen& screen, const TerminalArea& area) {
  const int first = kTerminalHeaderRows + 1;
  screen.clearRegion(first, 1, screen.rows(), screen.cols());
  const auto& rows = area.rows();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    screen.gotoCell(first + static_cast<int>(i), 1);
    screen.putText(rows[i]);
  }
  const int last = first + std::max(0, static_cast<int>(rows.size()) - 1);
  screen.gotoCell(last, rows.empty() ? 1 : static_cast<int>(rows.back().size()) + 1);
}

}  // namespace

TerminalArea::TerminalArea(int rows, int cols) : maxRows_(std::max(1, rows)), cols_(std::max(1, cols)) {
  rows_.emplace_back();
}

void TerminalArea::newRow() {
  rows_.emplace_back();
  if (static_cast<int>(rows_.size()) > maxRows_) rows_.erase(rows_.begin());
}

void TerminalArea::put(std::string_view bytes, bool wrap) {
  for (char c : bytes) {
    const auto u = static_cast<unsigned char>(c);
    if (u == '\r' || u == '\n') {
      // CR LF is one line end.
      if (!(u == '\n' && afterCr_)) newRow();
      afterCr_ = u == '\r';
      continue;
    }
    afterCr_ = false;
    if (u < 32 || u == 127) continue;
    if (static_cast<int>(rows_.back().size()) >= cols_) {
      if (!wrap) continue;
      newRow();
    }
    rows_.back().push_back(c);
  }
}

ui::KeyCode runTerminal(ui::Host& host, ui::Screen& screen, ui::KeyQueue& keys, PortLayer& ports, int port) {
  if (!ports.setTerminalMode(port, true)) return 0;
  const int image = screen.pushEditorImage();
  const int text = screen.setTextColour(ui::kBlack), back = screen.setBackColour(ui::kWhite);
  screen.clearScreen();
  const bool shortScreen = screen.rows() < kShortScreenRows;
  const std::string_view header[] = {kTerminalExitRow, shortScreen ? kTerminalShortRow : kTerminalEchoRow,
                                     kTerminalWrapRow, kTerminalStatusRow};
  for (int r = 0; r < kTerminalHeaderRows; ++r) {
    screen.gotoCell(r + 1, 1);
    screen.putText(header[r]);
  }
  bool echo = true, wrap = false;
  TerminalArea area(screen.rows() - kTerminalHeaderRows, screen.cols());
  drawArea(screen, area);
  keys.clear();

  ui::KeyCode left = 0;
  while (left == 0) {
    const std::string received = ports.takeTerminalBytes(port);
    if (!received.empty()) {
      area.put(received, wrap);
      drawArea(screen, area);
    }
    const ui::KeyCode key = keys.take();
    if (key == 0) {
      host.pump();
      platform::waitTicks(1);
      continue;
    }
    if (leavesTerminal(key)) {
      left = key;
    } else if (key == k::altLetter('e')) {
      echo = !echo;
      drawFlag(screen, kEchoColumn, echo);
    } else if (key == kCtrlW || key == k::altLetter('w')) {
      wrap = !wrap;
      drawFlag(screen, kWrapColumn, wrap);
    } else if (key >= 1 && key <= 255) {
      const char byte = static_cast<char>(key);
      (void)ports.queueSend(port, std::string_view(&byte, 1));
      if (echo) {
        area.put(std::string_view(&byte, 1), wrap);
        drawArea(screen, area);
      }
    }
  }

  (void)ports.setTerminalMode(port, false);
  ports.purgeReceive(port);
  screen.setTextColour(text);
  screen.setBackColour(back);
  if (image != 0) screen.popImage(image);
  return left;
}

}  // namespace serial
