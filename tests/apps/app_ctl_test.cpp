// Reading app.ctl: its statuses, what a good read sets, and the reports.
#include "app_fixture.hpp"
#include "apps/app_ctl.hpp"
#include "platform/errors.hpp"

namespace apps_test {
namespace {

const std::string kPlot = R"([ { "field": "PLOT", "type": "N", "width": 4 } ])";

class AppCtlTest : public AppTest {};

TEST_F(AppCtlTest, GoodReadTakesTheRootTableAndLeavesNoDataset) {
  build(R"({ "application": { "name": "Trees", "useDatasets": false, "keepChildFields": true,
                              "keepPosition": true, "clearCoordFiles": true, "options": { "2212": 3 },
                              "gps": { "useFilters": true, "minSatellites": 5, "maxDop": 4 } },
             "levels": [ { "code": "A____", "table": "STANDS", "columns": [ { "field": "STAND" } ] } ] })");
  app.appCtl().setDatasetName("North Block");
  app.appCtl().setTableName("OLD");
  ASSERT_EQ(app.loadAppCtl(folder()), apps::kAppCtlOk);
  const apps::AppCtl& ctl = app.appCtl();
  EXPECT_EQ(ctl.rootTableName(), "STANDS");
  EXPECT_EQ(ctl.tableName(), "STANDS");
  EXPECT_EQ(ctl.datasetName(), "");
  EXPECT_TRUE(ctl.compiled());
  EXPECT_FALSE(ctl.useDatasets());
  EXPECT_TRUE(ctl.keepChildFields());
  EXPECT_FALSE(ctl.keepStatusFields());
  EXPECT_TRUE(ctl.keepPosition());
  EXPECT_TRUE(ctl.clearCoordFiles());
  EXPECT_EQ(ctl.option(2212), 3);
  EXPECT_EQ(ctl.gpsLimit(apps::layout::app_ctl::kGpsUseFilters), 1);
  EXPECT_EQ(ctl.gpsLimit(apps::layout::app_ctl::kGpsMinSatellites), 5);
  EXPECT_EQ(ctl.gpsLimit(apps::layout::app_ctl::kGpsMaxDop), 4);
  // The fixed offsets, read straight from the file.
  std::string bytes = readFile("app.ctl");
  ASSERT_EQ(bytes.size(), 3544u);
  EXPECT_EQ(bytes[50], 1);  // Compiled
  EXPECT_EQ(bytes[502], 0);  // UseDatasets
  EXPECT_EQ(bytes.substr(2221, 7), std::string("STANDS\0", 7));
}

TEST_F(AppCtlTest, NotCompiledIsRefusedWithStatus6) {
  build(R"({ "application": { "name": "Trees", "compiled": false },
             "levels": [ { "code": "A____", "table": "TREES", "columns": [ { "field": "PLOT" } ] } ] })");
  EXPECT_EQ(readFile("app.ctl").size(), 3544u);
  app.appCtl().setRootTableName("KEPT");
  EXPECT_EQ(app.loadAppCtl(folder()), apps::kAppCtlNotCompiled);
  EXPECT_EQ(app.appCtl().rootTableName(), "KEPT");  // nothing of a refused file is used
  EXPECT_STREQ(apps::appCtlErrorText(apps::kAppCtlNotCompiled), "App Not Compiled");
}

TEST_F(AppCtlTest, WrongSizesAreCorruptAndAMissingFileIsStatus1) {
  EXPECT_EQ(app.loadAppCtl(folder()), apps::kAppCtlMissing);
  build(treesApp(kPlot));
  std::string good = readFile("app.ctl");
  writeFile("app.ctl", good.substr(0, 3543));
  EXPECT_EQ(app.loadAppCtl(folder()), apps::kAppCtlSize);
  writeFile("app.ctl", good + "x");
  EXPECT_EQ(app.loadAppCtl(folder()), apps::kAppCtlSize);
  writeFile("app.ctl", good);
  EXPECT_EQ(app.loadAppCtl(folder()), apps::kAppCtlOk);
}

TEST_F(AppCtlTest, OpenReadAndShortReadFailures) {
  build(treesApp(kPlot));
  {
    SelectiveFileSystem fs;
    fs.add({"app.ctl", platform::kErrAccessDenied});
    platform::ScopedFileSystem use(fs);
    EXPECT_EQ(app.loadAppCtl(folder()), apps::kAppCtlOpen);
  }
  {
    SelectiveFileSystem fs;
    fs.add({"app.ctl", 0, 1, platform::kErrIoDevice});
    platform::ScopedFileSystem use(fs);
    EXPECT_EQ(app.loadAppCtl(folder()), apps::kAppCtlRead);
  }
  {
    SelectiveFileSystem fs;
    fs.add({"app.ctl", 0, 1, 0, true});
    platform::ScopedFileSystem use(fs);
    EXPECT_EQ(app.loadAppCtl(folder()), apps::kAppCtlShort);
  }
}

TEST_F(AppCtlTest, LoadingReleasesEveryLevelFirst) {
  build(treesApp(kPlot));
  std::string name;
  ASSERT_EQ(loadRoot(name).ok, 1);
  ASSERT_NE(app.level(1), nullptr);
  app.appCtl().setDatasetName("Block 7");
  writeFile("app.ctl", "short");
  EXPECT_EQ(app.loadAppCtl(folder()), apps::kAppCtlSize);
  EXPECT_EQ(app.level(1), nullptr);
  EXPECT_EQ(app.appCtl().datasetName(), "");
}

TEST_F(AppCtlTest, ReportsNameTheApplicationAndStatus) {
  host.expectOnce("app.ctl Not Found!", ui::kIdOk, "Trees:Error:1");
  apps::reportAppCtlError(host, "Trees", apps::kAppCtlMissing);
  EXPECT_STREQ(apps::appCtlErrorText(2), "Opening app.ctl");
  EXPECT_STREQ(apps::appCtlErrorText(3), "app.ctl is Corrupt");
  EXPECT_STREQ(apps::appCtlErrorText(4), "Reading app.ctl");
  EXPECT_STREQ(apps::appCtlErrorText(5), "Unknown App Error");
  EXPECT_STREQ(apps::kNotCompiledText, "Not Compiled !");
  // Status 6 told as a status keeps the table's text.
  host.expectOnce("App Not Compiled", ui::kIdOk, "Oaks:Error:6");
  apps::reportAppCtlError(host, "Oaks", apps::kAppCtlNotCompiled);
  ASSERT_EQ(host.shown().size(), 2u);
  EXPECT_EQ(host.shown()[1].text, "App Not Compiled");
}

}  // namespace
}  // namespace apps_test
