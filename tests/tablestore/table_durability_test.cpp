// What survives an interrupted write: the record count mended from the file's
// length, the retry rule for storage that comes and goes, and write failures
// that report themselves and leave the file as it was.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/text.hpp"
#include "platform/clock.hpp"
#include "platform/errors.hpp"
#include "platform/files.hpp"
#include "support/fake_clock.hpp"
#include "support/faulty_files.hpp"
#include "table_fixture.hpp"

namespace tablestore_test {
namespace {

using namespace tablestore;
using testing_support::readBytes;
using testing_support::writeBytes;

class TableDurability : public TableTest {
 protected:
  static RawTable threeRecords() {
    RawTable raw;
    raw.fields = {{"KEY", 'C', 4}, {"VAL", 'N', 3}};
    raw.records = {" r1    1", " r2    2", "*r3    3"};
    return raw;
  }
  static std::uint32_t storedCount(const std::string& bytes) {
    return static_cast<unsigned char>(bytes[4]) | (static_cast<unsigned char>(bytes[5]) << 8);
  }
  std::vector<std::string> keys(Table* t) {
    std::vector<std::string> out;
    for (std::int64_t n = 1; n <= t->recordCount(); ++n) {
      EXPECT_EQ(t->goRecord(n), 0);
      out.emplace_back(t->fieldByNumber(1)->text());
    }
    return out;
  }
};

TEST_F(TableDurability, CountBehindTheRecordsIsMendedOnTheNextWrite) {
  RawTable raw = threeRecords();
  raw.count = 1;  // two appends reached the disk, their count did not
  writeBytes(path("t.dbf"), raw.bytes());
  Table* t = open("t.dbf");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->recordCount(), 3);
  EXPECT_EQ(keys(t), (std::vector<std::string>{"r1  ", "r2  ", "r3  "}));
  EXPECT_EQ(storedCount(readBytes(path("t.dbf"))), 1u);  // opening writes nothing
  ASSERT_EQ(t->flush(), 0);
  EXPECT_EQ(storedCount(readBytes(path("t.dbf"))), 3u);
}

TEST_F(TableDurability, CountPastTheEndOfTheFileTrustsTheRecordsThere) {
  RawTable raw = threeRecords();
  raw.count = 7;  // a copy cut short
  writeBytes(path("t.dbf"), raw.bytes());
  Table* t = open("t.dbf");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->recordCount(), 3);
  appendTexts(t, {"r4", "4"});
  t = reopen(t);
  EXPECT_EQ(t->recordCount(), 4);
  EXPECT_EQ(storedCount(readBytes(path("t.dbf"))), 4u);
}

TEST_F(TableDurability, TornRecordAtTheEndIsNeverShownAndIsOverwritten) {
  RawTable raw = threeRecords();
  raw.endMarker = false;
  raw.count = 3;
  std::string bytes = raw.bytes() + " r4  ";  // a record cut in the middle
  writeBytes(path("t.dbf"), bytes);
  Table* t = open("t.dbf");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->recordCount(), 3);
  appendTexts(t, {"new", "5"});
  t = reopen(t);
  EXPECT_EQ(keys(t), (std::vector<std::string>{"r1  ", "r2  ", "r3  ", "new "}));
  std::string after = readBytes(path("t.dbf"));
  EXPECT_EQ(after.size(), static_cast<std::size_t>(97 + 4 * 8 + 1));
  EXPECT_EQ(after.substr(after.size() - 9, 8), " new 5  ");  // text is not justified
  EXPECT_EQ(after.back(), '\x1A');
}

TEST_F(TableDurability, WholeRecordsWithoutAFlagAreNotRecords) {
  RawTable raw = threeRecords();
  raw.count = 2;
  raw.records[2] = std::string(8, '\0');  // space the file system gave but never filled
  writeBytes(path("t.dbf"), raw.bytes());
  Table* t = open("t.dbf");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->recordCount(), 2);
  appendTexts(t, {"r3", "3"});
  t = reopen(t);
  EXPECT_EQ(keys(t), (std::vector<std::string>{"r1  ", "r2  ", "r3  "}));
  EXPECT_EQ(readBytes(path("t.dbf")).size(), static_cast<std::size_t>(97 + 3 * 8 + 1));
}

