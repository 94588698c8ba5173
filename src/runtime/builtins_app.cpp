// The open application and the names of the dataset's files:
//
//   94-97   the application's four stored numbers (app.ctl); called with
//           one argument, the number is set to it first
//   125     the application's name as installed (its folder's and package's name)
//   164     its title: the name the design gave it in app.ctl
//   166     its folder
//   167     its version, "major.minor" as the version dialog shows it
//   150     the first two characters of the current level's data file
//           name: the dataset number
//   151     the whole data file name of the current level
//   156     the data file name of table x of the hierarchy at its own level
//           (1 to the current level), under the current lines above it
//   157     the data file name of child table x of the current table under
//           the current line
//
// The names fail with status 31 ("Branch not Available") when x is no such
// table and 32 ("Can't Generate Name") when the parts make no file name; the
// text is then empty.
#include <algorithm>
#include <string>

#include "apps/app_definition.hpp"
#include "apps/app_open.hpp"
#include "apps/tfa_header.hpp"
#include "apps/version_dialog.hpp"
#include "apps/versions.hpp"
#include "base/text.hpp"
#include "config/process_values.hpp"
#include "datasets/data_session.hpp"
#include "datasets/level_codes.hpp"
#include "datasets/level_tables.hpp"
#include "editor/engine.hpp"
#include "platform/files.hpp"
#include "runtime/builtins_engine.hpp"
#include "runtime/run_errors.hpp"

namespace runtime::engine_builtins {

namespace {

constexpr int kStoredValues = 4;
constexpr std::size_t kDatasetDigits = 2;

template <int I>
void storedValue(Call& c) {
  static_assert(I >= 0 && I < kStoredValues);
  apps::AppContext* a = appOf(c);
  if (!a) return;
  apps::AppCtl& ctl = a->app.appCtl();
  if (c.count() >= 1) ctl.setStoredValue(I, c.num(0));
  c.setStatus(kNoError);
  c.setNumber(ctl.storedValue(I));
}

void answerText(Call& c, const std::string& text) {
  c.setStatus(kNoError);
  c.setText(text);
}

void appName(Call& c) {
  if (apps::AppContext* a = appOf(c)) answerText(c, a->values.curAppName);
}

void appTitle(Call& c) {
  if (apps::AppContext* a = appOf(c)) answerText(c, base::trimRight(a->app.appCtl().appName()));
}

std::string folderOf(Call& c, apps::AppContext& a) {
  if (!c.ctx.appFolder.empty()) return c.ctx.appFolder;
  return a.values.settings.path(config::SettingsRecord::Path::AppFolder);
}

void appFolder(Call& c) {
  if (apps::AppContext* a = appOf(c)) answerText(c, folderOf(c, *a));
}

// The version comes from the header copy kept in the application folder; an
// application installed without one has no version to give (status 5).
void appVersion(Call& c) {
  apps::AppContext* a = appOf(c);
  if (!a) return;
  const std::string folder = folderOf(c, *a);
  apps::TfaHeader header;
  if (!apps::headerCopyExists(folder, platform::kSep) ||
      apps::readHeaderCopy(a->host, apps::headerCopyPath(folder, platform::kSep), header) != 0)
    return refuse(c, kErrFileRead);
  answerText(c, apps::versionTexts(header).version);
}

const datasets::LevelSlot* currentSlot(Call& c, editor::Engine& e) {
  const datasets::LevelSlot* slot = e.session.level(e.current);
  if (!slot || !slot->table) {
    refuse(c, kErrDataNotOpen);
    return nullptr;
  }
  return slot;
}

void dataFilePrefix(Call& c) {
  editor::Engine* e = engineOf(c);
  if (!e) return;
  if (const datasets::LevelSlot* slot = currentSlot(c, *e)) answerText(c, slot->fileName.substr(0, kDatasetDigits));
}

void dataFileName(Call& c) {
  editor::Engine* e = engineOf(c);
  if (!e) return;
  if (const datasets::LevelSlot* slot = currentSlot(c, *e)) answerText(c, slot->fileName);
}

// Whether code lies below the open level's code parentCode (the first
// letters the same) at the level after it.
bool codeBelow(const std::string& code, const std::string& parentCode, int level) {
  const auto n = static_cast<std::size_t>(level - 1);
  return datasets::levelOfCode(code) == level && parentCode.size() >= n && code.compare(0, n, parentCode, 0, n) == 0;
}

// The level code of table name at level (1-5) below the table open at
// level - 1: from the hierarchy, "" when none fits; spelled receives the
// name as the hierarchy spells it (file names carry that spelling).
std::string codeOfTable(const editor::Engine& e, const std::string& name, int level, std::string& spelled) {
  const datasets::LevelSlot* parent = e.session.level(level - 1);
  const std::string parentCode =
      level == 1 || !parent || parent->code.empty() ? std::string() : datasets::normalLevelCode(parent->code);
  if (level > 1 && parentCode.empty()) return {};
  for (const apps::HierarchyEntry& h : e.ctx.app.hierarchy()) {
    const std::string code = datasets::normalLevelCode(h.code);
    if (base::equalsNoCase(base::trimRight(h.name), name) && codeBelow(code, parentCode, level)) {
      spelled = base::trimRight(h.name);
      return code;
    }
  }
  return {};
}

void giveName(Call& c, editor::Engine& e, int level, const std::string& code, const std::string& name) {
  if (code.empty()) return refuse(c, kErrNoBranch);
  std::string out;
  if (!datasets::buildDataFileName(e.session, level, code, name, out)) return refuse(c, kErrNoName);
  answerText(c, out);
}

void tableFileName(Call& c) {
  editor::Engine* e = engineOf(c);
  if (!e) return;
  const std::string name = base::trim(c.text(0));
  for (int level = 1; level <= e->current; ++level) {
    std::string spelled;
    const std::string code = codeOfTable(*e, name, level, spelled);
    if (!code.empty()) return giveName(c, *e, level, code, spelled);
  }
  refuse(c, kErrNoBranch);
}

// A child is one the current table's .bct lists; its code is the
// hierarchy's, or the current code with the child's letter as the level
// change makes it.
void childFileName(Call& c) {
  editor::Engine* e = engineOf(c);
  if (!e) return;
  const std::string name = base::trim(c.text(0));
  const int level = e->current + 1;
  const datasets::LevelSlot* slot = currentSlot(c, *e);
  if (!slot) return;
  if (level > datasets::kMaxLevel) return refuse(c, kErrNoBranch);
  const apps::LevelBct& bct = e->level().def->bct;
  const int children = std::min(bct.childCount(), datasets::kMaxChildren);
  for (int i = 1; i <= children; ++i) {
    const std::string child = base::trim(bct.childName(i));
    if (name.empty() || !base::equalsNoCase(child, name)) continue;
    std::string spelled;
    std::string code = codeOfTable(*e, child, level, spelled);
    if (code.empty()) code = datasets::childCode(slot->code, i);
    return giveName(c, *e, level, code, child);
  }
  refuse(c, kErrNoBranch);
}

}  // namespace

void addAppBuiltins(BuiltinTable& t) {
  t[94] = storedValue<0>;
  t[95] = storedValue<1>;
  t[96] = storedValue<2>;
  t[97] = storedValue<3>;
  t[125] = appName;
  t[150] = dataFilePrefix;
  t[151] = dataFileName;
  t[156] = tableFileName;
  t[157] = childFileName;
  t[164] = appTitle;
  t[166] = appFolder;
  t[167] = appVersion;
}

}  // namespace runtime::engine_builtins
