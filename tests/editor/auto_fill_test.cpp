// The values a new line starts with, column by column by fill kind, the
// random draws, the fill of a deferred random value on entry and the
// automatic-entry menu.
#include <gtest/gtest.h>

#include <set>

#include "editor/auto_entry_menu.hpp"
#include "editor/auto_fill.hpp"
#include "editor/enter_cell.hpp"
#include "editor/later_commands.hpp"
#include "editor/random_values.hpp"
#include "engine_fixture.hpp"
#include "fill_rig.hpp"

namespace {

using fill_test::FillRig;
using tablestore::FieldSpec;
namespace k = ui::key;

enum Kind { kCopy = 1, kIncrement = 2, kLineNumber = 3, kRandom = 7, kStepped = 8, kDefault = 9, kParent = 15, kKey = 22 };

apps::RndEntry fixedRandom(int low, int high, bool deferred = false) {
  apps::RndEntry r;
  r.setLow(low);
  r.setHigh(high);
  r.setDeferred(deferred);
  return r;
}

// ------------------------------------------------------------ copy, increment, steps, line numbers

TEST(NewLineFill, CopyIncrementAndLineNumbersFollowTheLineBefore) {
  FillRig rig;
  rig.level(1, {{"COPIED", 'C', 6, 0}, {"COUNT", 'N', 4, 0}, {"LINE", 'N', 5, 0}, {"PLAIN", 'C', 4, 0},
                {"NUMLINE", 'N', 6, 0}});
  rig.check(1, 1).setFillKind(kCopy);
  rig.check(1, 2).setFillKind(kIncrement);
  rig.check(1, 3).setFillKind(kLineNumber);
  rig.check(1, 5).setFillKind(kLineNumber);
  rig.check(1, 5).setStartValue(100);
  rig.check(1, 5).setStep(10);
  rig.open(1);

  rig.append();
  EXPECT_EQ(rig.text(1), "");  // nothing to copy on the first line
  EXPECT_EQ(rig.text(2), "1");
  EXPECT_EQ(rig.text(3), "1");
  EXPECT_EQ(rig.text(5), "110");
  EXPECT_EQ(rig.e.level().header().columnValue(2), 1);

  ASSERT_TRUE(editor::writeColumnText(rig.e.level(), 1, "Alder"));
  ASSERT_TRUE(editor::writeColumnText(rig.e.level(), 4, "kept"));
  rig.append();
  EXPECT_EQ(rig.text(1), "Alder");
  EXPECT_EQ(rig.text(2), "2");
  EXPECT_EQ(rig.text(3), "2");
  EXPECT_EQ(rig.text(4), "");  // a column without a fill starts blank
  EXPECT_EQ(rig.text(5), "120");
  EXPECT_EQ(rig.e.level().header().columnValue(5), 120);
}

TEST(NewLineFill, SteppedValuesRestartPastTheirCycle) {
  FillRig rig;
  rig.level(1, {{"CYCLED", 'N', 5, 0}, {"STEPPED", 'N', 5, 1}, {"ONES", 'C', 5, 0}});
  rig.check(1, 1).setFillKind(kStepped);
  rig.check(1, 1).setStartValue(10);
  rig.check(1, 1).setStep(5);
  rig.check(1, 1).setCycleCount(10);
  rig.check(1, 2).setFillKind(kStepped);
  rig.check(1, 2).setStartValue(50);  // without a cycle the start plays no part
  rig.check(1, 2).setStep(2.5);
  rig.check(1, 3).setFillKind(kStepped);  // step 0 counts as 1
  rig.open(1);
  std::vector<std::string> cycled, stepped, ones;
  for (int i = 0; i < 4; ++i) {
    rig.append();
    cycled.push_back(rig.text(1));
    stepped.push_back(rig.text(2));
    ones.push_back(rig.text(3));
  }
  EXPECT_EQ(cycled, (std::vector<std::string>{"15", "20", "15", "20"}));
  EXPECT_EQ(stepped, (std::vector<std::string>{"2.5", "5.0", "7.5", "10.0"}));
  EXPECT_EQ(ones, (std::vector<std::string>{"1", "2", "3", "4"}));
}

TEST(NewLineFill, AnInsertedLineCopiesOnlyItsCopyColumnsFromTheLineBefore) {
  FillRig rig;
  rig.level(1, {{"COPIED", 'C', 6, 0}, {"PLAIN", 'C', 6, 0}, {"COUNT", 'N', 4, 0}});
  rig.check(1, 1).setFillKind(kCopy);
  rig.check(1, 3).setFillKind(kIncrement);
  rig.open(1);
  editor::LevelState& s = rig.e.level();
  rig.append();
  ASSERT_TRUE(editor::writeColumnText(s, 1, "first"));
  ASSERT_TRUE(editor::writeColumnText(s, 2, "one"));
  rig.append();
  ASSERT_TRUE(editor::writeColumnText(s, 1, "second"));
  ASSERT_TRUE(editor::writeColumnText(s, 2, "two"));
  ASSERT_TRUE(editor::storeLine(rig.e));

  // Room before line 2, cleared, as the insert does it.
  ASSERT_EQ(s.table->openGap(2), 0);
  std::fill(s.table->recordBuffer() + 1, s.table->recordBuffer() + s.table->recordWidth(), ' ');
  (void)s.table->changed(1);
  s.header().setLineCount(3);
  s.header().setCurLine(2);
  editor::initNewLine(rig.e, false, false);
  EXPECT_EQ(rig.text(1), "first");
  EXPECT_EQ(rig.text(2), "");
  EXPECT_EQ(rig.text(3), "2");
  // The line before was read, not made current: the new record stays in the buffer.
  EXPECT_EQ(s.table->recordNumber(), 2);
}

// ------------------------------------------------------------ the clock, defaults, parents, keys

TEST(NewLineFill, DateAndTimeFormsOnAFixedDate) {
  FillRig rig;
  rig.clock.setLocalTime({2024, 3, 7, 14, 5, 9, 0, 4});
  rig.level(1, {{"MDY", 'C', 8, 0}, {"MDYN", 'N', 6, 0}, {"YMD", 'C', 8, 0}, {"TIME", 'C', 8, 0},
                {"MDYYYY", 'C', 10, 0}, {"YYYYMD", 'N', 8, 0}, {"DMYYYY", 'C', 10, 0}, {"DMY", 'C', 8, 0},
                {"DMYN", 'N', 6, 0}, {"ONENTRY", 'C', 8, 0}});
  const int kinds[] = {4, 4, 5, 6, 10, 11, 20, 21, 21, 4};
  for (int i = 0; i < 10; ++i) rig.check(1, i + 1).setFillKind(kinds[i]);
  rig.check(1, 10).setFillOnEntry(true);
  rig.open(1);
  rig.append();
  EXPECT_EQ(rig.text(1), "03/07/24");
  EXPECT_EQ(rig.text(2), "30724");  // 030724 as the number it is
  EXPECT_EQ(rig.text(3), "24/03/07");
  EXPECT_EQ(rig.text(4), "14:05:09");
  EXPECT_EQ(rig.text(5), "03/07/2024");
  EXPECT_EQ(rig.text(6), "20240307");
  EXPECT_EQ(rig.text(7), "07/03/2024");
  EXPECT_EQ(rig.text(8), "07/03/24");
  EXPECT_EQ(rig.text(9), "70324");
  EXPECT_EQ(rig.text(10), "");  // filled when the cell is entered instead
}

TEST(NewLineFill, DefaultTextsAndGeneratedKeys) {
  FillRig rig;
  rig.clock.setLocalTime({2005, 1, 1, 0, 0, 0, 0, 6});
  rig.session.unitCode = "ABC___";
  rig.level(1, {{"NOTE", 'C', 6, 0}, {"AMOUNT", 'N', 6, 2}, {"KEY", 'C', 9, 0}, {"UNITKEY", 'C', 15, 0}});
  rig.check(1, 1).setFillKind(kDefault);
  rig.check(1, 1).setText("n/a");
  rig.check(1, 2).setFillKind(kDefault);
  rig.check(1, 2).setText("12.5");
  rig.check(1, 3).setFillKind(kKey);
  rig.check(1, 4).setFillKind(kKey);
  rig.open(1);
  rig.append();
  EXPECT_EQ(rig.text(1), "n/a");
  EXPECT_EQ(rig.text(2), "12.50");
  EXPECT_EQ(rig.text(3), "001000000");
  EXPECT_EQ(rig.text(4), "ABC___001000000");
}

TEST(NewLineFill, ParentValuesComeFromTheParentLevelsCurrentLine) {
  FillRig rig;
  rig.level(1, {{"PLOT", 'C', 5, 0}, {"SLOPE", 'N', 4, 1}});
  rig.level(2, {{"PLOT", 'C', 5, 0}, {"SLOPE", 'N', 4, 1}, {"SLOPETXT", 'C', 6, 0}, {"FAR", 'C', 4, 0}});
  for (int col = 1; col <= 3; ++col) {
    rig.check(2, col).setFillKind(kParent);
    rig.check(2, col).setParentLevel(1);
  }
  rig.check(2, 1).setParentColumn(1);
  rig.check(2, 2).setParentColumn(2);
  rig.check(2, 3).setParentColumn(2);
  rig.check(2, 4).setFillKind(kParent);
  rig.check(2, 4).setParentLevel(3);  // not open
  rig.check(2, 4).setParentColumn(1);
  rig.open(1);
  rig.append();
  ASSERT_TRUE(editor::writeColumnText(rig.e.level(), 1, "P7"));
  ASSERT_TRUE(editor::writeColumnText(rig.e.level(), 2, "12.5"));
  rig.open(2);
  rig.append();
  EXPECT_EQ(rig.text(1), "P7");
  EXPECT_EQ(rig.text(2), "12.5");
  EXPECT_EQ(rig.text(3), "12.5");
  EXPECT_EQ(rig.text(4), "");
}

// ------------------------------------------------------------ random values

TEST(RandomValues, FixedBoundsKeepEveryDrawInsideThem) {
  FillRig rig;
  apps::LevelDefinition& def = rig.level(1, {{"PICK", 'N', 5, 0}, {"LOW0", 'N', 5, 0}});
  def.random = {apps::RndEntry{}, fixedRandom(5, 9), fixedRandom(0, 2)};
  rig.check(1, 1).setRandomIndex(1);
  rig.check(1, 2).setRandomIndex(2);
  rig.open(1);
  rig.e.randomState = 12345;
  std::set<std::int32_t> seen, low;
  for (int i = 0; i < 300; ++i) {
    std::int32_t v = -1, w = -1;
    ASSERT_TRUE(editor::drawRandom(rig.e, 1, v));
    ASSERT_TRUE(editor::drawRandom(rig.e, 2, w));
    seen.insert(v);
    low.insert(w);
  }
  EXPECT_EQ(seen, (std::set<std::int32_t>{5, 6, 7, 8, 9}));
  EXPECT_EQ(low, (std::set<std::int32_t>{1, 2}));  // a low of 0 becomes 1
  EXPECT_TRUE(rig.e.level().header().lineModified());
}

TEST(RandomValues, BoundsFromColumnsAreClippedIntoTheFixedOnes) {
  FillRig rig;
  apps::LevelDefinition& def = rig.level(1, {{"FROM", 'N', 5, 0}, {"TO", 'N', 5, 0}, {"PICK", 'N', 5, 0}});
  apps::RndEntry lowFrom = fixedRandom(1, 100), highFrom = fixedRandom(1, 100), both = fixedRandom(10, 20),
                 elsewhere = fixedRandom(1, 100);
  lowFrom.setMode(4);
  lowFrom.setLowLevel(1);
  lowFrom.setLowColumn(1);
  highFrom.setMode(5);
  highFrom.setHighLevel(1);
  highFrom.setHighColumn(2);
  both.setMode(6);
  both.setLowLevel(1);
  both.setLowColumn(1);
  both.setHighLevel(1);
  both.setHighColumn(2);
  elsewhere.setMode(4);
  elsewhere.setLowLevel(2);  // a level that is not open
  elsewhere.setLowColumn(1);
  def.random = {apps::RndEntry{}, lowFrom, highFrom, both, elsewhere};
  rig.open(1);
  rig.append();
  ASSERT_TRUE(editor::writeColumnText(rig.e.level(), 1, "98"));
  ASSERT_TRUE(editor::writeColumnText(rig.e.level(), 2, "3"));
  auto draws = [&](int entry) {
    rig.check(1, 3).setRandomIndex(entry);
    std::set<std::int32_t> out;
    for (int i = 0; i < 200; ++i) {
      std::int32_t v = 0;
      EXPECT_TRUE(editor::drawRandom(rig.e, 3, v));
      out.insert(v);
    }
    return out;
  };
  EXPECT_EQ(draws(1), (std::set<std::int32_t>{98, 99, 100}));  // low 98 from its column
  EXPECT_EQ(draws(2), (std::set<std::int32_t>{1, 2, 3}));      // high 3 from its column
  // Low 98 clipped to 20, high 3 clipped to 10: the low wins.
  EXPECT_EQ(draws(3), (std::set<std::int32_t>{20}));
  rig.check(1, 3).setRandomIndex(4);
  std::int32_t v = -7;
  EXPECT_FALSE(editor::drawRandom(rig.e, 3, v));
  EXPECT_EQ(v, -7);
}

TEST(RandomValues, NewLinesDrawUnlessDeferredAndADeferredCellDrawsOnEntry) {
  FillRig rig;
  apps::LevelDefinition& def = rig.level(1, {{"NOW", 'N', 3, 0}, {"LATER", 'N', 3, 0}, {"NOWHERE", 'N', 3, 0}});
  def.random = {apps::RndEntry{}, fixedRandom(5, 9), fixedRandom(5, 9, true)};
  for (int col = 1; col <= 3; ++col) rig.check(1, col).setFillKind(kRandom);
  rig.check(1, 1).setRandomIndex(1);
  rig.check(1, 2).setRandomIndex(2);
  rig.check(1, 3).setRandomIndex(7);  // no such definition
  rig.open(1);
  rig.append();
  const double now = rig.e.level().header().columnValue(1);
  EXPECT_GE(now, 5);
  EXPECT_LE(now, 9);
  EXPECT_EQ(rig.text(2), "");
  EXPECT_EQ(rig.text(3), "");

  rig.e.level().header().setCurColumn(2);
  testing_support::KeyScript script{rig.host, rig.keys};
  script.key(k::kEscape);
  rig.host.allowAnything();
  (void)editor::enterCell(rig.e);
  const double later = rig.e.level().header().columnValue(2);
  EXPECT_GE(later, 5);
  EXPECT_LE(later, 9);
  // On file at once, not only when the line is left.
  EXPECT_EQ(rig.onFile(1, 2), rig.text(2));
}

// ------------------------------------------------------------ the automatic-entry menu

TEST(AutoEntryMenu, OfferedOnlyOnPlainColumnsOfTheFirstThreeKinds) {
  FillRig rig;
  rig.level(1, {{"A", 'C', 4, 0}, {"B", 'C', 4, 0}, {"C", 'C', 4, 0}, {"D", 'C', 4, 0}, {"E", 'N', 4, 0}});
  rig.check(1, 2).setUnique(true);
  rig.check(1, 3).setCheckType(1);
  rig.check(1, 4).setFieldType(7);
  rig.check(1, 5).setFillKind(kLineNumber);
  rig.open(1);
  const editor::LevelState& s = rig.e.level();
  EXPECT_TRUE(editor::autoEntryOffered(s, 1));
  for (int col = 2; col <= 5; ++col) EXPECT_FALSE(editor::autoEntryOffered(s, col)) << col;

  rig.e.level().header().setCurColumn(2);
  editor::autoEntryMenu(rig.e);
  EXPECT_EQ(rig.host.beeps(), 1);
}

TEST(AutoEntryMenu, TheChoiceHoldsForTheSessionOnly) {
  FillRig rig;
  rig.level(1, {{"NAME", 'C', 4, 0}, {"COUNT", 'N', 4, 0}});
  rig.check(1, 2).setFillKind(kCopy);
  rig.open(1);
  rig.e.level().header().setCurColumn(2);
  bool menuShown = false;
  testing_support::KeyScript script{rig.host, rig.keys};
  script
      .then([&] {
        std::string all;
        for (int r = 1; r <= rig.screen.rows(); ++r) all += rig.screen.rowText(r) + "\n";
        menuShown = all.find("<Auto Entry>") != std::string::npos && all.find("None     ") != std::string::npos &&
                    all.find("Auto Incr") != std::string::npos && all.find("< Select >") != std::string::npos;
      })
      .key(k::kDown)
      .key(k::kEnter);
  editor::autoEntryMenu(rig.e);
  EXPECT_TRUE(menuShown);
  EXPECT_EQ(rig.check(1, 2).fillKind(), kIncrement);  // copy was preselected; one down is increment

  rig.append();
  EXPECT_EQ(rig.text(2), "1");
  editor::restoreFillKinds(rig.e.level());
  EXPECT_EQ(rig.check(1, 2).fillKind(), kCopy);
}

TEST(AutoEntryMenu, ACharacterColumnHasNoIncrement) {
  FillRig rig;
  rig.level(1, {{"NAME", 'C', 4, 0}});
  rig.open(1);
  bool noIncrement = false;
  testing_support::KeyScript script{rig.host, rig.keys};
  script
      .then([&] {
        noIncrement = true;
        for (int r = 1; r <= rig.screen.rows(); ++r)
          noIncrement = noIncrement && rig.screen.rowText(r).find("Auto Incr") == std::string::npos;
      })
      .key(k::kDown)
      .key(k::kEnter);
  editor::autoEntryMenu(rig.e);
  EXPECT_TRUE(noIncrement);
  EXPECT_EQ(rig.check(1, 1).fillKind(), kCopy);
}

}  // namespace

