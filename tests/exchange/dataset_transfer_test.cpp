// Copying datasets between the data folder, removable storage, the pending
// folder and the archive: which files go, what the user is told, and that a
// failed copy never costs a source file.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "base/paths.hpp"
#include "exchange/dataset_transfer.hpp"
#include "exchange/whole_copy.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"
#include "platform/removable.hpp"
#include "support/fake_clock.hpp"
#include "support/scripted_host.hpp"
#include "support/selective_files.hpp"
#include "support/temp_dir.hpp"

namespace {

using exchange::DatasetRef;
using testing_support::fileNamesIn;
using testing_support::readBytes;
using testing_support::writeBytes;

std::string at(const std::string& folder, const std::string& name) {
  return base::joinPath(folder, name, platform::kSep);
}


const DatasetRef kRaw{false, 7, "North Block"};
const DatasetRef kBundled{true, 0, "North Block"};

const std::vector<std::string> kRawFiles = {
    "07 1A____[North Block]ABC___#$$DataAppVer.dbf",
    "07 1A____[North Block]ABC___~~TREES.dbf",
    "07 2AA___[North Block]ABC___~k1~PLOTS.dbf",
    "07 2AA___[North Block]ABC___~k1~PLOTS^G.GPF",
};

// A copy onto a name ending in suffix writes half the file and still reports
// success, as a card pulled at the wrong moment can make it look.
class ShortCopyFileSystem : public testing_support::SelectiveFileSystem {
 public:
  explicit ShortCopyFileSystem(std::string suffix) : suffix_(std::move(suffix)) {}
  int copy(const std::string& from, const std::string& to, bool failIfExists) override {
    if (to.size() < suffix_.size() || to.compare(to.size() - suffix_.size(), suffix_.size(), suffix_) != 0)
      return SelectiveFileSystem::copy(from, to, failIfExists);
    const std::string bytes = readBytes(from);
    writeBytes(to, bytes.substr(0, bytes.size() / 2));
    return 0;
  }

 private:
  std::string suffix_;
};

class TransferTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::makeFolder(data);
    platform::makeFolder(card);
  }
  // Each file holds its own name, so sizes and contents differ.
  void put(const std::string& folder, const std::vector<std::string>& names) {
    platform::makeFolder(folder);
    for (const auto& n : names) writeBytes(at(folder, n), "data of " + n);
  }
  std::string cardApp() const { return exchange::removableAppFolder(entry, "Trees"); }

  testing_support::TempDir dir;
  testing_support::ScriptedHost host;
  std::string data = dir.file("Trees");
  std::string card = dir.file("card");
  std::string entry = platform::removableEntry(card, "card");
};

TEST_F(TransferTest, SelectionTakesOnlyTheDatasetsOwnFilesAndLeavesTablesBeingRewritten) {
  std::vector<std::string> all = kRawFiles;
  all.insert(all.end(), {"07 1A____[North Block]ABC___~~TREES.db$", "08 1A____[North Block]ABC___~~TREES.dbf",
                         "07 1A____[South]ABC___~~TREES.dbf", "[North Block]1A____ABC___+TREES.dbf",
                         "[North Block]2AA___ABC___PLOTS+.dbf", "[North Block]2AA___ABC___PLOTS+.db$",
                         "[North Blockade]1A____ABC___+TREES.dbf", "07 1A____[North Block]notes.txt"});
  put(data, all);
  platform::makeFolder(at(data, "07 1A____[North Block]old"));

  std::vector<std::string> raw;
  for (const auto& f : exchange::selectDatasetFiles(data, kRaw).files) raw.push_back(f.name);
  std::vector<std::string> wantRaw = kRawFiles;
  wantRaw.push_back("07 1A____[North Block]notes.txt");
  std::sort(wantRaw.begin(), wantRaw.end());
  EXPECT_EQ(raw, wantRaw);

  std::vector<std::string> bundled;
  for (const auto& f : exchange::selectDatasetFiles(data, kBundled).files) bundled.push_back(f.name);
  EXPECT_EQ(bundled, (std::vector<std::string>{"[North Block]1A____ABC___+TREES.dbf",
                                               "[North Block]2AA___ABC___PLOTS+.dbf"}));

  // Only a twin: the search matched, but nothing is to be copied.
  put(dir.file("twins"), {"[Lone]1A____ABC___+TREES.db$"});
  const auto twins = exchange::selectDatasetFiles(dir.file("twins"), DatasetRef{true, 0, "Lone"});
  EXPECT_TRUE(twins.matchedAny);
  EXPECT_TRUE(twins.files.empty());
}

