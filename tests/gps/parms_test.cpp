#include <gtest/gtest.h>

#include "gps/parms.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"
#include "support/faulty_files.hpp"
#include "support/scripted_host.hpp"
#include "support/selective_files.hpp"
#include "support/temp_dir.hpp"

namespace {

using gps::GpsParms;
using testing_support::ScriptedHost;

class ParmsFile : public ::testing::Test {
 protected:
  testing_support::TempDir dir;
  ScriptedHost host;
  const char sep = platform::kSep;
  std::string root = dir.path();
  std::string path = gps::gpsSettingsPath(root, gps::kParmsFileName, sep);
  GpsParms parms;

  // A record whose every named field differs from the defaults.
  static GpsParms unusual() {
    GpsParms p;
    p.setUnitOfMeasure(gps::kMetric);
    p.setVelocityUnit(gps::kMps);
    p.setDistanceUnit(gps::kKilometer);
    p.setBearingRef(gps::kMagneticBearing);
    p.setCoordinateFormat(gps::kUtmZone);
    p.setRequireDgps(true);
    p.setMinSatellites(6);
    p.setMaxPdop(5);
    p.setMagneticVariation(-12.5);
    p.setRecordingInterval(-50);
    p.setLogDuringWarnings(true);
    p.setAveragePoints(true);
    p.setPositionsToAverage(25);
    p.setU8(10, 0x5a);  // a byte nobody names
    return p;
  }
  static std::string bytesOf(const GpsParms& p) { return std::string(p.bytes().begin(), p.bytes().end()); }
  static GpsParms fromBytes(const std::string& b) {
    GpsParms p;
    std::copy(b.begin(), b.end(), p.bytes().begin());
    return p;
  }
};

TEST_F(ParmsFile, MissingFileKeepsTheDefaultsAndIsWrittenWithoutAWord) {
  parms = unusual();
  EXPECT_EQ(gps::readGpsParms(host, root, parms, sep), 0);
  EXPECT_TRUE(host.shown().empty());
  EXPECT_EQ(parms.unitOfMeasure(), gps::kStandard);
  EXPECT_EQ(parms.coordinateFormat(), gps::kDegMinSec);
  EXPECT_DOUBLE_EQ(parms.maxHdop(), 12.0);
  const std::string bytes = testing_support::readBytes(path);
  ASSERT_EQ(bytes.size(), 80u);
  EXPECT_EQ(bytes, bytesOf(parms));
}

TEST_F(ParmsFile, AGoodFileIsTakenWholeUnnamedBytesToo) {
  const GpsParms stored = unusual();
  testing_support::writeBytes(path, bytesOf(stored));
  EXPECT_EQ(gps::readGpsParms(host, root, parms, sep), 1);
  EXPECT_TRUE(host.shown().empty());
  EXPECT_EQ(bytesOf(parms), bytesOf(stored));
  EXPECT_EQ(parms.recordingInterval(), -50);
}

TEST_F(ParmsFile, ShortFileIsReportedAndRewrittenWithDefaultsKeepingTheLoggingFields) {
  parms = unusual();  // the logging fields in memory survive the defaults
  testing_support::writeBytes(path, std::string(79, '\x33'));
  host.expectOnce("GPS Parms File Size Bad\nSetting to Defaults", ui::kIdOk, "");
  EXPECT_EQ(gps::readGpsParms(host, root, parms, sep), 0);
  ASSERT_EQ(host.shown().size(), 1u);
  EXPECT_EQ(host.shown()[0].text, "GPS Parms File Size Bad\nSetting to Defaults");
  EXPECT_EQ(host.shown()[0].caption, "");
  EXPECT_TRUE(host.shown()[0].flags & ui::kMbTopmost);
  EXPECT_EQ(parms.unitOfMeasure(), gps::kStandard);
  EXPECT_FALSE(parms.requireDgps());
  EXPECT_EQ(parms.recordingInterval(), -50);
  EXPECT_TRUE(parms.logDuringWarnings());
  EXPECT_TRUE(parms.averagePoints());
  EXPECT_EQ(parms.positionsToAverage(), 25);
  const std::string bytes = testing_support::readBytes(path);
  ASSERT_EQ(bytes.size(), 80u);
  EXPECT_EQ(bytes, bytesOf(parms));
  EXPECT_EQ(fromBytes(bytes).positionsToAverage(), 25);
}

TEST_F(ParmsFile, LongAndEmptyFilesAreBadSizesToo) {
  for (const std::string& junk : {std::string(81, 'x'), std::string()}) {
    testing_support::writeBytes(path, junk);
    host.expectOnce("GPS Parms File Size Bad");
    EXPECT_EQ(gps::readGpsParms(host, root, parms, sep), 0);
    EXPECT_EQ(testing_support::readBytes(path).size(), 80u);
  }
}

TEST_F(ParmsFile, AnUnknownCoordinateFormatIsDegMinSecButTheByteRidesAlong) {
  GpsParms stored;
  stored.setI16(GpsParms::kCoordinateFormat, 9);
  testing_support::writeBytes(path, bytesOf(stored));
  ASSERT_EQ(gps::readGpsParms(host, root, parms, sep), 1);
  EXPECT_EQ(parms.coordinateFormat(), gps::kDegMinSec);
  EXPECT_EQ(parms.i16(GpsParms::kCoordinateFormat), 9);
  stored.setI16(GpsParms::kCoordinateFormat, -1);
  testing_support::writeBytes(path, bytesOf(stored));
  ASSERT_EQ(gps::readGpsParms(host, root, parms, sep), 1);
  EXPECT_EQ(parms.coordinateFormat(), gps::kDegMinSec);
}

TEST_F(ParmsFile, OpenAndReadFailuresEachHaveTheirMessageAndLeaveNoHalfRecord) {
  struct Case {
    testing_support::SelectiveFileSystem::Fault fault;
    const char* message;
  };
  const Case cases[] = {
      {{.suffix = gps::kParmsFileName, .openError = platform::kErrAccessDenied},
       "Can't Open GPS Parms.dft for Read\nSetting to Defaults"},
      {{.suffix = gps::kParmsFileName, .readNumber = 1, .readError = platform::kErrIoDevice},
       "GPS Parms Read DFT Failed\nSetting to Defaults"},
      {{.suffix = gps::kParmsFileName, .readNumber = 1, .shortRead = true},
       "GPS Parms Read DFT Size Failed\nSetting to Defaults"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    testing_support::writeBytes(path, bytesOf(unusual()));
    testing_support::SelectiveFileSystem files;
    files.add(c.fault);
    platform::ScopedFileSystem use(files);
    ScriptedHost h;
    h.expectOnce(c.message, ui::kIdOk, "");
    GpsParms p;
    EXPECT_EQ(gps::readGpsParms(h, root, p, sep), 0);
    EXPECT_EQ(h.shown().size(), 1u);
    EXPECT_EQ(p.unitOfMeasure(), gps::kStandard);
    EXPECT_EQ(p.u8(10), 0);  // nothing of the file came through
    files.clear();
    EXPECT_EQ(testing_support::readBytes(path), bytesOf(p));  // rewritten with defaults
  }
}

TEST_F(ParmsFile, AFailedWriteKeepsTheOldFileWholeAndSetsDefaults) {
  const GpsParms old = unusual();
  testing_support::writeBytes(path, bytesOf(old));
  testing_support::FaultyFileSystem files(platform::nativeFileSystem());
  platform::ScopedFileSystem use(files);
  files.failWritesAfter(10, platform::kErrDiskFull);
  host.expectOnce("GPS Parms Put DFT Write Size Failed", ui::kIdOk, "");
  GpsParms changed = unusual();
  changed.setMinSatellites(9);
  EXPECT_EQ(gps::writeGpsParms(host, root, changed, sep), 0);
  EXPECT_EQ(changed.minSatellites(), 4);           // defaults in memory ...
  EXPECT_EQ(changed.positionsToAverage(), 25);     // ... but for the logging fields
  EXPECT_EQ(testing_support::readBytes(path), bytesOf(old));
  EXPECT_FALSE(platform::fileExists(path + ".new"));

  files.failWritesAfter(-1);
  files.failNext(1, platform::kErrAccessDenied);
  host.expectOnce("Can't Open GPS_Parms.dft for Write", ui::kIdOk, "");
  EXPECT_EQ(gps::writeGpsParms(host, root, changed, sep), 0);
  EXPECT_EQ(host.shown().size(), 2u);
}

}  // namespace
