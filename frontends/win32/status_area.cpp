#include "status_area.hpp"

#include <array>
#include <string>
#include <vector>

#include "main_window.hpp"
#include "platform/win32/wide.hpp"

namespace frontend {

StatusArea::~StatusArea() {
  if (font_) DeleteObject(font_);
}

void StatusArea::layout(int width, int height, int left, int top) {
  int fontHeight = height / 25 > 1 ? height / 25 : 1;
  int fontWidth = width < height ? width / 80 : 0;
  if (!font_ || fontHeight != fontHeight_ || fontWidth != fontWidth_) {
    if (font_) DeleteObject(font_);
    font_ = CreateFontW(fontHeight, fontWidth, 0, 0, 600, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        VARIABLE_PITCH | FF_SWISS, L"Tahoma");
    fontHeight_ = fontHeight;
    fontWidth_ = fontWidth;
  }
  width_ = width;
  left_ = left;
  top_ = top;
  lineHeight_ = fontHeight * 3 / 2;
}

RECT StatusArea::band(int line) const {
  RECT rc{0, top_ + line * lineHeight_, width_, top_ + (line + 1) * lineHeight_};
  return rc;
}

void StatusArea::paint(HDC dc, const shell::StatusLines& s) const {
  HGDIOBJ oldFont = SelectObject(dc, font_);
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, kMainGreen);
  SetTextColor(dc, RGB(255, 255, 255));
  // The application, the GPS block while GPS is on, the paths and the clock.
  std::vector<const std::string*> lines = {&s.application};
  for (const std::string& line : s.gps) lines.push_back(&line);
  for (const std::string* line : {&s.appPath, &s.dataPath, &s.dateTime}) lines.push_back(line);
  int i = 0;
  for (const std::string* line : lines) {
    std::wstring text = platform::win32::toUtf16(*line);
    // The whole band is filled, so nothing of a longer earlier text stays.
    RECT rc = band(i++);
    ExtTextOutW(dc, left_, rc.top, ETO_OPAQUE, &rc, text.c_str(), static_cast<UINT>(text.size()), nullptr);
  }
  // A block that went away leaves no lines behind.
  for (; i < kMostLines; ++i) {
    RECT rc = band(i);
    ExtTextOutW(dc, left_, rc.top, ETO_OPAQUE, &rc, L"", 0, nullptr);
  }
  SelectObject(dc, oldFont);
}

RECT StatusArea::area() const { return RECT{0, top_, width_, top_ + kMostLines * lineHeight_}; }

}  // namespace frontend
