// Go to line (F6): the box, the number keyed in it and the line it leads to,
// over a level whose lines are written into its table before the session.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/go_to_line.hpp"
#include "engine_fixture.hpp"
#include "tablestore/table.hpp"

namespace {

using editor_test::EngineTest;
using editor_test::Key;
using editor_test::typed;
namespace k = ui::key;

const char* kLevel = R"([ { "code": "A____", "table": "PLOTS",
    "columns": [ { "field": "NAME", "width": 8, "title": "Name" } ] } ])";

std::vector<Key> operator+(std::vector<Key> a, const std::vector<Key>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class GoToLine : public EngineTest {
 protected:
  void open(int lines) {
    buildApp(kLevel);
    openDataset();
    tablestore::Table& t = *session.level(1)->table;
    for (int n = 1; n <= lines; ++n) {
      ASSERT_EQ(t.appendStart(), 0);
      ASSERT_EQ(t.fieldByName("NAME")->assignText("L" + std::to_string(n)), 0);
      ASSERT_EQ(t.append(), 0);
    }
    ASSERT_EQ(t.flush(), 0);
  }
  std::int32_t lineAfter(const std::vector<Key>& script) {
    run(script);
    EXPECT_TRUE(ranDry()) << "the script ended the session early";
    return app.level(1)->header.curLine();
  }
  static std::vector<Key> goTo(const std::string& digits, bool enter = true) {
    std::vector<Key> keys = std::vector<Key>{{k::kF6}} + typed(digits);
    if (enter) keys.push_back({k::kEnter});
    return keys;
  }
};

TEST_F(GoToLine, ShowsItsBoxWithTheFieldAtZero) {
  open(12);
  EXPECT_EQ(lineAfter(goTo("5")), 5);
  bool prompt = false, hint = false;
  for (const std::string& row : screenBeforeKey(1)) {
    prompt = prompt || row.find("Goto Line:    0") != std::string::npos;
    hint = hint || row.find("< ESC to Abort >") != std::string::npos;
  }
  EXPECT_TRUE(prompt);
  EXPECT_TRUE(hint);
}

TEST_F(GoToLine, ANumberPastTheLastLineGoesToTheLastLine) {
  open(12);
  // Four digits fill the field, which ends it without Enter.
  EXPECT_EQ(lineAfter(goTo("9999", false)), 12);
}

TEST_F(GoToLine, EscapeKeepsTheLine) {
  open(12);
  EXPECT_EQ(lineAfter(goTo("7") + goTo("3", false) + std::vector<Key>{{k::kEscape}}), 7);
}

TEST_F(GoToLine, ZeroGoesToLineOne) {
  open(12);
  EXPECT_EQ(lineAfter(goTo("7") + goTo("0")), 1);
}

TEST_F(GoToLine, TheFieldTakesAsManyDigitsAsTheLevelHasLines) {
  open(12345);
  EXPECT_EQ(lineAfter(goTo("12000", false)), 12000);
}

TEST(GoToLineRules, NothingBelowLineOne) {
  EXPECT_EQ(editor::lineFieldWidth(10000), 5);
  EXPECT_EQ(editor::lineFromKeyed("  -3", 12), 1);
  EXPECT_EQ(editor::lineFromKeyed("    ", 12), 1);
}

}  // namespace
