#include "level_fixture.hpp"

#include <deque>

#include "base/paths.hpp"
#include "base/text.hpp"
#include "platform/codepage.hpp"
#include "platform/fileops.hpp"
#include "tablestore/table.hpp"
#include "tablestore/table_store.hpp"

namespace editor_test {

namespace {

std::string column(const char* field, const char* extra = "") {
  return base::format(R"({ "field": "%s", "width": 4, "title": "%s"%s })", field, field, extra);
}

std::string parentColumn(const char* field, const char* parent) {
  return base::format(R"({ "field": "%s", "width": 4, "title": "%s", "fieldType": "skipped",
      "fill": "parent", "parent": "%s" })", field, field, parent);
}

}  // namespace

std::string plotLevels(const PlotApp& o) {
  const std::string screens = R"("screens": [ { "type": "virtual", "promptRow": 24 } ])";
  const std::string emptyGo = R"("settings": { "removeEmptyLines": true })";
  return "[ { \"code\": \"A____\", \"table\": \"PLOTS\", \"settings\": " + o.plotSettings + ", " + screens +
         ", \"columns\": [ " + column("PLOT") + ", " + column("NOTE") + " ] },\n" +
         "{ \"code\": \"AA___\", \"table\": \"TREES\", \"blocked\": " + (o.treesBlocked ? "true" : "false") + ", " +
         emptyGo + ", " + screens + ", \"columns\": [ " + parentColumn("PLOT", "PLOTS.PLOT") + ", " + column("TREE") +
         " ] },\n" + "{ \"code\": \"AB___\", \"table\": \"REGEN\", \"blocked\": " + (o.regenBlocked ? "true" : "false") +
         ", " + emptyGo + ", " + screens + ", \"columns\": [ " + parentColumn("PLOT", "PLOTS.PLOT") + ", " +
         column("SPC") + " ] },\n" + "{ \"code\": \"AAA__\", \"table\": \"LOGS\", " + emptyGo + ", " + screens +
         ", \"columns\": [ " + parentColumn("PLOT", "PLOTS.PLOT") + ", " + parentColumn("TREE", "TREES.TREE") + ", " +
         column("LEN") + " ] } ]";
}

std::string LevelTest::dataFile(int level, const std::string& code, const std::string& keys,
                                const std::string& table) const {
  return base::format("%02d %d%s[Test]%s~%s~%s.dbf", session.datasetNumber, level, code.c_str(),
                      session.unitCode.c_str(), keys.c_str(), table.c_str());
}

std::string LevelTest::inFolder(const std::string& name) const {
  return base::joinPath(base::trimRight(platform::toNarrow(session.dataFolder)), name, platform::kSep);
}

bool LevelTest::exists(const std::string& name) const { return platform::fileExists(platform::toWide(inFolder(name))); }

void LevelTest::touch(const std::string& name) const {
  platform::File f = platform::openFile(platform::toWide(inFolder(name)), platform::Access::ReadWrite,
                                        platform::Disposition::CreateAlways);
  ASSERT_TRUE(f.isOpen()) << name;
}

std::vector<std::vector<std::string>> LevelTest::records(const std::string& name) {
  std::vector<std::vector<std::string>> out;
  tablestore::TableStore store;
  const std::string copy = inFolder(name) + ".copy";
  EXPECT_EQ(platform::copyFile(platform::toWide(inFolder(name)), platform::toWide(copy), false), 0) << name;
  tablestore::Table* t = store.openTable(copy);
  EXPECT_NE(t, nullptr) << name;
  if (!t) return out;
  for (std::int64_t n = 1; n <= t->recordCount(); ++n) {
    EXPECT_EQ(t->goRecord(n), 0);
    std::vector<std::string> fields;
    for (int j = 1; j <= t->fieldCount(); ++j) fields.push_back(base::trimRight(t->fieldByNumber(j)->text()));
    out.push_back(fields);
  }
  (void)store.closeTable(t);
  platform::deleteFile(platform::toWide(copy));
  return out;
}

}  // namespace editor_test
