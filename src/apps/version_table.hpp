#pragma once
// The dataset version table: one record stamping a dataset with the header
// of the application that collected it (APP_NAME C30, APP_VMAJOR N4,
// APP_VMINOR N4, APP_BUILD N4, APP_DATE C10, HIER_VER N4, HIER_DATE C10,
// HIER_TIME C8). Its file name belongs to the dataset; callers give the path.
#include <string>
#include <vector>

#include "apps/tfa_header.hpp"
#include "tablestore/field_list.hpp"

namespace tablestore {
class Table;
class TableStore;
}  // namespace tablestore
namespace ui {
class Host;
}

namespace apps {

// The eight fields the table is created with.
const std::vector<tablestore::FieldSpec>& versionTableFields();

struct VersionTable {
  tablestore::Table* table = nullptr;  // nullptr: not available
  bool created = false;                // made by openVersionTable and not written yet
};

// Opens the version table at path8 (8-bit), or creates it when there is no
// such file (it is then marked created). table stays nullptr when it can be
// neither opened nor created; the table store has reported why.
VersionTable openVersionTable(tablestore::TableStore& store, const std::string& path8);

enum VersionTableResult : int {
  kVersionOk = 0,
  kVersionNoTable = -1,     // no table, or reading or writing it failed
  kVersionNoField = -2,     // one of the eight fields is missing
  kVersionDoesNotFit = -3,  // a number of the header does not fit its 4 places
};

// Writes the header into record 1, appending that record first (empty texts,
// zero numbers) when the table has none; the table is then flushed to disk
// and no longer marked created. Texts longer than their field are cut.
// A number outside -999..9999 is refused before anything is written.
int writeVersionTable(VersionTable& table, const TfaHeader& header);

// Reads record 1 into out (texts trimmed; the bytes the table does not hold
// are zero). For a table just created it instead writes current (the header
// of the application as last read) to the header copy at headerCopyPath
// (UTF-8) and into the table, and gives current back. kVersionOk,
// kVersionNoTable or kVersionNoField.
int readVersionTable(ui::Host& host, VersionTable& table, const TfaHeader& current,
                     const std::string& headerCopyPath, TfaHeader& out);

}  // namespace apps
