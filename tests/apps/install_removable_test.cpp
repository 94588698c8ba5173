// Loading packages from removable storage: the drive and package lists of
// dialog 292, every version question, and packages that are never copied.
#include <gtest/gtest.h>

#include "apps/install_removable.hpp"
#include "apps/versions.hpp"
#include "base/paths.hpp"
#include "install_fixture.hpp"
#include "platform/fileops.hpp"
#include "platform/registry.hpp"
#include "platform/removable.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"

namespace {

using install_test::buildPackage;
using install_test::v;
using install_test::Version;
using testing_support::readBytes;
using testing_support::writeBytes;


class RemovableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::makeFolder(apps);
    platform::makeFolder(card);
    platform::makeFolder(card + platform::kSep + "Tallyfin Mobile");
    platform::makeFolder(cardApps);
  }
  // Puts Trees.tfa of version source on the card and, unless installed is
  // empty, of version installed in the applications folder.
  void packages(const Version& source, const Version* installed) {
    buildPackage(scratch.path(), "Trees", source, onCard());
    if (installed) buildPackage(scratch.path(), "Trees", *installed, inApps());
  }
  int load() { return apps::loadFromRemovable(host, cardApps, "Trees.tfa", apps, platform::kSep); }
  std::string onCard() const { return base::joinPath(cardApps, "Trees.tfa", platform::kSep); }
  std::string inApps() const { return base::joinPath(apps, "Trees.tfa", platform::kSep); }

  testing_support::TempDir dir, scratch;
  testing_support::ScriptedHost host;
  std::string apps = dir.file("Apps");
  std::string card = dir.file("card");
  std::string cardApps = apps::removableAppsFolder(platform::removableEntry(card, "card"), platform::kSep);
};

TEST_F(RemovableTest, EveryComparisonAsksItsOwnQuestionAndNoKeepsTheInstalledPackage) {
  struct Case {
    Version source;
    const char* question;
  };
  const Version installed = v(2, 3, 4, 12);
  const Case cases[] = {
      {v(2, 3, 4, 13), "Trees.tfa On REMOVABLE Storage has an Newer Build Version Than Your Current Application!\nOverwrite ?"},
      {v(2, 3, 4, 7), "Trees.tfa On REMOVABLE Storage has an OLDER Build Version Than Your Current Application!\nCopy Anyway?"},
      {v(2, 3, 5, 0), "Trees.tfa On REMOVABLE Storage has an Newer Minor Version Than Your Current Application!\nOverwrite ?"},
      {v(2, 3, 3, 99), "Trees.tfa On REMOVABLE Storage has an OLDER Minor Version Than Your Current Application!\nCopy Anyway?"},
      {v(2, 4, 0, 0), "Trees.tfa On REMOVABLE Storage has an Newer Major Version Than Your Current Application!\nOverwrite ?"},
      {v(2, 2, 9, 99), "Trees.tfa On REMOVABLE Storage has an OLDER Major Version Than Your Current Application!\nCopy Anyway?"},
      {v(3, 1, 0, 0), "Trees.tfa On Removable Storage Has an NEWER File Structure!\nHowever, This May Render Current Data Non-Accessable!\nCopy Anyway?"},
      {v(1, 9, 9, 99), "Trees.tfa On REMOVABLE Storage Has an OLDER File Structure!\nThis May Render Current Data Non-Accessable!\nCopy Anyway?"},
      {installed, "Trees.tfa Is Already Present\n OverWrite ?"},
  };
  for (const Case& c : cases) {
    packages(c.source, &installed);
    const std::string before = readBytes(inApps());
    host.clearShown();
    host.expectOnce(c.question, ui::kIdNo, "Warning !");
    host.expectOnce("Load Application Aborted!", ui::kIdOk, "Not Copied");
    EXPECT_EQ(load(), apps::kLoadDeclined) << c.question;
    ASSERT_EQ(host.shown().size(), 2u) << c.question;
    EXPECT_EQ(host.shown()[0].text, c.question);
    EXPECT_EQ(host.shown()[0].flags & ui::kMbButtonMask, unsigned{ui::kMbYesNo});
    EXPECT_TRUE(readBytes(inApps()) == before);
  }
}

TEST_F(RemovableTest, ANewerStructureIsCopiedOnlyAfterTheDataWarning) {
  const Version installed = v(1, 1, 0, 0);
  packages(v(2, 1, 0, 0), &installed);
  host.expectOnce("Has an NEWER File Structure!", ui::kIdYes, "Warning !");
  host.expectOnce("Load Application Succeeded!!", ui::kIdOk, "Load App!");
  EXPECT_EQ(load(), apps::kLoadCopied);
  EXPECT_TRUE(readBytes(inApps()) == readBytes(onCard()));
  EXPECT_EQ(host.shown().size(), 2u);
  EXPECT_FALSE(platform::fileExists(inApps() + ".new"));
}

TEST_F(RemovableTest, WithNothingInstalledThePackageIsCopiedWithoutAQuestion) {
  packages(v(1, 1, 0, 0), nullptr);
  host.expectOnce("Load Application Succeeded!!", ui::kIdOk, "Load App!");
  EXPECT_EQ(load(), apps::kLoadCopied);
  EXPECT_TRUE(readBytes(inApps()) == readBytes(onCard()));
  EXPECT_EQ(host.shown().size(), 1u);
}

