// A code-list look-up in a check file: by halving in files of 1k and 1M
// sorted codes, beside a record-by-record scan of the 1M file. scripts/bench
// prints the ratios (1M / 1k halving; halving / scan).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "editor/check_files.hpp"
#include "tablestore/table.hpp"
#include "tablestore/table_store.hpp"

namespace {

namespace fs = std::filesystem;
using tablestore::Table;
using tablestore::TableStore;

// The folder of this process's check files, removed when it ends.
class Scratch {
 public:
  Scratch() : dir_(fs::temp_directory_path() / ("tallyfin_check_bench_" + std::to_string(::getpid()))) {
    fs::create_directories(dir_);
  }
  ~Scratch() {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  std::string file(const std::string& name) const { return (dir_ / name).string(); }

 private:
  fs::path dir_;
};

Scratch& scratch() {
  static Scratch s;
  return s;
}

std::string code(std::int64_t i) {
  char text[16];
  std::snprintf(text, sizeof text, "C%07lld", static_cast<long long>(i));
  return text;
}

// A check file of count codes in ascending order with a name beside each, made once per size.
const std::string& checkFile(std::int64_t count) {
  static std::map<std::int64_t, std::string> made;
  auto it = made.find(count);
  if (it != made.end()) return it->second;
  const std::string path = scratch().file("codes_" + std::to_string(count) + ".dbf");
  TableStore store;
  const std::vector<tablestore::FieldSpec> fields{{"CODE", 'C', 8, 0}, {"NAME", 'C', 12, 0}};
  Table* t = store.createTable(path, fields);
  tablestore::TableField* f1 = t->fieldByNumber(1);
  tablestore::TableField* f2 = t->fieldByNumber(2);
  for (std::int64_t i = 0; i < count; ++i) {
    t->appendStart();
    f1->assignText(code(i));
    f2->assignText("Name " + std::to_string(i));
    t->append();
  }
  store.closeAll();
  return made.emplace(count, path).first->second;
}

// Looks up codes spread over the file, each one present.
void lookUps(benchmark::State& state, std::int64_t count, bool sequential) {
  TableStore store;
  Table* t = store.openTable(checkFile(count));
  if (t == nullptr) {
    state.SkipWithError("the check file did not open");
    return;
  }
  std::mt19937_64 random(7);
  std::uniform_int_distribution<std::int64_t> pick(0, count - 1);
  for (auto _ : state) {
    const std::int64_t i = pick(random);
    const std::int64_t n = editor::findInCheckFile(*t, 1, code(i), sequential);
    if (n != i + 1) {
      state.SkipWithError("a code was not found where it stands");
      break;
    }
    benchmark::DoNotOptimize(n);
  }
  store.closeAll();
}

void BM_CodeListHalving(benchmark::State& state) { lookUps(state, state.range(0), false); }
BENCHMARK(BM_CodeListHalving)->Arg(1000)->Arg(1000000);

void BM_CodeListScan(benchmark::State& state) { lookUps(state, 1000000, true); }
BENCHMARK(BM_CodeListScan)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
