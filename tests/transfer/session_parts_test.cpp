// The session's pieces that work over files and counts alone: the
// verification order, the summary's variants, the transfer list and where
// received files are placed.
#include <gtest/gtest.h>

#include "platform/fileops.hpp"
#include "session_fixture.hpp"
#include "transfer/placement.hpp"
#include "transfer/summary.hpp"
#include "transfer/transfer_list.hpp"

namespace session_test {
namespace {

using transfer::SessionResult;

SessionResult verifiable() {
  SessionResult r;
  r.stage = transfer::kStageHostControlRead;
  r.hostEntries = 3;
  r.filesReceived = 5;
  r.datasetFilesTagged = r.datasetFilesSent = r.datasetFilesAcknowledged = 2;
  return r;
}

TEST(SessionVerify, ChecksRunInOrderAndTheFirstFailureIsTold) {
  EXPECT_FALSE(transfer::verifySession(verifiable()));

  SessionResult r = verifiable();
  r.stage = transfer::kStageConnected;
  r.filesReceived = 0;  // a later check would fail too
  EXPECT_EQ(transfer::verifySession(r)->detail, "Connection Not Established");
  r.stage = transfer::kStageReceiving;
  EXPECT_EQ(transfer::verifySession(r)->detail, "Data Not Sent to Host");

  r = verifiable();
  r.filesReceived = 4;
  r.datasetFilesSent = 1;
  auto f = transfer::verifySession(r);
  EXPECT_EQ(f->reason, "Application File(s) Missing");
  EXPECT_EQ(f->detail, "Expecting:3 Received:2");

  r = verifiable();
  r.datasetFilesSent = 1;
  f = transfer::verifySession(r);
  EXPECT_EQ(transfer::verifyFailureText(*f),
            "Transfer Failed !!\n Not All Files Sent to Host\n Tried:2    Sent:1\n Transfer ERRORS!!");

  r = verifiable();
  r.datasetFilesAcknowledged = 0;
  EXPECT_EQ(transfer::verifySession(r)->detail, "Sent:2 Acknowleged:0");
}

TEST(SessionSummary, TheSecondLineFollowsWhatArrivedAndWhatWaits) {
  SessionResult r = verifiable();
  r.filesReceived = 6;
  r.datasetFilesSent = 3;
  r.appsReceived = 2;
  r.messagesReceived = 1;
  EXPECT_EQ(transfer::summaryText(r, 4),
            "Dataset Files Sent:3\nTotal Tallyfin Files Received:4\nPosted Apps Rcvd:2\n"
            "Apps Pending Update:4\nNo Datasets Received\nMessages Rcvd:1\nNo Program Updates\n\n"
            "Transfer Successful!");
  EXPECT_EQ(transfer::summaryText(r, 0),
            "Dataset Files Sent:3\nTotal Tallyfin Files Received:4\nPosted Apps Rcvd:2\nMessages Rcvd:1\n"
            "No Program Updates\n\nTransfer Successful!");
  r.datasetsReceived = 1;
  r.updatesPending = 1;
  EXPECT_EQ(transfer::summaryText(r, 0),
            "Dataset Files Sent:3\nTotal Tallyfin Files Received:4\nPosted Apps Rcvd:2\nDatasets Received:1\n"
            "Messages Rcvd:1\nProgram Updates:Yes  (1 Updates)\n\nTransfer Successful!");
}

class TransferListTest : public SessionTest {};

TEST_F(TransferListTest, ListsTaggedDatasetsPackagesAndMessagesWithTheirCounts) {
  addDatasets();
  setup.taggedDatasets = {"North", "Nowhere"};
  testing_support::writeBytes(path("apps", "A.tfa"), "aa");
  testing_support::writeBytes(path("apps", "notes.txt"), "not a package");
  testing_support::writeBytes(path("pendingApps", "B.tfa"), "bbb");
  testing_support::writeBytes(path("pendingApps", "C.TFA"), "c");
  testing_support::writeBytes(path("messages", "m.mes"), "mmmm");
  ASSERT_EQ(platform::setFileTime(path("apps", "A.tfa"), kWriteTime), 0);
  setup.requestProgramUpdate = true;

  transfer::TransferList list;
  ASSERT_EQ(transfer::buildTransferList(setup, list), 0);
  EXPECT_EQ(list.controlName, "XferFromHH~UNIT-ABC123~T1.bin");
  ASSERT_EQ(list.datasetPaths.size(), 2u);
  EXPECT_EQ(list.datasetPaths[0], path("data", "[North]1A____ABC___+TREES.dbf"));

  // The file on disk is what the list says.
  const std::string bytes = testing_support::readBytes(list.controlPath);
  transfer::ControlFile read;
  ASSERT_EQ(transfer::parseControlFile(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), read),
            transfer::WireParse::kOk);
  EXPECT_FALSE(read.clock);
  const auto& h = read.header;
  EXPECT_EQ(h.kind(), 'A');
  EXPECT_EQ(h.programName(), "Tallyfin PC  ");
  EXPECT_EQ(h.formatText(), "1.00");
  EXPECT_EQ(h.versionText(), "2.10");
  EXPECT_EQ(h.datasetCount(), 2);
  EXPECT_EQ(h.appCount(), 2);
  EXPECT_EQ(h.messageCount(), 1);
  EXPECT_EQ(h.entryCount(), 6);
  EXPECT_TRUE(h.requestUpdate());
  EXPECT_EQ(h.totalBytes(), 40000u + 5 + 2 + 3 + 1 + 4);
  EXPECT_EQ(list.totalBytes, h.totalBytes() + bytes.size());
  ASSERT_EQ(read.entries.size(), 6u);
  const auto& app = read.entries[2];
  EXPECT_EQ(app.name(), "A.tfa");
  EXPECT_EQ(app.writeTime(), kWriteTime);
  EXPECT_EQ(app.fileSize(), 2u);
  EXPECT_EQ(app.type(), 0);
  EXPECT_EQ(app.folder(), "apps");
  EXPECT_EQ(read.entries[1].folder(), "Forest");
}

TEST_F(TransferListTest, AUnitIdThatCannotNameAFileIsRefused) {
  setup.unitId = "UNIT/1";
  transfer::TransferList list;
  EXPECT_NE(transfer::buildTransferList(setup, list), 0);
  EXPECT_TRUE(testing_support::fileNamesIn(folder("work")).empty());
}

TEST(SessionPlacement, TheDatasetFolderComesFromPlainTextOnly) {
  EXPECT_EQ(transfer::datasetAppFolder("[Birds]1A____X+T.dbf", "Other"), "Birds");
  EXPECT_EQ(transfer::datasetAppFolder("[..]1A____X+T.dbf", "Other"), "Other");
  EXPECT_EQ(transfer::datasetAppFolder("[CON]x.dbf", ".."), "Unknown_App");
  EXPECT_EQ(transfer::datasetAppFolder("plain.dbf", ""), "Unknown_App");
  EXPECT_EQ(transfer::datasetAppFolder("[]x.dbf", "Trees"), "Trees");
}

class PlacementTest : public SessionTest {
 protected:
  transfer::ControlEntry entry(const std::string& name, std::uint8_t type, const std::string& folderText = "") {
    transfer::ControlEntry e;
    EXPECT_TRUE(e.setName(name));
    e.setType(type);
    e.setWriteTime(kWriteTime);
    EXPECT_TRUE(e.setFolder(folderText));
    testing_support::writeBytes(path("partial", name), "new " + name);
    return e;
  }
};

TEST_F(PlacementTest, UpdatesFollowTheProgramFileAndNeverReplaceTheProgramsState) {
  std::filesystem::create_directories(folder("partial"));
  testing_support::writeBytes(path("install", "registry"), "mine");
  const std::vector<transfer::ControlEntry> entries = {
      entry("early.dll", 'E'),          // before the program file: not placed
      entry("tallyfin pc.exe", 'E'),    // the program file in any case
      entry("late.dll", 'E'),
      entry("REGISTRY", 'E'),
      entry("abort.dat", 'E'),
      entry("[..]odd.dbf", 'D', "Trees"),
      entry("x.zzz", 'Q'),
  };
  const transfer::PlacementCounts c = transfer::placeReceivedFiles(entries, folder("partial"), setup);
  EXPECT_EQ(c.updates, 2);
  EXPECT_EQ(c.datasets, 1);
  EXPECT_FALSE(platform::fileExists(path("install", "early.dll")));
  EXPECT_EQ(testing_support::readBytes(path("receive", std::string("Temp") + platform::kSep + "tallyfin pc.exe")),
            "new tallyfin pc.exe");
  EXPECT_EQ(testing_support::readBytes(path("install", "late.dll")), "new late.dll");
  EXPECT_EQ(testing_support::readBytes(path("install", "registry")), "mine");
  EXPECT_FALSE(platform::fileExists(path("install", "abort.dat")));
  EXPECT_TRUE(platform::fileExists(path("pendingData", std::string("Trees") + platform::kSep + "[..]odd.dbf")));
  // A letter the session does not know leaves its file where it arrived.
  EXPECT_TRUE(platform::fileExists(path("partial", "x.zzz")));
}

}  // namespace
}  // namespace session_test
