#include "jump_fixture.hpp"

#include "base/text.hpp"
#include "editor/column_values.hpp"
#include "tablestore/table.hpp"

namespace editor_test {

void LevelStateTest::openLevel1() {
  datasets::LevelSlot* slot = session.level(1);
  apps::LevelDefinition* def = app.level(1);
  ASSERT_TRUE(slot && slot->table && def);
  ASSERT_TRUE(editor::openLevelState(s, 1, *def, *slot->table));
  ASSERT_EQ(s.table->appendStart(), 0);
  ASSERT_EQ(s.table->append(), 0);
  s.header().setLineCount(static_cast<std::int32_t>(s.table->recordCount()));
  s.header().setCurLine(s.lineCount());
  editor::refreshColumnValues(s);
}

void LevelStateTest::set(int k, const std::string& t) { ASSERT_TRUE(editor::writeColumnText(s, k, t)); }

std::string LevelStateTest::text(int k) const {
  std::string t = base::trimRight(editor::currentText(s, k));
  std::size_t first = t.find_first_not_of(' ');
  return first == std::string::npos ? "" : t.substr(first);
}

int LevelStateTest::fieldType(int k) const { return s.def->check(k)->fieldType(); }
bool LevelStateTest::required(int k) const { return s.def->check(k)->checkEmpty(); }

}  // namespace editor_test
