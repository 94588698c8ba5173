// Position files: written whole at close, read back at open, refused when
// they are not exactly 44 bytes, and kept inside the level when applied.
#include <gtest/gtest.h>

#include "apps/level_records.hpp"
#include "datasets/position_file.hpp"
#include "platform/fileops.hpp"
#include "support/faulty_files.hpp"
#include "support/temp_dir.hpp"

namespace {

using datasets::PositionRecord;
using testing_support::readBytes;
using testing_support::writeBytes;

class PositionFileTest : public ::testing::Test {
 protected:
  testing_support::TempDir dir;
  std::string table = dir.file("07 1A____[N]ABC___~~TREES.dbf");
  std::string position = dir.file("07 1A____[N]ABC___~~TREES.db$");
};

PositionRecord counting() {
  PositionRecord r;
  for (int w = 0; w < PositionRecord::kWordCount; ++w) r.setWord(w, 100 + w);
  return r;
}

TEST_F(PositionFileTest, TheNameEndsInADollar) {
  EXPECT_EQ(datasets::positionPath("x.dbf"), "x.db$");
  EXPECT_EQ(datasets::positionPath(""), "");
}

TEST_F(PositionFileTest, WrittenWholeAndReadBack) {
  ASSERT_EQ(datasets::writePositionFile(table, counting()), 1);
  const std::string bytes = readBytes(position);
  ASSERT_EQ(bytes.size(), 44u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[4]), 101);  // the line, little-endian, second word
  PositionRecord back;
  ASSERT_EQ(datasets::readPositionFile(table, back), 1);
  EXPECT_EQ(back.bytes(), counting().bytes());
}

TEST_F(PositionFileTest, MissingShortOrLongFilesLeaveThePositionAlone) {
  PositionRecord out = counting();
  EXPECT_EQ(datasets::readPositionFile(table, out), 0);
  writeBytes(position, std::string(43, '\x01'));
  EXPECT_EQ(datasets::readPositionFile(table, out), 0);
  writeBytes(position, std::string(45, '\x01'));
  EXPECT_EQ(datasets::readPositionFile(table, out), 0);
  writeBytes(position, "");
  EXPECT_EQ(datasets::readPositionFile(table, out), 0);
  EXPECT_EQ(out.bytes(), counting().bytes());
}

TEST_F(PositionFileTest, AFileThatCannotBeWrittenWholeIsRemoved) {
  writeBytes(position, std::string(44, '\0'));
  testing_support::FaultyFileSystem faulty(platform::nativeFileSystem());
  {
    platform::ScopedFileSystem use(faulty);
    faulty.failWritesAfter(20);
    EXPECT_EQ(datasets::writePositionFile(table, counting()), 0);
  }
  EXPECT_FALSE(platform::fileExists(position));
}

TEST_F(PositionFileTest, CapturedFromTheEditStateAndRestoredInsideTheLevel) {
  apps::LevelHeader h;
  h.setCurColumn(3);
  h.setCurLine(12);
  h.setPage(2);
  h.setTopLine(9);
  h.setBottomLine(14);
  const PositionRecord r = datasets::capturePosition(h);
  EXPECT_EQ(r.word(PositionRecord::kColumn), 3);
  EXPECT_EQ(r.word(PositionRecord::kLine), 12);
  EXPECT_EQ(r.word(PositionRecord::kFirstShown), 9);

  apps::LevelHeader same;
  datasets::restorePosition(same, r, 20, 5);
  EXPECT_EQ(same.curLine(), 12);
  EXPECT_EQ(same.curColumn(), 3);
  EXPECT_EQ(same.bottomLine(), 14);

  // A file from another day of the table: the lines are gone since.
  PositionRecord wild = r;
  wild.setWord(PositionRecord::kColumn, 900);
  wild.setWord(PositionRecord::kLine, -5);
  wild.setWord(PositionRecord::kLastShown, 1 << 30);
  wild.setWord(PositionRecord::kPage, -1);
  apps::LevelHeader kept;
  datasets::restorePosition(kept, wild, 10, 5);
  EXPECT_EQ(kept.curColumn(), 5);
  EXPECT_EQ(kept.curLine(), 1);
  EXPECT_EQ(kept.bottomLine(), 10);
  EXPECT_EQ(kept.page(), 0);
  apps::LevelHeader empty;
  datasets::restorePosition(empty, wild, 0, 5);
  EXPECT_EQ(empty.curLine(), 0);
}

}  // namespace
