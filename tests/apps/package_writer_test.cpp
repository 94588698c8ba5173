// The package writer against the reader, the header record, its copy on
// disk, and the account "inspect" prints.
#include <gtest/gtest.h>

#include <zlib.h>

#include "apps/package_describe.hpp"
#include "apps/package_extract.hpp"
#include "apps/package_fixture.hpp"
#include "apps/package_reader.hpp"
#include "apps/package_writer.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"

namespace {

using namespace package_test;
using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::writeBytes;

constexpr platform::FileTime kStamp = 132458564960000000ull;  // 2020-09-29 12:34:56 UTC

std::string allBytes() {
  std::string s;
  for (int i = 0; i < 256 * 40; ++i) s.push_back(static_cast<char>(i * 7 % 256));
  return s;
}

TEST(PackageWriter, WhatIsWrittenReadsBackWhole) {
  TempDir dir;
  apps::TfaHeader header = headerFor("Trees.tfa");
  for (std::size_t i = 0; i < header.kSize; i += 3)
    header.bytes()[i] |= 0x80;  // bytes nobody names
  header.setAppName("Trees.tfa");
  const std::vector<apps::PackageMember> members = {
      {"ReqFiles.dbf", requiredFilesTable({"a.bin"}), kStamp},
      {"a.bin", allBytes(), kStamp + 1},
      {"empty.txt", "", 0},
      {"big.txt", sampleText(300000, 4), kStamp + 2},
  };
  const std::string path = dir.file("Trees.tfa");
  ASSERT_EQ(apps::writePackage(path, header, members), 0);

  const std::string image = readBytes(path);
  EXPECT_EQ(image.substr(0, 1560), std::string(header.bytes().begin(), header.bytes().end()));
  EXPECT_EQ(image.substr(1564, 329), std::string(329, '\0'));

  apps::TfaHeader read;
  apps::Package package = apps::openPackage(path, read);
  ASSERT_TRUE(package.isOpen());
  EXPECT_EQ(read.bytes(), header.bytes());
  ASSERT_EQ(apps::memberCount(package), 4);
  const std::string out = dir.file("out");
  platform::makeFolder(out);
  for (int i = 0; i < 4; ++i) {
    apps::PackageEntry e;
    ASSERT_EQ(apps::memberEntry(package, i, e), 0);
    EXPECT_EQ(e.name, members[i].name);
    EXPECT_EQ(e.modified, members[i].modified);
    ASSERT_EQ(apps::extractMember(package, i, out), 0);
    EXPECT_TRUE(readBytes(out + platform::kSep + members[i].name) == members[i].bytes) << e.name;
  }
  EXPECT_EQ(listFolder(out).size(), 4u);
}

TEST(PackageWriter, EachMemberIsAGzipStreamNamingItsFileAndTime) {
  TempDir dir;
  const std::string path = dir.file("T.tfa");
  ASSERT_EQ(apps::writePackage(path, headerFor("T.tfa"), {{"app.ctl", "contents", kStamp}}), 0);
  const std::string image = readBytes(path);
  const std::string stream = image.substr(apps::kFirstEntryOffset + apps::kEntrySize);

  // zlib's own inflate, told to expect a gzip header, reads it back.
  z_stream s{};
  ASSERT_EQ(inflateInit2(&s, MAX_WBITS + 16), Z_OK);
  char name[64] = {};
  gz_header h{};
  h.name = reinterpret_cast<Bytef*>(name);
  h.name_max = sizeof name;
  inflateGetHeader(&s, &h);
  std::string out(64, '\0');
  s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.data()));
  s.avail_in = static_cast<uInt>(stream.size());
  s.next_out = reinterpret_cast<Bytef*>(out.data());
  s.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(inflate(&s, Z_FINISH), Z_STREAM_END);
  EXPECT_EQ(s.avail_in, 0u);  // the stream ends where the member does
  out.resize(s.total_out);
  inflateEnd(&s);
  EXPECT_EQ(out, "contents");
  EXPECT_STREQ(name, "app.ctl");
  EXPECT_EQ(h.time, 1601382896u);
}

TEST(PackageWriter, RefusesWhatTheReaderWouldRefuse) {
  TempDir dir;
  const std::string path = dir.file("T.tfa");
  EXPECT_EQ(apps::writePackage(path, headerFor("T.tfa"), {{"../x", "a", 0}}), apps::kPkgBadData);
  EXPECT_EQ(apps::writePackage(path, headerFor("T.tfa"), {{std::string(60, 'n'), "a", 0}}),
            apps::kPkgBadData);
  EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{});
  EXPECT_EQ(apps::writePackage(dir.file("none/T.tfa"), headerFor("T.tfa"), {{"a", "a", 0}}),
            apps::kPkgOutputCreate);
}

TEST(PackageWriter, DescribeListsHeaderAndMembers) {
  TempDir dir;
  const std::string path = dir.file("Trees.tfa");
  apps::TfaHeader header = headerFor("Trees.tfa");
  header.setAppDate("09/29/2020");
  ASSERT_EQ(apps::writePackage(path, header, {{"app.ctl", std::string(5000, 'z'), kStamp}}), 0);
  std::string text;
  ASSERT_EQ(apps::describePackage(path, text), 0);
  EXPECT_NE(text.find("Trees.tfa"), std::string::npos);
  EXPECT_NE(text.find("001.002 build 3"), std::string::npos);
  EXPECT_NE(text.find("09/29/2020"), std::string::npos);
  EXPECT_NE(text.find("HIER_VER     7"), std::string::npos);
  EXPECT_NE(text.find("Members      1"), std::string::npos);
  EXPECT_NE(text.find("app.ctl"), std::string::npos);
  EXPECT_NE(text.find("inflated       5000"), std::string::npos);
  EXPECT_NE(text.find("2020-09-29 12:34:56 UTC"), std::string::npos);

  EXPECT_EQ(apps::describePackage(dir.file("none.tfa"), text), -1);
}

