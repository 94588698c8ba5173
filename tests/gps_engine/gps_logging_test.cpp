// GPS logging on the edit window's records: Ctrl+G's questions, point files,
// a line log and the question before a move away from the logged record.
#include <gtest/gtest.h>

#include <filesystem>

#include "editor/line_fixture.hpp"
#include "gps/gps_logging.hpp"
#include "gps/gps_state.hpp"
#include "platform/files.hpp"
#include "tablestore/table.hpp"
#include "tablestore/table_field.hpp"
#include "tablestore/table_store.hpp"
#include "support/eventually.hpp"

namespace {

using testing_support::eventually;

const char* kPointLevel = R"([ { "code": "A____", "table": "PLOTS", "name": "Plots",
    "gps": { "points": "file" },
    "columns": [ { "field": "PLOT", "type": "N", "width": 4 }, { "field": "NAME", "width": 8 } ] } ])";
const char* kLineLevel = R"([ { "code": "A____", "table": "PLOTS", "name": "Plots",
    "gps": { "lines": true, "lineInterval": 0 },
    "columns": [ { "field": "PLOT", "type": "N", "width": 4 }, { "field": "NAME", "width": 8 } ] } ])";

class GpsLoggingTest : public editor_test::LineEngineTest {
 protected:
  void start(const char* level) {
    startEngine(level);
    addLines({{{"PLOT", "1"}, {"NAME", "a"}}, {{"PLOT", "2"}, {"NAME", "b"}}});
    logging = std::make_unique<gps::GpsLogging>(host, [this] { return enabled; }, state, v.installRoot,
                                                platform::kSep);
  }
  void TearDown() override { logging.reset(); }
  // Gives the log a new fix at latitude lat.
  void fix(double lat) {
    state.withLock([lat](gps::GpsData& d) {
      d.position.valid = 1;
      d.position.latitude = lat;
      d.position.longitude = -122.5;
      d.position.heightEllipsoid = 100;
      d.position.fixTimeOfDay = lat * 1000;
      d.position.fixChar = 'G';
      d.position.satellites = 8;
      for (int& flag : d.newFix) flag = 1;
    });
  }
  // The coordinate files of the data folder whose names hold part.
  std::vector<std::string> files(const std::string& part) const {
    std::vector<std::string> out;
    const std::string folder = std::filesystem::path(session.level(1)->path).parent_path().string();
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      const std::string name = entry.path().filename().string();
      if (name.find(part) != std::string::npos && name.size() > 4 && name.substr(name.size() - 4) == ".GPF")
        out.push_back(entry.path().string());
    }
    return out;
  }
  std::vector<double> latitudes(const std::string& path) {
    std::vector<double> out;
    tablestore::TableStore store;
    tablestore::Table* t = store.openTable(path);
    if (t == nullptr) return out;
    for (std::int64_t n = 1; n <= t->recordCount(); ++n) {
      if (t->goRecord(n) != 0) break;
      out.push_back(t->fieldByName("LATITUDE")->number());
    }
    store.closeAll();
    return out;
  }

  gps::GpsState state;
  bool enabled = true;
  std::unique_ptr<gps::GpsLogging> logging;
};

TEST_F(GpsLoggingTest, WithGpsOffCtrlGSaysSo) {
  start(kPointLevel);
  enabled = false;
  host.expectOnce("Must Enable GPS First");
  EXPECT_TRUE(logging->toggle(e()));
  EXPECT_TRUE(host.sawText("Must Enable GPS First"));
  EXPECT_TRUE(files("GPS Point").empty());
}

TEST_F(GpsLoggingTest, APointsOnlyLevelAsksEveryTimeAndOverwritesThePointFile) {
  start(kPointLevel);
  // Without a fix nothing is stored: the state holds no real position.
  host.expectOnce("Start Logging GPS Point\nFor Plots File?", ui::kIdYes, "Start GPS Data Logging");
  host.expectOnce("No Valid GPS Position");
  logging->toggle(e());
  EXPECT_TRUE(host.sawText("No Valid GPS Position"));
  EXPECT_TRUE(files("GPS Point").empty());

  fix(45.5);
  host.expectOnce("Start Logging GPS Point\nFor Plots File?", ui::kIdYes);
  logging->toggle(e());
  ASSERT_EQ(files("GPS Point").size(), 1u);
  EXPECT_EQ(latitudes(files("GPS Point")[0]), std::vector<double>{45.5});

  fix(45.6);
  host.expectOnce("Start Logging GPS Point\nFor Plots File?", ui::kIdYes);
  host.expectOnce("GPS Point File Exists\nFor This Plots Record\nOverwrite With New Data?", ui::kIdYes,
                  "GPS Data Logging");
  logging->toggle(e());
  ASSERT_EQ(files("GPS Point").size(), 1u);
  EXPECT_EQ(latitudes(files("GPS Point")[0]), std::vector<double>{45.6});
}

TEST_F(GpsLoggingTest, ALineLogAsksBeforeAnotherLineButNotBeforeAChildLevel) {
  start(kLineLevel);
  host.expectOnce("Start Logging GPS Line\nFor Plots File?", ui::kIdYes);
  logging->toggle(e());
  ASSERT_TRUE(logging->logging());
  for (double lat : {45.1, 45.2, 45.3}) {
    fix(lat);
    ASSERT_TRUE(eventually([&] { return state.snapshot().newFix[gps::kLineFix] == 0; }));
  }
  EXPECT_TRUE(logging->lineMoveAllowed(e(), editor::LineMove::ChildLevel));
  EXPECT_TRUE(host.shown().size() == 1u);  // only the start question

  host.expectOnce("You Must Stop GPS Logging Before\nMoving to a Different Line.", ui::kIdNo, "Stop GPS Data Logging");
  EXPECT_FALSE(logging->lineMoveAllowed(e(), editor::LineMove::OtherLine));
  EXPECT_TRUE(logging->logging());
  host.expectOnce("You Must Stop GPS Logging Before\nExiting Dataset.", ui::kIdYes);
  EXPECT_TRUE(logging->lineMoveAllowed(e(), editor::LineMove::ParentLevel));
  EXPECT_FALSE(logging->logging());
  ASSERT_EQ(files("GPS Line").size(), 1u);
  EXPECT_EQ(latitudes(files("GPS Line")[0]), (std::vector<double>{45.1, 45.2, 45.3}));

  // Again on the same record: the file exists; No throws the old fixes away.
  host.expectOnce("Start Logging GPS Line\nFor Plots File?", ui::kIdYes);
  host.expectOnce("GPS Line File Exists\n This Plots Record", ui::kIdNo);
  logging->toggle(e());
  ASSERT_TRUE(logging->logging());
  fix(46.0);
  ASSERT_TRUE(eventually([&] { return state.snapshot().newFix[gps::kLineFix] == 0; }));
  logging->stopAll();
  EXPECT_EQ(latitudes(files("GPS Line")[0]), std::vector<double>{46.0});
}

}  // namespace
