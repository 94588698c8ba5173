// Keying values through the whole engine: the edit session on the scripted
// host, a key at a time, over an application with a column of every field
// type; what the table holds afterwards, read from a copy of its file.
#include <gtest/gtest.h>

#include "datasets/level_tables.hpp"
#include "config/settings.hpp"
#include "engine_fixture.hpp"

namespace {

using editor_test::EngineTest;
using editor_test::Key;
using editor_test::typed;
using End = editor::EditSession::End;
namespace k = ui::key;

std::string fieldsLevel(const std::string& screenType) {
  return R"([ { "code": "A____", "table": "FORM",
      "settings": { "removeEmptyLines": true },
      "screens": [ { "type": ")" + screenType + R"(", "promptRow": 24 } ],
      "columns": [
        { "field": "NAME", "width": 10, "title": "Name", "prompt": "Who saw it" },
        { "field": "CODE", "width": 4, "title": "Code", "upperCase": true },
        { "field": "PIC", "width": 6, "title": "Ticket", "picture": "##-###" },
        { "field": "AMOUNT", "type": "N", "width": 6, "decimals": 2, "title": "Amount" },
        { "field": "SEEN", "width": 8, "title": "Seen", "fieldType": "date" },
        { "field": "SEENYMD", "type": "N", "width": 6, "title": "Seen ymd", "fieldType": "date-ymd" },
        { "field": "AT", "width": 8, "title": "At", "fieldType": "time" },
        { "field": "SHOWN", "type": "N", "width": 3, "title": "Shown", "fieldType": "display" },
        { "field": "SKIP", "width": 2, "title": "Skip", "fieldType": "skipped" },
        { "field": "NOTE", "width": 40, "title": "Note", "displayWidth": 10 },
        { "field": "LONGDATE", "width": 10, "title": "Long date", "fieldType": "date-mdyyyy" },
        { "field": "ISODATE", "type": "N", "width": 8, "title": "Iso date", "fieldType": "date-yyyymd" },
        { "field": "STAMP", "width": 12, "title": "Stamp", "fieldType": "time-ms" },
        { "field": "NUMTXT", "width": 5, "title": "Count", "fieldType": "numeric" }
      ] } ])";
}

std::vector<Key> operator+(std::vector<Key> a, const std::vector<Key>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// One line of values keyed cell by cell with Enter.
std::vector<Key> oneLine() {
  return typed("Alder") + std::vector<Key>{{k::kEnter}} + typed("ab") + std::vector<Key>{{k::kEnter}} +
         typed("12345") +                                // the picture fills and moves on
         typed("12.5") + std::vector<Key>{{k::kEnter}} +  // 12.50
         typed("010224") +                               // a full date moves on
         typed("240102") + typed("134500") +
         std::vector<Key>{{k::kEnter}} +                 // display only: Enter moves on
         typed("long note text") + std::vector<Key>{{k::kEnter}} +
         typed("01022024") + typed("20240102") +
         std::vector<Key>{{20}, {k::kEnter}} +           // Ctrl+T fills the time with milliseconds
         typed("42") + std::vector<Key>{{k::kEnter}};
}

class KeyingValues : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    platform::DateTime at;
    at.year = 2024;
    at.month = 3;
    at.day = 5;
    at.hour = 8;
    at.minute = 30;
    clock.setLocalTime(at);
  }
};

TEST_F(KeyingValues, EveryFieldTypeStoresItsFormatOnALineDisplay) {
  buildApp(fieldsLevel("line"));
  openDataset();
  EXPECT_EQ(run(oneLine() + std::vector<Key>{{k::kEscape}}), End::Left);
  EXPECT_FALSE(ranDry());
  auto records = level1Records();
  ASSERT_EQ(records.size(), 1u);
  const auto& r = records[0];
  EXPECT_EQ(r[0], "Alder");
  EXPECT_EQ(r[1], "AB");
  EXPECT_EQ(r[2], "12-345");
  EXPECT_EQ(r[3], "12.50");
  EXPECT_EQ(r[4], "01/02/24");
  EXPECT_EQ(r[5], "240102");
  EXPECT_EQ(r[6], "13:45:00");
  EXPECT_EQ(r[7], "");
  EXPECT_EQ(r[8], "");
  EXPECT_EQ(r[9], "long note text");
  EXPECT_EQ(r[10], "01/02/2024");
  EXPECT_EQ(r[11], "20240102");
  EXPECT_EQ(r[12].substr(0, 6), "08:30:");
  EXPECT_EQ(r[12].size(), 12u);
  EXPECT_EQ(r[13], "42");
}

TEST_F(KeyingValues, PageDownMakesANewLineAndTheEmptyLastLineGoesOnLeaving) {
  buildApp(fieldsLevel("line"));
  openDataset();
  std::vector<Key> keys = typed("First") + std::vector<Key>{{k::kPageDown}} + typed("Second") +
                          std::vector<Key>{{k::kPageDown}, {k::kPageDown}, {k::kEscape}};
  EXPECT_EQ(run(keys), End::Left);
  auto records = level1Records();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0][0], "First");
  EXPECT_EQ(records[1][0], "Second");
}

