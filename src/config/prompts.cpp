#include "config/prompts.hpp"

#include <algorithm>

#include "platform/clock.hpp"
#include "ui/host.hpp"
#include "ui/key_queue.hpp"
#include "ui/screen.hpp"

namespace config {

namespace {

constexpr const char* kWarningTitle = "< Warning ! >";

char lower(int c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); }

// A framed box centred on the edit window's Screen, put up over a saved copy
// of what lies under it and taken down again with that copy.
class ScreenBox {
 public:
  ScreenBox(ui::Screen& screen, std::string_view title, const std::vector<std::string>& lines)
      : screen_(screen), handle_(screen.pushImage()) {
    if (handle_ == 0) return;  // every image slot in use: nothing could be put back
    std::size_t widest = title.size();
    for (const auto& line : lines) widest = std::max(widest, line.size());
    // One blank column on either side of the text inside the frame.
    const int width = static_cast<int>(std::min<std::size_t>(widest, ui::Screen::kMaxText)) + 2;
    const int height = std::max(1, static_cast<int>(lines.size()));
    const int top = std::max(2, (screen.rows() - height) / 2 + 1);
    const int left = std::max(2, (screen.cols() - width) / 2 + 1);
    const auto cursor = screen.gotoCell(top, left);
    cursorRow_ = cursor[0];
    cursorCol_ = cursor[1];
    cursorSuspended_ = screen.suspendCursor(true);
    textColour_ = screen.setTextColour(ui::kBlack);
    backColour_ = screen.setBackColour(ui::kWhite);
    screen.drawBox(top, left, top + height - 1, left + width - 1);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      screen.gotoCell(top + static_cast<int>(i), left + 1);
      screen.putText(lines[i]);
    }
    if (!title.empty()) {
      // Centred on the top frame row, which runs from left - 1 to left + width.
      const int outer = width + 2;
      screen.gotoCell(top - 1, left - 1 + (outer - static_cast<int>(title.size())) / 2);
      screen.putText(title);
    }
  }

  ~ScreenBox() {
    if (handle_ == 0) return;
    screen_.popImage(handle_);
    screen_.setTextColour(textColour_);
    screen_.setBackColour(backColour_);
    if (cursorRow_ >= 1 && cursorCol_ >= 1) screen_.gotoCell(cursorRow_, cursorCol_);
    screen_.suspendCursor(cursorSuspended_);
  }

  ScreenBox(const ScreenBox&) = delete;
  ScreenBox& operator=(const ScreenBox&) = delete;

  bool shown() const { return handle_ != 0; }

 private:
  ui::Screen& screen_;
  int handle_;
  int cursorRow_ = 0, cursorCol_ = 0;
  bool cursorSuspended_ = false;
  int textColour_ = ui::kBlack, backColour_ = ui::kWhite;
};

// True while the edit window that lent screen is still the open one.
bool stillOpen(ui::Host& host, const ui::Screen& screen) { return host.editScreen() == &screen; }

// Waits until tenths have passed, a key comes or the edit window closes.
void waitForKey(ui::Host& host, const ui::Screen& screen, ui::KeyQueue& keys, int tenths) {
  platform::Clock& clock = platform::clock();
  const std::uint64_t until = clock.ticks() + static_cast<std::uint64_t>(tenths) * 10u;
  // Any key ends the wait, the abort code included.
  while (clock.ticks() < until && stillOpen(host, screen)) {
    if (keys.take() != 0) break;
    host.pump();
    clock.sleep(10);
  }
}

int warnLines(ui::Host& host, const std::vector<std::string>& lines, int tenths, bool yesNo,
              bool quiet) {
  ui::Screen* screen = host.editScreen();
  ui::KeyQueue* keys = host.editKeys();
  if (keys) keys->clear();
  if (tenths > 0 && screen && keys) {
    ScreenBox box(*screen, kWarningTitle, lines);
    if (box.shown()) {
      host.beep();
      waitForKey(host, *screen, *keys, tenths);
      return 1;
    }
  }
  if (quiet) return 1;
  host.beep();
  std::string text;
  for (const auto& line : lines) text += line + "\n";
  unsigned flags = yesNo ? (ui::kMbYesNo | ui::kMbIconQuestion) : (ui::kMbOk | ui::kMbIconInformation);
  int r = host.messageBox(text, "Warning !", flags | ui::kMbTopmost);
  return yesNo ? (r == ui::kIdYes ? 1 : 2) : 1;
}

int askLetterByBox(ui::Host& host, const std::vector<std::string>& box) {
  std::string text;
  for (const auto& line : box) text += line + "\n";
  return ui::askYesNo(host, text, "") == ui::kIdYes ? 1 : 2;
}

}  // namespace

int warn(ui::Host& host, std::string_view line1, std::string_view line2, int tenths, bool yesNo,
         bool quiet) {
  return warnLines(host, {std::string(line1), std::string(line2)}, tenths, yesNo, quiet);
}

int warn3(ui::Host& host, std::string_view line1, std::string_view line2, std::string_view line3,
          int tenths, bool yesNo, bool quiet) {
  return warnLines(host, {std::string(line1), std::string(line2), std::string(line3)}, tenths, yesNo,
                   quiet);
}

int askLetter(ui::Host& host, const std::vector<std::string>& box, char letterA, char letterB) {
  ui::Screen* screen = host.editScreen();
  ui::KeyQueue* keys = host.editKeys();
  if (!screen || !keys) return askLetterByBox(host, box);
  keys->clear();
  ScreenBox shown(*screen, "", box);
  if (!shown.shown()) return askLetterByBox(host, box);
  platform::Clock& clock = platform::clock();
  while (stillOpen(host, *screen)) {
    const ui::KeyCode k = keys->take();
    if (k == ui::key::kAbort) return 0;
    if (k != 0 && k < 256) {
      if (lower(k) == lower(letterA)) return 1;
      if (lower(k) == lower(letterB)) return 2;
    }
    if (k == 0) {
      host.pump();
      clock.sleep(10);
    }
  }
  return 0;
}

bool showTimedBox(ui::Host& host, std::string_view title, const std::vector<std::string>& lines, int tenths) {
  ui::Screen* screen = host.editScreen();
  ui::KeyQueue* keys = host.editKeys();
  if (!screen || !keys) return false;
  keys->clear();
  ScreenBox box(*screen, title, lines);
  if (!box.shown()) return false;
  waitForKey(host, *screen, *keys, tenths);
  return true;
}

}  // namespace config
