#include "session_rig.hpp"

#include <gtest/gtest.h>

#include <cstring>

#include "runtime/builtin_table.hpp"
#include "runtime/call.hpp"
#include "tablestore/field_list.hpp"
#include "tablestore/table.hpp"

namespace runtime_test {

namespace {
constexpr std::size_t kDataSize = 4096;
constexpr std::size_t kResultArea = 512;
}  // namespace

SessionRig::SessionRig() : nextFree_(kResultArea) {
  window = host.openEditWindow(screen, keys, {});
  image.data.assign(kDataSize, 0);
  m.image = &image;
  run.engine = &e;
  run.host = &host;
}

SessionRig::~SessionRig() { m.image = nullptr; }

void SessionRig::openLevel() {
  const std::vector<tablestore::FieldSpec> fields = {{"CODE", 'C', 4, 0}, {"DBH", 'N', 5, 1}};
  tablestore::Table* t = store.createTable(dir.file("level.dbf"), fields);
  ASSERT_NE(t, nullptr);
  const std::vector<std::vector<std::string>> records = {{"PIPO", "12.5"}, {"ABGR", "3.0"}};
  for (const auto& r : records) {
    ASSERT_EQ(t->appendStart(), 0);
    for (std::size_t i = 0; i < r.size(); ++i)
      ASSERT_EQ(t->fieldByNumber(static_cast<int>(i + 1))->assignText(r[i]), 0);
    ASSERT_EQ(t->append(), 0);
  }
  ASSERT_EQ(t->goRecord(1), 0);
  def->fields.resize(3);
  def->fields[1].setName("CODE");
  def->fields[1].setTitle("Kind of tree");
  def->fields[1].setType('C');
  def->fields[1].setWidth(4);
  def->fields[2].setName("DBH");
  def->fields[2].setTitle("Diameter");
  def->fields[2].setType('N');
  def->fields[2].setWidth(5);
  def->fields[2].setDecimals(1);
  def->defs[1].setTitle2("Ki");
  def->defs[2].setTitle2("D");
  editor::LevelState& s = e.levels[1];
  s.level = 1;
  s.def = def.get();
  s.table = t;
  s.fields = {editor::FieldDesc{}, editor::FieldDesc{t->fieldByNumber(1), 'C', 4, 0},
              editor::FieldDesc{t->fieldByNumber(2), 'N', 5, 1}};
  s.header().setLineCount(2);
  s.header().setCurLine(1);
  s.header().setCurColumn(1);
  e.current = 1;
}

runtime::StackEntry SessionRig::text(const std::string& s) {
  runtime::StackEntry entry = stringVar(s, static_cast<int>(s.size()) + 1);
  entry.bits &= 0xFFFFu;
  entry.tag = runtime::kTagConstant;
  return entry;
}

runtime::StackEntry SessionRig::stringVar(const std::string& s, int capacity) {
  EXPECT_LE(nextFree_ + static_cast<std::size_t>(capacity), image.data.size());
  runtime::StackEntry entry;
  entry.tag = runtime::kTagStringVar;
  entry.bits = nextFree_ | (static_cast<std::uint64_t>(capacity) << 16);
  std::memcpy(image.data.data() + nextFree_, s.data(), std::min<std::size_t>(s.size(), capacity - 1));
  nextFree_ += static_cast<std::size_t>(capacity);
  return entry;
}

runtime::StackEntry SessionRig::numVar(double v) {
  nextFree_ = (nextFree_ + 7) / 8 * 8;
  runtime::StackEntry entry;
  entry.tag = runtime::kTagNumVar;
  entry.bits = nextFree_ / 8;  // without a header, variables go by number
  std::memcpy(image.data.data() + nextFree_, &v, sizeof v);
  nextFree_ += 8;
  return entry;
}

double SessionRig::numVarValue(const runtime::StackEntry& var) {
  double v = 0;
  EXPECT_TRUE(m.readNumber(static_cast<std::uint32_t>(var.bits), v));
  return v;
}

std::string SessionRig::stringVarText(const runtime::StackEntry& var) { return m.stringAt(var.low16()); }

double callBuiltin(runtime::Machine& m, runtime::RunContext& run, int n,
                   const std::vector<runtime::StackEntry>& args, bool* text) {
  m.sp = 0;
  for (const runtime::StackEntry& a : args) m.stack[static_cast<std::size_t>(m.sp++)] = a;
  runtime::Call c(m, run, n, static_cast<int>(args.size()), false);
  runtime::BuiltinFn fn = runtime::builtinTable()[static_cast<std::size_t>(n)];
  EXPECT_NE(fn, nullptr) << "built-in " << n;
  if (fn) fn(c);
  if (text) *text = c.resultIsText();
  return m.result;
}

double SessionRig::call(int n, const std::vector<runtime::StackEntry>& args) {
  return callBuiltin(m, run, n, args, &lastResultWasText);
}

std::string SessionRig::callText(int n, const std::vector<runtime::StackEntry>& args) {
  call(n, args);
  EXPECT_TRUE(lastResultWasText) << "built-in " << n << " left a number";
  return m.text;
}

bool SessionRig::onScreen(const std::string& part) const {
  for (int r = 1; r <= screen.rows(); ++r)
    if (screen.rowText(r).find(part) != std::string::npos) return true;
  return false;
}

}  // namespace runtime_test
