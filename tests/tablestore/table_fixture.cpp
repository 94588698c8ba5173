#include "table_fixture.hpp"

namespace tablestore_test {

using namespace tablestore;

namespace {
void put16(std::string& s, std::size_t at, int v) {
  s[at] = static_cast<char>(v & 0xFF);
  s[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& s, std::size_t at, std::int64_t v) {
  for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
}  // namespace

std::string RawTable::bytes() const {
  int recLen = 1;
  for (const RawField& f : fields) recLen += f.length;
  if (recordLength >= 0) recLen = recordLength;
  int hdrLen = headerLength >= 0 ? headerLength : 32 + 32 * static_cast<int>(fields.size()) + 1;
  std::string out(32, '\0');
  out[0] = static_cast<char>(version);
  out[1] = 105;
  out[2] = 3;
  out[3] = 14;
  put32(out, 4, count >= 0 ? count : static_cast<std::int64_t>(records.size()));
  put16(out, 8, hdrLen);
  put16(out, 10, recLen);
  for (const RawField& f : fields) {
    std::string d(32, '\0');
    for (std::size_t i = 0; i < f.name.size() && i < 11; ++i) d[i] = f.name[i];
    for (std::size_t i = f.name.size(); i < 11; ++i) d[i] = f.pad;
    d[11] = f.type;
    if (f.type == 'C') {
      put16(d, 16, f.length);
    } else {
      d[16] = static_cast<char>(f.length);
      d[17] = static_cast<char>(f.decimals);
    }
    out += d;
  }
  if (terminator) out += '\x0D';
  if (static_cast<int>(out.size()) < hdrLen) out.resize(static_cast<std::size_t>(hdrLen), '\0');
  if (static_cast<int>(out.size()) > hdrLen) out.resize(static_cast<std::size_t>(hdrLen));
  for (const std::string& r : records) out += r;
  if (endMarker) out += '\x1A';
  return out;
}

std::vector<FieldSpec> gpsFields() { return {{"F_TYPE", 'C', 5, 0}, {"LATITUDE", 'N', 14, 9}}; }

Table* TableTest::create(const std::string& name, const std::vector<FieldSpec>& fields) {
  store.clearError();
  Table* t = store.createTable(path(name), fields);
  EXPECT_NE(t, nullptr) << "create " << name << " error " << store.error();
  return t;
}

Table* TableTest::open(const std::string& name) {
  store.clearError();
  return store.openTable(path(name));
}

Table* TableTest::reopen(Table* table) {
  std::string p = table->path();
  store.clearError();
  EXPECT_EQ(store.closeTable(table), 0);
  store.clearError();
  Table* t = store.openTable(p);
  EXPECT_NE(t, nullptr) << "reopen error " << store.error();
  return t;
}

void TableTest::appendTexts(Table* table, const std::vector<std::string>& values) {
  ASSERT_EQ(table->appendStart(), 0);
  for (std::size_t i = 0; i < values.size(); ++i)
    ASSERT_EQ(table->fieldByNumber(static_cast<int>(i + 1))->assignText(values[i]), 0);
  ASSERT_EQ(table->append(), 0);
}

std::vector<std::string> TableTest::records(Table* table) {
  std::vector<std::string> out;
  for (std::int64_t n = 1; n <= table->recordCount(); ++n) {
    EXPECT_EQ(table->goRecord(n), 0);
    out.emplace_back(table->recordBuffer(), static_cast<std::size_t>(table->recordWidth()));
  }
  return out;
}

}  // namespace tablestore_test
