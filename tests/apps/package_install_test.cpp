// Installing an application from its package: the checks before the work,
// the required-files list, the progress window and what failures leave.
#include <gtest/gtest.h>

#include "apps/package_fixture.hpp"
#include "apps/package_format.hpp"
#include "apps/package_install.hpp"
#include "platform/fileops.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"

namespace {

using namespace package_test;
using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::writeBytes;

constexpr platform::FileTime kStamp = 132458564960000000ull;

// Records the progress window it was asked to show and how it ended.
class RecordingHost : public testing_support::ScriptedHost {
 public:
  void showProgress(const ui::ProgressSpec& desc, ui::Progress& progress) override {
    shownSpec = desc;
    ++windows;
    ui::Host::showProgress(desc, progress);
    last = progress.snapshot();
  }
  ui::ProgressSpec shownSpec;
  ui::Progress::Snapshot last;
  int windows = 0;
};

class InstallApplication : public ::testing::Test {
 protected:
  void write(const std::string& fileName, const std::string& headerName,
             std::vector<RawMember> members) {
    package = dir.file(fileName);
    writeBytes(package, packageImage(headerFor(headerName), members));
  }
  std::string at(const std::string& name) const { return folder + platform::kSep + name; }

  TempDir dir;
  RecordingHost host;
  std::string package;
  std::string folder = dir.file("Trees");
};

TEST_F(InstallApplication, ExtractsTheListedMembersWithTheirTimes) {
  const std::string ctl = sampleText(90000, 2);
  write("Trees.tfa", "TREES.TFA",
        {{"reqfiles.DBF", gzip(requiredFilesTable({"app.ctl", "TREES.BCT"})), kStamp},
         {"app.ctl", gzip(ctl), kStamp + 10000000},
         {"Trees.bct", gzip("bct"), kStamp + 20000000},
         {"unlisted.txt", gzip("not wanted"), kStamp}});
  apps::TfaHeader copy;
  EXPECT_EQ(apps::extractApplication(host, package, folder, &copy), 0);
  EXPECT_TRUE(host.shown().empty());

  EXPECT_EQ(listFolder(folder),
            (std::vector<std::string>{"Trees.bct", "_tfa_app_hdr.dft", "app.ctl", "reqfiles.DBF"}));
  EXPECT_TRUE(readBytes(at("app.ctl")) == ctl);
  platform::FileTime time = 0;
  platform::getFileTime(at("Trees.bct"), time);
  EXPECT_EQ(time, kStamp + 20000000);

  // The header copy is written from the package header.
  EXPECT_EQ(readBytes(at("_tfa_app_hdr.dft")),
            std::string(copy.bytes().begin(), copy.bytes().end()));
  EXPECT_EQ(copy.appName(), "TREES.TFA");

  EXPECT_EQ(host.windows, 1);
  EXPECT_EQ(host.shownSpec.resource, 230);
  EXPECT_EQ(host.shownSpec.title, "Tallyfin Mobile App Extraction ");
  EXPECT_EQ(host.shownSpec.line1, "           Please Wait         ");
  EXPECT_EQ(host.shownSpec.line2, "     Preparing App For Use     ");
  EXPECT_EQ(host.last.line, "TREES.BCT");
  EXPECT_EQ(host.last.percent, 50);
}

TEST_F(InstallApplication, AnExistingHeaderCopyIsReadNotReplaced) {
  write("Trees.tfa", "Trees.tfa",
        {{"ReqFiles.dbf", gzip(requiredFilesTable({"app.ctl"})), kStamp},
         {"app.ctl", gzip("x"), kStamp}});
  platform::makeFolder(folder);
  apps::TfaHeader old = headerFor("Trees.tfa");
  old.setAppBuild(1);
  writeBytes(at("_tfa_app_hdr.dft"), std::string(old.bytes().begin(), old.bytes().end()));
  apps::TfaHeader copy;
  EXPECT_EQ(apps::extractApplication(host, package, folder, &copy), 0);
  EXPECT_EQ(copy.appBuild(), 1);
  EXPECT_EQ(readBytes(at("_tfa_app_hdr.dft")), std::string(old.bytes().begin(), old.bytes().end()));
}

TEST_F(InstallApplication, ARenamedPackageIsNotValid) {
  write("Oaks.tfa", "Trees.tfa",
        {{"ReqFiles.dbf", gzip(requiredFilesTable({"app.ctl"})), kStamp},
         {"app.ctl", gzip("x"), kStamp}});
  host.expect("\"Oaks.tfa\" File is Not Valid\n  Can't Open Application!!", ui::kIdOk,
              "App Not Valid!!");
  EXPECT_EQ(apps::extractApplication(host, package, dir.file("Oaks"), nullptr),
            apps::kInstallNotValid);
  EXPECT_EQ(host.shown().size(), 1u);
  EXPECT_EQ(listFolder(dir.file("Oaks")), std::vector<std::string>{});
  EXPECT_EQ(host.windows, 0);
}

TEST_F(InstallApplication, AMissingPackageIsReportedTwice) {
  host.expect(dir.file("Gone.tfa"), ui::kIdOk, "Can't Find Error");
  host.expect("TFA_Extract Can't Find TFA File", ui::kIdOk, "Error");
  EXPECT_EQ(apps::extractApplication(host, dir.file("Gone.tfa"), folder),
            apps::kInstallPackageMissing);
  EXPECT_EQ(host.shown().size(), 2u);
  EXPECT_EQ(host.shown()[0].caption, "Can't Find Error");
}

TEST_F(InstallApplication, APackageWithoutAWholeHeaderCannotBeOpened) {
  package = dir.file("Trees.tfa");
  writeBytes(package, std::string(1000, 'x'));
  host.expect(package, ui::kIdOk, "Can't Open TFA File");
  EXPECT_EQ(apps::extractApplication(host, package, folder), apps::kInstallCannotOpen);
  EXPECT_EQ(host.shown().size(), 1u);
}

TEST_F(InstallApplication, AnEmptyOrMissingListExtractsNothingElse) {
  write("Trees.tfa", "Trees.tfa",
        {{"ReqFiles.dbf", gzip(requiredFilesTable({})), kStamp}, {"app.ctl", gzip("x"), kStamp}});
  EXPECT_EQ(apps::extractApplication(host, package, folder), apps::kInstallNoRequiredFiles);
  EXPECT_EQ(listFolder(folder), (std::vector<std::string>{"ReqFiles.dbf", "_tfa_app_hdr.dft"}));

  TempDir other;
  package = other.file("Trees.tfa");
  writeBytes(package, packageImage(headerFor("Trees.tfa"), {{"app.ctl", gzip("x"), kStamp}}));
  EXPECT_EQ(apps::extractApplication(host, package, other.file("Trees")),
            apps::kInstallNoRequiredFiles);
  EXPECT_EQ(listFolder(other.file("Trees")), std::vector<std::string>{"_tfa_app_hdr.dft"});

  // A list that is no table at all counts as missing.
  write("Trees.tfa", "Trees.tfa", {{"ReqFiles.dbf", gzip("not a table"), kStamp}});
  EXPECT_EQ(apps::extractApplication(host, package, folder), apps::kInstallNoRequiredFiles);
  EXPECT_TRUE(host.shown().empty());
}

TEST_F(InstallApplication, AListThatCannotBeExtractedCountsAsMissing) {
  std::string broken = gzip(requiredFilesTable({"app.ctl"}));
  broken.resize(broken.size() - 12);  // the stream ends early
  write("Trees.tfa", "Trees.tfa", {{"ReqFiles.dbf", broken, kStamp}, {"app.ctl", gzip("x"), kStamp}});
  EXPECT_EQ(apps::extractApplication(host, package, folder), apps::kInstallNoRequiredFiles);
  EXPECT_TRUE(host.shown().empty());  // no member of the list failed: there is no list
  EXPECT_EQ(listFolder(folder), std::vector<std::string>{"_tfa_app_hdr.dft"});
}

TEST_F(InstallApplication, AFailedMemberIsNamedAndTheEarlierOnesStay) {
  std::string truncated = gzip(sampleText(20000));
  truncated.resize(truncated.size() - 30);
  write("Trees.tfa", "Trees.tfa",
        {{"ReqFiles.dbf", gzip(requiredFilesTable({"app.ctl", "Broken.ctl", "later.txt"})), kStamp},
         {"app.ctl", gzip("x"), kStamp},
         {"Broken.ctl", truncated, kStamp},
         {"later.txt", gzip("y"), kStamp}});
  host.expect("Can't Extract:Broken.ctl", ui::kIdOk, "TFA_Extract Error");
  EXPECT_EQ(apps::extractApplication(host, package, folder), apps::kPkgBadData);
  EXPECT_EQ(host.shown().size(), 1u);
  EXPECT_EQ(listFolder(folder),
            (std::vector<std::string>{"ReqFiles.dbf", "_tfa_app_hdr.dft", "app.ctl"}));
}

TEST_F(InstallApplication, AListedMemberThePackageLacksFails) {
  write("Trees.tfa", "Trees.tfa",
        {{"ReqFiles.dbf", gzip(requiredFilesTable({"app.ctl", "Missing.dat"})), kStamp},
         {"app.ctl", gzip("x"), kStamp}});
  host.expect("Can't Extract:Missing.dat", ui::kIdOk, "TFA_Extract Error");
  EXPECT_EQ(apps::extractApplication(host, package, folder), apps::kPkgBadIndex);
}

TEST_F(InstallApplication, AListedNameLeadingOutOfTheFolderIsRefused) {
  write("Trees.tfa", "Trees.tfa",
        {{"ReqFiles.dbf", gzip(requiredFilesTable({"../evil.txt"})), kStamp},
         {"../evil.txt", gzip("x"), kStamp}});
  host.expect("Can't Extract:../evil.txt", ui::kIdOk, "TFA_Extract Error");
  EXPECT_EQ(apps::extractApplication(host, package, folder), apps::kPkgBadData);
  EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"Trees", "Trees.tfa"}));
}

}  // namespace
