// The look-up fill of a column and the halving search under it.
#include "app_fixture.hpp"
#include "apps/halving_search.hpp"
#include "apps/lookup_fill.hpp"
#include "base/text.hpp"
#include "platform/codepage.hpp"
#include "platform/fileops.hpp"
#include "tablestore/table_store.hpp"

namespace apps_test {
namespace {

const std::string kLookupApp = R"({
  "application": { "name": "Trees" },
  "tables": [
    { "name": "SPFILL.dbf",
      "fields": [ { "name": "SPC", "width": 2 }, { "name": "N1", "width": 10 }, { "name": "V1", "width": 20 },
                  { "name": "N2", "width": 10 }, { "name": "V2", "width": 20 } ],
      "rows": [ [ "DF", "NAME", "Douglas-fir", "FACTOR", "1.25" ],
                [ "PP", "NAME", "Ponderosa pine", "", "" ],
                [ "~", "name", "Other", "FACTOR", "9" ] ] },
    { "name": "NUMFILL.dbf",
      "fields": [ { "name": "K", "width": 1 }, { "name": "NUM", "type": "N", "width": 4 },
                  { "name": "N1", "width": 10 }, { "name": "V1", "width": 12 } ],
      "rows": [ [ "a", 7, "NAME", "Seven" ], [ "b", 12, "FACTOR", "3.5" ] ] } ],
  "levels": [ { "code": "A____", "table": "TREES", "columns": [
    { "field": "SPC", "width": 2, "lookup": { "key": "text", "file": "SPFILL.dbf" } },
    { "field": "NAME", "width": 16 },
    { "field": "FACTOR", "type": "N", "width": 6, "decimals": 2 },
    { "field": "NUM", "type": "N", "width": 4, "lookup": { "key": "number", "file": "NUMFILL.dbf" } } ] } ] })";

class LookupFillTest : public AppTest {
 protected:
  void SetUp() override {
    build(kLookupApp);
    std::string name;
    ASSERT_EQ(loadRoot(name).ok, 1);
    level = app.level(1);
    store.setErrorDisplay(false);
    record = store.createTable(platform::toNarrow(dir.file("data.dbf")), level->fieldList);
    ASSERT_NE(record, nullptr);
    ASSERT_EQ(record->appendStart(), 0);
    ASSERT_EQ(record->append(), 0);
  }
  void TearDown() override { store.closeAll(); }
  int fill(int column, const std::string& entered) {
    record->fieldByNumber(2)->assignText("");
    record->fieldByNumber(3)->assignNumber(0);
    return apps::lookupFill(store, folder(), *level, column, entered, *record);
  }
  std::string text(int field) { return base::trimRight(record->fieldByNumber(field)->text()); }
  double number(int field) { return record->fieldByNumber(field)->number(); }

  tablestore::TableStore store;
  const apps::LevelDefinition* level = nullptr;
  tablestore::Table* record = nullptr;
};

TEST_F(LookupFillTest, ATextKeyFillsTheNamedColumns) {
  EXPECT_EQ(level->check(1)->lookupKind(), apps::kLookupTextKey);
  EXPECT_EQ(level->check(1)->lookupFile(), "SPFILL.dbf");
  EXPECT_EQ(fill(1, "DF"), 2);
  EXPECT_EQ(text(2), "Douglas-fir");
  EXPECT_DOUBLE_EQ(number(3), 1.25);
  EXPECT_EQ(record->changed(), 1);
  // A blank name fills nothing.
  EXPECT_EQ(fill(1, "PP"), 1);
  EXPECT_EQ(text(2), "Ponderosa pine");
  EXPECT_DOUBLE_EQ(number(3), 0);
}

TEST_F(LookupFillTest, AnUnknownTextKeyTakesTheTildeRecord) {
  EXPECT_EQ(fill(1, "XY"), 2);
  EXPECT_EQ(text(2), "Other");  // names match columns without regard to case
  EXPECT_DOUBLE_EQ(number(3), 9);
}

