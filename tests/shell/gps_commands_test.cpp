// The main window's GPS commands and status block over a receiver on a
// fake port.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "gps/capture_dialog.hpp"
#include "gps/nav_dialogs.hpp"
#include "gps/port_dialog.hpp"
#include "gps/waypoint_table.hpp"
#include "gps/port_settings.hpp"
#include "gps/receiver.hpp"
#include "platform/fileops.hpp"
#include "platform/files.hpp"
#include "platform/registry.hpp"
#include "serial/port_layer.hpp"
#include "shell/commands.hpp"
#include "shell/gps_commands.hpp"
#include "shell/main_window.hpp"
#include "support/eventually.hpp"
#include "support/fake_serial.hpp"
#include "support/install_root.hpp"
#include "support/manual_clock.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"

namespace {

namespace cmd = shell::cmd;

using testing_support::eventually;

const char kFix[] = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";

class GpsCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::makeInstallRoot(v, dir);
    layer.setHost(&host);
    gps::ReceiverServices s;
    s.host = &host;
    s.installRoot = v.installRoot;
    s.sep = v.style.sep;
    s.playSound = [](const std::string&) {};
    receiver = std::make_unique<gps::Receiver>(layer, s);
    commands = std::make_unique<shell::GpsCommands>(host, v, *receiver);
    window = std::make_unique<shell::MainWindow>(host, v);
    window->setGps(*commands);
    window->create();
  }
  void TearDown() override {
    window.reset();
    commands.reset();
    receiver.reset();
  }
  std::string portFile() const { return v.installRoot + v.style.sep + gps::kPortFileName; }
  // The port settings as the dialog leaves them, on COM port.
  void choosePort(int port) {
    gps::GpsPortImage image;
    image.setPortName("COM" + std::to_string(port) + ":");
    image.setPortNumber(port);
    ASSERT_EQ(gps::writeGpsPort(host, v.installRoot, image, v.style.sep), 1);
  }

  testing_support::TempDir dir;
  std::unique_ptr<platform::Registry> reg = platform::makeFileRegistry(dir.file("registry"));
  platform::ScopedRegistry useRegistry{*reg};
  testing_support::ManualClock clock;
  platform::ScopedClock useClock{clock};
  testing_support::ScriptedHost host;
  shell::StartupValues v;
  testsupport::FakeSerialPorts fakes;
  serial::PortLayer layer{fakes.opener()};
  std::unique_ptr<gps::Receiver> receiver;
  std::unique_ptr<shell::GpsCommands> commands;
  std::unique_ptr<shell::MainWindow> window;
};

TEST_F(GpsCommandsTest, ConnectShowsThePositionBlockAndDisconnectTakesItAway) {
  for (int id : {cmd::kGpsConnect, cmd::kGpsPortSettings, cmd::kWarningFilters, cmd::kPresentation,
                 cmd::kNavParameters, cmd::kLoggingSetup, cmd::kSetDateTime, cmd::kLogWaypoint, cmd::kNavigation,
                 cmd::kEditWaypoints})
    EXPECT_TRUE(window->commandEnabled(id)) << id;
  EXPECT_TRUE(window->status(1, 1, 2030, 0, 0, 0).gps.empty());

  choosePort(3);
  auto line = fakes.line(3);
  window->command(cmd::kGpsConnect);
  ASSERT_TRUE(receiver->enabled());
  line->feed(kFix);
  ASSERT_TRUE(eventually([&] { return receiver->detected() && receiver->state().snapshot().position.valid; }));
  const std::vector<std::string> block = window->status(1, 1, 2030, 0, 0, 0).gps;
  ASSERT_EQ(block.size(), 4u);
  EXPECT_EQ(block[0].rfind("GPS: ", 0), 0u);
  EXPECT_NE(block[0].find("48\u00B007'02.28\"N"), std::string::npos) << block[0];
  EXPECT_NE(block[1].find("Sv:8"), std::string::npos) << block[1];
  EXPECT_NE(block[2].find("12:35:19"), std::string::npos) << block[2];
  EXPECT_NE(commands->editStatusLine().find("Sv:8"), std::string::npos);

  window->command(cmd::kGpsConnect);
  EXPECT_FALSE(receiver->enabled());
  EXPECT_FALSE(layer.isOpen(3));
  EXPECT_TRUE(window->status(1, 1, 2030, 0, 0, 0).gps.empty());
  EXPECT_TRUE(commands->editStatusLine().empty());
}

TEST_F(GpsCommandsTest, AFailedConnectWritesThePortSettingsBack) {
  choosePort(7);  // nothing on COM7
  platform::deleteFile(portFile());
  host.allowAnything();
  window->command(cmd::kGpsConnect);  // no settings yet: the defaults are written
  EXPECT_TRUE(host.sawText(gps::kPortOpenFailedText));
  EXPECT_TRUE(platform::fileExists(portFile()));
  EXPECT_FALSE(receiver->enabled());
}

