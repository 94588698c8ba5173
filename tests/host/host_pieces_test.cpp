// The server's pieces on their own: options, names, the clock trailer, the
// sweep of partial folders at start.
#include <gtest/gtest.h>

#include <filesystem>

#include "host_fixture.hpp"
#include "hostlib/host_control.hpp"
#include "hostlib/host_options.hpp"
#include "hostlib/outbox.hpp"
#include "hostlib/session_names.hpp"
#include "transfer/clock_trailer.hpp"

namespace host_test {
namespace {

namespace fs = std::filesystem;
using host::OptionsResult;

TEST(HostOptions, DefaultsAndEveryOption) {
  host::HostOptions o;
  std::string error;
  ASSERT_EQ(host::parseHostOptions({"--root", "/srv/h"}, o, error), OptionsResult::kRun);
  EXPECT_EQ(o.port, 50000);
  EXPECT_EQ(o.listen, "0.0.0.0");
  EXPECT_EQ(o.maxConnections, 256);
  EXPECT_EQ(o.idleSeconds, 60u);
  EXPECT_FALSE(o.sendClock);
  EXPECT_FALSE(o.once);
  ASSERT_EQ(host::parseHostOptions({"--root", "r", "--port", "50001", "--listen", "10.1.1.200",
                                    "--max-connections", "3", "--idle-timeout", "5", "--max-file-bytes",
                                    "4294967295", "--send-clock", "--once"},
                                   o, error),
            OptionsResult::kRun);
  EXPECT_EQ(o.root, "r");
  EXPECT_EQ(o.port, 50001);
  EXPECT_EQ(o.listen, "10.1.1.200");
  EXPECT_EQ(o.maxConnections, 3);
  EXPECT_EQ(o.idleSeconds, 5u);
  EXPECT_EQ(o.maxFileBytes, 0xFFFFFFFFull);
  EXPECT_TRUE(o.sendClock);
  EXPECT_TRUE(o.once);
  EXPECT_EQ(host::parseHostOptions({"--help"}, o, error), OptionsResult::kHelp);
}

TEST(HostOptions, BadCommandLinesAreRefusedWithAReason) {
  const std::vector<std::vector<std::string>> bad = {
      {},                                          // no root
      {"--port", "50000"},                         // no root either
      {"--root"},                                  // no value
      {"--root", "r", "--port", "65536"},
      {"--root", "r", "--port", "5x"},
      {"--root", "r", "--port", "-1"},
      {"--root", "r", "--listen", "host.example"},
      {"--root", "r", "--max-connections", "0"},
      {"--root", "r", "--idle-timeout", "0"},
      {"--root", "r", "--max-file-bytes", "4294967296"},
      {"--root", "r", "--verbose"},
  };
  for (const auto& args : bad) {
    host::HostOptions o;
    std::string error;
    EXPECT_EQ(host::parseHostOptions(args, o, error), OptionsResult::kError) << ::testing::PrintToString(args);
    EXPECT_FALSE(error.empty());
  }
}

TEST(HostNames, SessionStampsSortByTimeAndDifferByCounter) {
  platform::DateTime t;
  t.year = 2024, t.month = 3, t.day = 9, t.hour = 7, t.minute = 5, t.second = 4;
  EXPECT_EQ(host::sessionStamp(t, 12), "20240309T070504Z-000012");
  host::SessionNamer namer;
  EXPECT_NE(namer.next(), namer.next());
}

TEST(HostNames, AUnitIsHeldOnceInAnyCase) {
  host::ActiveUnits units;
  {
    host::UnitClaim a(units, "Field7");
    host::UnitClaim b(units, "FIELD7");
    EXPECT_TRUE(a.held());
    EXPECT_FALSE(b.held());
  }
  host::UnitClaim c(units, "field7");
  EXPECT_TRUE(c.held());
}

TEST(HostNames, TheApplicationOfADatasetIsInItsLeadingBrackets) {
  EXPECT_EQ(host::bracketApplication("[Cruise] plot 1.dat"), "Cruise");
  EXPECT_EQ(host::bracketApplication("[] x.dat"), "");
  EXPECT_EQ(host::bracketApplication("x [Cruise].dat"), "");
  EXPECT_EQ(host::bracketApplication("[Cruise"), "");
}

TEST(HostClockTrailer, EveryDayOfTheWeekIsOneTheUnitAccepts) {
  platform::DateTime t;
  t.year = 2024, t.month = 6, t.day = 2, t.hour = 13, t.minute = 14, t.second = 15, t.millisecond = 16;
  for (int day = 0; day < 7; ++day) {
    t.dayOfWeek = day;
    transfer::HostClock c = host::trailerFor(t);
    EXPECT_TRUE(transfer::clockValid(c)) << day;
    EXPECT_EQ(c.dayOfWeek, day + 1);
  }
  transfer::HostClock c = host::trailerFor(t);
  EXPECT_EQ(c, (transfer::HostClock{2024, 6, 7, 2, 13, 14, 15, 16}));
}

TEST(HostStart, PartialFoldersLeftByAStoppedServerAreRemoved) {
  testing_support::TempDir temp;
  const std::string root = temp.file("root");
  fs::create_directories(root + "/inbox/UNIT01/.partial-20240101T000000Z-000001");
  testing_support::writeBytes(root + "/inbox/UNIT01/.partial-20240101T000000Z-000001/[A] half.dat", "half");
  fs::create_directories(root + "/inbox/UNIT01/20240101T000000Z-000002");
  host::HostOptions o;
  o.root = root;
  o.listen = "127.0.0.1";
  o.port = 0;
  host::HostLog log("", false);
  host::HostServer server(o, log);
  std::string why;
  ASSERT_EQ(server.start(why), 0) << why;
  std::set<std::string> left;
  for (const auto& e : fs::directory_iterator(root + "/inbox/UNIT01")) left.insert(e.path().filename().string());
  EXPECT_EQ(left, (std::set<std::string>{"20240101T000000Z-000002"}));
  for (const char* kind : {"apps", "datasets", "messages", "updates"}) {
    EXPECT_TRUE(fs::is_directory(root + "/outbox/all/" + kind)) << kind;
  }
}

TEST(HostStart, APortInUseIsReported) {
  RunningHost first;
  ASSERT_TRUE(first.started());
  testing_support::TempDir temp;
  host::HostOptions o;
  o.root = temp.file("root");
  o.listen = "127.0.0.1";
  o.port = first.port();
  host::HostLog log("", false);
  host::HostServer second(o, log);
  std::string why;
  EXPECT_NE(second.start(why), 0);
  EXPECT_NE(why.find("cannot listen"), std::string::npos);
}

}  // namespace
}  // namespace host_test
