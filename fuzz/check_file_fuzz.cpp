// libFuzzer target for check files: any bytes are written to a file in a
// scratch folder and opened as a check file; every look-up runs over it
// (text and number by halving and in order, range rows with one and two
// keys, the look-up kinds with the "~" fallback, a relation), then it is
// closed.
#include <cstddef>
#include <cstdint>
#include <string>

#include "editor/check_files.hpp"
#include "scratch_file.hpp"
#include "platform/fileops.hpp"
#include "tablestore/table.hpp"
#include "tablestore/table_store.hpp"

namespace {

using fuzz_support::scratchFolder;

bool writeInput(const std::uint8_t* data, std::size_t size) {
  return fuzz_support::writeScratch(fuzz_support::scratchPath("CHECK.DBF"), data, size);
}

}  // namespace

// Larger inputs add time, not paths: skipped (fuzz/targets, -max_len).
constexpr std::size_t kMaxInput = 4096;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  if (!writeInput(data, size)) return 0;
  tablestore::TableStore store;
  editor::CheckFile file(store);
  if (file.open(scratchFolder(), "CHECK.DBF") != editor::CheckFileOpen::kOpen) return 0;
  tablestore::Table& t = *file.table();
  const std::string key = size > 4 ? std::string(reinterpret_cast<const char*>(data) + size - 4, 4) : "AB";
  const double value = size > 0 ? data[0] : 0;
  volatile std::int64_t sink = 0;
  for (bool sequential : {false, true}) {
    for (int field = 0; field <= t.fieldCount() + 1; ++field) {
      sink = sink + editor::findInCheckFile(t, field, key, sequential);
      sink = sink + editor::findNumberInCheckFile(t, field, value, sequential);
    }
    for (int kind = 0; kind <= 4; ++kind) {
      sink = sink + editor::findByKind(t, kind, {key, value}, true, sequential);
    }
  }
  sink = sink + editor::findRangeRow(t, value);
  sink = sink + editor::findRangeRow(t, value, value);
  double out = 0;
  for (std::int64_t n = 0; n <= t.recordCount() + 1 && n < 64; ++n) {
    for (int field = 0; field <= t.fieldCount() + 1; ++field) {
      sink = sink + static_cast<std::int64_t>(editor::fieldTextOf(t, n, field).size());
      sink = sink + (editor::fieldNumberOf(t, n, field, out) ? 1 : 0);
    }
  }
  std::string name;
  for (int kind = 1; kind <= 3; ++kind) {
    if (editor::resolveRelation(t, kind, editor::MatchKey{key, value}, name) == editor::RelationResult::kResolved) {
      sink = sink + static_cast<std::int64_t>(editor::applicationFilePath(scratchFolder(), name).size());
    }
  }
  file.close();
  return 0;
}
