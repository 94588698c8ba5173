#include <gtest/gtest.h>

#include "platform/errors.hpp"
#include "platform/registry.hpp"
#include "shell/startup.hpp"
#include "support/memory_files.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"

namespace {

using platform::RegRoot;
using config::SettingsRecord;
using testing_support::ScriptedHost;

// A registry over the file store that can refuse chosen values.
class PickyRegistry : public platform::Registry {
 public:
  explicit PickyRegistry(platform::Registry& inner) : inner_(inner) {}
  std::vector<std::string> unreadable, unwritable;

  int readString(RegRoot root, const std::string& key, const std::string& name, std::string& out) override {
    for (auto& n : unreadable)
      if (n == name) return platform::kRegNoValue;
    return inner_.readString(root, key, name, out);
  }
  int writeString(RegRoot root, const std::string& key, const std::string& name,
                  const std::string& text) override {
    for (auto& n : unwritable)
      if (n == name) return platform::kRegWriteFailed;
    return inner_.writeString(root, key, name, text);
  }
  int readDword(RegRoot root, const std::string& key, const std::string& name, std::uint32_t& out) override {
    return inner_.readDword(root, key, name, out);
  }
  int writeDword(RegRoot root, const std::string& key, const std::string& name, std::uint32_t v) override {
    return inner_.writeDword(root, key, name, v);
  }

 private:
  platform::Registry& inner_;
};

class WindowsStartup : public ::testing::Test {
 protected:
  testing_support::TempDir dir;
  testing_support::MemoryFileSystem disk;
  platform::ScopedFileSystem useDisk{disk};
  std::unique_ptr<platform::Registry> store = platform::makeFileRegistry(dir.file("registry"));
  PickyRegistry reg{*store};
  platform::ScopedRegistry useRegistry{reg};
  ScriptedHost host;
  bool windowCreated = false;
  bool taskbar = false;

