// The choice lists over a check file: the rows of the plain pick list and of
// the type-ahead list, the lists shown on the Screen, and what the
// type-ahead list leaves in the level's edit buffer.
#include <gtest/gtest.h>

#include <memory>

#include "apps/app_definition.hpp"
#include "apps/app_open.hpp"
#include "apps/level_definition.hpp"
#include "config/process_values.hpp"
#include "datasets/data_session.hpp"
#include "editor/choice_rows.hpp"
#include "editor/engine.hpp"
#include "editor/key_in_from_list.hpp"
#include "editor/pick_from_check_file.hpp"
#include "support/fake_clock.hpp"
#include "support/key_script.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"
#include "tablestore/table.hpp"
#include "tablestore/table_store.hpp"

namespace {

namespace k = ui::key;
using tablestore::FieldSpec;

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

struct ChoiceRig {
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
  std::unique_ptr<apps::LevelDefinition> def = std::make_unique<apps::LevelDefinition>();
  testing_support::KeyScript script{host, keys};

  tablestore::Table* table(const std::string& name, const std::vector<FieldSpec>& fields,
                           const std::vector<std::vector<std::string>>& records) {
    tablestore::Table* t = store.createTable(dir.file(name), fields);
    EXPECT_NE(t, nullptr);
    if (!t) return nullptr;
    for (const auto& r : records) {
      EXPECT_EQ(t->appendStart(), 0);
      for (std::size_t i = 0; i < r.size(); ++i)
        EXPECT_EQ(t->fieldByNumber(static_cast<int>(i + 1))->assignText(r[i]), 0);
      EXPECT_EQ(t->append(), 0);
    }
    return t;
  }

  // Level 1 with one character column SPECIES of the width, over a table
  // whose one record holds the text.
  void level(int width, const std::string& text = "") {
    tablestore::Table* t = table("level.dbf", {{"SPECIES", 'C', width, 0}}, {{text}});
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->goRecord(1), 0);
    def->fields.resize(2);
    def->fields[1].setName("SPECIES   ");
    def->fields[1].setType('C');
    def->fields[1].setWidth(static_cast<std::int16_t>(width));
    editor::LevelState& s = e.levels[1];
    s.level = 1;
    s.def = def.get();
    s.table = t;
    s.fields = {editor::FieldDesc{}, editor::FieldDesc{t->fieldByNumber(1), 'C', width, 0}};
    e.current = 1;
  }

  // A species list: CODE C 4, NAME C 12.
  tablestore::Table* species() {
    return table("species.dbf", {{"CODE", 'C', 4, 0}, {"NAME", 'C', 12, 0}},
                 {{"PIPO", "Ponderosa"}, {"PSME", "Douglas-fir"}, {"ABGR", "Grand fir"}});
  }

  std::vector<std::string> rows() const {
    std::vector<std::string> out;
    for (int r = 1; r <= screen.rows(); ++r) out.push_back(screen.rowText(r));
    return out;
  }
  bool onScreen(const std::string& part) const {
    for (const std::string& r : rows())
      if (contains(r, part)) return true;
    return false;
  }
};

std::vector<std::vector<std::string>> numberedRecords(int count) {
  std::vector<std::vector<std::string>> out;
  for (int i = 1; i <= count; ++i) out.push_back({"C" + std::to_string(i)});
  return out;
}

// ------------------------------------------------------------ the pick list rows

TEST(PickRows, FiveThousandRecordsGiveTheRowLimitAndTheFooterCountsThem) {
  ChoiceRig rig;
  tablestore::Table* t = rig.table("big.dbf", {{"CODE", 'C', 5, 0}}, numberedRecords(5000));
  ASSERT_NE(t, nullptr);
  const editor::PickRows built = editor::buildPickRows(*t, 76);
  ASSERT_EQ(built.rows.size(), 3048u);
  EXPECT_EQ(built.records.back(), 3048);
  EXPECT_EQ(built.rows.back(), "C3048");
  EXPECT_FALSE(built.partial);
  EXPECT_EQ(editor::choicesFooter(3048), "< Choices:3048 >");
}