TEST(TfaHeaderRecord, SettersKeepToTheirFields) {
  apps::TfaHeader h;
  h.bytes().fill(0xAB);
  h.setAppName(std::string(400, 'n'));  // cut to its field
  h.setAppDate(std::string(400, 'd'));
  h.setHierDate("01/02/2020");
  h.setHierTime("12:00:00");
  h.setAppVMajor(4);
  h.setHierVer(9);
  ASSERT_TRUE(h.setAppPassword("Oak"));
  const auto& b = h.bytes();
  EXPECT_EQ(b[0], 0xAB);
  EXPECT_EQ(b[19], 0xAB);
  EXPECT_EQ(b[20 + 260], 0xAB);
  EXPECT_EQ(b[421], 0xAB);
  EXPECT_EQ(b[422 + 20], 0xAB);
  EXPECT_EQ(b[783], 0xAB);
  EXPECT_EQ(b[1173], 0xAB);
  EXPECT_EQ(b[1174 + 60], 0xAB);
  EXPECT_EQ(h.appName(), std::string(259, 'n'));
  EXPECT_EQ(h.appVMajor(), 4);
  EXPECT_EQ(h.hierVer(), 9);
  EXPECT_EQ(h.hierTime(), "12:00:00");
}

TEST(TfaHeaderRecord, ThePasswordIsStoredDoubled) {
  apps::TfaHeader h;
  EXPECT_FALSE(h.hasAppPassword());
  ASSERT_TRUE(h.setAppPassword("Ab1"));
  EXPECT_EQ(h.bytes()[1174], 'A' * 2);
  EXPECT_EQ(h.bytes()[1176], '1' * 2);
  EXPECT_EQ(h.bytes()[1177], 0);
  EXPECT_TRUE(h.hasAppPassword());
  EXPECT_EQ(h.appPassword(), "Ab1");
  EXPECT_FALSE(h.setAppPassword("\xE9t\xE9"));  // doubles past a byte
  EXPECT_FALSE(h.setAppPassword(std::string(60, 'p')));
  EXPECT_EQ(h.appPassword(), "Ab1");
}

TEST(TfaHeaderRecord, TheCopyOnDiskHoldsExactlyTheHeader) {
  TempDir dir;
  testing_support::ScriptedHost host;
  const std::string path = dir.file("_tfa_app_hdr.dft");
  apps::TfaHeader h = headerFor("Trees.tfa");
  ASSERT_EQ(apps::writeHeaderCopy(host, path, h), 0);
  EXPECT_EQ(readBytes(path).size(), 1560u);
  apps::TfaHeader back;
  ASSERT_EQ(apps::readHeaderCopy(host, path, back), 0);
  EXPECT_EQ(back.bytes(), h.bytes());

  writeBytes(path, std::string(1559, 'x'));
  EXPECT_EQ(apps::readHeaderCopy(host, path, back), -3);
  EXPECT_EQ(back.bytes(), h.bytes());  // untouched

  host.expect(dir.file("missing.dft"), ui::kIdOk, "Can't Open cur_app_hdr.dft for Read");
  EXPECT_EQ(apps::readHeaderCopy(host, dir.file("missing.dft"), back), -1);
  host.expect(dir.file("none"), ui::kIdOk, "Can't Open tfa_app_hdr.dft for Write");
  EXPECT_EQ(apps::writeHeaderCopy(host, dir.file("none") + platform::kSep + "x.dft", h), -1);
  EXPECT_EQ(host.shown().size(), 2u);
}

TEST(MemberNames, OnlyPlainFileNamesAreSafe) {
  for (const char* name : {"ReqFiles.dbf", "app.ctl", "Trees.bct", "x y.dbf", "COM10.txt",
                           "CONFIG.SYS", "a.b.c", "_extract.dat2"}) {
    EXPECT_TRUE(apps::isSafeMemberName(name)) << name;
  }
  EXPECT_TRUE(apps::isSafeMemberName(std::string(59, 'a')));
  for (const char* name :
       {"",     ".",         "..",       "a..b", "a/b",          "a\\b",
        "C:a",  "a:b",       "a*",       "a?",   "a|b",          "a<b",
        "a\"b", "tab\there", "end.",     "end ", "CON",          "con.txt",
        "Nul",  "AUX.dbf",   "com1.dbf", "LPT9", "_extract.dat", "_Extract.Tmp"}) {
    EXPECT_FALSE(apps::isSafeMemberName(name)) << name;
  }
  EXPECT_FALSE(apps::isSafeMemberName(std::string(60, 'a')));
}

TEST(MemberNames, SuperscriptDevicesAndUndefinedCodePointsAreRefused) {
  // Windows takes COM and LPT with a superscript digit (Windows-1252 B9, B2,
  // B3) for devices, and 81 8D 8F 90 9D become C1 control characters.
  for (const char* name : {"COM\xB9", "com\xB2.txt", "COM\xB3.dbf", "LPT\xB9", "lpt\xB2",
                           "LPT\xB3.x", "a\x81", "\x8D" "b.dbf", "x\x8Fy", "\x90", "end\x9D.c"}) {
    EXPECT_FALSE(apps::isSafeMemberName(name)) << name;
  }
  // Neighbouring letters and signs stay allowed.
  for (const char* name : {"COM\xB4", "LPT\xBC", "COM\xB9x", "\x80.txt", "\x8E" "a.dbf",
                           "\x9C" "b", "\x9E", "caf\xE9.ctl", "\xA0x"}) {
    EXPECT_TRUE(apps::isSafeMemberName(name)) << name;
  }
}

}  // namespace
