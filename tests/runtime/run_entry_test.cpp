// The run entry: loading into the slots, what a run's failure shows, what a
// run leaves behind.
#include <gtest/gtest.h>

#include "platform/files.hpp"
#include "runtime/run_entry.hpp"
#include "runtime/run_errors.hpp"
#include "support/memory_files.hpp"
#include "support/scripted_host.hpp"
#include "fake_ports.hpp"
#include "raw_program.hpp"
#include "session_rig.hpp"

namespace {

using editor::ProgramUse;
using runtime_test::fileWith;
using runtime_test::RawProgram;

std::string fileOf(const RawProgram& p) {
  const auto b = p.bytes();
  return std::string(b.begin(), b.end());
}

// v++; end v: counts its own runs in its data segment.
RawProgram counter() {
  RawProgram p;
  p.ref(1).op('+', '+').get(1).end();
  return p;
}

class RunEntryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ctx.host = &host;
    ctx.appFolder = "/apps/Fields";
    ctx.budget = 100000;
  }
  void put(const std::string& name, const std::string& bytes) {
    files.putFile(ctx.appFolder + platform::kSep + name, bytes);
  }
  // The text of the warning box for the three lines.
  static std::string box(const std::string& a, const std::string& b, const std::string& c) {
    return a + "\n" + b + "\n" + c + "\n";
  }

  testing_support::MemoryFileSystem files;
  platform::ScopedFileSystem use{files};
  testing_support::ScriptedHost host;
  runtime::RunContext ctx;
  runtime::Runtime rt;
};

TEST_F(RunEntryTest, SuccessfulRunGivesTheProgramValueAndShowsNothing) {
  RawProgram p;
  p.push(-7.8).end();
  put("seven.rpf", fileOf(p));
  const editor::ProgramResult r = rt.run(ProgramUse::General, "seven.rpf", ctx);
  EXPECT_TRUE(r.ran);
  EXPECT_FALSE(r.failed);
  EXPECT_EQ(r.value, 7);
  EXPECT_EQ(ctx.fileName, "seven.rpf");
  EXPECT_TRUE(host.shown().empty());
  EXPECT_FALSE(rt.machine().running);
}

TEST_F(RunEntryTest, LoadFailureShowsTheLoaderLinesAndDoesNotRun) {
  host.expect("runtime error\nnone.rpf\nFile open error\n");
  editor::ProgramResult r = rt.run(ProgramUse::LineEvent, "none.rpf", ctx);
  EXPECT_FALSE(r.ran);
  EXPECT_EQ(host.countText("File open error"), 1);

  const auto big = fileWith(0, 0, 65548);
  put("big.rpf", std::string(big.begin(), big.end()));
  host.expect(box("runtime cs size error", "big.rpf", "Program too large"));
  r = rt.run(ProgramUse::FieldExit, "big.rpf", ctx);
  EXPECT_FALSE(r.ran);
  EXPECT_EQ(host.shown().size(), 2u);
  EXPECT_EQ(host.shown().back().caption, "Warning !");
}

TEST_F(RunEntryTest, RunErrorIsShownWithTheFileNameAndItsText) {
  RawProgram p;
  p.push(1).push(0).op('/');
  put("div.rpf", fileOf(p));
  host.expect(box("runtime error", "div.rpf", "Divide by 0 error"));
  const editor::ProgramResult r = rt.run(ProgramUse::General, "div.rpf", ctx);
  EXPECT_TRUE(r.ran);
  EXPECT_TRUE(r.failed);
  EXPECT_EQ(r.value, 1);
  EXPECT_EQ(host.shown().size(), 1u);
}

TEST_F(RunEntryTest, WithoutAHostFailuresAreNotShown) {
  ctx.host = nullptr;
  RawProgram p;
  p.op('+');
  put("bad.rpf", fileOf(p));
  const editor::ProgramResult r = rt.run(ProgramUse::General, "bad.rpf", ctx);
  EXPECT_TRUE(r.failed);
  EXPECT_FALSE(rt.run(ProgramUse::General, "missing.rpf", ctx).ran);
}

