// The engine's hooks into the runtime: a program file of the application
// folder runs on the edit session, the keeping slots read their file once
// until the application is closed, and a program that cannot be loaded is
// said so and counts as not run.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "base/paths.hpp"
#include "editor/engine.hpp"
#include "editor/level_state.hpp"
#include "editor/engine_fixture.hpp"
#include "runtime/program_hooks.hpp"
#include "tfabuild/assembler.hpp"

namespace {

using editor::ProgramUse;

const char* kLevel = R"([ { "code": "A____", "table": "PLOTS",
    "screens": [ { "type": "virtual", "promptRow": 24 } ],
    "columns": [
      { "field": "PLOT", "type": "N", "width": 4, "title": "Plot" },
      { "field": "NOTE", "width": 10, "title": "Note" },
      { "field": "CREW", "width": 3, "title": "Crew" }
    ] } ])";

class ProgramHooksTest : public editor_test::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    buildApp(kLevel);
    openDataset();
    engine = std::make_unique<editor::Engine>(host, ctx, session, hooks, screen, keys);
    ASSERT_TRUE(editor::openLevelState(engine->levels[1], 1, *ctx.app.level(1), *session.level(1)->table));
    engine->current = 1;
  }
  // Assembles source into the application folder as name.
  void writeProgram(const std::string& name, const std::string& source) {
    tfabuild::AssembleResult r = tfabuild::assembleProgram(source, name);
    ASSERT_TRUE(r.errors.empty()) << r.errors.front();
    std::ofstream out(base::joinPath(base::joinPath(v.appPath, "Fields", platform::kSep), name, platform::kSep),
                      std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(r.bytes.data()), static_cast<std::streamsize>(r.bytes.size()));
    ASSERT_TRUE(out.good());
  }
  editor::ProgramResult run(ProgramUse use, const std::string& name) { return hooks.runProgram(*engine, use, name); }
  bool said(const std::string& text) const {
    for (const auto& m : host.shown())
      if (m.text.find(text) != std::string::npos) return true;
    return false;
  }

  runtime::ProgramHooks hooks;
  ui::Screen screen{25, 80};
  ui::KeyQueue keys;
  std::unique_ptr<editor::Engine> engine;
};

TEST_F(ProgramHooksTest, RunsAFileOfTheApplicationFolderAndGivesItsValue) {
  EXPECT_TRUE(hooks.programsAvailable());
  writeProgram("SEVEN.RPF", "push 7\nend\n");
  const editor::ProgramResult r = run(ProgramUse::General, "SEVEN.RPF");
  EXPECT_TRUE(r.ran);
  EXPECT_FALSE(r.failed);
  EXPECT_EQ(r.value, 7);
}

TEST_F(ProgramHooksTest, TheRunSeesTheEditSession) {
  engine->level().header().setCurColumn(3);
  writeProgram("WHERE.RPF", "call column\nend\n");
  EXPECT_EQ(run(ProgramUse::General, "WHERE.RPF").value, 3);
}

TEST_F(ProgramHooksTest, AMissingFileIsSaidAndCountsAsNotRun) {
  host.expect("runtime error");
  const editor::ProgramResult r = run(ProgramUse::LineEvent, "NONE.RPF");
  EXPECT_FALSE(r.ran);
  EXPECT_TRUE(said("File open error"));
  EXPECT_TRUE(said("NONE.RPF"));
}

TEST_F(ProgramHooksTest, ARunErrorFailsTheRun) {
  host.expect("runtime error");
  writeProgram("DIVIDE.RPF", "push 1\npush 0\nop /\nend\n");
  const editor::ProgramResult r = run(ProgramUse::General, "DIVIDE.RPF");
  EXPECT_TRUE(r.ran);
  EXPECT_TRUE(r.failed);
  EXPECT_TRUE(said("Divide by 0 error"));
}

TEST_F(ProgramHooksTest, KeepingSlotsReadTheirFileAgainOnlyAfterTheApplicationCloses) {
  writeProgram("EXIT.RPF", "push 1\nend\n");
  writeProgram("LINE.RPF", "push 1\nend\n");
  writeProgram("ANY.RPF", "push 1\nend\n");
  EXPECT_EQ(run(ProgramUse::FieldExit, "EXIT.RPF").value, 1);
  EXPECT_EQ(run(ProgramUse::LineEvent, "LINE.RPF").value, 1);
  EXPECT_EQ(run(ProgramUse::General, "ANY.RPF").value, 1);
  writeProgram("EXIT.RPF", "push 2\nend\n");
  writeProgram("LINE.RPF", "push 2\nend\n");
  writeProgram("ANY.RPF", "push 2\nend\n");
  EXPECT_EQ(run(ProgramUse::FieldExit, "EXIT.RPF").value, 1);
  EXPECT_EQ(run(ProgramUse::LineEvent, "LINE.RPF").value, 1);
  EXPECT_EQ(run(ProgramUse::General, "ANY.RPF").value, 2) << "the general slot reads every run";
  hooks.applicationClosed();
  EXPECT_EQ(run(ProgramUse::FieldExit, "EXIT.RPF").value, 2);
  EXPECT_EQ(run(ProgramUse::LineEvent, "LINE.RPF").value, 2);
}

}  // namespace
