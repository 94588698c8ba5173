// Every example application builds, and the runtime loads app.ctl and each
// level table with the values its description gave.
#include "app_fixture.hpp"
#include "apps/hierarchy.hpp"
#include "base/paths.hpp"
#include "base/text.hpp"
#include "platform/fileops.hpp"
#include "tablestore/table_store.hpp"
#include "tfabuild/build.hpp"
#include "tfabuild/read_description.hpp"

#ifndef TALLYFIN_EXAMPLES_DIR
#error "the tests need TALLYFIN_EXAMPLES_DIR"
#endif

namespace apps_test {
namespace {

std::vector<std::string> exampleDescriptions() {
  std::vector<std::string> out;
  std::vector<platform::FindEntry> found;
  platform::findFiles(base::joinPath(TALLYFIN_EXAMPLES_DIR, "*", platform::kSep), found);
  for (const auto& e : found) {
    std::string json = base::joinPath(base::joinPath(TALLYFIN_EXAMPLES_DIR, e.name, platform::kSep), e.name + ".json", platform::kSep);
    if (e.isFolder && platform::fileExists(json)) out.push_back(json);
  }
  return out;
}

int depthOf(const std::string& code) {
  int n = 0;
  while (n < 5 && n < static_cast<int>(code.size()) && code[static_cast<std::size_t>(n)] != '_') ++n;
  return n;
}

void expectColumn(const tfabuild::ColumnModel& m, const apps::LevelDefinition& level, int k) {
  SCOPED_TRACE(m.field);
  const apps::ColumnField& f = *level.field(k);
  EXPECT_EQ(f.name(), base::toUpper(m.field));
  EXPECT_EQ(f.type(), m.type);
  EXPECT_EQ(f.width(), m.width);
  EXPECT_EQ(f.decimals(), m.decimals);
  EXPECT_EQ(f.title(), m.title);
  const apps::ColumnCheck& c = *level.check(k);
  EXPECT_EQ(c.fieldType(), m.fieldType);
  EXPECT_EQ(c.fillKind(), m.fillKind);
  EXPECT_EQ(c.editKind(), m.editKind);
  EXPECT_EQ(c.text(), m.text);
  EXPECT_EQ(c.checkEmpty(), m.required);
  EXPECT_EQ(c.unique(), m.unique);
  EXPECT_EQ(c.upperCase(), m.upperCase);
  EXPECT_EQ(c.checkType(), m.check.type);
  EXPECT_EQ(c.minimum(), m.check.minimum);
  EXPECT_EQ(c.maximum(), m.check.maximum);
  EXPECT_EQ(c.checkFile(), m.check.file);
  EXPECT_EQ(c.replaceBySecond(), m.check.replace);
  EXPECT_EQ(c.lowLevel(), m.check.low.level);
  EXPECT_EQ(c.lowColumn(), m.check.low.column);
  EXPECT_EQ(c.highLevel(), m.check.high.level);
  EXPECT_EQ(c.highColumn(), m.check.high.column);
  EXPECT_EQ(c.warnRange(), m.check.warn);
  EXPECT_EQ(c.lookupKind(), m.lookupKind);
  EXPECT_EQ(c.lookupFile(), m.lookupFile);
  EXPECT_EQ(c.jumpIndex(), m.jumpIndex);
  EXPECT_EQ(c.randomIndex(), m.randomIndex);
  EXPECT_EQ(c.serialIndex(), m.serialIndex);
  EXPECT_EQ(c.parentLevel(), m.parent.level);
  EXPECT_EQ(c.parentColumn(), m.parent.column);
  const apps::ColumnDef& d = *level.def(k);
  EXPECT_EQ(d.screen(), m.screen);
  EXPECT_EQ(d.hidden(), m.hidden);
  EXPECT_EQ(d.displayWidth(), m.displayWidth);
  EXPECT_EQ(d.prompt(), m.prompt);
}

void expectLevel(const tfabuild::AppModel& model, std::size_t i, const apps::LevelDefinition& level) {
  const tfabuild::LevelModel& m = model.levels[i];
  SCOPED_TRACE(m.table);
  EXPECT_EQ(level.lastColumn(), static_cast<int>(m.columns.size()));
  EXPECT_EQ(level.bct.levelCodeText(), m.code);
  EXPECT_EQ(level.bct.levelName(), m.name);
  EXPECT_EQ(level.info.description(), m.description);
  ASSERT_EQ(level.bct.childCount(), static_cast<int>(m.children.size()));
  for (std::size_t c = 0; c < m.children.size(); ++c) {
    EXPECT_EQ(level.bct.childName(static_cast<int>(c) + 1), model.levels[static_cast<std::size_t>(m.children[c])].table);
  }
  int siblings = m.parent < 0 ? 0 : static_cast<int>(model.levels[static_cast<std::size_t>(m.parent)].children.size()) - 1;
  EXPECT_EQ(level.bct.siblingCount(), siblings);
  EXPECT_EQ(level.serial.size(), m.serial.empty() ? 0 : m.serial.size() + 1);
  EXPECT_EQ(level.random.size(), m.random.empty() ? 0 : m.random.size() + 1);
  EXPECT_EQ(level.jumps.size(), m.jumps.empty() ? 0 : m.jumps.size() + 1);
  EXPECT_EQ(level.conditions.size(), m.conditionRows.size());
  EXPECT_EQ(level.bct.gpsPointMode(), m.gpsPointMode);
  EXPECT_EQ(level.bct.gpsLatColumn(), m.gpsLat);
  EXPECT_EQ(level.bct.gpsLonColumn(), m.gpsLon);
  EXPECT_EQ(level.bct.gpsElevColumn(), m.gpsElev);
  EXPECT_EQ(level.bct.gpsAverageCount(), m.gpsAverage);
  EXPECT_EQ(level.header.insertAllowed(), m.insertAllowed);
  EXPECT_EQ(level.header.checkOnLineChange(), m.checkOnLineChange);
  EXPECT_EQ(level.header.removeEmptyLines(), m.removeEmptyLines);
  EXPECT_EQ(level.header.screenCount(), static_cast<int>(m.screens.size()));
  for (std::size_t s = 0; s < m.screens.size(); ++s) {
    apps::ScreenDef screen = level.header.screen(static_cast<int>(s));
    EXPECT_EQ(screen.displayType(), m.screens[s].displayType);
    EXPECT_EQ(screen.promptRow(), m.screens[s].promptRow);
    EXPECT_EQ(screen.headingCount(), static_cast<int>(m.screens[s].headings.size()));
  }
  for (std::size_t e = 0; e < m.events.size(); ++e) EXPECT_EQ(level.header.eventProgram(static_cast<int>(e)), m.events[e]);
  for (std::size_t k = 0; k < m.columns.size(); ++k) expectColumn(m.columns[k], level, static_cast<int>(k) + 1);
}

class ExampleTest : public AppTest {};

TEST_F(ExampleTest, EveryExampleBuildsAndLoads) {
  std::vector<std::string> examples = exampleDescriptions();
  ASSERT_FALSE(examples.empty()) << TALLYFIN_EXAMPLES_DIR;
  for (const std::string& json : examples) {
    SCOPED_TRACE(json);
    tfabuild::AppModel model;
    tfabuild::Diagnostics diag;
    ASSERT_TRUE(tfabuild::readDescriptionFile(json, model, diag)) << diag.text();
    tfabuild::BuildOptions options;
    options.appFolder = dir.file(model.name);
    options.packagePath = dir.file(model.name + ".tfa");
    ASSERT_EQ(tfabuild::buildFromFile(json, options, diag), 0) << diag.text();
    EXPECT_TRUE(platform::fileExists(options.packagePath));

    ASSERT_EQ(app.loadAppCtl(options.appFolder), 0);
    EXPECT_EQ(app.appCtl().rootTableName(), model.levels.front().table);
    EXPECT_EQ(app.appCtl().useDatasets(), model.useDatasets);
    EXPECT_EQ(app.appCtl().keepChildFields(), model.keepChildFields);
    EXPECT_EQ(app.appCtl().keepStatusFields(), model.keepStatusFields);
    EXPECT_EQ(app.appCtl().keepPosition(), model.keepPosition);
    for (int g = 0; g < 5; ++g) EXPECT_EQ(app.appCtl().gpsLimit(g), model.gpsLimits[static_cast<std::size_t>(g)]);

    tablestore::TableStore store(nullptr);
    ASSERT_EQ(apps::loadHierarchy(host, store, options.appFolder, app.hierarchy()), static_cast<int>(model.levels.size()));
    for (std::size_t i = 0; i < app.hierarchy().size(); ++i) {
      const apps::HierarchyEntry& entry = app.hierarchy()[i];
      EXPECT_EQ(entry.code, model.levels[i].code);
      app.appCtl().setTableName(entry.name);
      std::string name;
      int depth = depthOf(entry.code);
      apps::LevelLoad r = app.loadLevel(options.appFolder, depth, name);
      ASSERT_EQ(r.ok, 1) << name << " " << r.status << "/" << r.phase;
      expectLevel(model, i, *app.level(depth));
    }
  }
}

// The demo application's own values, as its description states them.
TEST_F(ExampleTest, TheCruiseCarriesWhatTheDescriptionSays) {
  tfabuild::Diagnostics diag;
  tfabuild::BuildOptions options;
  options.appFolder = folder();
  ASSERT_EQ(tfabuild::buildFromFile(base::joinPath(base::joinPath(TALLYFIN_EXAMPLES_DIR, "cruise", platform::kSep), "cruise.json", platform::kSep), options, diag), 0)
      << diag.text();
  std::string name;
  ASSERT_EQ(app.loadAppCtl(folder()), 0);
  ASSERT_EQ(app.loadLevel(folder(), 1, name).ok, 1);
  const apps::LevelDefinition& plots = *app.level(1);
  EXPECT_EQ(plots.bct.childCount(), 2);
  EXPECT_EQ(plots.bct.childName(1), "TREES");
  EXPECT_EQ(plots.bct.childName(2), "REGEN");
  EXPECT_EQ(plots.check(1)->fillKind(), 2);  // auto increment
  EXPECT_EQ(plots.check(4)->checkFile(), "CREWS.dbf");
  EXPECT_EQ(plots.check(6)->checkType(), 1);
  EXPECT_EQ(plots.check(6)->maximum(), 100);
  EXPECT_EQ(plots.bct.gpsPointMode(), 1);
  EXPECT_EQ(plots.bct.gpsLatColumn(), 8);
  EXPECT_EQ(plots.bct.gpsLonColumn(), 9);

  app.appCtl().setTableName("TREES");
  ASSERT_EQ(app.loadLevel(folder(), 2, name).ok, 1);
  const apps::LevelDefinition& trees = *app.level(2);
  EXPECT_EQ(trees.bct.siblingCount(), 1);
  EXPECT_EQ(trees.bct.siblingName(1), "REGEN");
  EXPECT_EQ(trees.check(2)->fillKind(), 3);  // line number
  EXPECT_TRUE(trees.check(3)->replaceBySecond());
  EXPECT_EQ(trees.check(3)->jumpIndex(), 1);
  EXPECT_EQ(trees.jumpEntry(1)->file(), "SPJUMP.dbf");
  EXPECT_EQ(trees.check(4)->minimum(), 1);
  EXPECT_EQ(trees.check(4)->maximum(), 60);
  EXPECT_EQ(trees.check(5)->checkType(), 9);  // height range keyed on species
  EXPECT_EQ(trees.check(5)->lowLevel(), 2);
  EXPECT_EQ(trees.check(5)->lowColumn(), 3);
  EXPECT_EQ(trees.info.conditionCount(), 1);
  EXPECT_EQ(trees.info.conditionColumn(0), 8);
  EXPECT_EQ(trees.info.conditionSource(0), 0);

  app.appCtl().setTableName("LOGS");
  ASSERT_EQ(app.loadLevel(folder(), 3, name).ok, 1);
  const apps::LevelDefinition& logs = *app.level(3);
  EXPECT_EQ(logs.check(6)->editKind(), 2);  // picture
  EXPECT_EQ(logs.check(6)->text(), "@#");
  EXPECT_EQ(logs.check(5)->checkType(), 5);
  EXPECT_EQ(logs.check(5)->highLevel(), 2);
  EXPECT_EQ(logs.check(5)->highColumn(), 4);
  EXPECT_EQ(logs.check(2)->parentLevel(), 2);
}

}  // namespace
}  // namespace apps_test