TEST_F(TableDurability, AppendsAreOnDiskAtOnceAndTheHeaderFollowsOnFlush) {
  Table* t = create("t.dbf", {{"KEY", 'C', 4, 0}});
  ASSERT_NE(t, nullptr);
  for (int i = 0; i < 3; ++i) appendTexts(t, {base::format("a%d", i)});
  // Without any close, another reader of the file finds all three.
  std::string bytes = readBytes(path("t.dbf"));
  EXPECT_EQ(bytes.size(), static_cast<std::size_t>(65 + 3 * 5));
  writeBytes(path("copy.dbf"), bytes);
  Table* copy = open("copy.dbf");
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->recordCount(), 3);
  ASSERT_EQ(t->flush(), 0);
  bytes = readBytes(path("t.dbf"));
  EXPECT_EQ(storedCount(bytes), 3u);
  EXPECT_EQ(bytes.size(), static_cast<std::size_t>(65 + 3 * 5 + 1));
  EXPECT_EQ(bytes.back(), '\x1A');
}

TEST_F(TableDurability, EveryStoredRecordStartsWithAFlag) {
  Table* t = create("t.dbf", {{"KEY", 'C', 4, 0}});
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(t->appendStart(), 0);
  t->recordBuffer()[0] = '?';  // a caller's stray byte must not hide the record after a crash
  ASSERT_EQ(t->append(), 0);
  writeBytes(path("copy.dbf"), readBytes(path("t.dbf")));  // as a crash leaves it: count 0
  Table* copy = open("copy.dbf");
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->recordCount(), 1);
  ASSERT_EQ(copy->goRecord(1), 0);
  EXPECT_FALSE(copy->deleted());
}

TEST_F(TableDurability, UnchangedTableIsNotWritten) {
  writeBytes(path("t.dbf"), threeRecords().bytes());
  std::string before = readBytes(path("t.dbf"));
  Table* t = open("t.dbf");
  ASSERT_NE(t, nullptr);
  keys(t);
  store.clearError();
  ASSERT_EQ(store.closeTable(t), 0);
  EXPECT_EQ(readBytes(path("t.dbf")), before);
}

// Files whose next write stops half-way with a device error, as a cable pulled
// in the middle of a transfer leaves them.
class TearingFileSystem : public testing_support::FaultyFileSystem {
 public:
  using FaultyFileSystem::FaultyFileSystem;
  bool tearNextWrite = false;
  int open(const std::string& path, platform::Access access, platform::Disposition disposition,
           std::unique_ptr<platform::FileHandle>& out) override {
    int rc = FaultyFileSystem::open(path, access, disposition, out);
    if (rc == 0) out = std::make_unique<Handle>(*this, std::move(out));
    return rc;
  }

 private:
  class Handle : public platform::FileHandle {
   public:
    Handle(TearingFileSystem& owner, std::unique_ptr<platform::FileHandle> inner)
        : owner_(owner), inner_(std::move(inner)) {}
    int read(void* b, std::size_t n, std::size_t& done) override {
      return inner_->read(b, n, done);
    }
    int write(const void* b, std::size_t n, std::size_t& done) override {
      if (!owner_.tearNextWrite || n < 2) return inner_->write(b, n, done);
      owner_.tearNextWrite = false;
      inner_->write(b, n / 2, done);
      return platform::kErrIoDevice;
    }
    int seek(std::int64_t d, platform::SeekFrom f, std::int64_t& p) override {
      return inner_->seek(d, f, p);
    }
    int size(std::int64_t& bytes) override { return inner_->size(bytes); }
    int setSize(std::int64_t bytes) override { return inner_->setSize(bytes); }
    int flush() override { return inner_->flush(); }
    int close() override { return inner_->close(); }

   private:
    TearingFileSystem& owner_;
    std::unique_ptr<platform::FileHandle> inner_;
  };
};

class TableFaults : public TableDurability {
 protected:
  TableFaults() : faulty(platform::nativeFileSystem()), scopedClock(clock) {}
  TearingFileSystem faulty;
  testing_support::FakeClock clock;
  platform::ScopedClock scopedClock;
};

