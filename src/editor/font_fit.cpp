#include "editor/font_fit.hpp"

#include <algorithm>

#include "ui/host.hpp"

namespace editor {

namespace {

// The client rectangle starts at (0, 0); the formulas keep its top and left
// so that they read as the window's own rules.
constexpr int kTop = 0, kLeft = 0;
// Without the keyboard area the usable height still loses this much.
constexpr int kReservedPixels = 26;
constexpr int kNormalWeight = 400, kBoldWeight = 760, kSmallBoldWeight = 500;
constexpr int kMinFontSize = 7, kMaxFontSize = 24;

int weightFor(bool bold, int height) { return bold && height > 7 ? kBoldWeight : kNormalWeight; }

// A font that reports nothing usable still gives cells of one pixel.
ui::FontMetrics usable(ui::FontMetrics m) {
  m.charHeight = std::max(m.charHeight, 1);
  m.averageWidth = std::max(m.averageWidth, 1);
  m.internalLeading = std::clamp(m.internalLeading, 0, m.charHeight);
  return m;
}

struct Grid {
  bool lines = false, threeD = false;
  int spacing() const { return lines ? (threeD ? 8 : 3) : 0; }
};

ui::CellGeometry geometryOf(const ui::FontMetrics& m, const Grid& grid, bool tallCursor) {
  ui::CellGeometry g;
  g.cellWidth = m.averageWidth;
  g.cellHeight = m.charHeight + grid.spacing();
  g.internalLeading = m.internalLeading;
  g.gridSpacing = grid.spacing();
  g.gridLines = grid.lines;
  g.grid3d = grid.threeD;
  g.tallCursor = tallCursor;
  return g;
}

FontFit cellBasedFit(ui::EditWindow& window, const config::SettingsRecord& settings) {
  FontFit fit;
  fit.rows = std::max(window.cellRows(), 1);
  fit.columns = std::max(window.cellColumns(), 1);
  fit.geometry = ui::CellGeometry{1, 1, 0, 0, false, false, settings.tallCursor()};
  fit.font = ui::FontRequest{1, 1, kNormalWeight};
  fit.reformat = settings.screensReformatted();
  fit.layoutRows = fit.rows;
  fit.layoutColumns = fit.columns;
  window.setCellGeometry(fit.geometry);
  return fit;
}

}  // namespace

FontFit fitEditFont(ui::Host& host, ui::EditWindow& window, config::SettingsRecord& settings, int screenColumns,
                    int screenRows, int productionLevel) {
  if (window.cellBased()) return cellBasedFit(window, settings);
  FontFit fit;
  const int level = std::clamp(productionLevel, 0, 4);
  const int width = std::max(window.clientWidth(), 1);
  const int height = std::max(window.clientHeight(), 1);
  int columns = screenColumns, rows = screenRows;
  if (columns <= 0 || rows <= 0) columns = 2, rows = 3;
  const int usableHeight = settings.keyboardArea() ? height - (level <= 3 ? height / 3 : height / 2)
                                                   : height - kReservedPixels;
  const int touchMargin = level >= 3 ? 1 : 0;
  const bool bold = settings.boldFonts();
  Grid grid{settings.gridLines(), settings.gridLines() && settings.grid3d()};
  const int preferred = std::clamp(settings.fontSize(), kMinFontSize, kMaxFontSize);

  // One-row formats divide by one instead of by zero.
  auto maxCellHeight = [&] {
    return (usableHeight - rows * grid.spacing() - kTop - touchMargin) / std::max(rows - 1, 1);
  };
  auto drop3d = [&] {
    ui::inform(host, kNo3dGridText, kFontProblemCaption);
    grid.threeD = false;
  };
  int cellHeight = maxCellHeight();
  if (cellHeight < kMinGridCellHeight && grid.threeD) {
    drop3d();
    cellHeight = maxCellHeight();
  }
  if (cellHeight < kMinGridCellHeight && grid.lines) {
    ui::inform(host, kNoGridText, kFontProblemCaption);
    grid.lines = false;
    cellHeight = maxCellHeight();
  }

  ui::FontRequest font;
  font.height = std::max(cellHeight, 1);
  font.width = std::max(std::min(static_cast<int>(0.6 * font.height), width / columns - 1), 1);
  font.weight = weightFor(bold, font.height);
  ui::FontMetrics metrics = usable(window.useFont(font));
  auto cellH = [&] { return metrics.charHeight + grid.spacing(); };

  if (!settings.screensReformatted()) {
    // Smaller fonts until the format fits: 3D grid lines go first.
    for (int step = 0; step < kMaxShrinkSteps; ++step) {
      // The rows fit as the maximum cell height counts them.
      if (metrics.charHeight <= maxCellHeight() && (columns + 1) * metrics.averageWidth <= width) break;
      if (grid.threeD) {
        drop3d();
        continue;
      }
      if (font.height <= 1) break;
      font.height -= 1;
      font.width = std::max(static_cast<int>(0.556 * font.height), 1);
      font.weight = weightFor(bold, font.height);
      metrics = usable(window.useFont(font));
    }
    const char* question = nullptr;
    if (metrics.averageWidth < 7 || cellH() < 12) question = kVerySmallText;
    else if (metrics.averageWidth > 16 || cellH() > 24) question = kTooLargeText;
    if (question != nullptr && ui::askYesNo(host, question, kFontErrorCaption) == ui::kIdYes) {
      settings.setScreensReformatted(true);
      fit.saveSettings = true;
    }
  }
  fit.reformat = settings.screensReformatted();
  if (fit.reformat) {
    // A first estimate from the preferred size: f wide, 2f + spacing - 2 high.
    fit.layoutColumns = std::max((width - kLeft) / preferred - 1, 1);
    fit.layoutRows =
        std::max((usableHeight - touchMargin - kTop) / (2 * preferred + grid.spacing() - 2) - 1, 1);
  }
  fit.font = font;
  fit.geometry = geometryOf(metrics, grid, settings.tallCursor());
  fit.rows = std::max(height / fit.geometry.cellHeight, 1);
  fit.columns = std::max(width / fit.geometry.cellWidth, 1);
  fit.usableHeight = usableHeight;
  fit.touchMargin = touchMargin;
  window.setCellGeometry(fit.geometry);
  return fit;
}

FontFit refitAfterLayout(ui::EditWindow& window, const config::SettingsRecord& settings, const FontFit& fit) {
  if (window.cellBased()) return fit;
  FontFit out = fit;
  const int width = std::max(window.clientWidth(), 1);
  const int height = std::max(window.clientHeight(), 1);
  const int preferred = std::clamp(settings.fontSize(), kMinFontSize, kMaxFontSize);
  const bool bold = settings.boldFonts();
  // The font of the preferred size: the cell the first estimate assumed.
  ui::FontRequest font;
  font.height = 2 * preferred - 2;
  font.width = preferred;
  font.weight = bold ? (fit.geometry.cellWidth < 7 ? kSmallBoldWeight : kBoldWeight) : kNormalWeight;
  const ui::FontMetrics metrics = usable(window.useFont(font));
  const Grid grid{fit.geometry.gridLines, fit.geometry.grid3d};
  out.font = font;
  out.geometry = geometryOf(metrics, grid, settings.tallCursor());
  out.layoutColumns = std::max((width - kLeft - 1) / out.geometry.cellWidth - 1, 1);
  out.layoutRows = std::max((height - kTop - fit.touchMargin) / out.geometry.cellHeight - 1, 1);
  out.rows = std::max(height / out.geometry.cellHeight, 1);
  out.columns = std::max(width / out.geometry.cellWidth, 1);
  window.setCellGeometry(out.geometry);
  return out;
}

}  // namespace editor
