#include "apps/lookup_fill.hpp"

#include "apps/halving_search.hpp"
#include "apps/level_definition.hpp"
#include "base/paths.hpp"
#include "base/text.hpp"
#include "platform/codepage.hpp"
#include "platform/fileops.hpp"
#include "tablestore/number_text.hpp"
#include "tablestore/table_store.hpp"

namespace apps {

namespace {

std::string padded(std::string_view text, int width) {
  std::string key(text);
  if (static_cast<int>(key.size()) < width) key.append(static_cast<std::size_t>(width - static_cast<int>(key.size())), ' ');
  return key;
}

// Finds the record; returns the first field of the name/value pairs, or 0.
int findRecord(tablestore::Table& table, int kind, std::string_view entered8) {
  if (kind == kLookupTextKey) {
    tablestore::TableField* key = table.fieldByNumber(1);
    if (key == nullptr) return 0;
    std::int64_t n = findTextByHalving(table, 1, padded(entered8, key->length()));
    if (n == 0 && key->type() == 'C') n = findTextByHalving(table, 1, padded("~", key->length()));
    return n != 0 && table.goRecord(n) == 0 ? 2 : 0;
  }
  if (table.fieldByNumber(2) == nullptr) return 0;
  std::int64_t n = findNumberByHalving(table, 2, tablestore::parseNumber(entered8));
  return n != 0 && table.goRecord(n) == 0 ? 3 : 0;
}

}  // namespace

int lookupFill(tablestore::TableStore& store, const std::string& appFolder, const LevelDefinition& level,
               int column, std::string_view entered8, tablestore::Table& record) {
  const ColumnCheck* check = level.check(column);
  if (check == nullptr) return 0;
  int kind = check->lookupKind();
  if (kind != kLookupTextKey && kind != kLookupNumberKey) return 0;
  std::string file = base::trimRight(check->lookupFile());
  if (file.empty()) return 0;
  std::string path = base::joinPath(appFolder, platform::toWide(file), platform::kSep);
  if (!platform::fileExists(path)) return 0;
  store.clearError();
  tablestore::Table* table = store.openTable(platform::toNarrow(path));
  if (table == nullptr) return 0;

  int filled = 0;
  int first = findRecord(*table, kind, entered8);
  for (int j = first; first != 0 && j + 1 <= table->fieldCount(); j += 2) {
    std::string name = base::trimRight(table->fieldByNumber(j)->text());
    if (base::trim(name).empty()) continue;
    int target = level.columnNamed(name);
    tablestore::TableField* into = target > 0 ? record.fieldByNumber(target) : nullptr;
    if (into == nullptr) continue;
    std::string value = base::trimRight(table->fieldByNumber(j + 1)->text());
    int rc = (into->type() == 'N' || into->type() == 'F') ? into->assignNumber(tablestore::parseNumber(value))
                                                           : into->assignText(value);
    if (rc == 0) ++filled;
  }
  store.clearError();
  store.closeTable(table);
  return filled;
}

}  // namespace apps
