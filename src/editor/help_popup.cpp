#include "editor/help_popup.hpp"

#include <algorithm>

#include "editor/field_context.hpp"
#include "editor/help_lists.hpp"
#include "ui/host.hpp"

namespace editor {

namespace {

constexpr const char* kFooter = "< Up/Dn or Escape >";

void drawHelp(Engine& e, const std::vector<std::string>& lines, const char* title, int first) {
  ui::Screen& s = e.screen;
  int width = static_cast<int>(std::string(title).size());
  for (const std::string& l : lines) width = std::max(width, static_cast<int>(l.size()));
  width = std::min(width + 2, s.cols() - 4);
  const int shown = std::max(1, std::min(static_cast<int>(lines.size()), s.rows() - 6));
  const int top = std::max(2, (s.rows() - shown - 2) / 2 + 1);
  const int left = std::max(3, (s.cols() - width) / 2 + 1);
  s.setTextColour(ui::kBlack);
  s.setBackColour(ui::kWhite);
  s.drawBox(top, left, top + shown + 1, left + width - 1);
  auto centred = [&](int row, const std::string& t) {
    std::string text = t.substr(0, static_cast<std::size_t>(width));
    s.gotoCell(row, left + (width - static_cast<int>(text.size())) / 2);
    s.putText(text);
  };
  centred(top, title);
  for (int i = 0; i < shown; ++i) {
    std::string l = first + i < static_cast<int>(lines.size()) ? lines[static_cast<std::size_t>(first + i)] : "";
    l.resize(static_cast<std::size_t>(width), ' ');
    s.gotoCell(top + 1 + i, left);
    s.putText(l);
  }
  centred(top + shown + 1, kFooter);
}

}  // namespace

void showHelpPopup(Engine& e, bool virtualDisplay) {
  const std::vector<std::string> lines =
      helpWindowLines(virtualDisplay ? virtualDisplayHelp() : lineDisplayHelp());
  const char* title = virtualDisplay ? kVirtualHelpPopupTitle : kLineHelpPopupTitle;
  const int image = e.screen.pushImage();
  const bool cursor = e.screen.suspendCursor(true);
  const int page = std::max(1, std::min(static_cast<int>(lines.size()), e.screen.rows() - 6));
  const int last = std::max(0, static_cast<int>(lines.size()) - page);
  int first = 0;
  for (;;) {
    drawHelp(e, lines, title, first);
    ui::KeyCode key = waitKey(e.field);
    namespace k = ui::key;
    if (key == k::kAbort) {
      e.aborted = true;
      break;
    }
    if (key == k::kEscape || key == k::kEnter) break;
    if (key == k::kUp || key == k::kWheelForward) first = std::max(0, first - 1);
    else if (key == k::kDown || key == k::kWheelBack) first = std::min(last, first + 1);
    else if (key == k::kPageUp) first = std::max(0, first - (page - 1));
    else if (key == k::kPageDown) first = std::min(last, first + (page - 1));
    else if (key == k::kHome || key == k::kCtrlPageUp) first = 0;
    else if (key == k::kEnd || key == k::kCtrlPageDown) first = last;
  }
  e.screen.suspendCursor(cursor);
  if (image) e.screen.popImage(image);
}

void toggleHelpWindow(Engine& e, bool virtualDisplay) {
  // A window that could not be made says so with a beep rather than nothing.
  if (!e.host.toggleScrollWindow(virtualDisplay ? kVirtualHelpTitle : kLineHelpTitle,
                                 helpWindowLines(virtualDisplay ? virtualDisplayHelp() : lineDisplayHelp())))
    e.host.beep();
}

}  // namespace editor