TEST(PickRows, FieldsJoinWithBarsAndOneFieldHasNone) {
  ChoiceRig rig;
  tablestore::Table* one = rig.table("one.dbf", {{"CODE", 'C', 4, 0}}, {{"PIPO"}, {"AB"}});
  const editor::PickRows single = editor::buildPickRows(*one, 76);
  EXPECT_EQ(single.title, "CODE");
  EXPECT_EQ(single.rows, (std::vector<std::string>{"PIPO", "AB  "}));

  tablestore::Table* three = rig.table(
      "three.dbf", {{"CODE", 'C', 4, 0}, {"NAME", 'C', 6, 0}, {"GROUPNAME", 'C', 3, 0}, {"EXTRA", 'C', 2, 0}},
      {{"PIPO", "Pond", "CON", "XX"}});
  const editor::PickRows joined = editor::buildPickRows(*three, 76);
  EXPECT_EQ(joined.title, "CODE|NAME  |GROUPNAME");  // names padded to their fields, a longer one whole
  EXPECT_EQ(joined.rows, (std::vector<std::string>{"PIPO|Pond  |CON"}));  // only the first three fields
}

TEST(PickRows, AFieldThatWouldPassSeventyIsLeftOutAndRowsAreCutToTheScreen) {
  ChoiceRig rig;
  tablestore::Table* t = rig.table("wide.dbf", {{"CODE", 'C', 4, 0}, {"NOTE", 'C', 70, 0}, {"KIND", 'C', 3, 0}},
                                   {{"PIPO", "a long note", "CON"}});
  const editor::PickRows wide = editor::buildPickRows(*t, 76);
  EXPECT_EQ(wide.rows, (std::vector<std::string>{"PIPO|CON"}));
  EXPECT_EQ(wide.title, "CODE|KIND");  // the title names the fields the rows show
  const editor::PickRows narrow = editor::buildPickRows(*t, 6);
  EXPECT_EQ(narrow.rows, (std::vector<std::string>{"PIPO|C"}));
  EXPECT_EQ(narrow.title, "CODE|K");
}

TEST(PickRows, DeletedRecordsAreNoChoicesAndRowsKeepTheirRecordNumbers) {
  ChoiceRig rig;
  tablestore::Table* t = rig.table("del.dbf", {{"CODE", 'C', 4, 0}}, {{"AAAA"}, {"BBBB"}, {"CCCC"}});
  ASSERT_EQ(t->goRecord(2), 0);
  ASSERT_EQ(t->deleteRecord(), 0);
  ASSERT_EQ(t->flush(), 0);
  const editor::PickRows built = editor::buildPickRows(*t, 76);
  EXPECT_EQ(built.rows, (std::vector<std::string>{"AAAA", "CCCC"}));
  EXPECT_EQ(built.records, (std::vector<std::int64_t>{1, 3}));
}

TEST(PickRows, RunningOutOfMemoryKeepsTheRowsMadeOrGivesNoList) {
  ChoiceRig rig;
  tablestore::Table* t = rig.table("mem.dbf", {{"CODE", 'C', 4, 0}}, numberedRecords(20));
  const editor::PickRows none = editor::buildPickRows(*t, 76, 0);
  EXPECT_TRUE(none.noTitle);
  EXPECT_TRUE(none.rows.empty());
  const editor::PickRows part = editor::buildPickRows(*t, 76, 6);  // the title and five rows
  EXPECT_TRUE(part.partial);
  EXPECT_EQ(part.rows.size(), 5u);
  EXPECT_EQ(part.title, "CODE");
}

// ------------------------------------------------------------ the pick list shown

TEST(PickFromCheckFile, ShowsEveryRowUpToTheLimitAndReturnsTheChosenRecord) {
  ChoiceRig rig;
  tablestore::Table* t = rig.table("big.dbf", {{"CODE", 'C', 5, 0}}, numberedRecords(5000));
  rig.script.then([&] { EXPECT_TRUE(rig.onScreen("< Choices:3048 >")); })
      .key(k::kEnd)
      .then([&] { EXPECT_TRUE(rig.onScreen("C3048")); })
      .key(k::kEnter);
  EXPECT_EQ(editor::pickFromCheckFile(rig.e, *t), 3048);
}