TEST_F(RemovableTest, ANameDifferingInCaseCountsAsRenamed) {
  const Version installed = v(1, 1, 0, 0);
  packages(v(1, 1, 0, 1), &installed);
  apps::TfaHeader h = install_test::headerOf(inApps());
  h.setAppName("TREES.TFA");
  install_test::putHeader(inApps(), h);
  const std::string before = readBytes(inApps());
  host.expectOnce("Trees.tfa Appears to have been\n Renamed - App Not Valid\nCannot Copy App!", ui::kIdOk, "Error !");
  host.expectOnce("Load Application Failed!!", ui::kIdOk, "Error!");
  EXPECT_EQ(load(), apps::kLoadFailed);
  EXPECT_TRUE(readBytes(inApps()) == before);
}

TEST_F(RemovableTest, TruncatedOrGarbagePackagesAreNeverCopied) {
  const Version installed = v(1, 1, 0, 0);
  for (bool withInstalled : {true, false}) {
    if (withInstalled) buildPackage(scratch.path(), "Trees", installed, inApps());
    else platform::deleteFile(inApps());
    const std::string before = withInstalled ? readBytes(inApps()) : "";

    writeBytes(onCard(), std::string(1200, 'T'));  // shorter than a header
    host.clearShown();
    host.expectOnce("Trees.tfa On Removable Storage Appears to not be a Valid Application\nCannot Copy App!",
                    ui::kIdOk, "Error !");
    host.expectOnce("Load Application Failed!!", ui::kIdOk, "Error!");
    EXPECT_EQ(load(), apps::kLoadFailed);

    std::string garbage(4000, '\0');
    for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>((i * 37 + 11) % 251);
    writeBytes(onCard(), garbage);
    host.expectOnce("Renamed - App Not Valid", ui::kIdOk, "Error !");
    host.expectOnce("Load Application Failed!!", ui::kIdOk, "Error!");
    EXPECT_EQ(load(), apps::kLoadFailed);

    EXPECT_EQ(host.shown().size(), 4u);
    EXPECT_EQ(platform::fileExists(inApps()), withInstalled);
    if (withInstalled) {
      EXPECT_TRUE(readBytes(inApps()) == before);
    }
  }
}

TEST_F(RemovableTest, AnUnreadableInstalledPackageIsNotReplaced) {
  packages(v(1, 1, 0, 0), nullptr);
  writeBytes(inApps(), "broken");
  host.expectOnce("Trees.tfa Is Aready Present but not Accessable\nCannot Copy App!", ui::kIdOk, "Error !");
  host.expectOnce("Load Application Failed!!", ui::kIdOk, "Error!");
  EXPECT_EQ(load(), apps::kLoadFailed);
  EXPECT_EQ(readBytes(inApps()), "broken");
}

class RemovableDialogTest : public RemovableTest {
 protected:
  std::unique_ptr<platform::Registry> reg = platform::makeFileRegistry(dir.file("registry"));
  platform::ScopedRegistry useRegistry{*reg};
};

TEST_F(RemovableDialogTest, DrivesListTheirPackagesAndLoadCopiesTheChosenOne) {
  const std::string card2 = dir.file("card2");
  const std::string card2Apps = apps::removableAppsFolder(platform::removableEntry(card2, "card2"), platform::kSep);
  platform::makeFolder(card2);
  platform::makeFolder(card2 + platform::kSep + "Tallyfin Mobile");
  platform::makeFolder(card2Apps);
  buildPackage(scratch.path(), "Oaks", v(1, 1, 0, 0), base::joinPath(card2Apps, "Oaks.tfa", platform::kSep));
  buildPackage(scratch.path(), "Trees", v(1, 1, 0, 0), onCard());
  platform::putAppSetting(platform::kRemovableFoldersValue, card + ";" + card2);

  std::vector<std::string> drives;
  ASSERT_GE(apps::listStorageCards(host, drives), 2);
  const std::string entry1 = platform::removableEntry(card, "card"), entry2 = platform::removableEntry(card2, "card2");
  host.onForm(apps::kRemovableDialog, [&](ui::FormState& f) {
    std::vector<std::string> items = f.items(apps::kDriveList);
    auto at = [&](const std::string& e) {
      return static_cast<int>(std::find(items.begin(), items.end(), e) - items.begin());
    };
    ASSERT_LT(at(entry2), static_cast<int>(items.size()));
    f.select(apps::kDriveList, at(entry1));
    EXPECT_EQ(f.items(apps::kRemovablePackageList), std::vector<std::string>{"Trees.tfa"});
    f.select(apps::kDriveList, at(entry2));
    EXPECT_EQ(f.items(apps::kRemovablePackageList), std::vector<std::string>{"Oaks.tfa"});
    f.select(apps::kRemovablePackageList, 0);
    f.press(apps::kLoadButton);
    EXPECT_FALSE(f.ended());  // the dialog stays for the next package
    f.press(ui::kIdCancelButton);
  });
  host.expectOnce("Load Application Succeeded!!", ui::kIdOk, "Load App!");
  apps::installFromRemovable(host, apps, platform::kSep);
  EXPECT_TRUE(readBytes(base::joinPath(apps, "Oaks.tfa", platform::kSep)) == readBytes(base::joinPath(card2Apps, "Oaks.tfa", platform::kSep)));
  EXPECT_FALSE(platform::fileExists(inApps()));
}

TEST_F(RemovableDialogTest, WithoutRemovableStorageNoDialogOpens) {
  std::vector<std::string> drives;
  platform::listRemovableDrives(drives);
  if (!drives.empty()) GTEST_SKIP() << "this machine has removable storage: " << drives.front();
  host.expectOnce("Removable Storage Not Detected!!", ui::kIdOk, "Error");
  apps::installFromRemovable(host, apps, platform::kSep);
  EXPECT_TRUE(host.forms().empty());
  EXPECT_EQ(host.shown().size(), 1u);
}

}  // namespace