TEST_F(TableFaults, StorageAwayForAWhileIsWaitedFor) {
  {
    platform::ScopedFileSystem scoped(faulty);
    Table* t = create("t.dbf", {{"KEY", 'C', 4, 0}});
    ASSERT_NE(t, nullptr);
    faulty.unavailableUntil(clock.ticks() + 3000);
    appendTexts(t, {"kept"});
    EXPECT_GE(clock.sleptMs(), 3000u);
    EXPECT_GT(faulty.failures(), 0);
    faulty.unavailableUntil(clock.ticks() + 2000);
    store.clearError();
    EXPECT_EQ(store.closeTable(t), 0);
  }
  Table* t = open("t.dbf");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(keys(t), (std::vector<std::string>{"kept"}));
}

TEST_F(TableFaults, OpenThroughRetriesAndReportsOtherFailures) {
  host.expect("Permission Error Opening File", ui::kIdOk, kErrorCaption);
  writeBytes(path("t.dbf"), threeRecords().bytes());
  platform::ScopedFileSystem scoped(faulty);
  faulty.failNext(5);  // device not available five times
  Table* t = open("t.dbf");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->recordCount(), 3);
  store.clearError();
  ASSERT_EQ(store.closeTable(t), 0);
  faulty.failNext(1, platform::kErrAccessDenied);
  EXPECT_EQ(open("t.dbf"), nullptr);
  EXPECT_EQ(store.error(), kErrOpenPermission);
  EXPECT_TRUE(host.sawText(path("t.dbf")));
}

TEST_F(TableFaults, FailedAppendIsReportedAndLeavesNoRecord) {
  host.expect("Writing to File", ui::kIdOk, kErrorCaption);
  writeBytes(path("t.dbf"), threeRecords().bytes());
  std::string before = readBytes(path("t.dbf"));
  {
    platform::ScopedFileSystem scoped(faulty);
    Table* t = open("t.dbf");
    ASSERT_NE(t, nullptr);
    faulty.failWritesAfter(0);
    ASSERT_EQ(t->appendStart(), 0);
    ASSERT_EQ(t->fieldByNumber(1)->assignText("lost"), 0);
    EXPECT_EQ(t->append(), kErrWrite);
    EXPECT_EQ(t->recordCount(), 3);
    EXPECT_EQ(store.error(), kErrWrite);
    EXPECT_TRUE(host.sawText(base::format("Error #: -120\nError #: %d\nWriting to File\n%s",
                                          kAtAppend, path("t.dbf").c_str())));
    store.clearError();
    EXPECT_EQ(store.closeTable(t), 0);
  }
  EXPECT_EQ(readBytes(path("t.dbf")), before);

  // The device gone for longer than the retries cover: the same.
  {
    platform::ScopedFileSystem scoped(faulty);
    faulty.failWritesAfter(-1);
    Table* t = open("t.dbf");
    ASSERT_NE(t, nullptr);
    faulty.unavailableUntil(clock.ticks() + 60000);
    ASSERT_EQ(t->appendStart(), 0);
    EXPECT_EQ(t->append(), kErrWrite);
    faulty.unavailableUntil(0);
    store.clearError();
    EXPECT_EQ(store.closeTable(t), 0);
  }
  EXPECT_EQ(readBytes(path("t.dbf")), before);
}

TEST_F(TableFaults, PartlyWrittenRecordIsCut) {
  host.expect("Writing to File", ui::kIdOk, kErrorCaption);
  RawTable raw = threeRecords();
  raw.fields[0].length = 40;  // records long enough to tear past the end marker
  for (std::string& r : raw.records) r.insert(5, 36, ' ');
  writeBytes(path("t.dbf"), raw.bytes());
  std::string before = readBytes(path("t.dbf"));
  {
    platform::ScopedFileSystem scoped(faulty);
    Table* t = open("t.dbf");
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->appendStart(), 0);
    faulty.tearNextWrite = true;
    EXPECT_EQ(t->append(), kErrWrite);
    // The half record is gone (the end marker comes back with the next write).
    EXPECT_EQ(readBytes(path("t.dbf")), before.substr(0, before.size() - 1));
    store.clearError();
    appendTexts(t, {"next", "4"});
    store.clearError();
    EXPECT_EQ(store.closeTable(t), 0);
  }
  Table* t = open("t.dbf");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->recordCount(), 4);
  ASSERT_EQ(t->goRecord(4), 0);
  EXPECT_EQ(t->fieldByNumber(1)->text().substr(0, 4), "next");
}

