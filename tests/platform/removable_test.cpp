// The removable drive list: entries and their paths, the folders of the
// registry value, and (POSIX) the mounted removable devices read from a
// mounts file and a sysfs tree of the test's own.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/fileops.hpp"
#include "platform/registry.hpp"
#include "platform/removable.hpp"
#include "support/temp_dir.hpp"

namespace {

using testing_support::TempDir;
using testing_support::writeBytes;

TEST(RemovableEntry, TheLabelIsDroppedAndASeparatorAddedForThePath) {
  EXPECT_EQ(platform::removableEntry("E:", "CARD"), "E:(CARD)");
  EXPECT_EQ(platform::removableEntryPath("E:(CARD)", '\\'), "E:\\");
  EXPECT_EQ(platform::removableEntryPath("E:()", '\\'), "E:\\");
  EXPECT_EQ(platform::removableEntryPath("/media/ann/CARD(CARD)", '/'), "/media/ann/CARD/");
  // Parentheses in a label cannot confuse the path; those of the place stay.
  const std::string entry = platform::removableEntry("/mnt/disk (2)", "A(B)");
  EXPECT_EQ(entry, "/mnt/disk (2)(A[B])");
  EXPECT_EQ(platform::removableEntryPath(entry, '/'), "/mnt/disk (2)/");
  EXPECT_EQ(platform::removableEntryPath("/(root)", '/'), "/");
}

TEST(RemovableFolders, TheRegistryValueAddsEveryExistingFolderOnce) {
  TempDir dir;
  auto reg = platform::makeFileRegistry(dir.file("registry"));
  platform::ScopedRegistry use(*reg);
  std::vector<std::string> out;
  platform::addRegistryFolders(out);
  EXPECT_TRUE(out.empty());  // no value, no folders

  platform::makeFolder(dir.file("cardA"));
  platform::makeFolder(dir.file("cardB"));
  const std::string sep(1, platform::kSep);
  platform::putAppSetting(platform::kRemovableFoldersValue,
                          dir.file("cardA") + "; ;" + dir.file("missing") + ";  " + dir.file("cardB") + sep + ";" +
                              dir.file("cardA"));
  platform::addRegistryFolders(out);
  EXPECT_EQ(out, (std::vector<std::string>{platform::removableEntry(dir.file("cardA"), "cardA"),
                                           platform::removableEntry(dir.file("cardB"), "cardB")}));
  EXPECT_EQ(platform::removableEntryPath(out[1], platform::kSep), dir.file("cardB") + sep);

  std::vector<std::string> all;
  EXPECT_EQ(platform::listRemovableDrives(all), 0);
  ASSERT_GE(all.size(), 2u);
  EXPECT_EQ(std::vector<std::string>(all.end() - 2, all.end()), out);  // after the drives
}

#ifndef _WIN32

TEST(RemovableMounts, ParsesMountLinesAndTheirEscapes) {
  auto m = platform::parseMounts(
      "/dev/sdb1 /media/ann/My\\040Card vfat rw 0 0\n"
      "short line\n"
      "\n"
      "tmpfs /tmp tmpfs rw 0 0\n"
      "/dev/sdc /mnt/back\\134slash ext4 rw");
  ASSERT_EQ(m.size(), 3u);
  EXPECT_EQ(m[0].device, "/dev/sdb1");
  EXPECT_EQ(m[0].mountPoint, "/media/ann/My Card");
  EXPECT_EQ(m[0].type, "vfat");
  EXPECT_EQ(m[1].mountPoint, "/tmp");
  EXPECT_EQ(m[2].mountPoint, "/mnt/back\\slash");
  auto cut = platform::parseMounts("/dev/x /a\\04 vfat");
  ASSERT_EQ(cut.size(), 1u);
  EXPECT_EQ(cut[0].mountPoint, "/a\\04");  // a cut escape stays as it is
}

class RemovableMountsTree : public ::testing::Test {
 protected:
  void SetUp() override {
    namespace fs = std::filesystem;
    roots.mounts = dir.file("mounts");
    roots.sysBlock = dir.file("block");
    roots.byLabel = dir.file("by-label");
    disk("sda", "0", {"sda1", "sda2"});
    disk("sdb", "1", {"sdb1"});
    disk("mmcblk0", "1", {"mmcblk0p1"});
    disk("sdc", "1\n", {});
    fs::create_directories(roots.byLabel);
    fs::create_symlink("../../sdb1", roots.byLabel + "/FIELD\\x20CARD");
    fs::create_symlink("../../sda2", roots.byLabel + "/SYSTEM");
  }
  void disk(const std::string& name, const std::string& removable, const std::vector<std::string>& parts) {
    std::filesystem::create_directories(roots.sysBlock + "/" + name);
    writeBytes(roots.sysBlock + "/" + name + "/removable", removable);
    for (const auto& p : parts) std::filesystem::create_directories(roots.sysBlock + "/" + name + "/" + p);
  }

  TempDir dir;
  platform::MountRoots roots;
};

TEST_F(RemovableMountsTree, ListsTheMountsOfRemovableDevicesOnceEachWithTheirLabels) {
  writeBytes(roots.mounts,
             "/dev/sda2 / ext4 rw 0 0\n"
             "proc /proc proc rw 0 0\n"
             "/dev/sdb1 /media/ann/FIELD\\040CARD vfat rw 0 0\n"
             "/dev/sdb1 /media/ann/FIELD\\040CARD vfat rw 0 0\n"
             "/dev/mmcblk0p1 /media/ann/stick exfat rw 0 0\n"
             "/dev/sda1 /boot ext4 rw 0 0\n"
             "/dev/sdc /mnt/whole vfat rw 0 0\n"
             "/dev/sdz9 /mnt/unknown vfat rw 0 0\n");
  std::vector<std::string> out;
  EXPECT_EQ(platform::listRemovableMounts(roots, out), 0);
  EXPECT_EQ(out, (std::vector<std::string>{"/media/ann/FIELD CARD(FIELD CARD)", "/media/ann/stick(stick)",
                                           "/mnt/whole(whole)"}));
  EXPECT_EQ(platform::removableEntryPath(out[0], '/'), "/media/ann/FIELD CARD/");
}

TEST_F(RemovableMountsTree, AnUnreadableMountsFileIsAnError) {
  roots.mounts = dir.file("no-such-file");
  std::vector<std::string> out;
  EXPECT_NE(platform::listRemovableMounts(roots, out), 0);
  EXPECT_TRUE(out.empty());
}

#endif

}  // namespace
