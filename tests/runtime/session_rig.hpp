#pragma once
// Built-ins called one at a time, as the interpreter calls them, on a
// machine inside an edit session of their own: a scripted host with its edit
// window open on a 25 × 80 Screen, the key queue fed from a key script, and
// level 1 open over a small table (CODE C 4, DBH N 5.1; two lines).
#include <memory>
#include <string>
#include <vector>

#include "apps/app_definition.hpp"
#include "apps/app_open.hpp"
#include "apps/level_definition.hpp"
#include "config/process_values.hpp"
#include "datasets/data_session.hpp"
#include "editor/engine.hpp"
#include "runtime/machine.hpp"
#include "runtime/program_image.hpp"
#include "runtime/run_context.hpp"
#include "support/fake_clock.hpp"
#include "support/key_script.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"
#include "tablestore/table_store.hpp"

namespace runtime_test {

// Calls built-in n on m with args (args[0] the first) as the interpreter
// does; returns the result register. text (when given) receives whether the
// built-in left a text result.
double callBuiltin(runtime::Machine& m, runtime::RunContext& run, int n,
                   const std::vector<runtime::StackEntry>& args, bool* text = nullptr);

struct SessionRig {
  SessionRig();
  ~SessionRig();

  testing_support::FakeClock clock;
  platform::ScopedClock useClock{clock};
  testing_support::TempDir dir;
  testing_support::ScriptedHost host;
  config::ProcessValues values;
  tablestore::TableStore store{&host};
  apps::AppDefinition app;
  apps::AppContext ctx{host, app, values, store};
  datasets::DataSession session;
  ui::Screen screen{25, 80};
  ui::KeyQueue keys;
  editor::Engine e{host, ctx, session, editor::noHooks(), screen, keys};
  std::unique_ptr<ui::EditWindow> window;
  std::unique_ptr<apps::LevelDefinition> def = std::make_unique<apps::LevelDefinition>();
  testing_support::KeyScript script{host, keys};

  runtime::ProgramImage image;
  runtime::Machine m;
  runtime::RunContext run;  // run.engine is &e

  // Opens level 1 (see above) on its first line.
  void openLevel();

  // Arguments as the stack holds them.
  static runtime::StackEntry num(double v) { return runtime::StackEntry::number(v); }
  // A string constant placed in the data segment.
  runtime::StackEntry text(const std::string& s);
  // A string variable of capacity bytes holding s.
  runtime::StackEntry stringVar(const std::string& s, int capacity);
  // A numeric variable (by number) holding v.
  runtime::StackEntry numVar(double v);
  double numVarValue(const runtime::StackEntry& var);
  std::string stringVarText(const runtime::StackEntry& var);

  // Calls built-in n with args (args[0] the first); the number it left in
  // the result register.
  double call(int n, const std::vector<runtime::StackEntry>& args = {});
  // The same for a built-in that yields a text: the text it left.
  std::string callText(int n, const std::vector<runtime::StackEntry>& args = {});
  bool lastResultWasText = false;

  // A row of the Screen as stored (8-bit, 80 characters).
  std::string row(int r) const { return screen.rowText(r); }
  bool onScreen(const std::string& part) const;

 private:
  std::size_t nextFree_;
};

}  // namespace runtime_test
