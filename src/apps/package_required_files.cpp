#include "apps/package_required_files.hpp"

#include "base/text.hpp"
#include "platform/codepage.hpp"
#include "tablestore/table_store.hpp"

namespace apps {

int readRequiredFiles(const std::string& tablePath, std::vector<std::string>& names) {
  names.clear();
  tablestore::TableStore store(nullptr);
  store.init();
  tablestore::Table* table = store.openTable(platform::toNarrow(tablePath));
  if (table == nullptr) return 0;
  tablestore::TableField* field = table->fieldByNumber(1);
  const std::int64_t count = table->recordCount();
  for (std::int64_t n = 1; field != nullptr && n <= count; ++n) {
    if (table->goRecord(n) != 0) {
      names.clear();
      break;
    }
    if (table->deleted()) continue;
    std::string name = base::trim(field->text());
    if (!name.empty()) names.push_back(std::move(name));
  }
  store.closeTable(table);
  return static_cast<int>(names.size());
}

}  // namespace apps
