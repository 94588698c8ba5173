// The keyboard built-ins: the next key with and without waiting, the last
// key read, the engine's exit key and abort flag, and the end of the run
// when the session is being shut down.
#include <gtest/gtest.h>

#include "runtime/run_errors.hpp"
#include "session_rig.hpp"

namespace {

namespace k = ui::key;
using runtime_test::SessionRig;

TEST(KeyBuiltins, TheNextKeyIsTakenWithoutWaitingAndRemembered) {
  SessionRig rig;
  const int pumps = rig.host.pumps();
  EXPECT_EQ(rig.call(81), 0);  // nothing waits: no wait either
  EXPECT_EQ(rig.host.pumps(), pumps);
  EXPECT_EQ(rig.call(87), 0);
  rig.keys.push('a');
  rig.keys.push(k::kF3);
  EXPECT_EQ(rig.call(81), 'a');
  EXPECT_EQ(rig.call(81), k::kF3);
  EXPECT_EQ(rig.call(87), k::kF3);
  EXPECT_EQ(rig.call(81), 0);
  EXPECT_EQ(rig.call(87), k::kF3);  // a call that found no key leaves it
}

TEST(KeyBuiltins, WaitingForAKeyPollsEvery25MillisecondsAndKeepsTheWindowAlive) {
  SessionRig rig;
  rig.script.key('x');
  const auto start = rig.clock.ticks();
  EXPECT_EQ(rig.call(84), 'x');
  EXPECT_EQ(rig.call(87), 'x');
  EXPECT_GE(rig.host.pumps(), 1);
  EXPECT_GE(rig.clock.ticks() - start, 25u);
  EXPECT_EQ(rig.m.runError, 0);
}

TEST(KeyBuiltins, TheAbortCodeEndsTheSessionAndTheRun) {
  for (int n : {81, 84}) {
    SessionRig rig;
    rig.keys.abort();
    rig.call(n);
    EXPECT_EQ(rig.m.runError, runtime::kErrUserAborted) << n;
    EXPECT_TRUE(rig.e.aborted);
    EXPECT_EQ(rig.m.lastKeyRead, 0);
  }
  SessionRig rig;
  EXPECT_EQ(rig.call(88), 0);
  rig.keys.abort();
  EXPECT_EQ(rig.call(88), 1);
}

TEST(KeyBuiltins, TheEnginesLastKeyIsTheLevelsExitKey) {
  SessionRig rig;
  rig.call(85);
  EXPECT_EQ(rig.m.status, runtime::kErrDataNotOpen);  // no level open
  rig.m.status = 0;
  rig.openLevel();
  rig.e.level().header().setExitKey(k::kEnter);
  EXPECT_EQ(rig.call(85), k::kEnter);
  EXPECT_EQ(rig.call(86, {SessionRig::num(k::kDown)}), k::kDown);
  EXPECT_EQ(rig.e.level().header().exitKey(), k::kDown);
  EXPECT_EQ(rig.call(85), k::kDown);
  rig.call(86, {SessionRig::num(-5)});  // as 16 bits: the abort code
  EXPECT_EQ(rig.e.level().header().exitKey(), k::kAbort);
  EXPECT_EQ(rig.m.status, 0);
}

}  // namespace
