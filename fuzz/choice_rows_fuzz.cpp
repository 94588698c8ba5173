// libFuzzer target for the choice lists' rows: any bytes are written to a
// file and opened as a check-file table, and both lists' rows are built from
// it (every record read, fields sliced by the table's own layout).
#include <cstddef>
#include <cstdint>
#include <string>

#include "editor/choice_rows.hpp"
#include "platform/fileops.hpp"
#include "scratch_file.hpp"
#include "tablestore/table_store.hpp"

namespace {

const std::string& scratchPath() {
  static const std::string path = fuzz_support::scratchPath("choices.dbf");
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
  tablestore::TableStore store;
  tablestore::Table* t = store.openTable(scratchPath());
  if (t == nullptr) return 0;
  const editor::PickRows pick = editor::buildPickRows(*t, 76);
  const editor::KeyInRows keyIn = editor::buildKeyInRows(*t);
  volatile std::size_t sink = pick.rows.size() + keyIn.rows.size() + pick.title.size();
  (void)sink;
  store.clearError();
  (void)store.closeTable(t);
  return 0;
}
