// libFuzzer target for bundle tables from other machines: the first byte
// picks the bundle's name (level 1, 2 or 3, or a coordinate bundle), the
// rest is written as that table in a scratch folder and split there. Every
// staged table must lie in the scratch folder under a raw name of the
// bundle's dataset; the staged tables are removed after each input.
#include <cstddef>
#include <cstdint>
#include <string>

#include "datasets/data_names.hpp"
#include "exchange/split_table.hpp"
#include "platform/fileops.hpp"
#include "scratch_file.hpp"
#include "tablestore/table_store.hpp"

namespace {

constexpr const char* kBundles[] = {
    "[Fuzz]1A____000000+SITES.dbf",
    "[Fuzz]2AA___ABC___PLOTS+.dbf",
    "[Fuzz]3AAA__ABC___TREES+.dbf",
    "[Fuzz]2AA___ABC___PLOTS+^GPS.GPF",
};

}  // namespace

// Larger inputs add time, not paths: skipped (fuzz/targets, -max_len).
constexpr std::size_t kMaxInput = 4096;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1 || size > kMaxInput) return 0;
  const std::string bundle = kBundles[data[0] % 4];
  if (!fuzz_support::writeScratch(fuzz_support::scratchPath(bundle), data + 1, size - 1)) return 0;
  tablestore::TableStore store;
  store.setErrorDisplay(false);
  exchange::SplitRequest request{fuzz_support::scratchFolder(), bundle, "", 7, "HERE01"};
  exchange::SplitResult result;
  (void)exchange::splitTable(store, request, result, [](int, int) { return true; });
  for (const std::string& staged : result.staged) {
    datasets::RawName parts;
    const std::string live = exchange::livePartner(staged);
    // Nothing may be named outside the folder or for another dataset.
    if (live.empty() || !datasets::parseRawName(live, parts) || parts.datasetName != "Fuzz" ||
        parts.datasetNumber != 7 || !datasets::fileNameSafe(staged))
      __builtin_trap();
    (void)platform::deleteFile(fuzz_support::scratchPath(staged));
  }
  if (store.openCount() != 0) __builtin_trap();
  (void)platform::deleteFile(fuzz_support::scratchPath(bundle));
  return 0;
}