TEST_F(TransferTest, NamesThatCouldLeaveTheTargetFolderAreRefused) {
  for (const char* bad : {"", ".", "..", "a/b", "a\\b", "C:x", "a*", "a?"}) EXPECT_FALSE(exchange::safeTransferName(bad)) << bad;
  for (const char* good : {"[North Block]1A____ABC___+TREES.dbf", "07 1A____[N]ABC___#$$DataAppVer.dbf", "..x"})
    EXPECT_TRUE(exchange::safeTransferName(good)) << good;
}

TEST_F(TransferTest, BackupBuildsTheCardLayoutAndKeepsTheSources) {
  put(data, kRawFiles);
  put(data, {"07 1A____[North Block]ABC___~~TREES.db$"});
  EXPECT_EQ(exchange::copyDatasetToFolder(host, entry, "Trees", data, kRaw, false), 4);
  EXPECT_EQ(cardApp(), at(at(at(card, "Tallyfin Mobile"), "Data"), "Trees"));
  EXPECT_EQ(fileNamesIn(cardApp()), kRawFiles);
  for (const auto& n : kRawFiles) EXPECT_EQ(readBytes(at(cardApp(), n)), "data of " + n);
  EXPECT_EQ(fileNamesIn(data).size(), 5u);
  EXPECT_TRUE(host.shown().empty());
}

TEST_F(TransferTest, MoveOverwritesTheCardsCopyAndDeletesTheSources) {
  put(data, kRawFiles);
  put(cardApp(), {kRawFiles[1]});
  writeBytes(at(cardApp(), kRawFiles[1]), "older");
  EXPECT_EQ(exchange::copyDatasetToFolder(host, entry, "Trees", data, kRaw, true), 4);
  EXPECT_TRUE(fileNamesIn(data).empty());
  EXPECT_EQ(readBytes(at(cardApp(), kRawFiles[1])), "data of " + kRawFiles[1]);
}

TEST_F(TransferTest, NothingToCopyIsToldAndNothingHappens) {
  host.expectOnce("No Datasets Found !", ui::kIdOk, "Dataset Error");
  EXPECT_EQ(exchange::copyDatasetToFolder(host, entry, "Trees", data, kRaw, true), 0);

  put(data, {"07 1A____[North Block]ABC___~~TREES.db$"});
  host.expectOnce(entry, ui::kIdOk, "Drive Not Found!");
  EXPECT_EQ(exchange::copyDatasetToFolder(host, entry, "Trees", data, kRaw, true), 0);
  EXPECT_EQ(host.shown().size(), 2u);
  EXPECT_EQ(host.shown()[1].text, entry);
  EXPECT_TRUE(fileNamesIn(cardApp()).empty());
  EXPECT_EQ(fileNamesIn(data).size(), 1u);
}

