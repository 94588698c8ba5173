#include "apps/version_table.hpp"

#include "base/text.hpp"
#include "platform/codepage.hpp"
#include "platform/fileops.hpp"
#include "tablestore/table.hpp"
#include "tablestore/table_store.hpp"

namespace apps {

namespace {

constexpr const char* kNumberFields[] = {"APP_VMAJOR", "APP_VMINOR", "APP_BUILD", "HIER_VER"};

bool fitsFourPlaces(std::int32_t v) { return v >= -999 && v <= 9999; }

// Every field of the table by name, or false when one is missing.
struct Fields {
  tablestore::TableField* name = nullptr;
  tablestore::TableField* major = nullptr;
  tablestore::TableField* minor = nullptr;
  tablestore::TableField* build = nullptr;
  tablestore::TableField* date = nullptr;
  tablestore::TableField* hierVer = nullptr;
  tablestore::TableField* hierDate = nullptr;
  tablestore::TableField* hierTime = nullptr;
};

bool findFields(tablestore::Table& t, Fields& f) {
  f.name = t.fieldByName("APP_NAME");
  f.major = t.fieldByName("APP_VMAJOR");
  f.minor = t.fieldByName("APP_VMINOR");
  f.build = t.fieldByName("APP_BUILD");
  f.date = t.fieldByName("APP_DATE");
  f.hierVer = t.fieldByName("HIER_VER");
  f.hierDate = t.fieldByName("HIER_DATE");
  f.hierTime = t.fieldByName("HIER_TIME");
  return f.name && f.major && f.minor && f.build && f.date && f.hierVer && f.hierDate && f.hierTime;
}

// Appends the first record: empty texts, zero numbers.
int appendFirstRecord(tablestore::Table& t) {
  if (t.appendStart() != 0) return kVersionNoTable;
  for (const char* n : kNumberFields)
    if (tablestore::TableField* f = t.fieldByName(n); f && f->assignInteger(0) != 0) return kVersionNoTable;
  return t.append() == 0 ? kVersionOk : kVersionNoTable;
}

}  // namespace

const std::vector<tablestore::FieldSpec>& versionTableFields() {
  static const std::vector<tablestore::FieldSpec> fields = {
      {"APP_NAME", 'C', 30, 0},  {"APP_VMAJOR", 'N', 4, 0}, {"APP_VMINOR", 'N', 4, 0},
      {"APP_BUILD", 'N', 4, 0},  {"APP_DATE", 'C', 10, 0},  {"HIER_VER", 'N', 4, 0},
      {"HIER_DATE", 'C', 10, 0}, {"HIER_TIME", 'C', 8, 0},  {"", 'C', 0, 0},
  };
  return fields;
}

VersionTable openVersionTable(tablestore::TableStore& store, const std::string& path8) {
  VersionTable out;
  store.clearError();
  if (platform::fileExists(platform::toWide(path8))) {
    out.table = store.openTable(path8);
  } else {
    out.table = store.createTable(path8, versionTableFields());
    out.created = out.table != nullptr;
  }
  return out;
}

int writeVersionTable(VersionTable& vt, const TfaHeader& header) {
  if (vt.table == nullptr) return kVersionNoTable;
  tablestore::Table& t = *vt.table;
  Fields f;
  if (!findFields(t, f)) return kVersionNoField;
  for (std::int32_t v : {header.appVMajor(), header.appVMinor(), header.appBuild(), header.hierVer()})
    if (!fitsFourPlaces(v)) return kVersionDoesNotFit;
  if (t.recordCount() < 1)
    if (int rc = appendFirstRecord(t)) return rc;
  if (t.goRecord(1) != 0) return kVersionNoTable;
  int rc = f.name->assignText(header.appName());
  rc = rc ? rc : f.major->assignInteger(header.appVMajor());
  rc = rc ? rc : f.minor->assignInteger(header.appVMinor());
  rc = rc ? rc : f.build->assignInteger(header.appBuild());
  rc = rc ? rc : f.date->assignText(header.appDate());
  rc = rc ? rc : f.hierVer->assignInteger(header.hierVer());
  rc = rc ? rc : f.hierDate->assignText(header.hierDate());
  rc = rc ? rc : f.hierTime->assignText(header.hierTime());
  if (rc != 0 || t.flush() != 0) return kVersionNoTable;
  vt.created = false;
  return kVersionOk;
}

int readVersionTable(ui::Host& host, VersionTable& vt, const TfaHeader& current,
                     const std::string& headerCopyPath, TfaHeader& out) {
  if (vt.table == nullptr) return kVersionNoTable;
  if (vt.created) {
    // A dataset without its stamp takes the application it is opened with.
    writeHeaderCopy(host, headerCopyPath, current);
    if (int rc = writeVersionTable(vt, current)) return rc;
    out = current;
    return kVersionOk;
  }
  tablestore::Table& t = *vt.table;
  Fields f;
  if (!findFields(t, f)) return kVersionNoField;
  if (t.goRecord(1) != 0) return kVersionNoTable;
  TfaHeader read;
  read.setAppName(base::trim(f.name->text()));
  read.setAppDate(base::trim(f.date->text()));
  read.setHierDate(base::trim(f.hierDate->text()));
  read.setHierTime(base::trim(f.hierTime->text()));
  read.setAppVMajor(static_cast<std::int32_t>(f.major->integer()));
  read.setAppVMinor(static_cast<std::int32_t>(f.minor->integer()));
  read.setAppBuild(static_cast<std::int32_t>(f.build->integer()));
  read.setHierVer(static_cast<std::int32_t>(f.hierVer->integer()));
  out = read;
  return kVersionOk;
}

}  // namespace apps
