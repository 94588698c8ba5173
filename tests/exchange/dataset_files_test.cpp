#include "exchange/dataset_files.hpp"

#include <gtest/gtest.h>

#include "platform/fileops.hpp"
#include "support/temp_dir.hpp"

namespace {

using testing_support::TempDir;
using testing_support::writeBytes;

bool exists(const TempDir& dir, const std::string& name) {
  return platform::fileExists(dir.file(name));
}

TEST(DatasetFiles, ListingSplitsCoordinateFilesAndLeavesOutVersionTablesAndFolders) {
  TempDir dir;
  writeBytes(dir.file("03 2AB___[N]ABC123~K2~PLOT.dbf"), "x");
  writeBytes(dir.file("03 2AB___[N]ABC123~K1~PLOT.dbf"), "x");
  writeBytes(dir.file("03 2AB___[N]ABC123~K1-P1~PLOT^GPS Point^.GPF"), "x");
  writeBytes(dir.file("03 2AB___[N]ABC123#$$DataAppVer.dbf"), "x");
  writeBytes(dir.file("04 2AB___[N]ABC123~K1~PLOT.dbf"), "x");
  ASSERT_TRUE(platform::makeFolder(dir.file("03 2AB___[folder].dbf")));

  auto lists = exchange::listDataFiles(dir.path(), "03 2AB___[*.*");
  EXPECT_EQ(lists.tables, (std::vector<std::string>{"03 2AB___[N]ABC123~K1~PLOT.dbf",
                                                    "03 2AB___[N]ABC123~K2~PLOT.dbf"}));
  EXPECT_EQ(lists.coordinates,
            (std::vector<std::string>{"03 2AB___[N]ABC123~K1-P1~PLOT^GPS Point^.GPF"}));
  EXPECT_TRUE(exchange::listDataFiles(dir.path(), "09 *.dbf").tables.empty());
}

TEST(DatasetFiles, ListingStopsAtTheListSize) {
  TempDir dir;
  for (std::size_t i = 0; i < exchange::kMaxListedFiles + 3; ++i)
    writeBytes(dir.file("f" + std::to_string(i) + ".dbf"), "");
  EXPECT_EQ(exchange::listDataFiles(dir.path(), "*.dbf").tables.size(), exchange::kMaxListedFiles);
}

TEST(DatasetFiles, MarksRenameTablesAndCoordinateFilesOnly) {
  EXPECT_EQ(exchange::markedName("a~b~T.dbf"), "a~b~T.del");
  EXPECT_EQ(exchange::markedName("a~b~T^GPS Line ^.GPF"), "a~b~T^GPS Line ^.gel");
  EXPECT_EQ(exchange::markedName("A.DBF"), "A.del");
  EXPECT_EQ(exchange::markedName("a.txt"), "");
  EXPECT_EQ(exchange::markedName("dbf"), "");

  TempDir dir;
  writeBytes(dir.file("x.dbf"), "data");
  EXPECT_EQ(exchange::markProcessed(dir.path(), "x.dbf"), 0);
  EXPECT_FALSE(exists(dir, "x.dbf"));
  EXPECT_EQ(testing_support::readBytes(dir.file("x.del")), "data");
  EXPECT_NE(exchange::markProcessed(dir.path(), "missing.dbf"), 0);
  writeBytes(dir.file("y.txt"), "");
  EXPECT_NE(exchange::markProcessed(dir.path(), "y.txt"), 0);
  EXPECT_TRUE(exists(dir, "y.txt"));
}

TEST(DatasetFiles, SweepTakesOnlyThisDatasetsMarkedFiles) {
  TempDir dir;
  const std::vector<std::string> ours = {
      "03 2AB___[North]ABC123~K1~PLOT.del",
      "03 2AB___[North]ABC123~K1-P1~PLOT^GPS Point^.gel",
      "03 2AB___[North]ABC123~K1~PLOT.db$",
      "[North]2AB___ABC123PLOT+.del",
  };
  const std::vector<std::string> others = {
      "04 2AB___[North]ABC123~K1~PLOT.del",       // another number
      "03 2AB___[South]ABC123~K1~PLOT.del",       // same number, another name
      "04 2AB___[South]ABC123~K1~PLOT.db$",
      "[South]2AB___ABC123PLOT+.del",
      "03 2AB___[North]ABC123~K2~PLOT.dbf",       // not marked
      "[North]2AB___ABC123PLOT+.dbf",
      "03 not a raw name.del",                    // does not parse
      "stray.del",
  };
  for (const auto& n : ours) writeBytes(dir.file(n), "x");
  for (const auto& n : others) writeBytes(dir.file(n), "x");

  auto result = exchange::sweepDataset(dir.path(), 3, "North");
  EXPECT_EQ(result.deleted, static_cast<int>(ours.size()));
  EXPECT_TRUE(result.failed.empty());
  for (const auto& n : ours) EXPECT_FALSE(exists(dir, n)) << n;
  for (const auto& n : others) EXPECT_TRUE(exists(dir, n)) << n;
}

}  // namespace
