// Bundling and extraction without a window, for the round trip and the test
// that kills them:
//
//   exchange_runner generate FOLDER [LEVELS PLOTS PER_PLOT]
//   exchange_runner bundle FOLDER NUMBER [LEVELS]
//   exchange_runner extract FOLDER DATASET_NAME UNIT_CODE
//   exchange_runner dump FOLDER
//
// generate writes a raw dataset 01 "Generated" (unit code ABC___); bundle and
// extract run the engines on it (the generated dataset's hierarchy); dump
// prints every live table (".dbf", ".GPF"; version tables left out) sorted by
// name, "== NAME" then one line per record (its bytes, the deletion flag
// first), so that two folders can be compared as text. Exit codes: 0 done,
// 1 the run failed (or a table of dump did not open), 2 usage.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/paths.hpp"
#include "base/text.hpp"
#include "exchange/bundle.hpp"
#include "exchange/extract.hpp"
#include "platform/fileops.hpp"
#include "platform/files.hpp"
#include "support/generated_dataset.hpp"
#include "tablestore/table.hpp"
#include "tablestore/table_store.hpp"

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: exchange_runner generate FOLDER [LEVELS PLOTS PER_PLOT]\n"
               "       exchange_runner bundle FOLDER NUMBER [LEVELS]\n"
               "       exchange_runner extract FOLDER DATASET_NAME UNIT_CODE\n"
               "       exchange_runner dump FOLDER\n");
  return 2;
}

bool endsWith(const std::string& s, const char* tail) {
  const std::string t(tail);
  return s.size() >= t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
}

int dump(const std::string& folder) {
  std::vector<platform::FindEntry> found;
  (void)platform::findFiles(base::joinPath(folder, "*", platform::kSep), found);
  std::vector<std::string> names;
  for (const auto& e : found)
    if (!e.isFolder && (endsWith(e.name, ".dbf") || endsWith(e.name, ".GPF")) &&
        e.name.find("#$$DataAppVer") == std::string::npos)
      names.push_back(e.name);
  std::sort(names.begin(), names.end());
  tablestore::TableStore store;
  int rc = 0;
  for (const std::string& name : names) {
    std::printf("== %s\n", name.c_str());
    store.clearError();
    tablestore::Table* t = store.openTable(base::joinPath(folder, name, platform::kSep));
    if (t == nullptr) {
      std::printf("!! cannot open (error %d)\n", store.error());
      rc = 1;
      continue;
    }
    std::string record;
    for (std::int64_t n = 1; n <= t->recordCount(); ++n) {
      if (t->peekRecord(n, record) != 0) {
        std::printf("!! record %lld unreadable\n", static_cast<long long>(n));
        rc = 1;
        break;
      }
      std::printf("%s\n", record.c_str());
    }
    (void)store.closeTable(t);
  }
  return rc;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return usage();
  const std::string mode = argv[1];
  testing_support::GeneratedDataset d;
  d.folder = argv[2];
  if (mode == "generate") {
    if (argc != 3 && argc != 6) return usage();
    if (argc == 6) {
      d.levels = std::atoi(argv[3]);
      d.plots = std::atoi(argv[4]);
      d.perParent = std::atoi(argv[5]);
    }
    const int tables = testing_support::writeGeneratedDataset(d);
    if (tables < 0) return 1;
    std::printf("%d tables\n", tables);
    return 0;
  }
  if (mode == "bundle") {
    if (argc != 4 && argc != 5) return usage();
    if (argc == 5) d.levels = std::atoi(argv[4]);
    tablestore::TableStore store;
    exchange::BundleJob job;
    job.dataFolder = d.folder;
    job.hierarchy = testing_support::generatedHierarchy(d);
    job.datasetNumber = std::atoi(argv[3]);
    const exchange::BundleOutcome outcome = exchange::bundleDataset(store, job);
    for (const auto& m : outcome.messages) std::fprintf(stderr, "%s: %s\n", m.caption.c_str(), m.text.c_str());
    return outcome.result == 1 ? 0 : 1;
  }
  if (mode == "extract") {
    if (argc != 5) return usage();
    tablestore::TableStore store;
    exchange::ExtractRequest request;
    request.folder = d.folder;
    request.datasetName = argv[3];
    request.thisUnitCode = argv[4];
    exchange::ExtractResult result;
    const exchange::ExtractOutcome outcome = exchange::extractDataset(store, request, result, nullptr);
    for (const auto& m : result.messages) std::fprintf(stderr, "%s\n", m.c_str());
    if (outcome != exchange::ExtractOutcome::kDone) {
      std::fprintf(stderr, "extract failed: %s\n", result.failure.c_str());
      return 1;
    }
    return 0;
  }
  if (mode == "dump") return argc == 3 ? dump(d.folder) : usage();
  return usage();
}