  int start(const std::string& exe, const std::string& commandLine = "") {
    shell::StartupOptions options;
    options.style = config::windowsPathStyle();
    options.exePath = exe;
    options.commandLine = commandLine;
    options.checkSingleInstance = false;
    shell::StartupHooks hooks;
    hooks.workArea = [](int& w, int& h) { w = 1920; h = 1080; };
    hooks.createMainWindow = [this](const shell::StartupValues&, int&) { return windowCreated = true; };
    hooks.unitIdText = [] { return std::string("FIELD-UNIT-1234567"); };
    hooks.taskbarWindow = [this] { return taskbar; };
    return startup.run(host, options, hooks);
  }
  std::string value(const std::string& name) {
    std::string out;
    platform::getAppSetting(name, out, 8192);
    return out;
  }
  shell::Startup startup;
};

TEST_F(WindowsStartup, CardInstallPutsEverythingUnderTheCardRoot) {
  ASSERT_EQ(start("E:\\Orvandat\\Tallyfin PC\\Tallyfin PC.exe", "/10/20/600/900"), 1);
  const shell::StartupValues& v = startup.values();
  EXPECT_TRUE(windowCreated);
  EXPECT_EQ(v.geometry.width, 600);
  EXPECT_TRUE(v.geometry.portrait);
  EXPECT_EQ(value("PC InstallDir"), "E:\\");
  EXPECT_EQ(value("PC AppPath"), "E:\\Orvandat\\Tallyfin PC\\Apps");
  EXPECT_EQ(value("PC DataPath"), "E:\\Orvandat\\Tallyfin PC\\Data");
  EXPECT_EQ(value("Software Version"), "4.13.05");
  EXPECT_EQ(value("Software Date"), "09/29/2020");
  EXPECT_EQ(value("MessagePath"), "E:\\Messages");
  EXPECT_EQ(value("Pending_DataPath"), "E:\\Pending_Data");
  EXPECT_EQ(platform::regValueExists(RegRoot::CurrentUser, platform::kAppKey, "CurAppName"), 1);
  EXPECT_EQ(v.receivePath, "E:\\\\TCPIP_Receive");  // as built: root, "\", name
  EXPECT_EQ(v.pendingAppPath, "E:\\Orvandat\\Tallyfin PC\\Apps_Pending");
  for (const char* folder : {"E:\\Orvandat\\Tallyfin PC\\Apps", "E:\\Orvandat\\Tallyfin PC\\Data",
                             "E:\\Orvandat\\Tallyfin PC\\Apps_Pending", "E:\\TCPIP_Receive", "E:\\Messages",
                             "E:\\Pending_Data"})
    EXPECT_TRUE(disk.hasFolder(folder)) << folder;
  // Read twice: once in the install folder, then in the install root.
  EXPECT_EQ(disk.contents("E:\\Orvandat\\Tallyfin PC\\tfp_mobilePC.dft").size(), 9560u);
  std::string settings = disk.contents("E:\\\\tfp_mobilePC.dft");
  ASSERT_EQ(settings.size(), 9560u);
  SettingsRecord rec;
  std::copy(settings.begin(), settings.end(), rec.bytes().begin());
  EXPECT_EQ(rec.path(SettingsRecord::Path::InstallDir), "E:\\");
  EXPECT_EQ(rec.path8(SettingsRecord::Path::ReceivePath), "E:\\\\TCPIP_Receive");
  EXPECT_EQ(rec.path(SettingsRecord::Path::MessagePath), "E:\\Messages");
  EXPECT_EQ(rec.i32(SettingsRecord::kTextSize1), 16);
  EXPECT_EQ(rec.i32(SettingsRecord::kTextSize2), 40);
  EXPECT_EQ(rec.unitCode(), "234567");
  EXPECT_FALSE(rec.appOpen());
  EXPECT_TRUE(host.shown().empty());
}

TEST_F(WindowsStartup, ProgramElsewhereLivesUnderTheDefaultFolder) {
  ASSERT_EQ(start("C:\\Programs\\Tool\\Tallyfin PC.exe"), 1);
  EXPECT_EQ(value("PC InstallDir"), "C:\\Orvandat\\Tallyfin PC");
  EXPECT_EQ(value("PC AppPath"), "C:\\Orvandat\\Tallyfin PC\\Apps");
  EXPECT_EQ(startup.values().messagePath, "C:\\Orvandat\\Tallyfin PC\\Messages");
  EXPECT_TRUE(disk.hasFile("C:\\Orvandat\\Tallyfin PC\\tfp_mobilePC.dft"));
}

TEST_F(WindowsStartup, CurrentApplicationSurvivesAndOpenFlagFollowsIt) {
  platform::putAppSetting("CurAppName", "Cruise.tfa");
  ASSERT_EQ(start("E:\\Orvandat\\Tallyfin PC\\Tallyfin PC.exe"), 1);
  EXPECT_EQ(startup.values().curAppName, "Cruise.tfa");
  EXPECT_EQ(startup.values().settings.path(SettingsRecord::Path::CurAppName), "Cruise.tfa");
}

TEST_F(WindowsStartup, TabletFollowsTheSystemFamily) {
  const char* bios = "HARDWARE\\DESCRIPTION\\System\\BIOS";
  ASSERT_EQ(start("E:\\Orvandat\\Tallyfin PC\\Tallyfin PC.exe"), 1);
  EXPECT_FALSE(startup.values().isTablet);  // missing
  reg.writeString(RegRoot::LocalMachine, bios, "SystemFamily", "Surf");
  ASSERT_EQ(start("E:\\Orvandat\\Tallyfin PC\\Tallyfin PC.exe"), 1);
  EXPECT_FALSE(startup.values().isTablet);
  reg.writeString(RegRoot::LocalMachine, bios, "SystemFamily", "Surface Pro");
  ASSERT_EQ(start("E:\\Orvandat\\Tallyfin PC\\Tallyfin PC.exe"), 1);
  EXPECT_TRUE(startup.values().isTablet);
}

TEST_F(WindowsStartup, UnreadableInstallDirEndsTheStart) {
  reg.unreadable = {"PC InstallDir"};
  host.expectOnce("RegQueryValue err", ui::kIdOk, "Error");
  host.expectOnce("Cannot Access Tallyfin From Registry.  Please re-install.", ui::kIdOk, "Error");
  host.expectOnce("Registry Access Error\nAborting Program!", ui::kIdOk, "Error");
  EXPECT_EQ(start("E:\\Orvandat\\Tallyfin PC\\Tallyfin PC.exe"), 0);
  EXPECT_EQ(host.shown().size(), 3u);
  EXPECT_FALSE(windowCreated);
}

TEST_F(WindowsStartup, CurAppNameThatCannotBeCreatedEndsTheStart) {
  reg.unreadable = {"CurAppName"};
  reg.unwritable = {"CurAppName"};
  host.expectOnce("CurAppName Registry Access Error.", ui::kIdOk, "Error");
  host.expectOnce("Registry Access Error\nAborting Program!", ui::kIdOk, "Error");
  EXPECT_EQ(start("E:\\Orvandat\\Tallyfin PC\\Tallyfin PC.exe"), 0);
  EXPECT_FALSE(windowCreated);
}

TEST_F(WindowsStartup, MissingDataPathIsRebuiltAndUnwritableOneEndsTheStart) {
  reg.unreadable = {"PC AppPath"};
  ASSERT_EQ(start("E:\\Orvandat\\Tallyfin PC\\Tallyfin PC.exe"), 1);
  EXPECT_EQ(startup.values().appPath, "E:\\Orvandat\\Tallyfin PC\\Apps");
  reg.unreadable = {"PC DataPath"};
  reg.unwritable = {"PC DataPath"};
  host.expectOnce("DataPath Registry Access Error.", ui::kIdOk, "Error");
  host.expectOnce("Registry Access Error\nAborting Program!", ui::kIdOk, "Error");
  EXPECT_EQ(start("E:\\Orvandat\\Tallyfin PC\\Tallyfin PC.exe"), 0);
}

TEST_F(WindowsStartup, NoMainWindowEndsTheStartWithTheInstallMessage) {
  shell::StartupOptions options;
  options.style = config::windowsPathStyle();
  options.exePath = "E:\\Orvandat\\Tallyfin PC\\Tallyfin PC.exe";
  options.checkSingleInstance = false;
  shell::StartupHooks hooks;
  hooks.createMainWindow = [](const shell::StartupValues&, int& lastError) {
    lastError = platform::kErrNotEnoughMemory;
    return false;
  };
  host.allowAnything();
  EXPECT_EQ(startup.run(host, options, hooks), 0);
  // The system's text for the failure that stopped the window, then the
  // install message.
  ASSERT_EQ(host.shown().size(), 2u);
  EXPECT_EQ(host.shown()[0].text, platform::errorText(platform::kErrNotEnoughMemory));
  EXPECT_EQ(host.shown()[0].caption, "Last Error");
  EXPECT_EQ(host.shown()[1].text,
            "Tallyfin is Not Properly Installed.\nPlease re-install to Proper Location.");
  EXPECT_EQ(host.shown()[1].caption, "Install Error");
}

TEST_F(WindowsStartup, TheTaskbarWindowIsLookedForAtStart) {
  ASSERT_EQ(start("E:\\Orvandat\\Tallyfin PC\\Tallyfin PC.exe"), 1);
  EXPECT_FALSE(startup.values().taskbarFound);
  taskbar = true;
  ASSERT_EQ(start("E:\\Orvandat\\Tallyfin PC\\Tallyfin PC.exe"), 1);
  EXPECT_TRUE(startup.values().taskbarFound);
}

TEST_F(WindowsStartup, BadSettingsFileInTheRootGivesOneWarningAndDefaults) {
  disk.putFile("E:\\tfp_mobilePC.dft", "garbage");
  host.expectOnce("Bad File Size!\nUsing Defaults", ui::kIdOk, "File Size Error");
  ASSERT_EQ(start("E:\\Orvandat\\Tallyfin PC\\Tallyfin PC.exe"), 1);
  EXPECT_EQ(disk.contents("E:\\tfp_mobilePC.dft").size(), 9560u);
  EXPECT_EQ(host.shown().size(), 1u);
}

TEST(PosixStartup, RootOptionGivesAPrivateTree) {
#ifdef _WIN32
  GTEST_SKIP() << "POSIX layout";
#else
  testing_support::TempDir dir;
  auto store = platform::makeFileRegistry(dir.file("registry"));
  platform::ScopedRegistry useRegistry(*store);
  ScriptedHost host;
  shell::StartupOptions options;
  options.style = config::posixPathStyle("/nonexistent/");
  options.root = dir.path() + "/root";
  shell::Startup first, second;
  ASSERT_EQ(first.run(host, options, {}), 1);
  EXPECT_EQ(first.values().installRoot, dir.path() + "/root/");
  EXPECT_EQ(first.values().appPath, dir.path() + "/root/Orvandat/Tallyfin PC/Apps");
  EXPECT_EQ(testing_support::readBytes(dir.path() + "/root//tfp_mobilePC.dft").size(), 9560u);
  // A second start on the same root ends at once with success.
  EXPECT_EQ(second.run(host, options, {}), 0);
  first.shutdown();
  EXPECT_EQ(second.run(host, options, {}), 1);
#endif
}

}  // namespace
