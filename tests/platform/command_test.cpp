// The system command interpreter: exit statuses, the command's effects, its
// output kept off the program's own, and the waiting callback.
#include <gtest/gtest.h>

#include <string>

#include "platform/command.hpp"
#include "support/temp_dir.hpp"

namespace {

// Both interpreters know "exit N".
TEST(ShellCommand, GivesTheExitStatus) {
  int status = -5;
  ASSERT_EQ(platform::runShellCommand("exit 3", status), 0);
  EXPECT_EQ(status, 3);
}

#ifndef _WIN32
TEST(ShellCommand, GivesTheShellsStatusForMissingCommandsAndSignals) {
  int status = -5;
  ASSERT_EQ(platform::runShellCommand("true", status), 0);
  EXPECT_EQ(status, 0);
  ASSERT_EQ(platform::runShellCommand("no-such-command-here-at-all", status), 0);
  EXPECT_EQ(status, 127);  // the interpreter ran and reported it
  ASSERT_EQ(platform::runShellCommand("kill -9 $$", status), 0);
  EXPECT_EQ(status, 128 + 9);
}

TEST(ShellCommand, RunsInTheInterpreterWithItsOutputKeptAway) {
  testing_support::TempDir dir;
  const std::string file = dir.file("out.txt");
  int status = -1;
  ASSERT_EQ(platform::runShellCommand("echo one > '" + file + "'; echo two >> '" + file + "'", status), 0);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(testing_support::readBytes(file), "one\ntwo\n");
  // Standard input is empty (reading ends at once) and standard output is the
  // null device: a character device that is no terminal, where ours is a pipe or one.
  ASSERT_EQ(platform::runShellCommand("cat; if [ -c /dev/stdout ] && ! [ -t 1 ]; then exit 0; fi; exit 9", status), 0);
  EXPECT_EQ(status, 0);
}

TEST(ShellCommand, CallsTheWaitingCallbackUntilTheCommandEnds) {
  int calls = 0, status = -1;
  ASSERT_EQ(platform::runShellCommand("sleep 0.2", status, [&calls] { ++calls; }), 0);
  EXPECT_EQ(status, 0);
  EXPECT_GT(calls, 0);
}

#endif

}  // namespace
