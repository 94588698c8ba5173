// Comparing package headers, reading them, and the header copy beside an
// installed application.
#include <gtest/gtest.h>

#include "apps/package_install.hpp"
#include "apps/versions.hpp"
#include "install_fixture.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"
#include "support/scripted_host.hpp"
#include "support/selective_files.hpp"
#include "support/temp_dir.hpp"

namespace {

using apps::TfaHeader;
using testing_support::readBytes;
using testing_support::writeBytes;

TfaHeader header(int hier, int major, int minor, int build, const std::string& name = "Trees.tfa") {
  TfaHeader h;
  h.setAppName(name);
  h.setHasVersion(1);
  h.setHierVer(hier);
  h.setAppVMajor(major);
  h.setAppVMinor(minor);
  h.setAppBuild(build);
  h.setHierDate("01/01/2021");
  h.setHierTime("10:00:00");
  return h;
}

TEST(CompareHeaders, EachFieldDecidesInItsTurn) {
  struct Case {
    TfaHeader a, b;
    int expected;
  };
  const TfaHeader base = header(2, 3, 4, 12);
  const Case cases[] = {
      {base, base, 0},
      {header(3, 1, 1, 1), base, 10},   // the structure outweighs every version number
      {header(1, 9, 9, 99), base, -10},
      {header(2, 4, 0, 0), base, 5},
      {header(2, 2, 9, 99), base, -5},
      {header(2, 3, 5, 0), base, 4},
      {header(2, 3, 3, 99), base, -4},
      {header(2, 3, 4, 13), base, 3},
      {header(2, 3, 4, 7), base, -3},  // build 7 against 12
      {header(9, 9, 9, 99, "Oaks.tfa"), base, -99},
  };
  for (const Case& c : cases) EXPECT_EQ(apps::compareHeaders(c.a, c.b), c.expected) << c.expected;
}

TEST(CompareHeaders, NamesDifferingOnlyInCaseAreAnotherNameButTheSameStructure) {
  TfaHeader a = header(2, 1, 0, 0, "Trees.tfa"), b = header(2, 5, 0, 0, "TREES.TFA");
  b.setHierDate("01/01/2021");
  b.setHierTime("10:00:00");
  EXPECT_EQ(apps::compareHeaders(a, b), -99);
  EXPECT_TRUE(apps::sameDataStructure(a, b));  // versions may differ, the structure not
  b.setHierTime("10:00:01");
  EXPECT_FALSE(apps::sameDataStructure(a, b));
  b = header(3, 1, 0, 0);
  EXPECT_FALSE(apps::sameDataStructure(a, b));
  b = header(2, 1, 0, 0);
  b.setHierDate("01/02/2021");
  EXPECT_FALSE(apps::sameDataStructure(a, b));
}

TEST(PackageHeader, ReadsWholeHeadersOnly) {
  testing_support::TempDir dir;
  testing_support::ScriptedHost host;
  const std::string sep(1, platform::kSep);
  EXPECT_EQ(apps::packagePath(dir.path(), "Trees", platform::kSep), dir.path() + sep + "Trees.tfa");
  EXPECT_EQ(apps::packagePath(dir.path(), "Trees.TFA", platform::kSep), dir.path() + sep + "Trees.TFA");

  TfaHeader h = header(1, 1, 0, 0);
  writeBytes(dir.file("Trees.tfa"), std::string(h.bytes().begin(), h.bytes().end()) + "members");
  TfaHeader read;
  EXPECT_EQ(apps::getPackageHeader(host, dir.path(), "Trees", platform::kSep, read), 0);
  EXPECT_EQ(read.bytes(), h.bytes());

  writeBytes(dir.file("Short.tfa"), std::string(1559, 'x'));
  EXPECT_EQ(apps::readPackageHeader(dir.file("Short.tfa"), read), apps::kHeaderShort);
  EXPECT_EQ(read.bytes(), h.bytes());  // untouched by a failed read

  host.expectOnce(dir.file("Gone.tfa"), ui::kIdOk, "Can't Open App for Read");
  EXPECT_EQ(apps::getPackageHeader(host, dir.path(), "Gone", platform::kSep, read), apps::kHeaderCannotOpen);
  EXPECT_EQ(host.shown().size(), 1u);

  EXPECT_TRUE(apps::headerNamesPackage(h, "TREES.tfa"));
  EXPECT_FALSE(apps::headerNamesPackage(h, "Oaks.tfa"));
  TfaHeader garbage;
  garbage.bytes().fill(0xA7);
  EXPECT_FALSE(apps::headerNamesPackage(garbage, "Trees.tfa"));
}

TEST(HeaderCopy, AStaleCopyIsRewrittenFromThePackageAndAMatchingOneKept) {
  testing_support::TempDir dir;
  testing_support::ScriptedHost host;
  const std::string folder = dir.file("Trees");
  const TfaHeader v1 = header(1, 1, 0, 0), v2 = header(2, 1, 0, 0);
  EXPECT_EQ(apps::refreshHeaderCopy(host, folder, platform::kSep, v1), -4);  // no folder, nothing written
  EXPECT_FALSE(apps::headerCopyExists(folder, platform::kSep));

  platform::makeFolder(folder);
  const std::string copy = apps::headerCopyPath(folder, platform::kSep);
  EXPECT_EQ(apps::refreshHeaderCopy(host, folder, platform::kSep, v1), 0);
  EXPECT_EQ(readBytes(copy), std::string(v1.bytes().begin(), v1.bytes().end()));

  platform::FileTime before = 0, after = 0;
  platform::setFileTime(copy, 132000000000000000ull);
  platform::getFileTime(copy, before);
  EXPECT_EQ(apps::refreshHeaderCopy(host, folder, platform::kSep, v1), 0);
  platform::getFileTime(copy, after);
  EXPECT_EQ(before, after);  // a matching copy is not written again

  EXPECT_EQ(apps::refreshHeaderCopy(host, folder, platform::kSep, v2), 0);
  EXPECT_EQ(readBytes(copy), std::string(v2.bytes().begin(), v2.bytes().end()));
  writeBytes(copy, "short");
  EXPECT_EQ(apps::refreshHeaderCopy(host, folder, platform::kSep, v2), 0);
  EXPECT_EQ(readBytes(copy).size(), 1560u);
  EXPECT_TRUE(host.shown().empty());
}

TEST(CopyPackage, NeverLeavesAPartOfAPackageUnderTheInstalledName) {
  testing_support::TempDir dir;
  const std::string from = dir.file("new.tfa"), to = dir.file("Trees.tfa");
  writeBytes(from, std::string(5000, 'n'));
  writeBytes(to, std::string(3000, 'o'));
  // A copy that stops half way (as a pulled card leaves it), then a final
  // replace that fails.
  testing_support::SelectiveFileSystem fs;
  platform::ScopedFileSystem use(fs);

  fs.add({.suffix = "", .copyError = platform::kErrIoDevice, .halfCopy = true});
  EXPECT_EQ(apps::copyPackage(from, to), platform::kErrIoDevice);
  EXPECT_EQ(readBytes(to), std::string(3000, 'o'));
  EXPECT_FALSE(platform::fileExists(to + ".new"));

  fs.clear();
  fs.add({.suffix = "", .replaceError = platform::kErrAccessDenied});
  EXPECT_EQ(apps::copyPackage(from, to), platform::kErrAccessDenied);
  EXPECT_EQ(readBytes(to), std::string(3000, 'o'));
  EXPECT_FALSE(platform::fileExists(to + ".new"));

  fs.clear();
  EXPECT_EQ(apps::copyPackage(from, to), 0);
  EXPECT_EQ(readBytes(to), std::string(5000, 'n'));
  EXPECT_FALSE(platform::fileExists(to + ".new"));
  EXPECT_EQ(readBytes(from), std::string(5000, 'n'));
}

}  // namespace