TEST_F(RunEntryTest, KeepingSlotsKeepTheirDataSegmentBetweenRuns) {
  put("count.rpf", fileOf(counter()));
  EXPECT_EQ(rt.run(ProgramUse::LineEvent, "count.rpf", ctx).value, 1);
  EXPECT_EQ(rt.run(ProgramUse::LineEvent, "count.rpf", ctx).value, 2);
  EXPECT_EQ(rt.slots().fileReads(), 1);
  // The general slot reads the file anew: its count starts again each time.
  EXPECT_EQ(rt.run(ProgramUse::General, "count.rpf", ctx).value, 1);
  EXPECT_EQ(rt.run(ProgramUse::General, "count.rpf", ctx).value, 1);
  // Closing the application clears the marks: the file is read again.
  rt.clearMarks();
  EXPECT_EQ(rt.run(ProgramUse::LineEvent, "count.rpf", ctx).value, 1);
  EXPECT_EQ(rt.slots().fileReads(), 4);
}

TEST_F(RunEntryTest, RunWhileAProgramRunsIsRefused) {
  put("count.rpf", fileOf(counter()));
  rt.machine().running = true;
  host.expect(box("runtime error", "count.rpf", "Can't Process"));
  const editor::ProgramResult r = rt.run(ProgramUse::LineEvent, "count.rpf", ctx);
  EXPECT_TRUE(r.ran);
  EXPECT_TRUE(r.failed);
  EXPECT_EQ(rt.slots().fileReads(), 0);  // nothing was loaded over the running program
  EXPECT_EQ(host.shown().size(), 1u);
  rt.machine().running = false;
}

TEST_F(RunEntryTest, ProgramPortIsClosedAfterEveryRunUnlessItIsTheSensors) {
  runtime_test::FakePorts ports;
  ctx.ports = &ports;
  // openPort(3, 9600), then a run error or the end.
  RawProgram ok, bad;
  ok.push(3).push(9600).call(152, 2, 1).push(1).end();
  bad.push(3).push(9600).call(152, 2, 1).op('+').op('+');
  put("ok.rpf", fileOf(ok));
  put("bad.rpf", fileOf(bad));
  host.expect("Evl Stack OverFlow");
  EXPECT_FALSE(rt.run(ProgramUse::General, "ok.rpf", ctx).failed);
  EXPECT_EQ(ports.closes, std::vector<int>{3});
  EXPECT_TRUE(rt.run(ProgramUse::General, "bad.rpf", ctx).failed);
  EXPECT_EQ(ports.closes, (std::vector<int>{3, 3}));
  EXPECT_EQ(rt.machine().programPort, 0);

  // The sensor's port is not the program's to open.
  ctx.sensorPort = 3;
  (void)rt.run(ProgramUse::General, "ok.rpf", ctx);
  EXPECT_EQ(ports.closes.size(), 2u);
}

// A run inside an edit session: the display is left as the program found it.
class RunEntrySessionTest : public ::testing::Test {
 protected:
  runtime_test::SessionRig rig;
  testing_support::MemoryFileSystem files;
  platform::ScopedFileSystem use{files};
  runtime::Runtime rt;
};

TEST_F(RunEntrySessionTest, ColoursAndCursorAreRestored) {
  // gotoCell(5, 7), then end.
  RawProgram p;
  p.push(5).push(7).call(109, 2, 1).push(2).end();
  files.putFile(std::string("/apps/Fields") + platform::kSep + "move.rpf", fileOf(p));
  rig.screen.gotoCell(3, 4);
  rig.screen.setTextColour(12);
  rig.screen.setBackColour(2);
  rig.screen.setInsertCursor(true);
  runtime::RunContext ctx;
  ctx.engine = &rig.e;
  ctx.host = &rig.host;
  ctx.appFolder = "/apps/Fields";
  ctx.budget = 1000;
  const editor::ProgramResult r = rt.run(ProgramUse::General, "move.rpf", ctx);
  EXPECT_TRUE(r.ran);
  EXPECT_FALSE(r.failed);
  EXPECT_EQ(r.value, 2);
  EXPECT_EQ(rig.screen.row(), 3);
  EXPECT_EQ(rig.screen.col(), 4);
  EXPECT_EQ(rig.screen.textColour(), 12);
  EXPECT_EQ(rig.screen.backColour(), 2);
  EXPECT_TRUE(rig.screen.cursor().insert);
}

}  // namespace
