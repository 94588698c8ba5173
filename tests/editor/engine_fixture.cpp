#include "engine_fixture.hpp"

#include "base/paths.hpp"
#include "base/text.hpp"
#include "datasets/choose_dataset.hpp"
#include "datasets/create_dataset.hpp"
#include "platform/codepage.hpp"
#include "datasets/level_tables.hpp"
#include "platform/fileops.hpp"
#include "support/install_root.hpp"
#include "tablestore/table.hpp"
#include "tablestore/table_store.hpp"
#include "tfabuild/build.hpp"

namespace editor_test {

using Path = config::SettingsRecord::Path;

std::vector<Key> typed(const std::string& text) {
  std::vector<Key> keys;
  for (unsigned char c : text) keys.push_back({c});
  return keys;
}

void EngineTest::SetUp() {
  testing_support::makeInstallRoot(v, dir);
  v.tables.setHost(&host);
  v.settings.setProductionLevel(1);
}

void EngineTest::buildApp(const std::string& levelsJson, const std::string& tablesJson,
                          const std::string& filesJson) {
  const std::string json = R"({ "application": { "name": "Fields", "useDatasets": true },
    "version": { "major": 1, "minor": 0, "build": 1, "structure": 1,
                 "date": "01/02/2024", "structureDate": "01/01/2024", "structureTime": "10:00:00" },
    "files": )" + filesJson + R"(, "tables": )" + tablesJson + R"(, "levels": )" + levelsJson + "}";
  tfabuild::Diagnostics diag;
  tfabuild::BuildOptions options;
  options.appFolder = base::joinPath(v.appPath, "Fields", platform::kSep);
  options.packagePath = base::joinPath(v.appPath, "Fields.tfa", platform::kSep);
  ASSERT_EQ(tfabuild::buildFromText(json, dir.path(), options, diag), 0) << diag.text();
  ASSERT_EQ(apps::openApplication(ctx, "Fields", false), apps::kOpenOk);
}

void EngineTest::openDataset(bool existing, const std::string& name) {
  if (existing) {
    // The list offers the datasets with the one used last selected: take it.
    host.onForm(datasets::kChooseDatasetResource, [](ui::FormState& f) { f.press(ui::kIdOkButton); });
  } else {
    host.onForm(datasets::kCreateDatasetResource, [name](ui::FormState& f) {
      f.type(datasets::kDatasetNameControl, name);
      f.press(ui::kIdOkButton);
    });
  }
  ASSERT_EQ(datasets::openData(ctx, session, start), 1);
}

editor::EditSession::End EngineTest::run(const std::vector<Key>& keys, editor::EngineHooks& hooks) {
  edit = std::make_unique<editor::EditSession>(host, ctx, session, hooks);
  std::deque<Key> script(keys.begin(), keys.end());
  snapshots_.clear();
  ranDry_ = false;
  auto rows = [this] {
    std::vector<std::string> out;
    for (int r = 1; r <= edit->screen().rows(); ++r) out.push_back(edit->screen().rowText(r));
    return out;
  };
  host.onPump = [&, this] {
    if (!edit->running() || edit->keys().count() > 0) return;
    if (script.empty()) {
      ranDry_ = true;
      edit->abort();
      return;
    }
    snapshots_.push_back(rows());
    Key k = script.front();
    script.pop_front();
    // The menu takes its keys from the script through this same pump.
    if (k.row < 0) edit->openHierarchyMenu();
    else if (k.row > 0) edit->keys().pushMouse(k.code, k.row, k.col);
    else edit->keys().push(k.code);
  };
  editor::EditSession::End end = edit->run(start.title);
  last_ = rows();
  host.onPump = nullptr;
  return end;
}

bool EngineTest::shownBeforeAnyKey(const std::string& text) const {
  for (const auto& rows : snapshots_)
    for (const auto& row : rows)
      if (row.find(text) != std::string::npos) return true;
  return false;
}

std::vector<std::string> EngineTest::screenBeforeKey(std::size_t i) const {
  return i < snapshots_.size() ? snapshots_[i] : std::vector<std::string>{};
}

std::string EngineTest::screenRow(int row) const {
  return row >= 1 && row <= static_cast<int>(last_.size()) ? last_[static_cast<std::size_t>(row - 1)] : "";
}

std::vector<std::vector<std::string>> EngineTest::level1Records() {
  std::vector<std::vector<std::string>> out;
  const datasets::LevelSlot* slot = session.level(1);
  if (!slot) return out;
  // A separate store reads the file as another program would.
  tablestore::TableStore store;
  const std::string copy = slot->path + ".copy";
  EXPECT_EQ(platform::copyFile(platform::toWide(slot->path), platform::toWide(copy), false), 0);
  tablestore::Table* t = store.openTable(copy);
  EXPECT_NE(t, nullptr);
  if (!t) return out;
  for (std::int64_t n = 1; n <= t->recordCount(); ++n) {
    EXPECT_EQ(t->goRecord(n), 0);
    std::vector<std::string> fields;
    for (int j = 1; j <= t->fieldCount(); ++j) {
      std::string text(t->fieldByNumber(j)->text());
      std::string trimmed = base::trimRight(text);
      std::size_t first = trimmed.find_first_not_of(' ');
      fields.push_back(first == std::string::npos ? "" : trimmed.substr(first));
    }
    out.push_back(fields);
  }
  (void)store.closeTable(t);
  platform::deleteFile(platform::toWide(copy));
  return out;
}

}  // namespace editor_test
