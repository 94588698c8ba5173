#include "apps/hierarchy.hpp"

#include "base/paths.hpp"
#include "base/text.hpp"
#include "platform/codepage.hpp"
#include "platform/fileops.hpp"
#include "tablestore/table_store.hpp"
#include "ui/host.hpp"

namespace apps {

int loadHierarchy(ui::Host& host, tablestore::TableStore& store, const std::string& appFolder,
                  std::vector<HierarchyEntry>& out) {
  out.clear();
  std::string path = base::joinPath(appFolder, kHierarchyName, platform::kSep);
  if (!platform::fileExists(path)) {
    ui::inform(host, "!file_exists(hierarchy_file)", kHierarchyCaption);
    return 0;
  }
  store.clearError();
  tablestore::Table* table = store.openTable(platform::toNarrow(path));
  if (table == nullptr || table->fieldCount() < 2) {
    if (table != nullptr) {
      store.clearError();
      store.closeTable(table);
    }
    ui::inform(host, "Can't Open hierarchy.ctl", kHierarchyCaption);
    return 0;
  }
  tablestore::TableField* code = table->fieldByNumber(1);
  tablestore::TableField* name = table->fieldByNumber(2);
  for (std::int64_t n = 1; n <= table->recordCount() && static_cast<int>(out.size()) < kMaxHierarchyEntries; ++n) {
    if (table->goRecord(n) != 0) break;
    if (table->deleted()) continue;
    HierarchyEntry entry;
    entry.code = base::trimRight(code->text());
    entry.name = base::trimRight(name->text().substr(0, kHierarchyNameChars));
    out.push_back(std::move(entry));
  }
  store.clearError();
  store.closeTable(table);
  return static_cast<int>(out.size());
}

}  // namespace apps