TEST_F(TableFaults, FailedWriteBackKeepsTheChangeForTheNextTry) {
  host.expect("Writing to File", ui::kIdOk, kErrorCaption);
  writeBytes(path("t.dbf"), threeRecords().bytes());
  platform::ScopedFileSystem scoped(faulty);
  Table* t = open("t.dbf");
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(t->goRecord(2), 0);
  ASSERT_EQ(t->fieldByNumber(1)->assignText("EDIT"), 0);
  faulty.failWritesAfter(0);
  EXPECT_EQ(t->flush(), kErrWrite);
  EXPECT_EQ(t->changed(), 1);
  faulty.failWritesAfter(-1);
  store.clearError();
  EXPECT_EQ(store.closeTable(t), 0);
  t = open("t.dbf");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(keys(t), (std::vector<std::string>{"r1  ", "EDIT", "r3  "}));
}

TEST_F(TableFaults, FailedPackAndOpenGapLoseNoRecord) {
  host.expect("Writing to File", ui::kIdOk, kErrorCaption);
  writeBytes(path("t.dbf"), threeRecords().bytes());
  platform::ScopedFileSystem scoped(faulty);
  Table* t = open("t.dbf");
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(t->goRecord(1), 0);
  ASSERT_EQ(t->deleteRecord(), 0);
  ASSERT_EQ(t->goRecord(2), 0);  // record 1 is now marked on disk
  faulty.failWritesAfter(0);
  EXPECT_EQ(t->pack(), kErrWrite);
  store.clearError();
  EXPECT_EQ(t->openGap(1), kErrWrite);
  faulty.failWritesAfter(-1);
  store.clearError();
  ASSERT_EQ(store.closeTable(t), 0);
  t = open("t.dbf");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(keys(t), (std::vector<std::string>{"r1  ", "r2  ", "r3  "}));
  ASSERT_EQ(t->pack(), 0);
  EXPECT_EQ(keys(t), (std::vector<std::string>{"r2  "}));  // r1 and r3 were marked
}

TEST_F(TableFaults, RecordsAppendedInOneRunAreAllThereOrNoneIs) {
  host.expect("Unexpected Parameter", ui::kIdOk, kErrorCaption);
  host.expect("Writing to File", ui::kIdOk, kErrorCaption);
  writeBytes(path("t.dbf"), threeRecords().bytes());
  const std::string before = readBytes(path("t.dbf"));
  {
    platform::ScopedFileSystem scoped(faulty);
    Table* t = open("t.dbf");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->appendRecords(" r4    4 r5", 2), kErrParameter);  // not two whole records
    store.clearError();
    faulty.failWritesAfter(0);
    EXPECT_EQ(t->appendRecords(" r4    4 r5    5", 2), kErrWrite);
    EXPECT_EQ(t->recordCount(), 3);
    store.clearError();
    EXPECT_EQ(store.closeTable(t), 0);
  }
  EXPECT_EQ(readBytes(path("t.dbf")), before);

  Table* t = open("t.dbf");
  ASSERT_NE(t, nullptr);
  // A byte 0 that is no flag is stored as a live record's.
  ASSERT_EQ(t->appendRecords("xr4    4*r5    5", 2), 0);
  EXPECT_EQ(t->appendRecords("", 0), 0);
  EXPECT_EQ(t->recordCount(), 5);
  ASSERT_EQ(store.closeTable(t), 0);
  t = open("t.dbf");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(keys(t), (std::vector<std::string>{"r1  ", "r2  ", "r3  ", "r4  ", "r5  "}));
  ASSERT_EQ(t->goRecord(4), 0);
  EXPECT_FALSE(t->deleted());
  ASSERT_EQ(t->goRecord(5), 0);
  EXPECT_TRUE(t->deleted());
}

}  // namespace
}  // namespace tablestore_test
