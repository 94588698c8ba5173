#include "editor/show_limits.hpp"

#include "editor/column_check_file.hpp"

#include <cstdio>
#include <string>
#include <vector>

#include "apps/app_open.hpp"
#include "base/text.hpp"
#include "config/process_values.hpp"
#include "config/prompts.hpp"
#include "config/settings.hpp"
#include "editor/check_files.hpp"
#include "editor/check_value.hpp"
#include "tablestore/number_text.hpp"
#include "ui/host.hpp"

namespace editor {

namespace {

constexpr const char* kTitle = "< Allowed Min/Max Range >";
constexpr const char* kBoxCaption = "Allowed Min/Max Range";
constexpr int kLimitsTime = 200;  // tens of milliseconds

struct Bounds {
  double low = 0, high = 0;
};

// value formatted to the column's width and decimals; a value too wide for
// the column is written out in full rather than as the column's asterisks,
// since the crew needs to read the limit.
std::string columnNumber(const FieldDesc& d, double value) {
  if (d.width > 0) {
    std::string out(static_cast<std::size_t>(d.width), ' ');
    if (tablestore::formatNumber(value, d.decimals, out.data(), d.width)) return out;
  }
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", d.decimals < 0 ? 0 : d.decimals, value);
  return text;
}

std::string minMaxLine(const char* label, const FieldDesc& d, double value) {
  return std::string(label) + columnNumber(d, value);
}

LimitsShown popUp(Engine& e, const apps::ColumnCheck& c, const FieldDesc& d, const char* heading, Bounds b) {
  std::vector<std::string> lines{heading, minMaxLine("Min = ", d, b.low), minMaxLine("Max = ", d, b.high)};
  if (c.warnRange()) {
    lines.push_back("__Warning Range__");
    lines.push_back(minMaxLine("Min = ", d, c.warnMinimum()));
    lines.push_back(minMaxLine("Max = ", d, c.warnMaximum()));
  }
  if (!config::showTimedBox(e.host, kTitle, lines, kLimitsTime)) {
    std::string text;
    for (const auto& line : lines) text += line + "\n";
    (void)ui::inform(e.host, text, kBoxCaption);
  }
  return LimitsShown::kShown;
}

LimitsShown tell(Engine& e, std::string_view line1, std::string_view line2) {
  (void)config::warn(e.host, line1, line2, kLimitsTime, false, false);
  return LimitsShown::kFailed;
}

// The bounds of the range row the current keys select: fields lo and hi of it.
bool rowBounds(tablestore::Table& t, std::int64_t n, int lo, int hi, Bounds& b) {
  return n != 0 && fieldNumberOf(t, n, lo, b.low) && fieldNumberOf(t, n, hi, b.high);
}

LimitsShown rangeRow(Engine& e, const apps::ColumnCheck& c, const FieldDesc& d) {
  CheckFile file(e.ctx.tables);
  if (!openColumnCheckFileOrSay(e, c, file)) return LimitsShown::kFailed;
  tablestore::Table& t = *file.table();
  Bounds b;
  bool found = false;
  switch (c.checkType()) {
    case 7: found = rowBounds(t, findRangeRow(t, relativeLow(e, c)), 3, 4, b); break;
    case 8: {
      const double key1 = levelColumnValue(e.levels, c.lowLevel(), c.lowColumn());
      const double key2 = levelColumnValue(e.levels, c.highLevel(), c.highColumn());
      found = rowBounds(t, findRangeRow(t, key1, key2), 5, 6, b);
      break;
    }
    default: {
      const MatchKey key{levelColumnText(e.levels, c.lowLevel(), c.lowColumn()), 0};
      found = rowBounds(t, findByKind(t, kMatchText, key, true, c.sequentialSearch()), 2, 3, b);
      break;
    }
  }
  if (!found) {
    if (c.checkType() == 8) return tell(e, "Match Not Found", "In Range Table");
    char line[32];
    std::snprintf(line, sizeof line, "Column:%2d", c.lowColumn());
    return tell(e, "Match Not Found", line);
  }
  return popUp(e, c, d, "__Range Table__", b);
}

}  // namespace

LimitsShown showLimits(Engine& e) {
  LevelState& s = e.level();
  const int k = s.column();
  const apps::ColumnCheck* c = s.def ? s.def->check(k) : nullptr;
  if (c == nullptr || k < 1 || k > s.columnCount()) return LimitsShown::kNothing;
  const FieldDesc& d = s.fields[static_cast<std::size_t>(k)];
  switch (c->checkType()) {
    case 1: return popUp(e, *c, d, "__Absolute Range__", {c->minimum(), c->maximum()});
    case 2: {
      char text[40];
      std::snprintf(text, sizeof text, "Min StrLen=%d", c->minTextLength());
      (void)ui::inform(e.host, text, kBoxCaption);
      return LimitsShown::kShown;
    }
    case 3: return LimitsShown::kListWanted;  // the list opens the file and says when it cannot
    case 4: return popUp(e, *c, d, "__Relative Range__", {relativeLow(e, *c), c->maximum()});
    case 5: return popUp(e, *c, d, "__Relative Range__", {c->minimum(), relativeHigh(e, *c)});
    case 6: return popUp(e, *c, d, "__Relative Range__", {relativeLow(e, *c), relativeHigh(e, *c)});
    case 7:
    case 8:
    case 9: return rangeRow(e, *c, d);
    default: return LimitsShown::kNothing;
  }
}

}  // namespace editor