TEST_F(KeyingValues, AReopenedDatasetShowsItsLinesOnAVirtualDisplay) {
  buildApp(fieldsLevel("virtual"));
  openDataset();
  // Enter at the last column of a line starts the next one.
  std::vector<Key> keys = oneLine() + typed("Birch") + std::vector<Key>{{k::kEscape}};
  ASSERT_EQ(run(keys), End::Left);
  for (int level = 5; level >= 1; --level)
    if (session.level(level)->table) (void)datasets::closeLevelTable(ctx, session, level);
  openDataset(true);
  ASSERT_EQ(run({{k::kEscape}}), End::Left);
  auto rowWith = [&](const std::string& text) {
    for (int r = 1; r <= 25; ++r)
      if (screenRow(r).find(text) != std::string::npos) return r;
    return 0;
  };
  const int alder = rowWith("Alder"), birch = rowWith("Birch");
  EXPECT_GT(alder, 0);
  EXPECT_EQ(birch, alder + 1);
  EXPECT_NE(screenRow(alder).find("   1"), std::string::npos);  // the line numbers
  EXPECT_NE(screenRow(birch).find("   2"), std::string::npos);
  EXPECT_EQ(level1Records().size(), 2u);
}

TEST_F(KeyingValues, BackspaceAtTheStartOfAnEmptyFieldGoesBackAColumn) {
  buildApp(fieldsLevel("line"));
  openDataset();
  // Name, then in the empty Code field Backspace: back on Name, whose text
  // the next letter replaces.
  std::vector<Key> keys = typed("Ash") + std::vector<Key>{{k::kEnter}, {k::kBackspace}} + typed("Elm") +
                          std::vector<Key>{{k::kEnter}, {k::kEscape}};
  ASSERT_EQ(run(keys), End::Left);
  auto records = level1Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0][0], "Elm");
}

TEST_F(KeyingValues, ALevelWhereEveryColumnIsSkippedWaitsForAKey) {
  buildApp(R"([ { "code": "A____", "table": "FORM", "columns": [
      { "field": "A", "width": 2, "fieldType": "skipped" },
      { "field": "B", "width": 2, "hidden": true } ] } ])");
  openDataset();
  EXPECT_EQ(run({{k::kRight}, {k::kDown}, {k::kEscape}}), End::Left);
  EXPECT_FALSE(ranDry());
}

TEST_F(KeyingValues, KeysWhoseWorkIsNotBuiltBeepAndChangeNothing) {
  buildApp(fieldsLevel("line"));
  openDataset();
  const int before = host.beeps();
  std::vector<Key> keys = typed("Oak") +
                          std::vector<Key>{{k::kF5}, {k::kF3}, {k::kF7}, {7}, {k::kEscape}};
  ASSERT_EQ(run(keys), End::Left);
  EXPECT_EQ(host.beeps() - before, 4);
  auto records = level1Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0][0], "Oak");
}

TEST_F(KeyingValues, TheScreenShowsTitlesThePromptRowAndTheEditedCell) {
  buildApp(fieldsLevel("line"));
  openDataset();
  ASSERT_EQ(run(typed("Fir") + std::vector<Key>{{k::kEscape}}), End::Left);
  std::vector<std::string> before = screenBeforeKey(1);  // after the F of Fir
  ASSERT_FALSE(before.empty());
  bool title = false;
  for (const std::string& row : before) title = title || row.find("Name") != std::string::npos;
  EXPECT_TRUE(title);
  EXPECT_NE(before[23].find("Who saw it"), std::string::npos);  // the prompt row, centred
  EXPECT_EQ(before[23].find("Who saw it"), (79 - 10) / 2);
}

TEST_F(KeyingValues, TheDisplayPreferencesColoursAreTheOnesDrawn) {
  buildApp(fieldsLevel("line"));
  openDataset();
  v.settings.setItemColours(config::SettingsRecord::kPromptColours, ui::kYellow, ui::kDkRed);
  v.settings.setItemColours(config::SettingsRecord::kViewOnlyColours, ui::kGreen, ui::kDkPurple);
  const ui::Screen* drawn = nullptr;
  bool checked = false;
  host.onPump = [&] {
    if (!edit || !edit->running()) return;
    drawn = &edit->screen();
    if (!checked) {
      checked = true;
      // The title "Name" at its title position and the display-only value.
      bool title = false, viewOnly = false;
      for (int r = 1; r <= drawn->rows(); ++r) {
        std::string row = drawn->rowText(r);
        std::size_t at = row.find("Name");
        if (at != std::string::npos) {
          const ui::ScreenCell& c = drawn->at(r, static_cast<int>(at) + 1);
          title = c.fg == ui::kYellow && c.bg == ui::kDkRed;
        }
        if (row.find("Shown") != std::string::npos) {
          for (int col = static_cast<int>(row.find("Shown")) + 7; col <= drawn->cols(); ++col)
            if (drawn->at(r, col).bg == ui::kDkPurple) viewOnly = true;
        }
      }
      EXPECT_TRUE(title);
      EXPECT_TRUE(viewOnly);
    }
    edit->keys().push(k::kEscape);
  };
  edit = std::make_unique<editor::EditSession>(host, ctx, session);
  EXPECT_EQ(edit->run(start.title), End::Left);
  EXPECT_TRUE(checked);
  host.onPump = nullptr;
}

TEST_F(KeyingValues, PageUpOnLineOneAndCtrlPageDownOnTheLastDoNothing) {
  buildApp(fieldsLevel("virtual"));
  openDataset();
  const int before = host.beeps();
  ASSERT_EQ(run(typed("Ash") + std::vector<Key>{{k::kPageUp}, {k::kCtrlPageDown}, {k::kCtrlPageUp}} +
                typed("Elm") + std::vector<Key>{{k::kEscape}}),
            End::Left);
  EXPECT_EQ(host.beeps(), before);
  auto records = level1Records();
  ASSERT_EQ(records.size(), 1u);  // no line was made or lost
  EXPECT_EQ(records[0][0], "Elm");
}

}  // namespace
