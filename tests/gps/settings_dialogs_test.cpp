#include <gtest/gtest.h>

#include "gps/logging_dialog.hpp"
#include "gps/parms.hpp"
#include "gps/port_dialog.hpp"
#include "gps/presentation_dialog.hpp"
#include "gps/settings_form.hpp"
#include "gps/view_dialog.hpp"
#include "gps/warning_filters_dialog.hpp"
#include "platform/files.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"

namespace {

using gps::GpsParms;
using gps::GpsPortImage;
using testing_support::ScriptedHost;

class SettingsDialogs : public ::testing::Test {
 protected:
  testing_support::TempDir dir;
  ScriptedHost host;
  const char sep = platform::kSep;
  std::string root = dir.path();
  std::string parmsPath = gps::gpsSettingsPath(root, gps::kParmsFileName, sep);
  std::string portPath = gps::gpsSettingsPath(root, gps::kPortFileName, sep);

  void storeParms(GpsParms p) { ASSERT_EQ(gps::writeGpsParms(host, root, p, sep), 1); }
  GpsParms fileParms() {
    GpsParms p;
    EXPECT_EQ(gps::readGpsParms(host, root, p, sep), 1);
    return p;
  }
  GpsPortImage filePort() {
    GpsPortImage p;
    EXPECT_EQ(gps::readGpsPort(host, root, p, sep), 1);
    return p;
  }
  static std::string chosen(const ui::FormState& f, int id) {
    const auto items = f.items(id);
    const int i = f.selection(id);
    return i >= 0 && i < static_cast<int>(items.size()) ? items[static_cast<std::size_t>(i)] : "(none)";
  }
  static void choose(ui::FormState& f, int id, const std::string& text) {
    const auto items = f.items(id);
    for (std::size_t i = 0; i < items.size(); ++i)
      if (items[i] == text) return f.select(id, static_cast<int>(i));
    ADD_FAILURE() << "no entry " << text;
  }
};

// --- GPS Comm Port Settings ---

TEST(PortFlags, EachFlowChoiceRebuildsTheWordFromTheDefault) {
  // 0x1093 with RTS on; CTS output flow and RTS handshake instead of RTS on;
  // XON/XOFF both ways with RTS still on.
  EXPECT_EQ(gps::lineFlagsFor(gps::kFlowNone), 0x1093u);
  EXPECT_EQ(gps::lineFlagsFor(gps::kFlowRtsCts), 0x2097u);
  EXPECT_EQ(gps::lineFlagsFor(gps::kFlowXonXoff), 0x1393u);
  for (int flow : {gps::kFlowNone, gps::kFlowRtsCts, gps::kFlowXonXoff})
    EXPECT_EQ(gps::flowOf(gps::lineFlagsFor(flow)), flow);
}

TEST_F(SettingsDialogs, PortDialogShowsTheFileAndStoresTheChoicesOnOk) {
  GpsPortImage stored;
  stored.setPortName("COM5:");
  stored.setPortNumber(5);
  stored.setBaud(19200);
  stored.setParityIndex(1);
  stored.setLineFlags(gps::lineFlagsFor(gps::kFlowXonXoff));
  stored.setProtocol(gps::kProtocolTsip);
  stored.setU8(GpsPortImage::kByteSize, 7);
  stored.setU8(GpsPortImage::kStopBitsIndex, 2);
  stored.setDetected(true);
  ASSERT_EQ(gps::writeGpsPort(host, root, stored, sep), 1);

  host.onForm(gps::kPortDialog, [](ui::FormState& f) {
    EXPECT_EQ(f.caption(), "GPS Comm Port Settings");
    EXPECT_EQ(chosen(f, gps::kPortList), "COM5:");
    EXPECT_EQ(f.items(gps::kPortList).size(), 30u);
    EXPECT_EQ(f.items(gps::kPortList).back(), "COM29:");
    EXPECT_EQ(chosen(f, gps::kBaudList), "19200");
    EXPECT_EQ(f.items(gps::kBaudList).front(), "115200");
    EXPECT_EQ(f.items(gps::kBaudList).back(), "300");
    EXPECT_EQ(chosen(f, gps::kParityList), "Odd");
    EXPECT_EQ(chosen(f, gps::kFlowList), "XON/XOFF");
    EXPECT_EQ(chosen(f, gps::kProtocolList), "TSIP");
    choose(f, gps::kPortList, "COM12:");
    choose(f, gps::kBaudList, "4800");
    choose(f, gps::kParityList, "Even");
    choose(f, gps::kFlowList, "RTS/CTS");
    choose(f, gps::kProtocolList, "NMEA");
    f.press(ui::kIdOkButton);
  });
  GpsPortImage image;
  image.setI32(GpsPortImage::kHandle, 77);  // a port open meanwhile stays known
  EXPECT_EQ(gps::portSettingsDialog(host, root, sep, image), 1);
  for (const GpsPortImage& p : {image, filePort()}) {
    EXPECT_EQ(p.portName(), "COM12:");
    EXPECT_EQ(p.portNumber(), 12);
    EXPECT_EQ(p.baud(), 4800u);
    EXPECT_EQ(p.parityIndex(), 2);
    EXPECT_EQ(p.lineFlags(), 0x2097u);
    EXPECT_EQ(p.protocolIndex(), gps::kProtocolNmea);
    EXPECT_EQ(p.protocolName(), "NMEA");
    EXPECT_EQ(p.byteSize(), 8);
    EXPECT_EQ(p.u8(GpsPortImage::kStopBitsIndex), 0);
    EXPECT_FALSE(p.detected());
  }
  EXPECT_EQ(image.i32(GpsPortImage::kHandle), 77);
}

TEST_F(SettingsDialogs, PortDialogCancelChangesNeitherImageNorFile) {
  GpsPortImage stored;
  stored.setPortName("COM3:");
  ASSERT_EQ(gps::writeGpsPort(host, root, stored, sep), 1);
  const std::string before = testing_support::readBytes(portPath);
  host.onForm(gps::kPortDialog, [](ui::FormState& f) {
    choose(f, gps::kPortList, "COM9:");
    f.press(ui::kIdCancelButton);
  });
  GpsPortImage image;
  image.setPortName("COM1:");
  EXPECT_EQ(gps::portSettingsDialog(host, root, sep, image), 0);
  EXPECT_EQ(image.portName(), "COM1:");
  EXPECT_EQ(testing_support::readBytes(portPath), before);
}

// --- View Properties ---

TEST_F(SettingsDialogs, ViewPropertiesShowsAnUnknownFormatAsDegMinSecAndStoresIt) {
  GpsParms p;
  p.setI16(GpsParms::kCoordinateFormat, 9);
  storeParms(p);
  host.onForm(gps::kViewDialog, [](ui::FormState& f) {
    EXPECT_EQ(chosen(f, gps::kPositionViewList), "Deg Min Sec");
    EXPECT_EQ(chosen(f, gps::kUnitOfMeasureList), "Standard");
    EXPECT_EQ(chosen(f, gps::kElevationList), "HAE");
    f.press(ui::kIdOkButton);
  });
  GpsParms parms;
  EXPECT_EQ(gps::viewPropertiesDialog(host, root, sep, parms), 1);
  EXPECT_EQ(fileParms().i16(GpsParms::kCoordinateFormat), gps::kDegMinSec);
}

TEST_F(SettingsDialogs, ANewUnitOfMeasureBringsItsVelocityAndDistance) {
  struct Case {
    const char* unit;
    int measure, velocity, distance;
  };
  for (const Case& c : {Case{"Metric", gps::kMetric, gps::kKph, gps::kMeters},
                        Case{"Nautical", gps::kNautical, gps::kKnots, gps::kFeet},
                        Case{"Standard", gps::kStandard, gps::kMph, gps::kFeet}}) {
    SCOPED_TRACE(c.unit);
    GpsParms p;
    // Start from another unit of measure with units foreign to the new one.
    p.setUnitOfMeasure(c.measure == gps::kStandard ? gps::kMetric : gps::kStandard);
    p.setVelocityUnit(gps::kMps);
    p.setDistanceUnit(gps::kNautMile);
    storeParms(p);
    host.onForm(gps::kViewDialog, [&](ui::FormState& f) {
      choose(f, gps::kUnitOfMeasureList, c.unit);
      choose(f, gps::kPositionViewList, "UTM+Zone");
      choose(f, gps::kElevationList, "MSL");
      f.press(ui::kIdOkButton);
    });
    GpsParms parms;
    ASSERT_EQ(gps::viewPropertiesDialog(host, root, sep, parms), 1);
    for (const GpsParms& r : {parms, fileParms()}) {
      EXPECT_EQ(r.unitOfMeasure(), c.measure);
      EXPECT_EQ(r.velocityUnit(), c.velocity);
      EXPECT_EQ(r.distanceUnit(), c.distance);
      EXPECT_EQ(r.coordinateFormat(), gps::kUtmZone);
      EXPECT_TRUE(r.elevationMsl());
    }
  }
}

TEST_F(SettingsDialogs, KeepingTheUnitOfMeasureKeepsTheChosenUnitsAndCancelKeepsAll) {
  GpsParms p;
  p.setUnitOfMeasure(gps::kMetric);
  p.setVelocityUnit(gps::kMps);
  p.setDistanceUnit(gps::kKilometer);
  storeParms(p);
  host.onForm(gps::kViewDialog, [](ui::FormState& f) { f.press(ui::kIdOkButton); });
  GpsParms parms;
  ASSERT_EQ(gps::viewPropertiesDialog(host, root, sep, parms), 1);
  EXPECT_EQ(parms.distanceUnit(), gps::kKilometer);
  EXPECT_EQ(parms.velocityUnit(), gps::kMps);

  const std::string before = testing_support::readBytes(parmsPath);
  host.onForm(gps::kViewDialog, [](ui::FormState& f) {
    choose(f, gps::kUnitOfMeasureList, "Nautical");
    f.press(ui::kIdCancelButton);
  });
  GpsParms untouched;
  untouched.setMinSatellites(11);
  EXPECT_EQ(gps::viewPropertiesDialog(host, root, sep, untouched), 0);
  EXPECT_EQ(untouched.minSatellites(), 11);
  EXPECT_EQ(untouched.unitOfMeasure(), gps::kStandard);
  EXPECT_EQ(testing_support::readBytes(parmsPath), before);
}

// --- Navigation Presentation ---

TEST_F(SettingsDialogs, PresentationStoresBearingMagVarAndUnits) {
  GpsParms p;
  p.setUnitOfMeasure(gps::kMetric);
  p.setDistanceUnit(gps::kFeet);  // not a metric unit: the first entry is taken
  p.setVelocityUnit(gps::kMps);
  p.setMagneticVariation(12.7);
  storeParms(p);
  host.onForm(gps::kPresentationDialog, [](ui::FormState& f) {
    EXPECT_EQ(f.text(gps::kUnitOfMeasureText), "Metric");
    EXPECT_EQ(f.text(gps::kMagVarEntry), "  12");
    EXPECT_EQ(chosen(f, gps::kBearingList), "True");
    EXPECT_EQ(f.items(gps::kDistanceList), (std::vector<std::string>{"Meters", "Kilometer"}));
    EXPECT_EQ(chosen(f, gps::kDistanceList), "Meters");
    EXPECT_EQ(chosen(f, gps::kVelocityList), "mps");
    choose(f, gps::kBearingList, "Mag");
    f.type(gps::kMagVarEntry, " -3.5 ");
    choose(f, gps::kVelocityList, "kph");
    f.press(ui::kIdOkButton);
  });
  GpsParms parms;
  ASSERT_EQ(gps::presentationDialog(host, root, sep, parms), 1);
  for (const GpsParms& r : {parms, fileParms()}) {
    EXPECT_TRUE(r.magneticBearing());
    EXPECT_DOUBLE_EQ(r.magneticVariation(), -3.5);
    EXPECT_EQ(r.distanceUnit(), gps::kMeters);
    EXPECT_EQ(r.velocityUnit(), gps::kKph);
  }
}

TEST_F(SettingsDialogs, MagVarThatIsNotANumberIsRefusedAndTheOldValueKept) {
  GpsParms p;
  p.setMagneticVariation(12.7);
  storeParms(p);
  const std::string before = testing_support::readBytes(parmsPath);
  host.expect("Is Not a Number of Degrees", ui::kIdOk, "Navigation Presentation");
  host.onForm(gps::kPresentationDialog, [](ui::FormState& f) {
    for (const char* bad : {"abc", "", "12x", "nan", "1e400", "181"}) {
      f.type(gps::kMagVarEntry, bad);
      f.press(ui::kIdOkButton);
      EXPECT_FALSE(f.ended()) << bad;
      EXPECT_EQ(f.text(gps::kMagVarEntry), "  12") << bad;
    }
    f.press(ui::kIdCancelButton);
  });
  GpsParms parms;
  EXPECT_EQ(gps::presentationDialog(host, root, sep, parms), 0);
  EXPECT_EQ(host.countText("Keeping 12."), 6);
  EXPECT_EQ(testing_support::readBytes(parmsPath), before);

  // Left as shown, the field keeps the stored fraction.
  host.onForm(gps::kPresentationDialog, [](ui::FormState& f) { f.press(ui::kIdOkButton); });
  ASSERT_EQ(gps::presentationDialog(host, root, sep, parms), 1);
  EXPECT_DOUBLE_EQ(fileParms().magneticVariation(), 12.7);
}

TEST_F(SettingsDialogs, ChangeUnitsOpensViewPropertiesAndItsChoiceStandsAfterCancel) {
  storeParms(GpsParms());
  host.onForm(gps::kPresentationDialog, [](ui::FormState& f) {
    EXPECT_EQ(f.text(gps::kUnitOfMeasureText), "Standard");
    choose(f, gps::kBearingList, "Mag");
    f.press(gps::kChangeUnitsButton);
    EXPECT_EQ(f.text(gps::kUnitOfMeasureText), "Nautical");
    EXPECT_EQ(f.items(gps::kDistanceList), (std::vector<std::string>{"Feet", "Naut Miles"}));
    EXPECT_EQ(f.items(gps::kVelocityList), (std::vector<std::string>{"knot", "fps"}));
    EXPECT_EQ(chosen(f, gps::kVelocityList), "knot");
    f.press(ui::kIdCancelButton);
  });
  host.onForm(gps::kViewDialog, [](ui::FormState& f) {
    choose(f, gps::kUnitOfMeasureList, "Nautical");
    f.press(ui::kIdOkButton);
  });
  GpsParms parms;
  EXPECT_EQ(gps::presentationDialog(host, root, sep, parms), 1);
  ASSERT_EQ(host.forms().size(), 2u);
  EXPECT_EQ(host.forms()[0].resource, gps::kViewDialog);
  for (const GpsParms& r : {parms, fileParms()}) {
    EXPECT_EQ(r.unitOfMeasure(), gps::kNautical);
    EXPECT_EQ(r.velocityUnit(), gps::kKnots);
    EXPECT_FALSE(r.magneticBearing());  // the cancelled dialog's own choice is not kept
  }
}

// --- GPS Warning Filters ---

TEST_F(SettingsDialogs, WarningFiltersShowWholeNumbersAndStoreThem) {
  GpsParms p;
  p.setMaxPdop(12.6);
  p.setMaxHdop(4.0);
  storeParms(p);
  host.onForm(gps::kWarningFiltersDialog, [](ui::FormState& f) {
    EXPECT_EQ(f.caption(), "GPS Warning Filters");
    EXPECT_FALSE(f.checked(gps::kRequireDgpsCheck));
    EXPECT_TRUE(f.checked(gps::kRequire3dCheck));
    EXPECT_EQ(f.text(gps::kMinSatellitesEntry), "4");
    EXPECT_EQ(f.text(gps::kMaxPdopEntry), "13");
    EXPECT_EQ(f.text(gps::kMaxHdopEntry), "4");
    f.press(gps::kRequireDgpsCheck);
    f.press(gps::kRequire3dCheck);
    f.type(gps::kMinSatellitesEntry, "5");
    f.type(gps::kMaxPdopEntry, "6");
    f.type(gps::kMaxHdopEntry, "3");
    f.press(ui::kIdOkButton);
  });
  GpsParms parms;
  ASSERT_EQ(gps::warningFiltersDialog(host, root, sep, parms), 1);
  for (const GpsParms& r : {parms, fileParms()}) {
    EXPECT_TRUE(r.requireDgps());
    EXPECT_FALSE(r.require3d());
    EXPECT_EQ(r.minSatellites(), 5);
    EXPECT_DOUBLE_EQ(r.maxPdop(), 6.0);
    EXPECT_DOUBLE_EQ(r.maxHdop(), 3.0);
  }
}

TEST_F(SettingsDialogs, AnEmptyFilterFieldIsRefusedAndNothingStored) {
  storeParms(GpsParms());
  const std::string before = testing_support::readBytes(parmsPath);
  host.expectOnce("Max HDOP: Needs a Whole Number", ui::kIdOk, "GPS Warning Filters");
  host.expectOnce("Minimum Sv's: Needs a Whole Number", ui::kIdOk, "GPS Warning Filters");
  host.onForm(gps::kWarningFiltersDialog, [](ui::FormState& f) {
    f.type(gps::kMaxPdopEntry, "7");
    f.type(gps::kMaxHdopEntry, "");
    f.press(ui::kIdOkButton);
    EXPECT_FALSE(f.ended());
    EXPECT_EQ(f.focus(), gps::kMaxHdopEntry);
    f.type(gps::kMaxHdopEntry, "8");
    f.type(gps::kMinSatellitesEntry, "-");  // digits only: nothing is left
    f.press(ui::kIdOkButton);
    EXPECT_FALSE(f.ended());
    f.press(ui::kIdCancelButton);
  });
  GpsParms parms;
  EXPECT_EQ(gps::warningFiltersDialog(host, root, sep, parms), 0);
  EXPECT_EQ(host.shown().size(), 2u);
  EXPECT_EQ(testing_support::readBytes(parmsPath), before);
}

// --- Position Logging Parameters ---

TEST_F(SettingsDialogs, LoggingTakesANegativeIntervalAndTheAveragingChoices) {
  GpsParms p;
  p.setRecordingInterval(5);
  p.setPositionsToAverage(10);
  storeParms(p);
  host.onForm(gps::kLoggingDialog, [](ui::FormState& f) {
    EXPECT_EQ(f.caption(), "Position Logging Parameters");
    EXPECT_EQ(f.text(gps::kRecordingIntervalEntry), "5");
    EXPECT_EQ(f.text(gps::kPositionsToAverageEntry), "10");
    f.type(gps::kRecordingIntervalEntry, "-50");
    f.press(gps::kLogDuringWarningsCheck);
    f.press(gps::kAveragePointsCheck);
    f.type(gps::kPositionsToAverageEntry, "25");
    f.press(ui::kIdOkButton);
  });
  GpsParms parms;
  ASSERT_EQ(gps::loggingParametersDialog(host, root, sep, parms), 1);
  for (const GpsParms& r : {parms, fileParms()}) {
    EXPECT_EQ(r.recordingInterval(), -50);
    EXPECT_TRUE(r.logDuringWarnings());
    EXPECT_TRUE(r.averagePoints());
    EXPECT_EQ(r.positionsToAverage(), 25);
  }
}

TEST_F(SettingsDialogs, LoggingRefusesIntervalsThatAreNotWholeNumbers) {
  storeParms(GpsParms());
  const std::string before = testing_support::readBytes(parmsPath);
  host.expect("Position Recording Interval Needs a Whole Number", ui::kIdOk, "Position Logging Parameters");
  host.expectOnce("Positions to Average Needs a Whole Number", ui::kIdOk, "Position Logging Parameters");
  host.onForm(gps::kLoggingDialog, [](ui::FormState& f) {
    for (const char* bad : {"", "-", "5-0", "--5", "1.5", "- 5"}) {
      f.type(gps::kRecordingIntervalEntry, bad);
      f.press(ui::kIdOkButton);
      EXPECT_FALSE(f.ended()) << bad;
    }
    f.type(gps::kRecordingIntervalEntry, "0");
    f.type(gps::kPositionsToAverageEntry, "");
    f.press(ui::kIdOkButton);
    EXPECT_FALSE(f.ended());
    f.press(ui::kIdCancelButton);
  });
  GpsParms parms;
  EXPECT_EQ(gps::loggingParametersDialog(host, root, sep, parms), 0);
  EXPECT_EQ(host.countText("Position Recording Interval Needs"), 6);
  EXPECT_EQ(testing_support::readBytes(parmsPath), before);
}

TEST(WholeNumbers, DigitsAndAnOptionalMinusWithinThirtyTwoBits) {
  namespace sf = gps::settings_form;
  EXPECT_EQ(sf::wholeNumber("2147483647", false), 2147483647);
  EXPECT_FALSE(sf::wholeNumber("2147483648", false));
  EXPECT_EQ(sf::wholeNumber("-2147483648", true), -2147483647 - 1);
  EXPECT_FALSE(sf::wholeNumber("-2147483649", true));
  EXPECT_FALSE(sf::wholeNumber("-5", false));
  EXPECT_FALSE(sf::wholeNumber("99999999999999999999", false));
}

}  // namespace