TEST(PickFromCheckFile, TheChosenRowsRecordSkipsDeletedOnesAndTheScreenComesBack) {
  ChoiceRig rig;
  tablestore::Table* t = rig.table("del.dbf", {{"CODE", 'C', 4, 0}}, {{"AAAA"}, {"BBBB"}, {"CCCC"}});
  ASSERT_EQ(t->goRecord(2), 0);
  ASSERT_EQ(t->deleteRecord(), 0);
  rig.screen.gotoCell(12, 30);
  rig.screen.putText("the grid");
  const std::vector<std::string> before = rig.rows();
  rig.script.then([&] { EXPECT_TRUE(rig.onScreen("CODE")); }).key(k::kDown).key(k::kEnter);
  EXPECT_EQ(editor::pickFromCheckFile(rig.e, *t), 3);
  EXPECT_EQ(rig.rows(), before);
}

TEST(PickFromCheckFile, EscapeAndTheAbortCodeChooseNoRecord) {
  ChoiceRig rig;
  tablestore::Table* t = rig.species();
  rig.script.key(k::kDown).key(k::kEscape);
  EXPECT_EQ(editor::pickFromCheckFile(rig.e, *t), 0);
  EXPECT_FALSE(rig.e.aborted);
  EXPECT_EQ(editor::pickFromCheckFile(rig.e, *t), 0);  // the script ran dry: aborted
  EXPECT_TRUE(rig.e.aborted);
}

TEST(PickFromCheckFile, MemoryMessages) {
  ChoiceRig rig;
  tablestore::Table* t = rig.table("mem.dbf", {{"CODE", 'C', 4, 0}}, numberedRecords(20));
  EXPECT_EQ(editor::pickFromCheckFile(rig.e, *t, 0), 0);
  EXPECT_EQ(rig.screen.rowText(2).substr(1, 22), "  Memory Alloc Limit  ");
  EXPECT_EQ(rig.host.beeps(), 1);

  rig.host.expectOnce("Mem Allocation Limit\nOnly Partial List");
  rig.script.then([&] { EXPECT_TRUE(rig.onScreen("< Choices:3 >")); }).key(k::kEnd).key(k::kEnter);
  EXPECT_EQ(editor::pickFromCheckFile(rig.e, *t, 4), 3);
  EXPECT_TRUE(rig.host.sawText("Only Partial List"));
}

// ------------------------------------------------------------ the type-ahead list

TEST(KeyInRows, TheFirstFieldIsCutAndTheRestStaysWithinItsRoom) {
  ChoiceRig rig;
  tablestore::Table* t = rig.table("k.dbf", {{"CODE", 'C', 90, 0}, {"NAME", 'C', 62, 0}, {"KIND", 'C', 4, 0}},
                                   {{std::string(90, 'c'), "name", "KND"}});
  const editor::KeyInRows built = editor::buildKeyInRows(*t);
  ASSERT_EQ(built.rows.size(), 1u);
  EXPECT_EQ(built.codes[0], std::string(80, 'c'));
  // "|" + 62 fits the 66 after the first field; "|" + 4 more would not.
  EXPECT_EQ(built.rows[0], std::string(80, 'c') + "|name" + std::string(58, ' '));
  EXPECT_EQ(built.heading.substr(0, 5), "CODE ");

  tablestore::Table* many = rig.table("many.dbf", {{"CODE", 'C', 5, 0}}, numberedRecords(3100));
  EXPECT_EQ(editor::buildKeyInRows(*many).rows.size(), 3026u);
}

TEST(KeyInFromList, EnterPadsTheTypedValueIntoTheEditBufferAndMarksTheLine) {
  ChoiceRig rig;
  rig.level(6);
  tablestore::Table* check = rig.species();
  rig.script.then([&] {
        EXPECT_TRUE(rig.onScreen("Key in SPECIES Data"));
        EXPECT_TRUE(rig.onScreen("<Tab to Select from List>"));
        EXPECT_TRUE(rig.onScreen("<Enter to Use Selection>"));
        EXPECT_TRUE(rig.onScreen("CODE|NAME"));
      })
      .type("ab")
      .key(k::kEnter);
  EXPECT_EQ(editor::keyInFromList(rig.e, 1, *check), k::kEnter);
  EXPECT_EQ(rig.e.level().editBuffer, "ab    ");
  EXPECT_EQ(rig.e.level().header().editBuffer(), "ab    ");
  EXPECT_TRUE(rig.e.level().header().lineModified());
}