TEST_F(TransferTest, AMoveWhoseCopyComesOutShortKeepsThatSourceAndReportsFailure) {
  put(data, kRawFiles);
  // The card is pulled during one copy: half the file arrives, the copy
  // itself claims success.
  ShortCopyFileSystem fs(exchange::temporaryCopyName(kRawFiles[2]));
  // Another copy fails outright.
  testing_support::SelectiveFileSystem::Fault fails;
  fails.suffix = exchange::temporaryCopyName(kRawFiles[3]);
  fails.copyError = platform::kErrNotReady;
  fs.add(fails);
  platform::ScopedFileSystem use(fs);

  host.expect("CopyFile failed with code:", ui::kIdOk, "CopyFileError !", 2);
  EXPECT_EQ(exchange::copyDatasetToFolder(host, entry, "Trees", data, kRaw, true), 0);
  EXPECT_TRUE(host.sawText("CopyFile failed with code:1117\n"));
  EXPECT_TRUE(host.sawText("CopyFile failed with code:21\n"));
  // The two that failed stay on the PC, whole; the others moved.
  EXPECT_EQ(fileNamesIn(data), (std::vector<std::string>{kRawFiles[2], kRawFiles[3]}));
  EXPECT_EQ(readBytes(at(data, kRawFiles[2])), "data of " + kRawFiles[2]);
  // Nothing partial stands on the card, under either name.
  EXPECT_EQ(fileNamesIn(cardApp()), (std::vector<std::string>{kRawFiles[0], kRawFiles[1]}));
}

TEST_F(TransferTest, PostingOntoAnExistingDatasetAsksTwiceAndNoCopiesNothing) {
  const std::string pending = dir.file("pending");
  const std::vector<std::string> bundle = {"[North Block]1A____ABC___+TREES.dbf", "[North Block]2AA___ABC___PLOTS+.dbf"};
  put(pending, bundle);
  put(data, {bundle[0]});
  writeBytes(at(data, bundle[0]), "installed");

  host.expectOnce("Dataset:North Block\nIs Already Present!!\n OVERWRITE the Existing DataSet??\n", ui::kIdYes,
                  "Overwrite Warning a !");
  host.expectOnce("Are You Sure That You Want to OVERWRITE the Existing DataSet:North Block??\n", ui::kIdNo,
                  "Overwrite Warning b !");
  EXPECT_EQ(exchange::copyDatasetIntoApplication(host, data, pending, kBundled, true), exchange::kCopyDeclined);
  EXPECT_EQ(readBytes(at(data, bundle[0])), "installed");
  EXPECT_EQ(fileNamesIn(data).size(), 1u);
  EXPECT_EQ(fileNamesIn(pending), bundle);

  // Yes to both: copied over, and the pending sources go.
  host.expectOnce("Is Already Present!!", ui::kIdYes, "Overwrite Warning a !");
  host.expectOnce("Are You Sure", ui::kIdYes, "Overwrite Warning b !");
  EXPECT_EQ(exchange::copyDatasetIntoApplication(host, data, pending, kBundled, true), 2);
  EXPECT_EQ(fileNamesIn(data), bundle);
  EXPECT_EQ(readBytes(at(data, bundle[0])), "data of " + bundle[0]);
  EXPECT_TRUE(fileNamesIn(pending).empty());
}

TEST_F(TransferTest, PostingStopsAtTheFirstFailedCopyAndDeletesNoSource) {
  const std::string pending = dir.file("pending");
  const std::vector<std::string> bundle = {"[North Block]1A____ABC___+TREES.dbf", "[North Block]2AA___ABC___PLOTS+.dbf",
                                           "[North Block]2AB___ABC___SOILS+.dbf"};
  put(pending, bundle);
  testing_support::SelectiveFileSystem fs;
  testing_support::SelectiveFileSystem::Fault fails;
  fails.suffix = exchange::temporaryCopyName(bundle[1]);
  fails.copyError = platform::kErrDiskFull;
  fs.add(fails);
  platform::ScopedFileSystem use(fs);

  const std::string target = at(dir.file("Data"), "Trees");  // made by the post
  platform::makeFolder(dir.file("Data"));
  host.expectOnce("CopyFile failed with code:112\nNot All Dataset Files Posted", ui::kIdOk, "Error !");
  EXPECT_EQ(exchange::copyDatasetIntoApplication(host, target, pending, kBundled, true), 0);
  EXPECT_EQ(fileNamesIn(pending), bundle);
  EXPECT_EQ(fileNamesIn(target), (std::vector<std::string>{bundle[0]}));  // the third was not tried
  EXPECT_EQ(host.shown().size(), 1u);
}

