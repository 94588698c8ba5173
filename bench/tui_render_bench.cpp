// The edit window's terminal output for a 50 × 160 Screen, through the
// whole terminal path (host, edit window, renderer) into a terminal that
// only counts bytes:
// - one changed cell: what pumping writes for it (counter bytes_per_change;
//   the goal is a few dozen bytes at most), and the same with the cell's
//   colours changed too;
// - a full repaint of all 8000 cells (as after a change of the terminal's size);
// - the peer: the same 8000 cells formatted with one snprintf each (24-bit
//   colour escape and the glyph's UTF-8), the least a naive writer does.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/codepage.hpp"
#include "tui/terminal_host.hpp"
#include "tui/terminal_io.hpp"
#include "ui/key_queue.hpp"
#include "ui/palette.hpp"
#include "ui/screen.hpp"

namespace {

constexpr int kRows = 50, kCols = 160;

class CountingTerminal : public tui::TerminalIo {
 public:
  std::size_t written = 0;
  bool resizeNext = false;
  int read(char*, int, int) override { return 0; }
  void write(std::string_view bytes) override { written += bytes.size(); }
  void size(int& rows, int& cols) override { rows = kRows, cols = kCols; }
  bool takeResize() override {
    bool was = resizeNext;
    resizeNext = false;
    return was;
  }
  void wake() override {}
  int quitSignal() override { return 0; }
};

// A data grid as the engine draws one: titles, values in several colour
// pairs, accented text and a frame.
void fillScreen(ui::Screen& s) {
  static const char* words[] = {"PLOT", "TREE", "Species", "DBH", "Height", "Crown", "\xc9rable", "Caf\xe9"};
  for (int r = 1; r <= kRows; ++r) {
    s.gotoCell(r, 1);
    for (int c = 0; c < 16; ++c) {
      s.setTextColour((r + c) % 3 == 0 ? ui::kWhite : ui::kBlack);
      s.setBackColour((r * 7 + c) % 4 == 0 ? ui::kDkBlue : ((r + c) % 5 == 0 ? ui::kLtGray : ui::kDkTeal));
      char cell[16];
      std::snprintf(cell, sizeof cell, "%-9.9s ", words[(r * 3 + c) % 8]);
      s.putText(cell);
    }
  }
  s.drawFrame(2, 2, 10, 40);
  s.gotoCell(5, 12);
}

struct EditPath {
  CountingTerminal term;
  tui::TerminalHost host{term};
  ui::Screen screen{kRows, kCols};
  ui::KeyQueue keys;
  std::unique_ptr<ui::EditWindow> window;
  EditPath() {
    window = host.openEditWindow(screen, keys, ui::EditWindowSetup{});
    fillScreen(screen);
    host.pump();
  }
};

void BM_OneChangedCell(benchmark::State& state) {
  EditPath p;
  const bool recolour = state.range(0) != 0;
  std::size_t before = p.term.written;
  std::int64_t n = 0;
  for (auto _ : state) {
    // A field editor's typed character: one cell, the cursor put back after it.
    p.screen.gotoCell(20, 30);
    if (recolour) p.screen.setBackColour(n % 2 ? ui::kYellow : ui::kDkBlue);
    p.screen.putText(n % 2 ? "7" : "8");
    p.screen.gotoCell(20, 31);
    p.host.pump();
    ++n;
  }
  state.counters["bytes_per_change"] =
      benchmark::Counter(static_cast<double>(p.term.written - before), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_OneChangedCell)->Arg(0)->ArgName("recolour");
BENCHMARK(BM_OneChangedCell)->Arg(1)->ArgName("recolour");

void BM_FullRepaint(benchmark::State& state) {
  EditPath p;
  std::size_t before = p.term.written;
  for (auto _ : state) {
    p.term.resizeNext = true;  // the renderer forgets the terminal and writes every cell
    p.host.pump();
  }
  state.counters["bytes_per_repaint"] =
      benchmark::Counter(static_cast<double>(p.term.written - before), benchmark::Counter::kAvgIterations);
  state.SetItemsProcessed(state.iterations() * kRows * kCols);
}
BENCHMARK(BM_FullRepaint);

// The peer: every cell formatted on its own with one snprintf.
void BM_SnprintfEachCell(benchmark::State& state) {
  ui::Screen screen(kRows, kCols);
  fillScreen(screen);
  std::array<std::string, 256> utf8;
  for (int b = 0; b < 256; ++b) {
    const char byte = static_cast<char>(b);
    utf8[static_cast<std::size_t>(b)] =
        b < 0x20 || b == 0x7F ? " " : platform::cp1252ToUtf8(std::string_view(&byte, 1));
  }
  std::string out;
  std::size_t bytes = 0;
  for (auto _ : state) {
    out.clear();
    for (int r = 1; r <= kRows; ++r) {
      for (int c = 1; c <= kCols; ++c) {
        const ui::ScreenCell& cell = screen.at(r, c);
        const ui::Rgb fg = ui::paletteRgb(cell.fg), bg = ui::paletteRgb(cell.bg);
        char buf[64];
        int len = std::snprintf(buf, sizeof buf, "\x1b[38;2;%u;%u;%u;48;2;%u;%u;%um%s", unsigned{fg.r},
                                unsigned{fg.g}, unsigned{fg.b}, unsigned{bg.r}, unsigned{bg.g}, unsigned{bg.b},
                                utf8[cell.ch].c_str());
        out.append(buf, static_cast<std::size_t>(len));
      }
    }
    bytes += out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["bytes_per_repaint"] =
      benchmark::Counter(static_cast<double>(bytes), benchmark::Counter::kAvgIterations);
  state.SetItemsProcessed(state.iterations() * kRows * kCols);
}
BENCHMARK(BM_SnprintfEachCell);

}  // namespace

BENCHMARK_MAIN();
