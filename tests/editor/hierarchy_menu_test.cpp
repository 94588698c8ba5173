// The hierarchy menu's entries for a level: which commands it offers, under
// which names, and which of them can be chosen.
#include <gtest/gtest.h>

#include "datasets/child_levels.hpp"
#include "editor/hierarchy_menu.hpp"
#include "editor/line_ops.hpp"
#include "level_fixture.hpp"

namespace {

using editor_test::LevelTest;

TEST(HierarchyCommands, SkipTheUnusedIds) {
  EXPECT_EQ(editor::childCommand(1), 40199);
  EXPECT_EQ(editor::childCommand(2), 40201);
  EXPECT_EQ(editor::childCommand(26), 40225);  // 40201 onwards from child 2
  EXPECT_EQ(editor::siblingCommand(1), 40171);
  EXPECT_EQ(editor::siblingCommand(25), 40195);
  EXPECT_EQ(editor::siblingCommand(26), 40197);
  EXPECT_EQ(editor::childCommand(0), 0);
  EXPECT_EQ(editor::siblingCommand(27), 0);
}

class Menu : public LevelTest {
 protected:
  void open(const editor_test::PlotApp& options = {}) {
    buildApp(editor_test::plotLevels(options));
    openDataset();
    engine = std::make_unique<editor::Engine>(host, ctx, session, editor::noHooks(), screen, keys);
    ASSERT_TRUE(editor::openLevelState(engine->levels[1], 1, *app.level(1), *session.level(1)->table));
    ASSERT_TRUE(editor::appendLine(*engine));
  }
  // Goes down to TREES below the plot's line, as the data collection does.
  void downToTrees() {
    ASSERT_EQ(datasets::openChildTable(ctx, session, 1, "TREES", 1), 1);
    ASSERT_TRUE(editor::openLevelState(engine->levels[2], 2, *app.level(2), *session.level(2)->table));
    engine->current = 2;
  }
  ui::Screen screen;
  ui::KeyQueue keys;
  std::unique_ptr<editor::Engine> engine;
};

TEST_F(Menu, OnThePlotOnlyTheChildrenCanBeChosen) {
  editor_test::PlotApp options;
  options.regenBlocked = true;
  open(options);
  auto menu = editor::hierarchyMenu(*engine);
  ASSERT_EQ(menu.size(), 3u);
  EXPECT_EQ(menu[0].id, editor::kParentCommand);
  EXPECT_FALSE(menu[0].enabled);
  EXPECT_EQ(menu[1].label, "Children");
  ASSERT_EQ(menu[1].items.size(), 2u);
  EXPECT_EQ(menu[1].items[0].label, "TREES");
  EXPECT_EQ(menu[1].items[0].id, 40199);
  EXPECT_TRUE(menu[1].items[0].enabled);
  EXPECT_EQ(menu[1].items[1].label, "REGEN");
  EXPECT_EQ(menu[1].items[1].id, 40201);
  EXPECT_FALSE(menu[1].items[1].enabled);  // blocked
  EXPECT_TRUE(menu[1].enabled);
  EXPECT_TRUE(menu[2].items.empty());
  EXPECT_FALSE(menu[2].enabled);
  // Neither a blocked child nor the parent of level 1 does anything.
  EXPECT_FALSE(editor::hierarchyCommand(*engine, 40201));
  EXPECT_FALSE(editor::hierarchyCommand(*engine, editor::kParentCommand));
  EXPECT_EQ(engine->change, editor::Engine::LevelChange::None);
}

TEST_F(Menu, BelowThePlotTheSiblingCarriesItsLetter) {
  open();
  downToTrees();
  auto menu = editor::hierarchyMenu(*engine);
  EXPECT_TRUE(menu[0].enabled);
  ASSERT_EQ(menu[1].items.size(), 1u);
  EXPECT_EQ(menu[1].items[0].label, "LOGS");
  ASSERT_EQ(menu[2].items.size(), 1u);
  EXPECT_EQ(menu[2].items[0].label, "REGEN");
  EXPECT_EQ(menu[2].items[0].id, editor::siblingCommand(2));  // REGEN is AB___
  // The sibling command asks the data collection for that table.
  EXPECT_TRUE(editor::hierarchyCommand(*engine, editor::siblingCommand(2)));
  EXPECT_EQ(engine->change, editor::Engine::LevelChange::Sibling);
  EXPECT_EQ(engine->changeTable, "REGEN");
  EXPECT_TRUE(engine->level().header().leaveLevel());
}

TEST_F(Menu, WithoutTheHierarchyEntriesAreNumberedByTheirPlace) {
  open();
  app.hierarchy().clear();
  downToTrees();
  auto menu = editor::hierarchyMenu(*engine);
  ASSERT_EQ(menu[2].items.size(), 1u);
  EXPECT_EQ(menu[2].items[0].id, editor::siblingCommand(1));
}

}  // namespace
