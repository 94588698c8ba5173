#include "editor/find_line.hpp"

#include <algorithm>
#include <cmath>

#include "editor/column_values.hpp"
#include "editor/field_context.hpp"
#include "editor/field_formats.hpp"
#include "tablestore/number_text.hpp"
#include "tablestore/table.hpp"

namespace editor {

namespace {

constexpr int kTextSearchMax = 30;  // the longest search text for a text column

bool validColumn(const LevelState& s, int k) {
  return s.def && s.table && k >= 1 && k <= s.columnCount() && s.fields[static_cast<std::size_t>(k)].field;
}

int sign(double d) { return d < 0 ? -1 : (d > 0 ? 1 : 0); }

// a − b at decimals: both rounded to whole units of the last decimal, so the
// binary noise of 12.3 against 12.30 cannot tell them apart.
int compareAtDecimals(double a, double b, int decimals) {
  const double scale = std::pow(10.0, std::clamp(decimals, 0, 15));
  const double x = std::round(a * scale), y = std::round(b * scale);
  if (std::isfinite(x) && std::isfinite(y)) return sign(x - y);
  return sign(a - b);
}

std::string_view withoutTrailingBlanks(std::string_view t) {
  const std::size_t end = t.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view() : t.substr(0, end + 1);
}

// Reads line n's text of column k; false when the record cannot be read.
bool lineText(const LevelState& s, int k, std::int32_t n, std::string& record, std::string& text) {
  if (s.table->peekRecord(n, record) != 0) return false;
  text = fieldText(s, k, record);
  return true;
}

}  // namespace

bool searchesByNumber(const LevelState& s, int k) {
  if (!validColumn(s, k)) return false;
  const apps::ColumnCheck* c = s.def->check(k);
  return s.fields[static_cast<std::size_t>(k)].type == 'N' || (c && c->fieldType() == kTypeNumeric);
}

int compareForSearch(const LevelState& s, int k, std::string_view field, std::string_view search) {
  if (!validColumn(s, k)) return -1;
  if (searchesByNumber(s, k)) {
    const int decimals = s.fields[static_cast<std::size_t>(k)].decimals;
    return compareAtDecimals(tablestore::parseNumber(search), tablestore::parseNumber(field), decimals);
  }
  const std::string_view want = withoutTrailingBlanks(search);
  for (std::size_t i = 0; i < want.size(); ++i) {
    // A field shorter than the search text reads as blanks past its end.
    const auto a = static_cast<unsigned char>(upperChar(want[i]));
    const auto b = static_cast<unsigned char>(i < field.size() ? upperChar(field[i]) : ' ');
    if (a != b) return a < b ? -1 : 1;
  }
  return 0;
}

std::int32_t findFromLine(const LevelState& s, int k, std::int32_t first, std::string_view text) {
  if (!validColumn(s, k)) return 0;
  std::string record, field;
  for (std::int32_t n = std::max<std::int32_t>(first, 1); n <= s.lineCount(); ++n) {
    if (!lineText(s, k, n, record, field)) return 0;
    if (compareForSearch(s, k, field, text) == 0) return n;
  }
  return 0;
}

std::int32_t findByHalving(const LevelState& s, int k, std::string_view text) {
  if (!validColumn(s, k)) return 0;
  std::string record, field;
  std::int32_t low = 0, high = s.lineCount() + 1;
  while (high - low >= 2) {
    const std::int32_t probe = low + (high - low) / 2;
    if (!lineText(s, k, probe, record, field)) return 0;
    const int order = compareForSearch(s, k, field, text);
    if (order == 0) return probe;
    if (order < 0) high = probe;
    else low = probe;
  }
  return 0;
}

std::string blankSearchText(const LevelState& s, int k) {
  if (!validColumn(s, k)) return std::string();
  const FieldDesc& f = s.fields[static_cast<std::size_t>(k)];
  if (!searchesByNumber(s, k)) return std::string(static_cast<std::size_t>(std::clamp(f.width, 1, kTextSearchMax)), ' ');
  std::string zero(static_cast<std::size_t>(std::max(f.width, 1)), ' ');
  if (!tablestore::formatNumber(0.0, f.decimals, zero.data(), static_cast<int>(zero.size()))) zero.back() = '0';
  return zero;
}

}  // namespace editor
