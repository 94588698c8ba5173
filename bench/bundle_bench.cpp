// Bundling a dataset of about 1,000 raw tables beside `cp` copying the same
// files: the bundler reads every raw table and writes its records into one
// table per branch, so a copy of the same bytes is the floor it is held to.
// The goal: bundling within 1.5 times the copy.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "exchange/bundle.hpp"
#include "support/generated_dataset.hpp"
#include "tablestore/table_store.hpp"

namespace {

namespace fs = std::filesystem;

struct Fixture {
  fs::path base;
  testing_support::GeneratedDataset dataset;
  int tables = 0;

  Fixture() {
    std::error_code ec;
    // Memory-backed when the system has it: the disk's write-back would
    // drown the difference being measured.
    const fs::path root = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
    base = root / ("tallyfin-bundlebench-" + std::to_string(std::random_device{}()));
    fs::create_directories(base, ec);
    dataset.folder = (base / "raw").string();
    dataset.levels = 3;
    dataset.plots = 500;
    dataset.perParent = 20;
    dataset.deeperPerParent = 4;
    dataset.deeperParents = 1;
    dataset.regeneration = false;
    dataset.coordinateEvery = 0;
    tables = testing_support::writeGeneratedDataset(dataset);
  }
  ~Fixture() {
    std::error_code ec;
    fs::remove_all(base, ec);
  }
  fs::path fresh(const char* name) const {
    const fs::path to = base / name;
    std::error_code ec;
    fs::remove_all(to, ec);
    fs::copy(dataset.folder, to, fs::copy_options::recursive, ec);
    return to;
  }
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

void BM_BundleDataset(benchmark::State& state) {
  Fixture& f = fixture();
  if (f.tables < 1000) state.SkipWithError("the dataset could not be generated");
  for (auto _ : state) {
    state.PauseTiming();
    const fs::path folder = f.fresh("bundle");
    exchange::BundleJob job;
    job.dataFolder = folder.string();
    job.hierarchy = testing_support::generatedHierarchy(f.dataset);
    job.datasetNumber = 1;
    tablestore::TableStore store;
    state.ResumeTiming();
    const exchange::BundleOutcome outcome = exchange::bundleDataset(store, job);
    if (outcome.result != 1) state.SkipWithError("bundling failed");
  }
  state.counters["tables"] = f.tables;
}
BENCHMARK(BM_BundleDataset)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CopySameFilesWithCp(benchmark::State& state) {
  Fixture& f = fixture();
  const std::string command = "cp -r '" + f.dataset.folder + "' '" + (f.base / "copy").string() + "'";
  for (auto _ : state) {
    state.PauseTiming();
    std::error_code ec;
    fs::remove_all(f.base / "copy", ec);
    state.ResumeTiming();
    if (std::system(command.c_str()) != 0) state.SkipWithError("cp failed");
  }
  state.counters["tables"] = f.tables;
}
BENCHMARK(BM_CopySameFilesWithCp)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
