#include "session_fixture.hpp"

#include <algorithm>
#include <filesystem>

namespace session_test {

namespace fs = std::filesystem;

bool RecordingView::sawStatus(const std::string& s) const {
  return std::find(statuses.begin(), statuses.end(), s) != statuses.end();
}

std::vector<std::string> RecordingView::withCaption(const std::string& caption) const {
  std::vector<std::string> out;
  for (const Message& m : messages)
    if (m.caption == caption) out.push_back(m.text);
  return out;
}

std::map<std::string, std::string> filesUnder(const std::string& root) {
  std::map<std::string, std::string> out;
  for (const auto& e : fs::recursive_directory_iterator(root))
    if (e.is_regular_file())
      out[fs::relative(e.path(), root).generic_string()] =
          std::to_string(std::hash<std::string>{}(testing_support::readBytes(e.path().string())));
  return out;
}

SessionTest::SessionTest() {
  setup.folders.sep = platform::kSep;
  for (const char* name : {"settings", "receive", "work", "apps", "pendingApps", "pendingData",
                           "messages", "install", "data"})
    fs::create_directories(root.file(name));
  auto& f = setup.folders;
  f.settings = folder("settings");
  f.receive = folder("receive");
  f.work = folder("work");
  f.applications = folder("apps");
  f.pendingApps = folder("pendingApps");
  f.pendingData = folder("pendingData");
  f.messages = folder("messages");
  f.install = folder("install");
  f.data = folder("data");
  setup.appName = "Forest";
  setup.unitId = "UNIT-ABC123";
  setup.unitTag = "T1";
  setup.versionText = "2.10";
  setup.programFileName = "Tallyfin PC.exe";
  setup.retryPauseMs = 10;
  setup.clock = &clock;
  // Bounds a test whose session waits for a host that never answers.
  link.setWaitTimeoutMs(5000);
}

std::string SessionTest::path(const std::string& folderName, const std::string& file) const {
  return folder(folderName) + platform::kSep + file;
}

void SessionTest::pointAt(std::uint16_t port) {
  testing_support::writeBytes(path("settings", "TFM_Host_IP.txt"), "127.0.0.1 " + std::to_string(port) + "\n");
}

void SessionTest::addDatasets() {
  testing_support::writeBytes(path("data", "[North]1A____ABC___+TREES.dbf"), std::string(40000, 'T'));
  testing_support::writeBytes(path("data", "[North]2AA___ABC___PLOTS+.dbf"), "plots");
  testing_support::writeBytes(path("data", "[South]1A____ABC___+TREES.dbf"), "south");
  setup.taggedDatasets = {"North"};
}

}  // namespace session_test
