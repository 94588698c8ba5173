// The data-entry engine's time per key while a crew moves and keys on a level
// of 252 columns, at 100, 10,000 and 100,000 lines (the cost must not grow
// with the level), and Ctrl+End on 100,000 lines beside a sequential read of
// the same table. The host renders nothing: the time is the engine's, from a
// key pushed into the queue until the Screen is updated. scripts/bench prints
// the ratios.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "apps/app_definition.hpp"
#include "bench_app.hpp"
#include "apps/app_open.hpp"
#include "base/paths.hpp"
#include "config/process_values.hpp"
#include "datasets/data_session.hpp"
#include "editor/edit_session.hpp"
#include "platform/fileops.hpp"
#include "tablestore/table.hpp"
#include "tablestore/table_store.hpp"
#include "tfabuild/build.hpp"
#include "ui/host.hpp"

namespace {

namespace fs = std::filesystem;
namespace k = ui::key;
constexpr int kColumns = 252 - 1;  // column 0 is no field

// A host that shows nothing and gives the engine its keys, one whenever it
// waits with an empty queue.
class BenchHost : public bench::QuietHost {
 public:
  BenchHost() : QuietHost(ui::kIdOk) {}
  void pump() override {
    if (!keys_ || keys_->count() > 0) return;
    if (next_ < script_.size()) {
      keys_->push(script_[next_++]);
    } else {
      // The session ends without leaving the level: the missing-data check
      // of leaving is timed on its own below.
      keys_->abort();
    }
  }

  void script(std::vector<ui::KeyCode> keys) {
    script_ = std::move(keys);
    next_ = 0;
  }

 protected:
  std::unique_ptr<ui::EditWindow> createEditWindow(ui::Screen&, ui::KeyQueue& keys, const ui::EditWindowSetup&) override {
    keys_ = &keys;
    struct Window : ui::EditWindow {
      Window(ui::Host& h, ui::KeyQueue*& k) : ui::EditWindow(h), keys(k) {}
      ~Window() override { keys = nullptr; }
      bool cellBased() const override { return true; }
      int cellRows() const override { return 25; }
      int cellColumns() const override { return 80; }
      int clientWidth() const override { return 80; }
      int clientHeight() const override { return 25; }
      ui::FontMetrics useFont(const ui::FontRequest&) override { return {1, 0, 1}; }
      void setCellGeometry(const ui::CellGeometry&) override {}
      void focus() override {}
      ui::KeyQueue*& keys;
    };
    return std::make_unique<Window>(*this, keys_);
  }

 private:
  ui::KeyQueue* keys_ = nullptr;
  std::vector<ui::KeyCode> script_;
  std::size_t next_ = 0;
};

// An application with one VirtualDisplay level of 251 numeric columns, and
// its level table filled with lines.
struct Level {
  explicit Level(int lines) {
    root = fs::temp_directory_path() / ("tallyfin-engine-bench-" + std::to_string(lines));
    fs::remove_all(root);
    fs::create_directories(root / "Apps");
    fs::create_directories(root / "Data");
    std::string columns;
    for (int c = 1; c <= kColumns; ++c)
      columns += std::string(c > 1 ? "," : "") + R"({ "field": "C)" + std::to_string(c) + R"(", "type": "N", "width": 4 })";
    const std::string json = R"({ "application": { "name": "Wide" }, "levels": [ { "code": "A____", "table": "WIDE",
        "columns": [ )" + columns + "] } ] }";
    bench::openBenchApp(values, ctx, root, "Wide", json);
    const std::string path = (root / "Data" / "WIDE.dbf").string();
    table = tables.createTable(path, app.level(1)->fieldList);
    if (!table) std::abort();
    for (int n = 1; n <= lines; ++n) {
      if (table->appendStart() != 0) std::abort();
      for (int j = 1; j <= kColumns; ++j) (void)table->fieldByNumber(j)->assignInteger((n + j) % 1000);
      if (table->append() != 0) std::abort();
    }
    (void)table->flush();
    session.levels[1].table = table;
    session.levels[1].path = path;
  }
  ~Level() {
    (void)tables.closeAll();
    fs::remove_all(root);
  }

  fs::path root;
  BenchHost host;
  config::ProcessValues values;
  tablestore::TableStore tables;
  apps::AppDefinition app;
  apps::AppContext ctx{host, app, values, tables};
  datasets::DataSession session;
  tablestore::Table* table = nullptr;
};

// Moving and keying as a crew does: across columns, down and up lines, a
// value typed now and then, a page down and back.
std::vector<ui::KeyCode> crewKeys(int count) {
  const std::vector<ui::KeyCode> pattern = {k::kRight, k::kRight, k::kRight, k::kDown, '7', k::kEnter,
                                            k::kDown,  k::kTab,   k::kUp,    k::kEnd,  k::kHome,
                                            k::kPageDown, k::kPageUp, k::kLeft, '4', '2', k::kEnter, k::kDown};
  std::vector<ui::KeyCode> keys;
  while (static_cast<int>(keys.size()) < count) keys.insert(keys.end(), pattern.begin(), pattern.end());
  keys.resize(static_cast<std::size_t>(count));
  return keys;
}

void BM_EngineKeys(benchmark::State& state) {
  Level level(static_cast<int>(state.range(0)));
  constexpr int kKeys = 2000;
  for (auto _ : state) {
    level.host.script(crewKeys(kKeys));
    level.app.level(1)->header.setCurLine(level.table->recordCount() / 2);  // somewhere in the middle
    editor::EditSession edit(level.host, level.ctx, level.session);
    benchmark::DoNotOptimize(edit.run("bench"));
  }
  state.SetItemsProcessed(state.iterations() * kKeys);
  state.counters["us_per_key"] = benchmark::Counter(static_cast<double>(state.iterations() * kKeys),
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_EngineKeys)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_EngineCtrlEnd(benchmark::State& state) {
  Level level(100000);
  for (auto _ : state) {
    level.host.script({k::kCtrlEnd, k::kCtrlHome, k::kCtrlEnd});
    level.app.level(1)->header.setCurLine(1);
    editor::EditSession edit(level.host, level.ctx, level.session);
    benchmark::DoNotOptimize(edit.run("bench"));
  }
}
BENCHMARK(BM_EngineCtrlEnd)->Unit(benchmark::kMillisecond);

// Escape on 100k complete lines: the missing-data check over the whole
// level before it may be left, beside the sequential read.
void BM_LeaveWithChecks(benchmark::State& state) {
  Level level(100000);
  for (auto _ : state) {
    level.host.script({k::kEscape});
    level.app.level(1)->header.setCurLine(1);
    editor::EditSession edit(level.host, level.ctx, level.session);
    benchmark::DoNotOptimize(edit.run("bench"));
  }
}
BENCHMARK(BM_LeaveWithChecks)->Unit(benchmark::kMillisecond);

// The peer: reading every record of the same table in order.
void BM_SequentialRead(benchmark::State& state) {
  Level level(100000);
  for (auto _ : state) {
    for (std::int64_t n = 1; n <= level.table->recordCount(); ++n) benchmark::DoNotOptimize(level.table->goRecord(n));
  }
}
BENCHMARK(BM_SequentialRead)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
