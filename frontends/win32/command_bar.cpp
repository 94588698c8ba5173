#include "command_bar.hpp"

#include "resource.h"

namespace frontend {

namespace {

constexpr int kFirstCommand = IDC_CMD_DATA;
constexpr int kFirstPicture = IDB_BAR_DATA;
constexpr const wchar_t* kLabels[CommandBar::kCount] = {L"Data", L"Apps",  L"Setups",
                                                        L"GPS",  L"Helps", L"Exit Program"};

// A frame of the given width just inside rc.
void frame(HDC dc, RECT rc, int width, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  for (int i = 0; i < width; ++i) {
    FrameRect(dc, &rc, brush);
    InflateRect(&rc, -1, -1);
  }
  DeleteObject(brush);
}

}  // namespace

CommandBar::~CommandBar() { release(); }

int CommandBar::commandOf(int index) { return kFirstCommand + index; }
const wchar_t* CommandBar::labelOf(int index) { return kLabels[index]; }
bool CommandBar::isButton(int id) { return id >= kFirstCommand && id < kFirstCommand + kCount; }

bool CommandBar::create(HINSTANCE instance, HWND parent) {
  for (int i = 0; i < kCount; ++i) {
    auto n = static_cast<std::size_t>(i);
    pictures_[n] = static_cast<HBITMAP>(
        LoadImageW(instance, MAKEINTRESOURCEW(kFirstPicture + i), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    // The label is the button's text too, for whoever reads windows by name.
    buttons_[n] = CreateWindowExW(0, L"BUTTON", kLabels[i], WS_CHILD | WS_VISIBLE | BS_OWNERDRAW,
                                  0, 0, 0, 0, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(commandOf(i))),
                                  instance, nullptr);
    if (!buttons_[n]) return false;
  }
  return true;
}

void CommandBar::release() {
  for (HBITMAP& b : pictures_) {
    if (b) DeleteObject(b);
    b = nullptr;
  }
  buttons_ = {};
}

void CommandBar::place(const shell::ButtonLayout& layout) {
  for (int i = 0; i < kCount; ++i) {
    auto n = static_cast<std::size_t>(i);
    if (!buttons_[n]) continue;
    const ui::Rect& r = layout.buttons[n];
    SetWindowPos(buttons_[n], nullptr, r.x, r.y, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

bool CommandBar::draw(const DRAWITEMSTRUCT& item) const {
  if (item.CtlType != ODT_BUTTON || !isButton(static_cast<int>(item.CtlID))) return false;
  int index = static_cast<int>(item.CtlID) - kFirstCommand;
  HDC dc = item.hDC;
  const RECT& rc = item.rcItem;
  HBITMAP picture = pictures_[static_cast<std::size_t>(index)];
  if (picture) {
    BITMAP bm{};
    GetObjectW(picture, sizeof(bm), &bm);
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, picture);
    // Halftone keeps the picture smooth when the button is smaller than it.
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, mem, 0, 0, bm.bmWidth,
               bm.bmHeight, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
  } else {
    FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    RECT text = rc;
    DrawTextW(dc, kLabels[index], -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  bool pressed = (item.itemState & ODS_SELECTED) != 0;
  if (pressed || checked_ == static_cast<int>(item.CtlID))
    frame(dc, rc, 3, pressed ? RGB(0, 0, 0) : RGB(255, 255, 0));
  if (item.itemState & ODS_FOCUS) {
    RECT focus = rc;
    InflateRect(&focus, -6, -6);
    DrawFocusRect(dc, &focus);
  }
  return true;
}

void CommandBar::setChecked(int id) {
  int previous = checked_;
  checked_ = isButton(id) ? id : 0;
  for (int changed : {previous, checked_}) {
    if (!isButton(changed)) continue;
    HWND b = buttons_[static_cast<std::size_t>(changed - kFirstCommand)];
    if (b) InvalidateRect(b, nullptr, FALSE);
  }
}

}  // namespace frontend
