// Installing packages from the pending-applications folder: the list, the
// side-by-side versions, every question, the +-10 path that never copies and
// packages that are never copied.
#include <gtest/gtest.h>

#include "apps/install_pending.hpp"
#include "apps/version_dialog.hpp"
#include "apps/versions.hpp"
#include "base/paths.hpp"
#include "install_fixture.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"
#include "support/scripted_host.hpp"
#include "support/selective_files.hpp"
#include "support/temp_dir.hpp"
#include "ui/pick_list.hpp"

namespace {

using install_test::buildPackage;
using install_test::v;
using install_test::Version;
using testing_support::readBytes;
using testing_support::writeBytes;


class PendingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::makeFolder(apps);
    platform::makeFolder(pending);
  }
  void packages(const Version& incoming, const Version* installed) {
    buildPackage(scratch.path(), "Trees", incoming, waiting());
    if (installed) buildPackage(scratch.path(), "Trees", *installed, inApps());
  }
  int install() { return apps::installPendingPackage(host, pending, "Trees.tfa", apps, platform::kSep); }
  // The side-by-side dialog, closed with OK after its texts were checked.
  void acceptVersions() {
    host.onForm(apps::kSideBySideDialog, [](ui::FormState& f) { f.press(ui::kIdOkButton); });
  }
  std::string waiting() const { return base::joinPath(pending, "Trees.tfa", platform::kSep); }
  std::string inApps() const { return base::joinPath(apps, "Trees.tfa", platform::kSep); }

  testing_support::TempDir dir, scratch;
  testing_support::ScriptedHost host;
  std::string apps = dir.file("Apps");
  std::string pending = dir.file("Apps_Pending");
};

TEST_F(PendingTest, WithNothingInstalledThePackageIsCopiedWithoutAQuestion) {
  packages(v(1, 1, 0, 0), nullptr);
  const std::string bytes = readBytes(waiting());
  host.expectOnce("Pending Application Successfully Copied", ui::kIdOk, "Pending App Moved");
  EXPECT_EQ(install(), apps::kPendingCopied);
  EXPECT_TRUE(readBytes(inApps()) == bytes);
  EXPECT_FALSE(platform::fileExists(waiting()));
  EXPECT_TRUE(host.forms().empty());
}

TEST_F(PendingTest, EveryComparisonAsksItsQuestionUnderItsCaption) {
  struct Case {
    Version incoming;
    const char* caption;
    const char* question;
  };
  const Version installed = v(2, 3, 4, 12);
  const char* newer = "Replace The Current App with the Pending App (NEWER)\nContinue?";
  const char* older = "The Current App Version Is NEWER than the Pending App Version\nContinue?";
  const Case cases[] = {
      {v(2, 3, 4, 13), "Replace Current App +3", newer},
      {v(2, 3, 5, 0), "Replace Current App +4", newer},
      {v(2, 4, 0, 0), "Replace Current App +5", newer},
      {v(2, 2, 0, 0), "Replace Current App -5", older},
      {v(2, 3, 3, 0), "Replace Current App -4", older},
      {v(2, 3, 4, 7), "Replace Current App -3", "The Current App Build Is NEWER than the Pending App Build\nContinue?"},
      {v(3, 1, 0, 0), "Replace Current App +10",
       "Replace The Current App with the Pending App (NEWER)\nThis will require any collected data to be erased\nContinue?"},
      {v(1, 9, 0, 0), "Replace Current App -10",
       "The Current App Data Structure Is NEWER than the in the Pending App\nThis will require any collected data to be erased\nContinue?"},
  };
  for (const Case& c : cases) {
    packages(c.incoming, &installed);
    const std::string before = readBytes(inApps());
    host.clearShown();
    acceptVersions();
    host.expectOnce(c.question, ui::kIdNo, c.caption);
    EXPECT_EQ(install(), apps::kPendingKept) << c.caption;
    ASSERT_EQ(host.shown().size(), 1u) << c.caption;
    EXPECT_EQ(host.shown()[0].text, c.question);
    EXPECT_TRUE(readBytes(inApps()) == before);
    EXPECT_TRUE(platform::fileExists(waiting()));
  }

  // Yes on a newer version replaces the installed package.
  packages(v(2, 3, 4, 13), &installed);
  const std::string incoming = readBytes(waiting());
  acceptVersions();
  host.expectOnce(newer, ui::kIdYes, "Replace Current App +3");
  host.expectOnce("Pending Application Successfully Copied", ui::kIdOk, "Pending App Moved");
  EXPECT_EQ(install(), apps::kPendingCopied);
  EXPECT_TRUE(readBytes(inApps()) == incoming);
  EXPECT_FALSE(platform::fileExists(waiting()));
}

