#include "tfabuild/read_description.hpp"

#include <map>
#include <set>

#include "base/paths.hpp"
#include "base/text.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"
#include "tfabuild/reader.hpp"

namespace tfabuild {

namespace {

// Every member of the package must have a name of its own (compared without
// regard to case, as on the unit's file system).
void checkMemberNames(const AppModel& app, Diagnostics& diag) {
  std::map<std::string, std::string> seen;  // upper-case name -> JSON path that made it
  std::set<std::string> reported;            // one report per path is enough
  auto claim = [&](const std::string& name, const std::string& path) {
    auto [it, fresh] = seen.emplace(base::toUpper(name), path);
    if (!fresh && reported.insert(path).second) {
      diag.error(path, "the file name \"" + name + "\" is also made by " + it->second);
    }
  };
  claim("app.ctl", "application");
  claim("hierarchy.ctl", "levels");
  claim("ReqFiles.dbf", "application");
  for (std::size_t i = 0; i < app.levels.size(); ++i) {
    const LevelModel& l = app.levels[i];
    std::string path = "levels[" + std::to_string(i) + "].table";
    for (const char* ext : {".bct", ".ctl", ".ser", ".rnd", ".jpt", ".bcf"}) claim(l.table + ext, path);
  }
  for (std::size_t i = 0; i < app.tables.size(); ++i) claim(app.tables[i].name, app.tables[i].path + ".name");
  for (const auto& f : app.files) claim(f.name, f.path);
}

}  // namespace

bool readDescription(std::string_view jsonText, const std::string& baseDir, AppModel& app, Diagnostics& diag) {
  app = AppModel{};
  Json root;
  try {
    root = Json::parse(jsonText.begin(), jsonText.end(), nullptr, true, true);
  } catch (const Json::parse_error& e) {
    diag.error("", std::string("not valid JSON: ") + e.what());
    return false;
  }
  Node top(&root, "", diag);
  if (!top.object({"application", "version", "files", "programSources", "tables", "levels"})) {
    if (!top.present()) diag.error("", "the description is empty");
    return false;
  }
  Reader r{diag, baseDir, app};
  readFiles(r, top["files"]);
  readProgramSources(r, top["programSources"]);
  readTables(r, top["tables"]);
  readApplication(r, top);
  readLevelShapes(r, top["levels"]);
  readLevelDetails(r, top["levels"]);
  checkTableUses(r, top["levels"]);
  checkMemberNames(app, diag);
  return diag.ok();
}

bool readDescriptionFile(const std::string& path, AppModel& app, Diagnostics& diag) {
  std::string text;
  int rc = platform::readWholeFile(path, text, std::int64_t{16} << 20);
  if (rc != 0) {
    diag.error("", "cannot read \"" + path + "\" (" + platform::errorText(rc) + ")");
    return false;
  }
  // Windows takes "/" as a separator too.
  std::size_t cut = path.find_last_of(platform::kSep == '\\' ? "\\/" : "/");
  std::string folder = cut == std::string::npos ? std::string() : path.substr(0, cut);
  return readDescription(text, folder.empty() ? "." : folder, app, diag);
}

}  // namespace tfabuild
