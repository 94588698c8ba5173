// libFuzzer target for the table reader: any bytes are written to a file and
// opened as a table; every record and field is read (as text, number and
// integer), then the write paths run once, and the table is closed.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/fileops.hpp"
#include "scratch_file.hpp"
#include "tablestore/table_store.hpp"

namespace {

const std::string& scratchPath() {
  static const std::string path = fuzz_support::scratchPath("table.dbf");
  return path;
}

bool writeInput(const std::uint8_t* data, std::size_t size) {
  return fuzz_support::writeScratch(scratchPath(), data, size);
}

}  // namespace

// Larger inputs add time, not paths: skipped (fuzz/targets, -max_len).
constexpr std::size_t kMaxInput = 4096;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  if (!writeInput(data, size)) return 0;
  tablestore::TableStore store;  // no host: errors are recorded, never shown
  tablestore::Table* t = store.openTable(scratchPath());
  if (t == nullptr) return 0;

  volatile double sink = 0;
  for (std::int64_t n = 1; n <= t->recordCount(); ++n) {
    store.clearError();
    if (t->goRecord(n) != 0) continue;
    for (int j = 1; j <= t->fieldCount(); ++j) {
      tablestore::TableField* f = t->fieldByNumber(j);
      store.clearError();
      sink = sink + static_cast<double>(f->text().size()) + f->number() +
             static_cast<double>(f->integer());
      store.clearError();
      if (t->fieldByName(f->name()) == nullptr)
        __builtin_trap();  // every field finds itself by name
    }
  }
  std::vector<tablestore::FieldSpec> info = t->fieldInfo();
  (void)info;

  // The write paths on whatever table the reader accepted.
  store.clearError();
  if (t->appendStart() == 0) {
    for (int j = 1; j <= t->fieldCount(); ++j) {
      store.clearError();
      t->fieldByNumber(j)->assignNumber(12.5);
    }
    store.clearError();
    t->append();
  }
  store.clearError();
  if (t->recordCount() > 0 && t->goRecord(1) == 0) t->deleteRecord();
  store.clearError();
  t->openGap(1);
  store.clearError();
  t->pack();
  store.clearError();
  store.closeTable(t);
  return 0;
}