TEST_F(PendingTest, ANewStructureIsNeverCopiedFromThePendingFolder) {
  const Version installed = v(1, 1, 0, 0);
  for (const Version& incoming : {v(2, 1, 0, 0), v(0, 1, 0, 0)}) {
    packages(incoming, &installed);
    const std::string before = readBytes(inApps());
    host.clearShown();
    acceptVersions();
    host.expectOnce("This will require any collected data to be erased\nContinue?", ui::kIdYes);
    host.expectOnce("This will require any collected data to be erased\nContinue?", ui::kIdYes,
                    "Selected Pending App \nNOA");
    host.expectOnce("You Must Delete Datasets Before Overwriting the Current Application", ui::kIdYes,
                    "Replace Current App");
    host.expectOnce("This Erase all datasets for the current app", ui::kIdOk, "Pending App Moved");
    EXPECT_EQ(install(), apps::kPendingKept);
    EXPECT_EQ(host.shown().size(), 4u);
    EXPECT_TRUE(readBytes(inApps()) == before);
    EXPECT_TRUE(platform::fileExists(waiting()));
  }
}

TEST_F(PendingTest, TheSameVersionDeclinedOffersToDeleteThePendingPackage) {
  const Version same = v(1, 1, 0, 0);
  packages(same, &same);
  acceptVersions();
  host.expectOnce("The Current App and Pending App are the same\nReplace Current the App Anyway?", ui::kIdNo,
                  "Replace Current App");
  host.expectOnce("The Pending App Will Not be Copied\nDelete The Pending App ?", ui::kIdNo, "Pending App Not New");
  host.expectOnce("The Pending Application was NOT Deleted", ui::kIdOk, "App Still Pending");
  EXPECT_EQ(install(), apps::kPendingKept);
  EXPECT_TRUE(platform::fileExists(waiting()));

  acceptVersions();
  host.expectOnce("The Current App and Pending App are the same", ui::kIdNo, "Replace Current App");
  host.expectOnce("Delete The Pending App ?", ui::kIdYes, "Pending App Not New");
  host.expectOnce("The Pending Application Successfully Deleted", ui::kIdOk, "Pending App Deleted");
  EXPECT_EQ(install(), apps::kPendingDeleted);
  EXPECT_FALSE(platform::fileExists(waiting()));
  EXPECT_TRUE(platform::fileExists(inApps()));
}

TEST_F(PendingTest, AnotherNameIsCopiedOnlyOverAPackageWithoutVersionData) {
  Version bare;
  bare.present = false;
  const Version versioned = v(1, 1, 0, 0);
  packages(versioned, &bare);
  apps::TfaHeader h = install_test::headerOf(inApps());
  h.setAppName("TREES.TFA");
  install_test::putHeader(inApps(), h);
  acceptVersions();
  host.expectOnce("Pending Application Successfully Copied", ui::kIdOk, "Pending App Moved");
  EXPECT_EQ(install(), apps::kPendingCopied);

  packages(versioned, &versioned);
  apps::TfaHeader withVersion = install_test::headerOf(inApps());
  withVersion.setAppName("TREES.TFA");
  install_test::putHeader(inApps(), withVersion);  // another name, but with version data
  const std::string before = readBytes(inApps());
  acceptVersions();
  EXPECT_EQ(install(), apps::kPendingKept);
  EXPECT_TRUE(readBytes(inApps()) == before);
  EXPECT_TRUE(platform::fileExists(waiting()));
}

TEST_F(PendingTest, TheVersionsAreShownSideBySideAndCancelEndsIt) {
  Version bare;
  bare.present = false;
  const Version installed = v(4, 2, 7, 31);
  packages(bare, &installed);
  host.expectOnce("No Application Version\nData Available for Pending App", ui::kIdOk, "Error!");
  host.onForm(apps::kSideBySideDialog, [](ui::FormState& f) {
    EXPECT_EQ(f.text(apps::kCurrentValue + 0), "Trees.tfa");
    EXPECT_EQ(f.text(apps::kCurrentValue + 1), "002.007");
    EXPECT_EQ(f.text(apps::kCurrentValue + 2), "01/02/2021");
    EXPECT_EQ(f.text(apps::kCurrentValue + 3), "31");
    EXPECT_EQ(f.text(apps::kCurrentValue + 4), "4");
    EXPECT_EQ(f.text(apps::kCurrentValue + 5), "01/01/2021");
    EXPECT_EQ(f.text(apps::kPendingValue + 0), "Trees.tfa");
    EXPECT_EQ(f.text(apps::kPendingValue + 1), "");
    f.press(ui::kIdCancelButton);
  });
  host.expectOnce("Pending Application Version Operation Canceled", ui::kIdOk, "Pending App Aborted");
  EXPECT_EQ(install(), apps::kPendingKept);
  EXPECT_EQ(host.shown().size(), 2u);
  EXPECT_TRUE(platform::fileExists(waiting()));
}

