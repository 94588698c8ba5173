// Inserting and deleting line 1 of a level of 100,000 lines whose key is its
// line-number column, so every line is renumbered and every line with child
// data has its child table renamed and rewritten. Child tables hang under
// the first 100 lines only: every line whose children move is flushed to the
// device before the next (so a crash loses nothing), and at 1,000 such
// lines one run took minutes here. Shown beside the table store's openGap
// at record 1.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "apps/app_definition.hpp"
#include "bench_app.hpp"
#include "apps/app_open.hpp"
#include "config/process_values.hpp"
#include "datasets/data_names.hpp"
#include "datasets/data_session.hpp"
#include "editor/engine.hpp"
#include "editor/later_commands.hpp"
#include "editor/level_state.hpp"
#include "editor/line_ops.hpp"
#include "tablestore/table.hpp"
#include "tablestore/table_store.hpp"
#include "tfabuild/build.hpp"
#include "ui/host.hpp"

namespace {

namespace fs = std::filesystem;
constexpr int kLines = 100000;
constexpr int kLinesWithChildren = 100;

struct Plots {
  Plots() {
    root = fs::temp_directory_path() / "tallyfin-line-bench";
    fs::remove_all(root);
    fs::create_directories(root / "Apps");
    fs::create_directories(root / "Data");
    const std::string json = R"({ "application": { "name": "Plots" }, "levels": [
        { "code": "A____", "table": "PLOTS", "columns": [
            { "field": "PLOT", "type": "N", "width": 6, "fieldType": "display",
              "fill": "line-number", "start": 0, "step": 1 },
            { "field": "NAME", "width": 8 } ] },
        { "code": "AA___", "table": "TREES", "columns": [
            { "field": "PLOT", "type": "N", "width": 6, "fieldType": "skipped" },
            { "field": "TREE", "type": "N", "width": 3 } ] } ] })";
    bench::openBenchApp(values, ctx, root, "Plots", json);

    session.datasetNumber = 1;
    session.datasetName = "Bench";
    session.unitCode = "BENCH_";
    session.dataFolder = (root / "Data").string();
    datasets::RawName name{1, 1, "A____", "Bench", "BENCH_", "", "PLOTS", "", "dbf"};
    std::string file;
    if (!datasets::buildRawName(name, file)) std::abort();
    const std::string path = (root / "Data" / file).string();
    table = tables.createTable(path, app.level(1)->fieldList);
    if (!table) std::abort();
    for (int n = 1; n <= kLines; ++n) {
      if (table->appendStart() != 0 || table->fieldByNumber(1)->assignInteger(n) != 0 || table->append() != 0)
        std::abort();
      if (n <= kLinesWithChildren) child(std::string(table->fieldByNumber(1)->text()), n);
    }
    (void)table->flush();
    session.levels[1].table = table;
    session.levels[1].path = path;
    session.levels[1].fileName = file;
    session.levels[1].code = "A____";
    engine = std::make_unique<editor::Engine>(host, ctx, session, editor::noHooks(), screen, keys);
    if (!editor::openLevelState(engine->levels[1], 1, *app.level(1), *table)) std::abort();
    engine->current = 1;
    if (!editor::enterLine(*engine, 1)) std::abort();
  }
  ~Plots() {
    engine.reset();
    (void)tables.closeAll();
    fs::remove_all(root);
  }

  void child(const std::string& key, int n) {
    datasets::RawName name{1, 2, "AA___", "Bench", "BENCH_", key, "TREES", "", "dbf"};
    std::string file;
    if (!datasets::buildRawName(name, file)) std::abort();
    // The TREES level's fields (its definition loads only when a crew descends).
    const std::vector<tablestore::FieldSpec> fields = {{"PLOT", 'N', 6, 0}, {"TREE", 'N', 3, 0}, {}};
    tablestore::Table* t = tables.createTable((root / "Data" / file).string(), fields);
    if (!t) std::abort();
    for (int tree = 1; tree <= 3; ++tree) {
      if (t->appendStart() != 0 || t->fieldByNumber(1)->assignInteger(n) != 0 ||
          t->fieldByNumber(2)->assignInteger(tree) != 0 || t->append() != 0)
        std::abort();
    }
    if (tables.closeTable(t) != 0) std::abort();
  }

  fs::path root;
  bench::QuietHost host{ui::kIdYes};
  config::ProcessValues values;
  tablestore::TableStore tables;
  apps::AppDefinition app;
  apps::AppContext ctx{host, app, values, tables};
  datasets::DataSession session;
  tablestore::Table* table = nullptr;
  ui::Screen screen{25, 80};
  ui::KeyQueue keys;
  std::unique_ptr<editor::Engine> engine;
};

// One insert at line 1 and one delete of it: the level is as it was after.
void BM_LineInsertDelete(benchmark::State& state) {
  Plots plots;
  for (auto _ : state) {
    editor::insertLine(*plots.engine);
    editor::deleteLine(*plots.engine);
    if (plots.engine->level().lineCount() != kLines) state.SkipWithError("the level changed");
  }
}
BENCHMARK(BM_LineInsertDelete)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
