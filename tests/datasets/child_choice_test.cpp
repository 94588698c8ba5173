// The child and sibling lists: one child is taken at once, more are offered
// with the last choice preselected, Escape ends the descent, a blocked table
// is refused.
#include <gtest/gtest.h>

#include "apps/level_records.hpp"
#include "datasets/child_choice.hpp"
#include "support/scripted_host.hpp"
#include "ui/keys.hpp"

namespace {

using datasets::kChildListControl;
using datasets::kChildListResource;

apps::LevelBct withChildren(const std::vector<std::string>& names, int blocked = 0) {
  apps::LevelBct bct;
  bct.setChildCount(static_cast<int>(names.size()));
  bct.setSiblingCount(static_cast<int>(names.size()));
  for (std::size_t i = 0; i < names.size(); ++i) {
    bct.setChildName(static_cast<int>(i) + 1, names[i]);
    bct.setSiblingName(static_cast<int>(i) + 1, names[i]);
  }
  if (blocked > 0) {
    bct.setChildBlocked(blocked, true);
    bct.setSiblingBlocked(blocked, true);
  }
  return bct;
}

TEST(ChildChoice, OneChildIsTakenWithoutAList) {
  testing_support::ScriptedHost host;
  std::string remembered;
  EXPECT_EQ(datasets::chooseChild(host, withChildren({"TREES"}), remembered), 1);
  EXPECT_EQ(remembered, "TREES");
  EXPECT_TRUE(host.forms().empty());
  EXPECT_EQ(datasets::chooseChild(host, withChildren({}), remembered), 0);
}

TEST(ChildChoice, TheListPreselectsTheLastChoice) {
  testing_support::ScriptedHost host;
  std::string remembered = "LOGS";
  host.onForm(kChildListResource, [](ui::FormState& f) {
    EXPECT_EQ(f.caption(), "Select Child");
    EXPECT_EQ(f.items(kChildListControl), (std::vector<std::string>{"TREES", "REGEN", "LOGS"}));
    EXPECT_EQ(f.selection(kChildListControl), 2);
    f.key(ui::key::kUp);
    f.key(ui::key::kEnter);
  });
  EXPECT_EQ(datasets::chooseChild(host, withChildren({"TREES", "REGEN", "LOGS"}), remembered), 2);
  EXPECT_EQ(remembered, "REGEN");
}

TEST(ChildChoice, EscapeEndsTheDescent) {
  testing_support::ScriptedHost host;
  std::string remembered = "REGEN";
  host.onForm(kChildListResource, [](ui::FormState& f) { f.key(ui::key::kEscape); });
  EXPECT_EQ(datasets::chooseChild(host, withChildren({"TREES", "REGEN"}), remembered), 0);
  EXPECT_EQ(remembered, "REGEN");
}

TEST(ChildChoice, ABlockedChildOrSiblingIsRefused) {
  testing_support::ScriptedHost host;
  host.expect("Child Blocked", ui::kIdOk, "Warning !");
  host.expect("Sibling Blocked", ui::kIdOk, "Warning !");
  std::string remembered;
  EXPECT_EQ(datasets::chooseChild(host, withChildren({"TREES"}, 1), remembered), 0);
  EXPECT_TRUE(host.sawText("Child Blocked"));
  EXPECT_EQ(remembered, "");

  host.onForm(kChildListResource, [](ui::FormState& f) {
    EXPECT_EQ(f.caption(), "Select Sibling");
    f.select(kChildListControl, 1);
    f.press(ui::kIdOkButton);
  });
  EXPECT_EQ(datasets::chooseSibling(host, withChildren({"TREES", "REGEN"}, 2), remembered), 0);
  EXPECT_TRUE(host.sawText("Sibling Blocked"));
}

TEST(ChildChoice, CountsFromTheFileNeverReachPastTheRecord) {
  testing_support::ScriptedHost host;
  apps::LevelBct bct = withChildren({"A", "B"});
  bct.setChildCount(3000);
  host.onForm(kChildListResource, [](ui::FormState& f) {
    EXPECT_EQ(f.items(kChildListControl).size(), 26u);
    f.press(ui::kIdCancelButton);
  });
  std::string remembered;
  EXPECT_EQ(datasets::chooseChild(host, bct, remembered), 0);
}

}  // namespace