TEST_F(PendingTest, BadPendingPackagesAndUnreadableInstalledOnesAreNeverCopied) {
  writeBytes(waiting(), std::string(700, 'x'));
  host.expectOnce("No Application Version\nData Available for Pending App", ui::kIdOk, "Error!");
  EXPECT_EQ(install(), apps::kPendingKept);
  EXPECT_FALSE(platform::fileExists(inApps()));

  std::string garbage(3000, '\0');
  for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>(1 + (i * 53) % 250);
  writeBytes(waiting(), garbage);  // version data "present", a name that is no file's
  host.expectOnce("Trees.tfa Appears to have been\n Renamed - App Not Valid\nCannot Copy App!", ui::kIdOk, "Error !");
  EXPECT_EQ(install(), apps::kPendingKept);
  EXPECT_FALSE(platform::fileExists(inApps()));

  Version bare;
  bare.present = false;
  buildPackage(scratch.path(), "Trees", bare, inApps());
  const std::string before = readBytes(inApps());
  host.expectOnce("Renamed - App Not Valid", ui::kIdOk, "Error !");
  EXPECT_EQ(install(), apps::kPendingKept);  // even over a package without version data
  EXPECT_TRUE(readBytes(inApps()) == before);

  packages(v(1, 1, 0, 0), nullptr);
  writeBytes(inApps(), "broken");
  host.expectOnce("No Application Version\nData Available for Current App", ui::kIdOk, "Error!");
  EXPECT_EQ(install(), apps::kPendingKept);
  EXPECT_EQ(readBytes(inApps()), "broken");
  EXPECT_TRUE(host.forms().empty());
}

TEST_F(PendingTest, AFailedCopyLeavesThePendingPackageInPlace) {
  const Version installed = v(1, 1, 0, 0);
  packages(v(1, 1, 0, 1), &installed);
  const std::string before = readBytes(inApps()), incoming = readBytes(waiting());
  testing_support::SelectiveFileSystem fs;  // copies fail as on a full disk
  fs.add({.suffix = "", .copyError = platform::kErrDiskFull});
  platform::ScopedFileSystem use(fs);
  acceptVersions();
  host.expectOnce("Replace The Current App with the Pending App (NEWER)", ui::kIdYes, "Replace Current App +3");
  host.expectOnce("Load Application Failed!!", ui::kIdOk, "Error!");
  EXPECT_EQ(install(), apps::kPendingFailed);
  EXPECT_TRUE(readBytes(waiting()) == incoming);
  EXPECT_TRUE(readBytes(inApps()) == before);
  EXPECT_FALSE(platform::fileExists(inApps() + ".new"));
}

TEST_F(PendingTest, TheListChoosesThePackage) {
  host.expectOnce("No App Selected", ui::kIdOk, "Error");
  EXPECT_EQ(apps::installPending(host, pending, apps, platform::kSep), "");  // nothing waits
  EXPECT_TRUE(host.forms().empty());

  buildPackage(scratch.path(), "Trees", v(1, 1, 0, 0), waiting());
  buildPackage(scratch.path(), "Oaks", v(1, 1, 0, 0), base::joinPath(pending, "Oaks.tfa", platform::kSep));
  host.onForm(ui::kPickListResource, [](ui::FormState& f) { f.press(ui::kIdCancelButton); });
  host.expectOnce("No App Selected", ui::kIdOk, "Error");
  EXPECT_EQ(apps::installPending(host, pending, apps, platform::kSep), "");

  host.onForm(ui::kPickListResource, [](ui::FormState& f) {
    EXPECT_EQ(f.items(ui::kPickListControl),
              (std::vector<std::string>{"< Pending Applications >", "Oaks.tfa", "Trees.tfa", "< Enter to Select >"}));
    f.select(ui::kPickListControl, 2);
    f.press(ui::kIdOkButton);
  });
  host.expectOnce("Pending Application Successfully Copied", ui::kIdOk, "Pending App Moved");
  EXPECT_EQ(apps::installPending(host, pending, apps, platform::kSep), "Trees.tfa");
  EXPECT_TRUE(platform::fileExists(inApps()));
  EXPECT_TRUE(platform::fileExists(base::joinPath(pending, "Oaks.tfa", platform::kSep)));
}

}  // namespace