TEST_F(GpsCommandsTest, PortSettingsCloseAnOpenPortFirstAndOpenItWithTheNewOnes) {
  choosePort(3);
  fakes.line(3);
  fakes.line(4);
  window->command(cmd::kGpsConnect);
  ASSERT_TRUE(receiver->enabled());

  // No: the port stays open and no dialog is shown.
  host.expectOnce("GPS Port Active\nClose Port to Change Settings?", ui::kIdNo);
  window->command(cmd::kGpsPortSettings);
  EXPECT_TRUE(receiver->enabled());
  EXPECT_TRUE(host.forms().empty());

  host.expectOnce("GPS Port Active\nClose Port to Change Settings?", ui::kIdYes);
  host.onForm(gps::kPortDialog, [](ui::FormState& f) {
    const std::vector<std::string> ports = f.items(gps::kPortList);
    for (std::size_t i = 0; i < ports.size(); ++i)
      if (ports[i] == "COM4:") f.select(gps::kPortList, static_cast<int>(i));
    f.press(ui::kIdOkButton);
  });
  host.expectOnce("Open the GPS Port With New Settings?", ui::kIdYes);
  window->command(cmd::kGpsPortSettings);
  EXPECT_TRUE(receiver->enabled());
  EXPECT_FALSE(layer.isOpen(3));
  EXPECT_TRUE(layer.isOpen(4));
  EXPECT_EQ(receiver->portSettings().portNumber(), 4);
}

TEST_F(GpsCommandsTest, LeavingTheProgramClosesTheGpsPort) {
  choosePort(3);
  fakes.line(3);
  window->command(cmd::kGpsConnect);
  ASSERT_TRUE(receiver->enabled());
  host.expectOnce("Exit Tallyfin?", ui::kIdYes);
  EXPECT_EQ(window->command(cmd::kExit), shell::MainAction::Destroy);
  EXPECT_FALSE(layer.isOpen(3));
}

}  // namespace

namespace {

TEST_F(GpsCommandsTest, WaypointsLoggedAreTheOnesNavigatedToAndAnApplicationsOwnTableIsOffered) {
  // GPS off: both refuse before any dialog.
  host.expectOnce("GPS Not Enabled", ui::kIdOk, "Error");
  window->command(cmd::kNavigation);
  EXPECT_TRUE(host.forms().empty());

  choosePort(3);
  auto line = fakes.line(3);
  window->command(cmd::kGpsConnect);
  line->feed(kFix);
  ASSERT_TRUE(eventually([&] { return receiver->detected() && receiver->state().snapshot().position.valid; }));
  host.onForm(gps::kCaptureDialog, [](ui::FormState& f) {
    f.type(gps::kWaypointNameEntry, "Plot 12");
    f.press(ui::kIdOkButton);
  });
  window->command(cmd::kLogWaypoint);
  const std::string table = gps::waypointTablePath(v.installRoot, v.style.sep);
  std::vector<gps::WaypointEntry> list = gps::loadWaypointList(table);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].name, "Plot 12");
  EXPECT_NEAR(list[1].latitude, 48.1173, 1e-6);

  std::string destination;
  host.onForm(gps::kFromToDialog, [&](ui::FormState& f) {
    destination = f.items(gps::kToList).at(static_cast<std::size_t>(f.selection(gps::kToList)));
    f.press(ui::kIdOkButton);
  });
  host.onCanvas([](ui::CanvasState& c) { c.key(ui::key::kF4); });
  window->command(cmd::kNavigation);
  EXPECT_EQ(destination, "Plot 12");
  ASSERT_EQ(host.canvases().size(), 1u);

  // An application with its own table: the crew is asked which to use.
  const std::string appFolder = dir.file("app");
  ASSERT_TRUE(platform::makeFolder(appFolder));
  v.settings.setPath(config::SettingsRecord::Path::AppFolder, appFolder);
  {
    gps::WaypointTable own;
    ASSERT_NE(own.open(gps::waypointTablePath(appFolder, v.style.sep)), gps::WaypointTable::Opened::kFailed);
    ASSERT_TRUE(own.append({"Corner A", 48.2, 11.6}));
    ASSERT_TRUE(own.append({"Corner B", 48.3, 11.7}));
    ASSERT_TRUE(own.close());
  }
  host.expectOnce("Use Application Waypoints?", ui::kIdYes, "Waypoint Types");
  std::vector<std::string> offered;
  host.onForm(gps::kFromToDialog, [&](ui::FormState& f) {
    offered = f.items(gps::kFromList);
    f.press(ui::kIdOkButton);
  });
  host.onCanvas([](ui::CanvasState& c) { c.key(ui::key::kEscape); });
  window->command(cmd::kNavigation);
  EXPECT_EQ(offered, (std::vector<std::string>{"-< Current Position >-", "Corner A", "Corner B"}));
  window->command(cmd::kGpsConnect);
}

}  // namespace
