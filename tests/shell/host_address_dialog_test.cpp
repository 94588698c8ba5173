// The host address dialog: the fields it starts from, what Save writes and
// what it refuses.
#include <gtest/gtest.h>

#include "base/paths.hpp"
#include "config/settings.hpp"
#include "platform/fileops.hpp"
#include "platform/registry.hpp"
#include "shell/host_address_dialog.hpp"
#include "shell/startup.hpp"
#include "support/install_root.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"

namespace {

using testing_support::readBytes;
using testing_support::writeBytes;

class HostAddressDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::makeInstallRoot(v, dir);
    ASSERT_EQ(config::saveSettings(host, v.installRoot, v.settings, v.style.sep), 1);
  }
  std::string addressFile() const { return base::joinPath(v.installRoot, "TFM_Host_IP.txt", platform::kSep); }
  config::SettingsRecord saved() {
    config::SettingsRecord r;
    config::DefaultPaths d{v.installRoot, v.appPath, v.dataPath};
    config::loadSettings(host, v.installRoot, d, r, v.style.sep);
    return r;
  }
  static void fill(ui::FormState& f, const std::array<const char*, 4>& octets, const char* port) {
    const int ids[4] = {shell::kHostOctet1, shell::kHostOctet2, shell::kHostOctet3, shell::kHostOctet4};
    for (int i = 0; i < 4; ++i) f.type(ids[i], octets[static_cast<std::size_t>(i)]);
    f.type(shell::kHostPort, port);
  }

  testing_support::TempDir dir;
  std::unique_ptr<platform::Registry> reg = platform::makeFileRegistry(dir.file("registry"));
  platform::ScopedRegistry useRegistry{*reg};
  testing_support::ScriptedHost host;
  shell::StartupValues v;
};

TEST_F(HostAddressDialog, AMissingFileStartsFromTheExampleAndSaveWritesTheLineAndBothOptions) {
  ASSERT_FALSE(platform::fileExists(addressFile()));
  config::SettingsRecord before = saved();
  host.onForm(shell::kHostAddressDialog, [&](ui::FormState& f) {
    EXPECT_EQ(f.caption(), "Tallyfin Host IP Address");
    EXPECT_EQ(f.text(shell::kHostOctet1), "10");
    EXPECT_EQ(f.text(shell::kHostOctet2), "1");
    EXPECT_EQ(f.text(shell::kHostOctet3), "1");
    EXPECT_EQ(f.text(shell::kHostOctet4), "1");
    EXPECT_EQ(f.text(shell::kHostPort), "50000");
    EXPECT_FALSE(f.checked(shell::kArchiveAfterTransferCheck));
    EXPECT_FALSE(f.checked(shell::kRequestUpdateCheck));
    f.press(shell::kArchiveAfterTransferCheck);
    f.press(shell::kRequestUpdateCheck);
    f.press(shell::kHostSaveButton);
  });
  EXPECT_EQ(shell::hostAddressDialog(host, v), 1);
  EXPECT_EQ(readBytes(addressFile()), "10.1.1.1 50000\n");
  config::SettingsRecord r = saved();
  EXPECT_EQ(r.archiveAfterTransfer(), 1);
  EXPECT_EQ(r.requestProgramUpdate(), 1);
  // Only the two option fields of the record changed.
  before.setArchiveAfterTransfer(1);
  before.setRequestProgramUpdate(1);
  EXPECT_TRUE(r.bytes() == before.bytes());
}

TEST_F(HostAddressDialog, TheFieldsStartFromTheFileAndTheOptionsFromTheRecord) {
  writeBytes(addressFile(), "192.168.40.7 50123\n");
  v.settings.setArchiveAfterTransfer(1);
  ASSERT_EQ(config::saveSettings(host, v.installRoot, v.settings, v.style.sep), 1);
  v.settings.setArchiveAfterTransfer(0);  // the dialog reads the file anew
  host.onForm(shell::kHostAddressDialog, [&](ui::FormState& f) {
    EXPECT_EQ(f.text(shell::kHostOctet1), "192");
    EXPECT_EQ(f.text(shell::kHostOctet3), "40");
    EXPECT_EQ(f.text(shell::kHostOctet4), "7");
    EXPECT_EQ(f.text(shell::kHostPort), "50123");
    EXPECT_TRUE(f.checked(shell::kArchiveAfterTransferCheck));
    f.press(shell::kArchiveAfterTransferCheck);  // off again
    f.type(shell::kHostOctet4, "008");
    f.press(shell::kHostSaveButton);
  });
  EXPECT_EQ(shell::hostAddressDialog(host, v), 1);
  // Leading zeros go: no reader can take the number for octal.
  EXPECT_EQ(readBytes(addressFile()), "192.168.40.8 50123\n");
  EXPECT_EQ(saved().archiveAfterTransfer(), 0);
}

TEST_F(HostAddressDialog, ABadOctetOrPortIsRefusedAndTheDialogStaysOpen) {
  host.expect(shell::kBadOctetText, ui::kIdOk, "Tallyfin Host IP Address");
  host.expect(shell::kBadPortText, ui::kIdOk, "Tallyfin Host IP Address");
  host.onForm(shell::kHostAddressDialog, [&](ui::FormState& f) {
    fill(f, {"10", "256", "1", "1"}, "50000");
    f.press(shell::kHostSaveButton);
    EXPECT_FALSE(f.ended());
    fill(f, {"10", "", "1", "1"}, "50000");
    f.press(shell::kHostSaveButton);
    EXPECT_FALSE(f.ended());
    fill(f, {"10", "2", "1", "1"}, "0");
    f.press(shell::kHostSaveButton);
    fill(f, {"10", "2", "1", "1"}, "65536");
    f.press(shell::kHostSaveButton);
    EXPECT_FALSE(f.ended());
    EXPECT_FALSE(platform::fileExists(addressFile()));
    fill(f, {"10", "2", "1", "1"}, "65535");
    f.press(shell::kHostSaveButton);
  });
  EXPECT_EQ(shell::hostAddressDialog(host, v), 1);
  EXPECT_EQ(host.countText(shell::kBadOctetText), 2);
  EXPECT_EQ(host.countText(shell::kBadPortText), 2);
  EXPECT_EQ(readBytes(addressFile()), "10.2.1.1 65535\n");
}

TEST_F(HostAddressDialog, CancelKeepsTheFileAndTheRecord) {
  writeBytes(addressFile(), "10.9.9.9 50001\n");
  host.onForm(shell::kHostAddressDialog, [&](ui::FormState& f) {
    f.type(shell::kHostOctet1, "11");
    f.press(shell::kRequestUpdateCheck);
    f.press(ui::kIdCancelButton);
  });
  EXPECT_EQ(shell::hostAddressDialog(host, v), 0);
  EXPECT_EQ(readBytes(addressFile()), "10.9.9.9 50001\n");
  EXPECT_EQ(saved().requestProgramUpdate(), 0);
}

}  // namespace
