#include "editor/column_values.hpp"

#include <algorithm>

#include "tablestore/number_text.hpp"
#include "tablestore/table.hpp"

namespace editor {

namespace {

constexpr int kNumericFieldType = 1;

bool validColumn(const LevelState& s, int k) {
  return k >= 1 && k <= s.columnCount() && s.fields[static_cast<std::size_t>(k)].field != nullptr;
}

}  // namespace

std::string fieldText(const LevelState& s, int k, std::string_view record) {
  if (!validColumn(s, k)) return {};
  const FieldDesc& f = s.fields[static_cast<std::size_t>(k)];
  const auto at = static_cast<std::size_t>(f.field->offset());
  const auto width = static_cast<std::size_t>(f.width);
  if (at >= record.size()) return std::string(width, ' ');
  std::string text(record.substr(at, width));
  text.resize(width, ' ');
  return text;
}

std::string currentText(const LevelState& s, int k) {
  if (!s.table) return {};
  return fieldText(s, k, std::string_view(s.table->recordBuffer(), static_cast<std::size_t>(s.table->recordWidth())));
}

double valueOfText(const LevelState& s, int k, std::string_view text) {
  if (!validColumn(s, k)) return 0;
  const FieldDesc& f = s.fields[static_cast<std::size_t>(k)];
  const apps::ColumnCheck* check = s.def->check(k);
  if (f.type == 'N' || (check && check->fieldType() == kNumericFieldType)) return tablestore::parseNumber(text);
  std::size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? 0 : static_cast<double>(end + 1);
}

void refreshColumnValue(LevelState& s, int k) {
  if (!validColumn(s, k)) return;
  s.header().setColumnValue(k, valueOfText(s, k, currentText(s, k)));
}

void refreshColumnValues(LevelState& s) {
  for (int k = 1; k <= s.columnCount(); ++k) refreshColumnValue(s, k);
}

bool writeColumnText(LevelState& s, int k, std::string_view text) {
  if (!validColumn(s, k) || !s.table) return false;
  const FieldDesc& f = s.fields[static_cast<std::size_t>(k)];
  std::string bytes(static_cast<std::size_t>(f.width), ' ');
  if (f.type == 'N') {
    std::string_view t = text;
    if (t.find_first_not_of(' ') == std::string_view::npos) {
      // A blank numeric field stays blank: it was never keyed.
    } else if (!tablestore::formatNumber(tablestore::parseNumber(t), f.decimals, bytes.data(), f.width)) {
      return false;
    }
  } else {
    std::copy_n(text.begin(), std::min(text.size(), bytes.size()), bytes.begin());
  }
  char* at = s.table->recordBuffer() + f.field->offset();
  if (!std::equal(bytes.begin(), bytes.end(), at)) {
    std::copy(bytes.begin(), bytes.end(), at);
    (void)s.table->changed(1);
    s.header().setLineModified(true);
  }
  refreshColumnValue(s, k);
  return true;
}

}  // namespace editor
