// A picture of the edit window showing a sample Screen (a title line, a grid
// of lines with the current one marked, a framed pop-up list, a key line and
// the cursor), written to the build folder as edit_window_sample.bmp so that
// a person can see how the window draws.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "edit_window_fixture.hpp"
#include "ui/palette.hpp"

namespace {

// The folder of the test program (the build's tests folder).
std::wstring programFolder() {
  wchar_t path[MAX_PATH] = {};
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring s(path, n);
  std::size_t slash = s.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : s.substr(0, slash + 1);
}

// Copies width × height pixels of dc into a 24-bit bottom-up BMP file.
bool writeBmp(HDC dc, int width, int height, const std::wstring& file) {
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
  HGDIOBJ old = SelectObject(mem, bitmap);
  BitBlt(mem, 0, 0, width, height, dc, 0, 0, SRCCOPY);
  SelectObject(mem, old);

  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const int stride = (width * 3 + 3) & ~3;
  std::vector<unsigned char> pixels(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height));
  const int lines = GetDIBits(mem, bitmap, 0, static_cast<UINT>(height), pixels.data(),
                              reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(mem);
  if (lines != height) return false;

  BITMAPFILEHEADER head{};
  head.bfType = 0x4D42;  // "BM"
  head.bfOffBits = sizeof(head) + sizeof(info);
  head.bfSize = head.bfOffBits + static_cast<DWORD>(pixels.size());
  info.biSizeImage = static_cast<DWORD>(pixels.size());
  FILE* f = _wfopen(file.c_str(), L"wb");
  if (!f) return false;
  bool ok = fwrite(&head, sizeof(head), 1, f) == 1 && fwrite(&info, sizeof(info), 1, f) == 1 &&
            fwrite(pixels.data(), 1, pixels.size(), f) == pixels.size();
  return fclose(f) == 0 && ok;
}

// Text at (row, col) in the colours given, padded with blanks to width.
void put(ui::Screen& s, int row, int col, int fg, int bg, std::string text, int width = 0) {
  if (static_cast<int>(text.size()) < width) text.resize(static_cast<std::size_t>(width), ' ');
  s.setTextColour(fg);
  s.setBackColour(bg);
  (void)s.gotoCell(row, col);
  s.putText(text);
}

void drawSample(ui::Screen& s) {
  const int cols = s.cols();
  put(s, 1, 1, ui::kWhite, ui::kDkBlue, " Cruise  ~  North Block  ~  PLOTS            Line 3 of 5", cols);
  put(s, 3, 2, ui::kWhite, ui::kDkTeal, " Plot  Species     DBH   Height  Remarks          ");
  const char* lines[] = {"  101  DOUGLAS-FIR  24.5   31.0  leaning          ",
                         "  102  W. HEMLOCK   18.2   27.5                   ",
                         "  103  RED ALDER    11.0   19.5  top broken       ",
                         "  104                                             ",
                         "  105                                             "};
  for (int i = 0; i < 5; ++i) {
    const bool current = i == 2;
    put(s, 4 + i, 2, current ? ui::kBlack : ui::kBlack, current ? ui::kYellow : (i % 2 ? ui::kLtGray : ui::kWhite),
        lines[i]);
  }
  // The cell being entered, in the edit colours.
  put(s, 6, 22, ui::kWhite, ui::kDkRed, "11.0");

  // A pop-up list in a framed box.
  s.drawBox(11, 30, 15, 48);
  put(s, 11, 30, ui::kDkBlue, ui::kWhite, " Species ", 19);
  put(s, 12, 30, ui::kBlack, ui::kWhite, " DOUGLAS-FIR", 19);
  put(s, 13, 30, ui::kBlack, ui::kTeal, " RED ALDER", 19);
  put(s, 14, 30, ui::kBlack, ui::kWhite, " W. HEMLOCK", 19);
  put(s, 15, 30, ui::kDkGray, ui::kWhite, " Enter: take it", 19);

  put(s, s.rows(), 1, ui::kWhite, ui::kDkGray, " F1 Help  F2 Checks  F4 Back  F9 Insert  F10 Delete  Esc Leave", cols);
  (void)s.gotoCell(6, 24);
  (void)s.setInsertCursor(false);
}

class EditWindowSample : public win32_test::EditWindowFixture {};

TEST_F(EditWindowSample, WritesAPictureOfASampleScreenToTheBuildFolder) {
  ui::EditWindowSetup setup;
  setup.title = "TFP Edit Window";
  open(setup);
  ui::FontMetrics m = window_->useFont(ui::FontRequest{16, 9, 400});
  ui::CellGeometry g;
  g.cellWidth = m.averageWidth;
  g.cellHeight = m.charHeight;
  g.internalLeading = m.internalLeading;
  window_->setCellGeometry(g);
  const int rows = std::min(window_->clientHeight() / g.cellHeight, 24);
  const int cols = std::min(window_->clientWidth() / g.cellWidth, 80);
  ASSERT_GE(rows, 18);
  ASSERT_GE(cols, 60);
  screen_.resize(rows, cols);
  drawSample(screen_);
  host_.pump();
  ASSERT_TRUE(view().cursorDrawn());

  const std::wstring file = programFolder() + L"edit_window_sample.bmp";
  const int width = cols * g.cellWidth + 8, height = rows * g.cellHeight + 8;
  ASSERT_TRUE(writeBmp(GetDC(edit_), width, height, file));
  WIN32_FILE_ATTRIBUTE_DATA data{};
  ASSERT_TRUE(GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data));
  const DWORD stride = static_cast<DWORD>((width * 3 + 3) & ~3);
  EXPECT_EQ(data.nFileSizeLow, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + stride * height);
  // The title line's ground, as the picture shows it.
  ui::Rgb title = ui::paletteRgb(ui::kDkBlue);
  EXPECT_EQ(GetPixel(GetDC(edit_), 1, 1), RGB(title.r, title.g, title.b));
}

}  // namespace
