#include "table_calls.hpp"

#include <gtest/gtest.h>

#include "runtime/builtin_table.hpp"
#include "tablestore/table_store.hpp"

namespace runtime_test {

TableCalls::TableCalls() {
  image.data.assign(512, 0);
  m.image = &image;
  ctx.appFolder = dir.path();
}

runtime::StackEntry TableCalls::str(const std::string& s) {
  runtime::StackEntry e;
  e.bits = image.data.size();
  e.tag = runtime::kTagConstant;
  image.data.insert(image.data.end(), s.begin(), s.end());
  image.data.push_back(0);
  return e;
}

double TableCalls::call(int n, const std::vector<runtime::StackEntry>& args, bool wantsText) {
  const int base = m.sp;
  for (const runtime::StackEntry& a : args) m.stack[static_cast<std::size_t>(m.sp++)] = a;
  runtime::Call c(m, ctx, n, static_cast<int>(args.size()), wantsText);
  runtime::BuiltinFn fn = runtime::builtinTable()[static_cast<std::size_t>(n)];
  EXPECT_NE(fn, nullptr) << "built-in " << n;
  if (fn != nullptr) fn(c);
  m.sp = base;
  text_ = c.resultIsText() ? m.text : std::string();
  return m.result;
}

void makeTable(const std::string& path, const std::vector<tablestore::FieldSpec>& fields,
               const std::vector<std::vector<std::string>>& records) {
  tablestore::TableStore store;
  tablestore::Table* t = store.createTable(path, fields);
  ASSERT_NE(t, nullptr) << path;
  for (const auto& r : records) {
    ASSERT_EQ(t->appendStart(), 0);
    for (std::size_t j = 0; j < r.size() && j < fields.size(); ++j) {
      tablestore::TableField* f = t->fieldByNumber(static_cast<int>(j) + 1);
      ASSERT_EQ(f->type() == 'N' ? f->assignNumber(std::stod(r[j])) : f->assignText(r[j]), 0);
    }
    ASSERT_EQ(t->append(), 0);
  }
  ASSERT_EQ(store.closeTable(t), 0);
}

}  // namespace runtime_test