TEST_F(TransferTest, CopyingWithoutSourceFilesSaysSo) {
  host.expectOnce("Datasets Not Found", ui::kIdOk, "Error");
  EXPECT_EQ(exchange::copyDatasetIntoApplication(host, data, dir.file("empty"), kBundled, false), 0);
}

TEST_F(TransferTest, ArchivingTwiceOnOneDayOverwritesInTheSameDatedFolder) {
  testing_support::FakeClock clock;
  platform::DateTime day;
  day.year = 2024;
  day.month = 3;
  day.day = 9;
  // Morning: the progress window's waits move this clock on as they poll,
  // so the day must have hours to spare on a slow machine.
  day.hour = 9;
  clock.setLocalTime(day);
  platform::ScopedClock useClock(clock);

  put(data, kRawFiles);
  EXPECT_EQ(exchange::archiveDataset(host, data, kRaw, false), 4);
  const std::string folder = exchange::archiveFolder(data, 2024, 3, 9);
  EXPECT_EQ(folder, at(at(data, "Archives"), "20240309"));
  EXPECT_EQ(fileNamesIn(folder), kRawFiles);

  writeBytes(at(data, kRawFiles[1]), "changed later that day");
  clock.advance(30 * 60 * 1000);  // still 9 March
  EXPECT_EQ(exchange::archiveDataset(host, data, kRaw, false), 4);
  EXPECT_EQ(readBytes(at(folder, kRawFiles[1])), "changed later that day");
  std::vector<platform::FindEntry> days;
  (void)platform::findFiles(at(at(data, "Archives"), "*"), days);
  EXPECT_EQ(days.size(), 1u);
  EXPECT_EQ(fileNamesIn(data).size(), 4u);  // archiving alone keeps the sources
  EXPECT_TRUE(host.shown().empty());
}

TEST_F(TransferTest, AnArchiveWithAFailedCopyCountsAsNoArchive) {
  put(data, kRawFiles);
  testing_support::SelectiveFileSystem fs;
  testing_support::SelectiveFileSystem::Fault fails;
  fails.suffix = exchange::temporaryCopyName(kRawFiles[0]);
  fails.copyError = platform::kErrAccessDenied;
  fs.add(fails);
  platform::ScopedFileSystem use(fs);
  host.expectOnce("Archive Dataset failed with code:5\n", ui::kIdOk, "CopyFileError!");
  EXPECT_EQ(exchange::archiveDataset(host, data, kRaw, true), 0);
  EXPECT_EQ(fileNamesIn(data), (std::vector<std::string>{kRawFiles[0]}));  // the others were moved into the archive
}

TEST_F(TransferTest, AFolderThatCannotBeMadeIsToldAndTheCopyGoesOn) {
  put(data, kRawFiles);
  // A file where the card's "Tallyfin Mobile" folder should be.
  writeBytes(at(card, "Tallyfin Mobile"), "in the way");
  host.expect("CreateDirectory Failed:", ui::kIdOk, "Error !");
  host.expect("CopyFile failed with code:", ui::kIdOk, "CopyFileError !");
  EXPECT_EQ(exchange::copyDatasetToFolder(host, entry, "Trees", data, kRaw, true), 0);
  EXPECT_EQ(host.countText("CreateDirectory Failed:"), 3);
  EXPECT_EQ(host.countText("CopyFile failed"), 4);
  EXPECT_EQ(fileNamesIn(data), kRawFiles);  // no copy stood, so nothing was deleted
}

}  // namespace
