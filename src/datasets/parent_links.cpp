#include "datasets/parent_links.hpp"

#include "base/text.hpp"
#include "tablestore/table.hpp"

namespace datasets {

namespace {

// Sets the named field of the table's current record; true when it changed
// something that must be written back.
bool setField(tablestore::Table& t, const std::string& name, std::string_view value, int& rc) {
  if (t.recordNumber() < 1) return false;
  tablestore::TableField* f = t.fieldByName(name);
  if (f == nullptr) return false;
  if (int r = f->assignText(value); r != 0 && rc == 0) rc = r;
  return true;
}

void writeBack(tablestore::Table& t, bool changed, int& rc) {
  if (!changed) return;
  if (int r = t.writeRecord(t.recordNumber()); r != 0 && rc == 0) rc = r;
}

}  // namespace

std::string childFieldName(int childNumber) { return base::format("CHILD%d", childNumber); }
std::string statusFieldName(int childNumber) { return base::format("STATUS%d", childNumber); }

int updateParentLinks(tablestore::Table& parent, tablestore::Table* child, int childNumber,
                      std::string_view parentFileName, std::string_view childFileName, bool childStatus,
                      const LinkOptions& options) {
  int rc = 0;
  bool parentChanged = false;
  if (options.keepChildFields) {
    if (child != nullptr) writeBack(*child, setField(*child, "PARENT", parentFileName, rc), rc);
    parentChanged |= setField(parent, childFieldName(childNumber), childFileName, rc);
  }
  if (options.keepStatusFields)
    parentChanged |= setField(parent, statusFieldName(childNumber), childStatus ? "1" : "0", rc);
  writeBack(parent, parentChanged, rc);
  return rc;
}

int clearParentLinks(tablestore::Table& parent, int childNumber, bool linesDeleted, bool childStatus,
                     const LinkOptions& options) {
  int rc = 0;
  bool changed = false;
  if (linesDeleted) {
    if (options.keepChildFields) changed |= setField(parent, childFieldName(childNumber), "", rc);
    if (options.keepStatusFields) changed |= setField(parent, statusFieldName(childNumber), "", rc);
  } else if (options.keepStatusFields) {
    changed |= setField(parent, statusFieldName(childNumber), childStatus ? "1" : "0", rc);
  }
  writeBack(parent, changed, rc);
  return rc;
}

}  // namespace datasets
