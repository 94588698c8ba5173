#include <gtest/gtest.h>

#include "config/unit_code.hpp"
#include "shell/startup.hpp"

namespace {

using shell::computeGeometry;

TEST(Geometry, NoCommandLineCentresAtMostXga) {
  shell::Geometry g = computeGeometry("", 1920, 1080);
  EXPECT_EQ(g.width, 1024);
  EXPECT_EQ(g.height, 768);
  EXPECT_EQ(g.x, 448);
  EXPECT_EQ(g.y, 156);
  EXPECT_FALSE(g.portrait);
  EXPECT_EQ(g.buttonColumns, 6);
  EXPECT_EQ(g.buttonRows, 1);
}

TEST(Geometry, FourNumbersPlaceTheWindow) {
  shell::Geometry g = computeGeometry("/10/20/600/900", 1920, 1080);
  EXPECT_EQ(g.x, 10);
  EXPECT_EQ(g.y, 20);
  EXPECT_EQ(g.width, 600);
  EXPECT_EQ(g.height, 900);
  EXPECT_TRUE(g.portrait);
  EXPECT_EQ(g.buttonColumns, 3);
  EXPECT_EQ(g.buttonRows, 2);
}

TEST(Geometry, MissingHeightGivesTheDefault) {
  shell::Geometry g = computeGeometry("/10/20/600", 1920, 1080);
  EXPECT_EQ(g.width, 1024);
  EXPECT_EQ(g.height, 768);
  EXPECT_EQ(g.x, 448);
}

TEST(Geometry, NegativePositionBecomesZero) {
  shell::Geometry g = computeGeometry("/-5/-5/800/600", 1920, 1080);
  EXPECT_EQ(g.x, 0);
  EXPECT_EQ(g.y, 0);
  EXPECT_EQ(g.width, 800);
}

TEST(Geometry, NumbersSkipLeadingBlanksAsADecimalConversionDoes) {
  shell::Geometry g = computeGeometry("/ 10/\t20/  600/\n900", 1920, 1080);
  EXPECT_EQ(g.x, 10);
  EXPECT_EQ(g.y, 20);
  EXPECT_EQ(g.width, 600);
  EXPECT_EQ(g.height, 900);
  EXPECT_TRUE(g.portrait);
  // Blanks before the sign too; a blank between sign and digits ends the number.
  g = computeGeometry("/ -5/ +7/\v\f\r800/600", 1920, 1080);
  EXPECT_EQ(g.x, 0);
  EXPECT_EQ(g.y, 7);
  EXPECT_EQ(g.width, 800);
  g = computeGeometry("/1/2/- 300/400", 1920, 1080);
  EXPECT_EQ(g.width, 1024);  // "- 300" reads as 0: the default
}

TEST(Geometry, NegativeSizeIsKeptOnlyZeroGivesTheDefault) {
  shell::Geometry g = computeGeometry("/1/2/-300/-400", 1920, 1080);
  EXPECT_EQ(g.x, 1);
  EXPECT_EQ(g.y, 2);
  EXPECT_EQ(g.width, -300);
  EXPECT_EQ(g.height, -400);
  EXPECT_FALSE(g.portrait);  // -300 is not less than -400
  EXPECT_EQ(g.buttonColumns, 6);
  g = computeGeometry("/-9/-9/-300/200", 1920, 1080);
  EXPECT_EQ(g.width, -300);
  EXPECT_EQ(g.x, 0);
  EXPECT_TRUE(g.portrait);
  g = computeGeometry("/1/2/0/-400", 1920, 1080);
  EXPECT_EQ(g.width, 1024);
  EXPECT_EQ(g.height, 768);
}

TEST(Geometry, GarbageNeverStopsTheStart) {
  for (const char* junk : {"/abc/def", "////", "/99999999999999999999/1/1/1", "/-/-/-/-", "no slashes",
                           "/1/2/3/4/5/6"}) {
    shell::Geometry g = computeGeometry(junk, 800, 600);
    EXPECT_GT(g.width, 0) << junk;
    EXPECT_GT(g.height, 0) << junk;
    EXPECT_GE(g.x, 0) << junk;
  }
  // A small screen keeps the window inside it.
  shell::Geometry g = computeGeometry("", 640, 480);
  EXPECT_EQ(g.width, 640);
  EXPECT_EQ(g.x, 0);
}

TEST(InstallLocation, RootIsWhatStandsBeforeTheFolderMarker) {
  auto style = config::windowsPathStyle();
  auto where = shell::locateInstall("E:\\Orvandat\\Tallyfin PC\\Tallyfin PC.exe", style);
  EXPECT_EQ(where.installFolder, "E:\\Orvandat\\Tallyfin PC");
  EXPECT_EQ(where.installRoot, "E:\\");
  where = shell::locateInstall("D:\\Field\\Orvandat\\Tallyfin PC\\Tallyfin PC.exe", style);
  EXPECT_EQ(where.installRoot, "D:\\Field\\");
}

TEST(InstallLocation, AnyOtherPlaceOrNameFallsBackToTheDefault) {
  auto style = config::windowsPathStyle();
  for (const char* exe : {"C:\\Programs\\Tool\\Tallyfin PC.exe", "E:\\Orvandat\\Tallyfin PC\\tallyfin pc.exe",
                          "E:\\Orvandat\\Tallyfin PC\\Other.exe", ""}) {
    auto where = shell::locateInstall(exe, style);
    EXPECT_EQ(where.installFolder, "C:\\Orvandat\\Tallyfin PC") << exe;
    EXPECT_EQ(where.installRoot, "C:\\Orvandat\\Tallyfin PC") << exe;
  }
}

TEST(InstallLocation, PosixKeepsTheSameFolderRule) {
  auto style = config::posixPathStyle("/home/crew/.local/share/");
  auto where = shell::locateInstall("/media/card/Orvandat/Tallyfin PC/tallyfin", style);
  EXPECT_EQ(where.installRoot, "/media/card/");
  where = shell::locateInstall("/usr/bin/tallyfin", style);
  EXPECT_EQ(where.installFolder, "/home/crew/.local/share/Orvandat/Tallyfin PC");
}

TEST(Tablet, OnlySurfaceFamiliesCount) {
  EXPECT_TRUE(shell::isTabletFamily("Surface Pro"));
  EXPECT_FALSE(shell::isTabletFamily("Surf"));
  EXPECT_FALSE(shell::isTabletFamily(""));
  EXPECT_FALSE(shell::isTabletFamily("surface pro"));
}

TEST(UnitCode, LastSixCharactersPaddedWithUnderscores) {
  EXPECT_EQ(config::unitCodeFrom("ABC"), "ABC___");
  EXPECT_EQ(config::unitCodeFrom("1234567890"), "567890");
  EXPECT_EQ(config::unitCodeFrom("  CREW-7  "), "CREW-7");
  EXPECT_EQ(config::unitCodeFrom(""), "______");
}

}  // namespace
