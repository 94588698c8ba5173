#pragma once
// An engine over levels made by hand: each level a definition with the
// columns given and an empty table of the same fields, opened as the edit
// session opens a level. Lines are appended the way the engine appends them,
// so the fills of a new line run as they do in data collection.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "apps/app_definition.hpp"
#include "apps/app_open.hpp"
#include "apps/level_definition.hpp"
#include "base/text.hpp"
#include "config/process_values.hpp"
#include "datasets/data_session.hpp"
#include "editor/column_values.hpp"
#include "editor/engine.hpp"
#include "editor/line_ops.hpp"
#include "platform/codepage.hpp"
#include "platform/fileops.hpp"
#include "support/fake_clock.hpp"
#include "support/key_script.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"
#include "tablestore/table.hpp"
#include "tablestore/table_store.hpp"

namespace fill_test {

struct FillRig {
  testing_support::FakeClock clock;
  platform::ScopedClock useClock{clock};
  testing_support::TempDir dir;
  testing_support::ScriptedHost host;
  config::ProcessValues values;
  tablestore::TableStore store{&host};
  apps::AppDefinition app;
  apps::AppContext ctx{host, app, values, store};
  datasets::DataSession session;
  ui::Screen screen{25, 80};
  ui::KeyQueue keys;
  editor::Engine e{host, ctx, session, editor::noHooks(), screen, keys};
  std::array<std::unique_ptr<apps::LevelDefinition>, 6> defs;
  std::array<tablestore::Table*, 6> tables{};

  // Level n with the fields on one form screen; its column checks start as
  // all zeros.
  apps::LevelDefinition& level(int n, const std::vector<tablestore::FieldSpec>& fields) {
    auto def = std::make_unique<apps::LevelDefinition>();
    def->fields.resize(fields.size() + 1);
    for (std::size_t i = 0; i < fields.size(); ++i) {
      apps::ColumnField& f = def->fields[i + 1];
      f.setName(fields[i].name);
      f.setType(fields[i].type);
      f.setWidth(fields[i].length);
      f.setDecimals(fields[i].decimals);
    }
    // One form screen, each column's value on a row of its own.
    apps::ScreenDef form;
    form.setDisplayType(1);
    def->header.setScreen(0, form);
    def->header.setScreenCount(1);
    for (std::size_t i = 1; i <= fields.size(); ++i) {
      def->defs[i].setScreen(1);
      def->defs[i].setValueRow(static_cast<int>(i % 20) + 2);
      def->defs[i].setValueColumn(10);
    }
    tables[static_cast<std::size_t>(n)] = store.createTable(dir.file("level" + std::to_string(n) + ".dbf"), fields);
    EXPECT_NE(tables[static_cast<std::size_t>(n)], nullptr);
    defs[static_cast<std::size_t>(n)] = std::move(def);
    return *defs[static_cast<std::size_t>(n)];
  }
  apps::ColumnCheck& check(int n, int k) { return defs[static_cast<std::size_t>(n)]->checks[static_cast<std::size_t>(k)]; }

  // Opens level n's edit state and makes it current.
  void open(int n) {
    ASSERT_TRUE(editor::openLevelState(e.levels[static_cast<std::size_t>(n)], n, *defs[static_cast<std::size_t>(n)],
                                       *tables[static_cast<std::size_t>(n)]));
    e.current = n;
  }
  // Appends a line to the current level as the engine does.
  void append() {
    if (e.level().line() >= 1) {
      ASSERT_TRUE(editor::storeLine(e));
    }
    ASSERT_TRUE(editor::appendLine(e));
  }
  // Column k of the current line, without its padding blanks.
  std::string text(int k) {
    std::string t = base::trimRight(editor::currentText(e.level(), k));
    const std::size_t first = t.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : t.substr(first);
  }
  // Column k of line n as the file holds it, read by another store.
  std::string onFile(int n, int k) {
    // A copy read by another store sees what a program reading the file would.
    const std::string copy = e.level().table->path() + ".copy";
    EXPECT_EQ(platform::copyFile(platform::toWide(e.level().table->path()), platform::toWide(copy), false), 0);
    tablestore::TableStore other;
    tablestore::Table* t = other.openTable(copy);
    EXPECT_NE(t, nullptr);
    if (!t) return "?";
    std::string out = "?";
    if (t->goRecord(n) == 0) out = base::trim(t->fieldByNumber(k)->text());
    (void)other.closeTable(t);
    platform::deleteFile(platform::toWide(copy));
    return out;
  }
};

}  // namespace fill_test