// ------------------------------------------------------------ through a whole edit session

namespace {

using editor_test::EngineTest;
using editor_test::Key;
using editor_test::typed;

std::vector<Key> operator+(std::vector<Key> a, const std::vector<Key>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class FillInSession : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    platform::DateTime at;
    at.year = 2024;
    at.month = 3;
    at.day = 5;
    clock.setLocalTime(at);
  }
};

TEST_F(FillInSession, IncrementsOnAppendedLinesAndADateFilledOnEntry) {
  buildApp(R"([ { "code": "A____", "table": "TALLY",
      "screens": [ { "type": "line" } ],
      "columns": [
        { "field": "NAME", "width": 6, "title": "Name" },
        { "field": "COUNT", "type": "N", "width": 4, "title": "Count", "fill": "increment" },
        { "field": "SEEN", "width": 8, "title": "Seen", "fieldType": "date", "fill": "date", "fillOnEntry": true }
      ] } ])");
  openDataset();
  const std::vector<Key> enter{{k::kEnter}};
  std::vector<Key> keys = typed("Ash") + enter + enter + enter + std::vector<Key>{{k::kPageDown}} + typed("Birch") +
                          enter + enter + enter + std::vector<Key>{{k::kEscape}};
  EXPECT_EQ(run(keys), editor::EditSession::End::Left);
  EXPECT_FALSE(ranDry());
  auto records = level1Records();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0], (std::vector<std::string>{"Ash", "1", "03/05/24"}));
  EXPECT_EQ(records[1], (std::vector<std::string>{"Birch", "2", "03/05/24"}));
}

}  // namespace
