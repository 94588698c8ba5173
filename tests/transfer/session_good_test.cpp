// Whole sessions against a host that plays its part correctly.
#include "platform/errors.hpp"
#include "platform/fileops.hpp"
#include "session_fixture.hpp"
#include "transfer/link_errors.hpp"

namespace session_test {
namespace {

using testing_support::HostFile;
using testing_support::HostileHost;
using testing_support::HostScript;
using testing_support::readBytes;

HostScript fullScript() {
  HostScript s;
  s.files = {
      {"Birds.tfa", std::string(50000, 'B'), 'A', kWriteTime, "Apps"},
      {"[Birds]1A____XYZ___+NESTS.dbf", "nests", 'D', kWriteTime + 10'000'000, "Birds"},
      {"hello.mes", "hello there", 'M', kWriteTime, "Messages"},
      {"Tallyfin PC.exe", "MZ program", 'E', kWriteTime, ""},
      {"helper.dll", "helper", 'E', kWriteTime, ""},
      {"xsu.dft", "host settings", 'E', kWriteTime, ""},
  };
  return s;
}

std::uint64_t writeTimeOf(const std::string& path) {
  std::uint64_t t = 0;
  EXPECT_EQ(platform::getFileTime(path, t), 0) << path;
  return t;
}

TEST_F(SessionTest, AGoodSessionSendsTheDatasetsAndPlacesWhatArrivedAfterVerifying) {
  addDatasets();
  testing_support::writeBytes(path("apps", "Forest.tfa"), "forest package");
  testing_support::writeBytes(path("messages", "old.mes"), "old");
  testing_support::writeBytes(path("install", "xsu.dft"), "my settings");
  testing_support::writeBytes(path("pendingApps", "Birds.tfa"), "an older Birds");
  HostileHost host(fullScript());
  pointAt(host.port());

  const transfer::SessionResult r = run();

  // What the host got: the login, the control file listing this unit, the two datasets.
  const auto seen = host.record();
  EXPECT_EQ(seen.loginUnitId, "UNIT-ABC123");
  ASSERT_EQ(seen.received.size(), 3u);
  EXPECT_EQ(seen.received[0].first, "XferFromHH~UNIT-ABC123~T1.bin");
  EXPECT_EQ(seen.received[1], std::make_pair(std::string("[North]1A____ABC___+TREES.dbf"), std::string(40000, 'T')));
  EXPECT_EQ(seen.received[2], std::make_pair(std::string("[North]2AA___ABC___PLOTS+.dbf"), std::string("plots")));
  ASSERT_TRUE(seen.pcControlParsed);
  const auto& h = seen.pcControl.header;
  EXPECT_EQ(h.unitId(), "UNIT-ABC123");
  EXPECT_EQ(h.datasetCount(), 2);
  EXPECT_EQ(h.appCount(), 1);  // the pending one
  EXPECT_EQ(h.messageCount(), 1);
  ASSERT_EQ(seen.pcControl.entries.size(), 5u);
  EXPECT_EQ(seen.pcControl.entries[0].folder(), "Forest");
  EXPECT_EQ(seen.pcControl.entries[0].fileSize(), 40000u);
  EXPECT_EQ(h.totalBytes(), 40000u + 5 + 14 + 14 + 3);
  EXPECT_TRUE(seen.ended);

  EXPECT_EQ(r.stage, transfer::kStageVerified);
  EXPECT_FALSE(r.errors);
  EXPECT_TRUE(r.completed);
  EXPECT_EQ(r.datasetFilesSent, 2);
  EXPECT_EQ(r.filesReceived, 8);

  // Placed byte for byte, with the entries' write times.
  EXPECT_EQ(readBytes(path("pendingApps", "Birds.tfa")), std::string(50000, 'B'));
  EXPECT_EQ(writeTimeOf(path("pendingApps", "Birds.tfa")), kWriteTime);
  const std::string nests = path("pendingData", std::string("Birds") + platform::kSep + "[Birds]1A____XYZ___+NESTS.dbf");
  EXPECT_EQ(readBytes(nests), "nests");
  EXPECT_EQ(writeTimeOf(nests), kWriteTime + 10'000'000);
  EXPECT_EQ(readBytes(path("messages", "hello.mes")), "hello there");
  EXPECT_EQ(r.receivedMessages, std::vector<std::string>{"hello.mes"});
  EXPECT_EQ(readBytes(path("receive", std::string("Temp") + platform::kSep + "Tallyfin PC.exe")), "MZ program");
  EXPECT_EQ(readBytes(path("install", "helper.dll")), "helper");
  EXPECT_EQ(readBytes(path("install", "xsu.dft")), "my settings");  // never replaced by an update

  // The marker files stand in the receive folder; no partial or working file is left.
  EXPECT_TRUE(platform::fileExists(path("receive", "XferFromPC.bin")));
  EXPECT_EQ(readBytes(path("receive", "xfer_complete.txt")), "done");
  EXPECT_FALSE(platform::folderExists(path("receive", "~partial")));
  EXPECT_TRUE(testing_support::fileNamesIn(folder("work")).empty());

  const auto summary = view.withCaption("File Transfer Complete");
  ASSERT_EQ(summary.size(), 1u);
  EXPECT_EQ(summary[0],
            "Dataset Files Sent:2\nTotal Tallyfin Files Received:6\nPosted Apps Rcvd:1\n"
            "Apps Pending Update:1\nDatasets Received:1\nMessages Rcvd:1\n"
            "Program Updates:Yes  (2 Updates)\n\nTransfer Successful!");
  EXPECT_EQ(view.withCaption("Pending Data").size(), 1u);
  EXPECT_EQ(view.withCaption("Pending Messages").size(), 1u);
  EXPECT_EQ(view.messages.size(), 3u);
  EXPECT_TRUE(view.sawStatus("Transfer Complete"));
  EXPECT_TRUE(view.sawStatus("Breaking Connection..."));
}

TEST_F(SessionTest, HeadersInTwoSegmentsAndOneByteWritesMakeNoDifference) {
  for (int variant = 0; variant < 2; ++variant) {
    HostScript s;
    s.files = {{"Birds.tfa", std::string(20000, 'b'), 'A', kWriteTime, ""}};
    (variant == 0 ? s.splitHeaders : s.oneByteWrites) = true;
    HostileHost host(s);
    pointAt(host.port());
    view = RecordingView{};
    const transfer::SessionResult r = run();
    EXPECT_EQ(r.stage, transfer::kStageVerified) << variant;
    EXPECT_EQ(readBytes(path("pendingApps", "Birds.tfa")), std::string(20000, 'b')) << variant;
    EXPECT_EQ(view.withCaption("File Transfer Complete").size(), 1u) << variant;
  }
}

TEST_F(SessionTest, NothingToExchangeSaysAllApplicationsAreUpToDate) {
  HostileHost host(HostScript{});
  pointAt(host.port());
  const transfer::SessionResult r = run();
  EXPECT_TRUE(r.completed);
  EXPECT_EQ(host.record().received.size(), 1u);  // only the control file
  ASSERT_EQ(view.withCaption("File Transfer Complete").size(), 1u);
  EXPECT_EQ(view.withCaption("File Transfer Complete")[0],
            "Dataset Files Sent:0\nTotal Tallyfin Files Received:0\nAll Applications Up to Date\n"
            "Messages Rcvd:0\nNo Program Updates\n\nTransfer Successful!");
  EXPECT_TRUE(view.withCaption("Pending Data").empty());
}

TEST_F(SessionTest, TheClockIsSetFromTheTrailerAndNeverPastMidnight) {
  HostScript s;
  s.clock = transfer::HostClock{2024, 6, 0, 30, 23, 59, 57, 0};
  HostileHost host(s);
  pointAt(host.port());
  const transfer::SessionResult r = run();
  ASSERT_EQ(clock.local.size(), 1u);
  const platform::DateTime& t = clock.local[0];
  EXPECT_EQ(t.year, 2024);
  EXPECT_EQ(t.month, 6);
  EXPECT_EQ(t.day, 30);
  EXPECT_EQ(t.hour, 23);
  EXPECT_EQ(t.minute, 59);
  EXPECT_EQ(t.second, 57);
  EXPECT_TRUE(r.clockSet);
}

TEST_F(SessionTest, NoTrailerLeavesTheClockAndARefusingSetterIsNoError) {
  {
    HostileHost host(HostScript{});
    pointAt(host.port());
    const transfer::SessionResult r = run();
    EXPECT_TRUE(clock.local.empty());
    EXPECT_FALSE(r.clockSet);
  }
  HostScript s;
  s.clock = transfer::HostClock{2024, 6, 0, 30, 12, 0, 58, 0};
  HostileHost host(s);
  pointAt(host.port());
  clock.answer = platform::kErrPrivilegeNotHeld;
  view = RecordingView{};
  const transfer::SessionResult r = run();
  ASSERT_EQ(clock.local.size(), 1u);
  EXPECT_EQ(clock.local[0].minute, 1);
  EXPECT_EQ(clock.local[0].second, 3);
  EXPECT_FALSE(r.clockSet);
  EXPECT_TRUE(r.completed);
  EXPECT_EQ(view.messages.size(), 1u);  // the summary only
}

}  // namespace
}  // namespace session_test