TEST(KeyInFromList, TabAndAPickStoreFieldOneOnlyPaddedToTheColumn) {
  ChoiceRig rig;
  rig.level(20);  // wide enough to have taken "PSME|Douglas-fir"
  tablestore::Table* check = rig.species();
  rig.script.key(k::kTab)
      .then([&] {
        EXPECT_TRUE(rig.onScreen("< Choices:3 >"));
        EXPECT_TRUE(rig.onScreen("PSME|Douglas-fir"));
      })
      .key(k::kDown)
      .key(k::kEnter);
  EXPECT_EQ(editor::keyInFromList(rig.e, 1, *check), k::kEnter);
  EXPECT_EQ(rig.e.level().editBuffer, "PSME" + std::string(16, ' '));
}

TEST(KeyInFromList, TheListOpensOnTheFirstCodeStartingWithWhatWasTyped) {
  ChoiceRig rig;
  rig.level(4);
  tablestore::Table* check = rig.species();
  rig.script.type("ab").key(k::kShiftTab).key(k::kEnter);
  EXPECT_EQ(editor::keyInFromList(rig.e, 1, *check), k::kEnter);
  EXPECT_EQ(rig.e.level().editBuffer, "ABGR");
}

TEST(KeyInFromList, EscapeLeavesTheCellAsItWasAndTheScreenComesBack) {
  ChoiceRig rig;
  rig.level(6, "OLD");
  tablestore::Table* check = rig.species();
  rig.screen.gotoCell(3, 3);
  rig.screen.putText("grid row");
  const std::vector<std::string> before = rig.rows();
  // Escape in the list only closes the list; the second Escape leaves the box.
  rig.script.type("xy").key(k::kTab).key(k::kEscape).key(k::kEscape);
  EXPECT_EQ(editor::keyInFromList(rig.e, 1, *check), k::kEscape);
  EXPECT_EQ(rig.e.level().editBuffer, "");
  EXPECT_FALSE(rig.e.level().header().lineModified());
  EXPECT_EQ(std::string(rig.e.level().table->fieldByNumber(1)->text()), "OLD   ");
  EXPECT_EQ(rig.rows(), before);
  EXPECT_EQ(rig.script.left(), 0u);
}

TEST(KeyInFromList, LeftRightAndTheAbortCodeEndWithoutAValue) {
  {
    ChoiceRig rig;
    rig.level(6);
    tablestore::Table* check = rig.species();
    rig.script.key(k::kLeft);
    EXPECT_EQ(editor::keyInFromList(rig.e, 1, *check), k::kLeft);
    EXPECT_FALSE(rig.e.level().header().lineModified());
  }
  {
    ChoiceRig rig;
    rig.level(6);
    tablestore::Table* check = rig.species();
    rig.script.type("a").key(k::kRight);
    EXPECT_EQ(editor::keyInFromList(rig.e, 1, *check), k::kRight);
    EXPECT_EQ(rig.e.level().editBuffer, "");
  }
  {
    ChoiceRig rig;
    rig.level(6);
    tablestore::Table* check = rig.species();
    rig.script.key(k::kTab);  // then dry: aborted inside the list
    EXPECT_EQ(editor::keyInFromList(rig.e, 1, *check), k::kAbort);
    EXPECT_FALSE(rig.e.level().header().lineModified());
  }
}

TEST(KeyInFromList, AFileWithoutRecordsReturnsZeroAndClearsTheExitKey) {
  ChoiceRig rig;
  rig.level(6);
  tablestore::Table* empty = rig.table("empty.dbf", {{"CODE", 'C', 4, 0}}, {});
  rig.e.level().header().setExitKey(k::kF2);
  EXPECT_EQ(editor::keyInFromList(rig.e, 1, *empty), 0);
  EXPECT_EQ(rig.e.level().header().exitKey(), 0);
  EXPECT_EQ(editor::keyInFromList(rig.e, 7, *rig.species()), 0);  // no such column
}

}  // namespace
