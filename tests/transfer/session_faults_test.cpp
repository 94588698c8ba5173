// Whole sessions against a host that misbehaves, and sessions that never
// reach a host: each must end with its message and place nothing.
#include "platform/fileops.hpp"
#include "session_fixture.hpp"
#include "support/tcp_peer.hpp"
#include "transfer/link_errors.hpp"

namespace session_test {
namespace {

using testing_support::HostFault;
using testing_support::HostFile;
using testing_support::HostileHost;
using testing_support::HostScript;

HostScript oneOfEach() {
  HostScript s;
  s.files = {{"Birds.tfa", "new birds", 'A', kWriteTime, ""},
             {"[Birds]1A____XYZ___+NESTS.dbf", "nests", 'D', kWriteTime, "Birds"},
             {"hello.mes", "hello", 'M', kWriteTime, ""}};
  return s;
}

std::string tableText(int code) { return std::string(transfer::linkErrorText(transfer::linkErrorIndex(code))); }

class FailedSessionTest : public SessionTest {
 protected:
  // Files that stand before the session under the names the host sends.
  void addOldFiles() {
    testing_support::writeBytes(path("pendingApps", "Birds.tfa"), "old birds");
    testing_support::writeBytes(path("receive", "hello.mes"), "old hello");
    testing_support::writeBytes(path("receive", "XferFromPC.bin"), "old marker");
    testing_support::writeBytes(path("receive", "XFER_COMPLETE.txt"), "old marker");
  }
  // Runs a session against the script and checks that it changed nothing but
  // removing the old markers.
  transfer::SessionResult runUnchanged(HostScript script) {
    addDatasets();
    addOldFiles();
    HostileHost host(std::move(script));
    pointAt(host.port());
    auto before = filesUnder(root.path());
    before.erase("receive/XferFromPC.bin");
    before.erase("receive/XFER_COMPLETE.txt");
    const transfer::SessionResult r = run();
    EXPECT_EQ(filesUnder(root.path()), before);
    EXPECT_FALSE(platform::folderExists(path("receive", "~partial")));
    EXPECT_NE(r.stage, transfer::kStageVerified);
    EXPECT_FALSE(r.completed);
    EXPECT_TRUE(view.withCaption("File Transfer Complete").empty());
    record = host.record();
    return r;
  }
  testing_support::HostRecord record;
};

TEST_F(SessionTest, NoAddressFileEndsBeforeAnySocketIsOpened) {
  HostileHost host(HostScript{});
  const transfer::SessionResult r = run();
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0].text, "Can't read:" + folder("settings") + "\\TFM_Host_IP.txt");
  EXPECT_EQ(view.messages[0].caption, "Get IP Error");
  EXPECT_TRUE(r.errors);
  EXPECT_EQ(r.stage, transfer::kStageStart);
  EXPECT_FALSE(view.sawStatus("Initializing "));
  EXPECT_EQ(host.accepted(), 0);
}

TEST_F(SessionTest, ARefusedConnectionEndsAtOnceWithoutRetries) {
  pointAt(testing_support::closedLoopbackPort());
  const transfer::SessionResult r = run();
  EXPECT_TRUE(r.cancelled);
  EXPECT_TRUE(view.sawStatus("  Looking For Tallyfin Host:30"));
  EXPECT_FALSE(view.sawStatus("  Looking For Tallyfin Host:28"));
  EXPECT_TRUE(view.sawStatus("10061: Connection refused"));
  const auto shown = view.withCaption("IP Error 3");
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], "10061: Connection refused\n" + tableText(10061));
  EXPECT_EQ(view.messages.size(), 1u);  // no verification after a cancelled session
}

TEST_F(FailedSessionTest, AMissingCompletionFileFailsAndPlacesNothing) {
  HostScript s = oneOfEach();
  s.sendCompletion = false;
  const transfer::SessionResult r = runUnchanged(s);
  EXPECT_EQ(view.withCaption("IP Error 5"), std::vector<std::string>{"Did not get xfer completion file"});
  EXPECT_EQ(view.withCaption("File Xfer ERRORS!!"),
            std::vector<std::string>{"Transfer Failed !!\n Application File(s) Missing\n Expecting:3 Received:2\n Transfer ERRORS!!"});
  EXPECT_TRUE(view.sawStatus("Transfer ERRORS!!"));
  EXPECT_TRUE(r.errors);
  EXPECT_FALSE(record.ended);  // no 'Z' after errors
}