TEST_F(LookupFillTest, ANumberKeyIsFoundInFieldTwo) {
  EXPECT_EQ(fill(4, "12"), 1);
  EXPECT_DOUBLE_EQ(number(3), 3.5);
  EXPECT_EQ(fill(4, "   7"), 1);
  EXPECT_EQ(text(2), "Seven");
  EXPECT_EQ(fill(4, "99"), 0);  // numeric keys have no fallback
}

TEST_F(LookupFillTest, NothingHappensWithoutALookUpOrATable) {
  EXPECT_EQ(fill(2, "DF"), 0);   // kind 0
  EXPECT_EQ(fill(0, "DF"), 0);   // column 0 is no column
  EXPECT_EQ(fill(9, "DF"), 0);   // past the last column
  ASSERT_EQ(platform::deleteFile(path("SPFILL.dbf")), 0);
  EXPECT_EQ(fill(1, "DF"), 0);
  writeFile("SPFILL.dbf", "not a table at all");
  EXPECT_EQ(fill(1, "DF"), 0);
  EXPECT_EQ(store.openCount(), 1u);  // the look-up table never stays open
}

TEST_F(LookupFillTest, NamesThatAreNoColumnOfTheLevelAreSkipped) {
  // A table made elsewhere may name columns this level lacks.
  ASSERT_EQ(platform::deleteFile(path("SPFILL.dbf")), 0);
  tablestore::Table* t = store.createTable(platform::toNarrow(path("SPFILL.dbf")),
                                           std::vector<tablestore::FieldSpec>{{"SPC", 'C', 2, 0},
                                                                              {"N1", 'C', 10, 0},
                                                                              {"V1", 'C', 10, 0},
                                                                              {"N2", 'C', 10, 0},
                                                                              {"V2", 'C', 10, 0}});
  ASSERT_NE(t, nullptr);
  t->appendStart();
  t->fieldByNumber(1)->assignText("DF");
  t->fieldByNumber(2)->assignText("HEIGHT");
  t->fieldByNumber(3)->assignText("12");
  t->fieldByNumber(4)->assignText("NAME");
  t->fieldByNumber(5)->assignText("Fir");
  t->append();
  store.closeTable(t);
  EXPECT_EQ(fill(1, "DF"), 1);
  EXPECT_EQ(text(2), "Fir");
}

TEST_F(LookupFillTest, TheHalvingSearchFindsEveryRecordOfASortedTable) {
  tablestore::Table* t = store.createTable(platform::toNarrow(dir.file("codes.dbf")),
                                           std::vector<tablestore::FieldSpec>{{"CODE", 'C', 4, 0}, {"NUM", 'N', 5, 0}});
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(apps::findTextByHalving(*t, 1, "A001"), 0);  // empty table
  for (int i = 1; i <= 50; ++i) {
    t->appendStart();
    t->fieldByNumber(1)->assignText(base::format("A%03d", i * 2));
    t->fieldByNumber(2)->assignNumber(i * 10);
    t->append();
  }
  for (int i = 1; i <= 50; ++i) {
    EXPECT_EQ(apps::findTextByHalving(*t, 1, base::format("A%03d", i * 2)), i);
    EXPECT_EQ(apps::findNumberByHalving(*t, 2, i * 10), i);
    EXPECT_EQ(apps::findTextByHalving(*t, 1, base::format("A%03d", i * 2 - 1)), 0);
    EXPECT_EQ(apps::findNumberByHalving(*t, 2, i * 10 + 5), 0);
  }
  EXPECT_EQ(apps::findTextByHalving(*t, 1, "A002 "), 0);  // keys compare over the whole text
  EXPECT_EQ(apps::findTextByHalving(*t, 3, "A002"), 0);  // no such field
}

}  // namespace
}  // namespace apps_test
