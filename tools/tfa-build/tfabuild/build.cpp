#include "tfabuild/build.hpp"

#include <chrono>

#include "apps/app_ctl.hpp"
#include "apps/hierarchy.hpp"
#include "apps/package_required_files.hpp"
#include "apps/package_writer.hpp"
#include "base/paths.hpp"
#include "platform/codepage.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"
#include "tablestore/number_text.hpp"
#include "tablestore/table_store.hpp"
#include "tfabuild/images.hpp"
#include "tfabuild/read_description.hpp"

namespace tfabuild {

namespace {

// A table file made through table storage, replacing an older one.
bool writeTable(const std::string& path, const std::vector<tablestore::FieldSpec>& fields,
                const std::vector<std::vector<std::string>>& rows, Diagnostics& diag) {
  platform::deleteFile(path);
  tablestore::TableStore store(nullptr);
  store.init();
  store.setErrorDisplay(false);
  tablestore::Table* table = store.createTable(platform::toNarrow(path), fields);
  if (table == nullptr) {
    diag.error("", "cannot create the table \"" + path + "\" (" + tablestore::errorText(store.error()) + ")");
    return false;
  }
  for (const auto& row : rows) {
    table->appendStart();
    for (std::size_t j = 0; j < row.size() && j < fields.size(); ++j) {
      tablestore::TableField* f = table->fieldByNumber(static_cast<int>(j) + 1);
      if (fields[j].type == 'N') {
        std::string t = row[j];
        if (t.find_first_not_of(' ') != std::string::npos) f->assignNumber(tablestore::parseNumber(t));
      } else {
        f->assignText(platform::toNarrow(row[j]));
      }
    }
    table->append();
  }
  int rc = store.error();
  store.clearError();
  int closed = store.closeTable(table);
  if (rc != 0 || closed != 0) {
    diag.error("", "cannot write the table \"" + path + "\" (" + tablestore::errorText(rc != 0 ? rc : closed) + ")");
    return false;
  }
  return true;
}

bool writeFile(const std::string& folder, const std::string& name8, const std::string& bytes,
               std::vector<BuiltFile>& out, Diagnostics& diag) {
  std::string path = base::joinPath(folder, platform::toWide(name8), platform::kSep);
  int rc = platform::writeWholeFile(path, bytes.data(), bytes.size());
  if (rc != 0) {
    diag.error("", "cannot write \"" + path + "\" (" + platform::errorText(rc) + ")");
    return false;
  }
  out.push_back(BuiltFile{name8, bytes});
  return true;
}

// A table written to the folder, then read back as the package carries it.
bool tableFile(const std::string& folder, const std::string& name8, const std::vector<tablestore::FieldSpec>& fields,
               const std::vector<std::vector<std::string>>& rows, std::vector<BuiltFile>& out, Diagnostics& diag) {
  std::string path = base::joinPath(folder, platform::toWide(name8), platform::kSep);
  if (!writeTable(path, fields, rows, diag)) return false;
  BuiltFile f{name8, {}};
  int rc = platform::readWholeFile(path, f.bytes);
  if (rc != 0) {
    diag.error("", "cannot read back \"" + path + "\" (" + platform::errorText(rc) + ")");
    return false;
  }
  out.push_back(std::move(f));
  return true;
}

int build(const AppModel& app, const BuildOptions& options, Diagnostics& diag) {
  std::vector<BuiltFile> files;
  if (writeApplication(app, options.appFolder, files, diag) != 0) return 1;
  if (options.packagePath.empty()) return 0;
  std::vector<apps::PackageMember> members;
  platform::FileTime time = options.memberTime != 0 ? options.memberTime : fileTimeNow();
  for (auto& f : files) members.push_back(apps::PackageMember{f.name, std::move(f.bytes), time});
  int rc = apps::writePackage(options.packagePath, headerImage(app), members);
  if (rc != 0) {
    diag.error("", "cannot write the package \"" + options.packagePath + "\" (code " + std::to_string(rc) + ")");
    return 1;
  }
  return 0;
}

}  // namespace

platform::FileTime fileTimeNow() {
  using namespace std::chrono;
  auto since1970 = duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
  return static_cast<platform::FileTime>(since1970) * 10u + 116444736000000000ull;
}

int writeApplication(const AppModel& app, const std::string& appFolder, std::vector<BuiltFile>& out,
                     Diagnostics& diag) {
  out.clear();
  if (!platform::makeFolder(appFolder)) {
    diag.error("", "cannot make the folder \"" + appFolder + "\"");
    return 1;
  }
  std::vector<BuiltFile> members;
  apps::AppCtl ctl = appCtlImage(app);
  if (!writeFile(appFolder, apps::kAppCtlName,
                 std::string(reinterpret_cast<const char*>(ctl.bytes().data()), ctl.bytes().size()), members, diag))
    return 1;
  std::vector<std::vector<std::string>> hierarchy;
  for (const auto& l : app.levels) hierarchy.push_back({l.code, l.table});
  if (!tableFile(appFolder, apps::kHierarchyName, {{"CODE", 'C', 5, 0}, {"TABLE", 'C', 12, 0}}, hierarchy, members, diag))
    return 1;
  for (std::size_t i = 0; i < app.levels.size(); ++i) {
    LevelImages im = levelImages(app, static_cast<int>(i));
    std::string t = platform::toNarrow(app.levels[i].table);
    if (!writeFile(appFolder, t + ".bct", im.bctBytes(), members, diag)) return 1;
    if (!writeFile(appFolder, t + ".ctl", im.ctlBytes(), members, diag)) return 1;
    if (!im.serial.empty() && !writeFile(appFolder, t + ".ser", im.serBytes(), members, diag)) return 1;
    if (!im.random.empty() && !writeFile(appFolder, t + ".rnd", im.rndBytes(), members, diag)) return 1;
    if (!im.jumps.empty() && !writeFile(appFolder, t + ".jpt", im.jptBytes(), members, diag)) return 1;
    if (!im.conditions.empty() && !writeFile(appFolder, t + ".bcf", im.bcfBytes(), members, diag)) return 1;
  }
  for (const auto& t : app.tables) {
    if (!tableFile(appFolder, platform::toNarrow(t.name), t.fields, t.rows, members, diag)) return 1;
  }
  for (const auto& f : app.files) {
    if (!writeFile(appFolder, platform::toNarrow(f.name), f.bytes, members, diag)) return 1;
  }
  // The required-files list names every other member, in package order.
  std::vector<std::vector<std::string>> names;
  for (const auto& m : members) names.push_back({platform::toWide(m.name)});
  if (!tableFile(appFolder, apps::kRequiredFilesName, {{"FILENAME", 'C', 60, 0}}, names, out, diag)) return 1;
  for (auto& m : members) out.push_back(std::move(m));
  return 0;
}

int buildFromFile(const std::string& descriptionPath, const BuildOptions& options, Diagnostics& diag) {
  AppModel app;
  if (!readDescriptionFile(descriptionPath, app, diag)) return 1;
  return build(app, options, diag);
}

int buildFromText(const std::string& json, const std::string& baseDir, const BuildOptions& options,
                  Diagnostics& diag) {
  AppModel app;
  if (!readDescription(json, baseDir, app, diag)) return 1;
  return build(app, options, diag);
}

}  // namespace tfabuild
