// The demo cruise's three programs run by the real runtime through the
// engine, keyed as a crew keys them: a tree's basal area appears when its
// DBH is left, a log longer than its tree is tall is refused with the reason,
// and F7 offers the report, whose box counts the plot's trees.
#include <gtest/gtest.h>

#include <string>

#include "base/paths.hpp"
#include "base/text.hpp"
#include "datasets/child_choice.hpp"
#include "level_fixture.hpp"
#include "runtime/program_hooks.hpp"
#include "tfabuild/build.hpp"

namespace {

using editor_test::Key;
using editor_test::typed;
using End = editor::EditSession::End;
namespace k = ui::key;

std::vector<Key> operator+(std::vector<Key> a, const std::vector<Key>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
std::vector<Key> operator+(std::vector<Key> a, ui::KeyCode code) {
  a.push_back({code});
  return a;
}

// Columns of the TREES and LOGS records (0-based).
enum { kTreeDbh = 3, kTreeHt = 4, kTreeBasal = 8 };
enum { kLogLength = 3 };

class DemoPrograms : public editor_test::LevelTest {
 protected:
  void SetUp() override {
    LevelTest::SetUp();
    tfabuild::Diagnostics diag;
    tfabuild::BuildOptions options;
    options.appFolder = base::joinPath(v.appPath, "Cruise", platform::kSep);
    options.packagePath = base::joinPath(v.appPath, "Cruise.tfa", platform::kSep);
    ASSERT_EQ(tfabuild::buildFromFile(std::string(TALLYFIN_EXAMPLES_DIR) + "/cruise/cruise.json", options, diag), 0)
        << diag.text();
    ASSERT_EQ(apps::openApplication(ctx, "Cruise", false), apps::kOpenOk);
    openDataset();
    // F5 on a plot offers TREES first.
    host.onForm(datasets::kChildListResource, [](ui::FormState& f) {
      f.select(datasets::kChildListControl, 0);
      f.press(ui::kIdOkButton);
    });
  }
  // Plot 1 keyed as far as its crew, then F5 to its trees; the cursor then
  // stands on the first tree's number.
  static std::vector<Key> toTrees() {
    return typed("1") + k::kEnter + typed("050124") + typed("083000") + typed("ABR") + k::kF5;
  }
  // A tree: species, DBH, height, from its number; the cursor ends on the crown.
  static std::vector<Key> tree(const std::string& spc, const std::string& dbh, const std::string& ht) {
    return std::vector<Key>{{k::kEnter}} + typed(spc) + k::kEnter + typed(dbh) + k::kEnter + typed(ht) + k::kEnter;
  }
  std::vector<std::vector<std::string>> plotOneTrees() { return records(dataFile(2, "AA___", "   1", "TREES")); }

  runtime::ProgramHooks programs;
};

TEST_F(DemoPrograms, LeavingTheDbhFillsTheBasalArea) {
  run(toTrees() + tree("DF", "20", "120") + k::kF4 + k::kEscape, programs);
  EXPECT_TRUE(shownBeforeAnyKey("2.18")) << "0.005454 x 20 x 20 is shown on the grid";
  const auto trees = plotOneTrees();
  ASSERT_EQ(trees.size(), 1u);
  EXPECT_EQ(base::trim(trees[0][kTreeDbh]), "20.0");
  EXPECT_EQ(base::trim(trees[0][kTreeBasal]), "2.18");
}

TEST_F(DemoPrograms, ALogLongerThanItsTreeIsRefusedWithTheReason) {
  // A short tree, then F5 to its logs: a 20 ft log is keyed and refused when
  // its line is left (Y closes the reason); it is keyed again as 12 ft and kept.
  const std::vector<Key> log = std::vector<Key>{{k::kEnter}} + typed("20") + k::kEnter + typed("8") + k::kEnter +
                               typed("S2") + typed("0") + k::kEnter;
  run(toTrees() + tree("DF", "12", "15") + k::kF5 + log + ui::KeyCode{'y'} + std::vector<Key>{{k::kLeft}, {k::kLeft}, {k::kLeft}} +
          typed("12") + k::kEnter + k::kF4 + k::kF4 + k::kEscape,
      programs);
  EXPECT_TRUE(shownBeforeAnyKey("Log longer than the"));
  EXPECT_TRUE(shownBeforeAnyKey("tree is tall. Press Y"));
  const auto logs = records(dataFile(3, "AAA__", "   1-  1", "LOGS"));
  ASSERT_EQ(logs.size(), 1u);
  EXPECT_EQ(base::trim(logs[0][kLogLength]), "12.0");
}

TEST_F(DemoPrograms, F7OffersTheReportWhoseBoxCountsTheTrees) {
  run(toTrees() + tree("DF", "20", "120") + k::kF7 + k::kEnter + ui::KeyCode{'x'} + k::kF4 + k::kEscape, programs);
  EXPECT_TRUE(shownBeforeAnyKey("< Select Program >"));
  EXPECT_TRUE(shownBeforeAnyKey("REPORT.RPF"));
  EXPECT_TRUE(shownBeforeAnyKey("Cruise report"));
  // The count is printed 8 wide at column 48, the label at column 23.
  EXPECT_TRUE(shownBeforeAnyKey("Trees on this plot:" + std::string(13, ' ') + "1"));
  EXPECT_FALSE(ranDry());
}

}  // namespace