TEST_F(FailedSessionTest, AWrongAcknowledgementFailsAndPlacesNothing) {
  HostScript s = oneOfEach();
  s.acknowledgeDelta = -1;
  const transfer::SessionResult r = runUnchanged(s);
  EXPECT_EQ(view.withCaption("File Xfer ERRORS!!"),
            std::vector<std::string>{"Transfer Failed !!\n Not All Files Received by Host\n Sent:2 Acknowleged:1\n Transfer ERRORS!!"});
  EXPECT_EQ(r.datasetFilesSent, 2);
  EXPECT_EQ(r.datasetFilesAcknowledged, 1);
  EXPECT_TRUE(record.ended);  // the exchange itself went well
}

TEST_F(FailedSessionTest, AHostThatClosesOrResetsEndsTheReceive) {
  for (HostFault fault : {HostFault::Close, HostFault::Reset}) {
    HostScript s = oneOfEach();
    s.fault = fault;
    s.faultAtRequest = 3;
    view = RecordingView{};
    const transfer::SessionResult r = runUnchanged(s);
    EXPECT_EQ(view.withCaption("IP Error 4"), std::vector<std::string>{"Rcv file error = -100"});
    EXPECT_EQ(r.filesReceived, 2);
    EXPECT_EQ(view.withCaption("File Xfer ERRORS!!").size(), 1u);
  }
}

TEST_F(FailedSessionTest, ASilentHostGivesTheLinksTimeOut) {
  link.setWaitTimeoutMs(200);
  HostScript s = oneOfEach();
  s.fault = HostFault::Stall;
  s.faultAtRequest = 1;
  const transfer::SessionResult r = runUnchanged(s);
  EXPECT_EQ(view.withCaption("TCPIP Receive Error"),
            std::vector<std::string>{"HHN_ReceiveData error=10060\n" + tableText(10060)});
  EXPECT_EQ(view.withCaption("IP Error 4").size(), 1u);
  EXPECT_EQ(r.stage, transfer::kStageReceiving);
  EXPECT_EQ(view.withCaption("File Xfer ERRORS!!"),
            std::vector<std::string>{"Transfer Failed !!\n Data Transmission Errors\n Data Not Sent to Host\n Transfer ERRORS!!"});
}

TEST_F(FailedSessionTest, CraftedNamesWriteNothingAnywhere) {
  const std::string names[] = {"../x", "..\\x", "C:\\x", "a/b", "CON", "con.txt", "name.", "..",
                               std::string("bad\x01name"), std::string("tab\tname")};
  for (const std::string& name : names) {
    HostScript s;
    s.files = {{name, "evil", 'A', kWriteTime, ""}};
    view = RecordingView{};
    const transfer::SessionResult r = runUnchanged(s);
    EXPECT_EQ(view.withCaption("IP Error 4").size(), 1u) << name;
    EXPECT_TRUE(r.errors) << name;
  }
}

TEST_F(FailedSessionTest, AnAnnouncedLengthOfFourGibibytesIsRefusedBeforeWriting) {
  HostScript s;
  s.files = {{"Big.tfa", "only a little", 'A', kWriteTime, "", true, 0xFFFFFFFFu}};
  const transfer::SessionResult r = runUnchanged(s);
  EXPECT_EQ(view.withCaption("IP Error 4").size(), 1u);
  EXPECT_EQ(r.filesReceived, 1);
}

TEST_F(FailedSessionTest, ALengthAboveTheSessionsLimitIsRefused) {
  HostScript s;
  s.files = {{"Big.tfa", std::string(3000, 'x'), 'A', kWriteTime, ""}};
  setup.maxReceiveBytes = 2999;
  runUnchanged(s);
  EXPECT_EQ(view.withCaption("IP Error 4").size(), 1u);
}

TEST_F(FailedSessionTest, AShortHostControlFileIsAParseFailure) {
  HostScript s = oneOfEach();
  s.controlBytes = std::string(100, 'A');
  const transfer::SessionResult r = runUnchanged(s);
  EXPECT_EQ(view.withCaption("recieve files"), std::vector<std::string>{"Parse xferfrompc.bin Failed"});
  EXPECT_EQ(r.stage, transfer::kStageReceiving);
}

TEST_F(FailedSessionTest, CancellingWhileWaitingForTheHostStopsAtOnce) {
  HostScript s = oneOfEach();
  s.fault = HostFault::Stall;
  link.setWaitTimeoutMs(transfer::kLinkWaitMs);  // the link's own wait cannot end it first
  s.faultAtRequest = 2;
  int polls = 0;
  view.cancelWhen = [&polls](RecordingView& v) { return v.sawStatus("Receiving Files...") && ++polls > 20; };
  const transfer::SessionResult r = runUnchanged(s);
  EXPECT_TRUE(r.cancelled);
  EXPECT_TRUE(view.sawStatus("Aborting "));
  EXPECT_FALSE(view.sawStatus("Breaking Connection..."));
  EXPECT_TRUE(view.messages.empty());
  EXPECT_FALSE(record.ended);
}

}  // namespace
}  // namespace session_test
