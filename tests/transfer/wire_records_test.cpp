// The records on the host connection: file header, login block and the
// control files, built and read back, and every bound the readers check.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "transfer/control_file.hpp"
#include "transfer/file_header.hpp"
#include "transfer/login_block.hpp"

namespace {

using transfer::ControlEntry;
using transfer::ControlFile;
using transfer::WireParse;

std::vector<std::uint8_t> bytesOf(const auto& record) {
  return std::vector<std::uint8_t>(record.bytes().begin(), record.bytes().end());
}

TEST(FileHeader, BuildsNameAndLittleEndianLengthAndReadsThemBack) {
  transfer::FileHeader header;
  ASSERT_TRUE(transfer::buildFileHeader("[North]1A____ABC___+T.dbf", 0x01020304u, header));
  auto bytes = bytesOf(header);
  ASSERT_EQ(bytes.size(), 280u);
  EXPECT_EQ(bytes[260], 0x04);
  EXPECT_EQ(bytes[263], 0x01);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 25), "[North]1A____ABC___+T.dbf");
  EXPECT_EQ(bytes[25], 0);
  bytes[270] = 0xAB;  // reserved bytes ride along
  transfer::FileHeader read;
  ASSERT_EQ(transfer::parseFileHeader(bytes.data(), bytes.size(), 0x01020304u, read), WireParse::kOk);
  EXPECT_EQ(read.name(), "[North]1A____ABC___+T.dbf");
  EXPECT_EQ(read.length(), 0x01020304u);
  EXPECT_EQ(read.bytes()[270], 0xAB);
}

TEST(FileHeader, RefusesNamesThatWouldNotArriveWhole) {
  transfer::FileHeader header;
  EXPECT_TRUE(transfer::buildFileHeader(std::string(259, 'n'), 1, header));
  EXPECT_FALSE(transfer::buildFileHeader(std::string(260, 'n'), 1, header));
  EXPECT_FALSE(transfer::buildFileHeader("", 1, header));
  EXPECT_FALSE(transfer::buildFileHeader(std::string("a\0b", 3), 1, header));
  EXPECT_EQ(header.name(), std::string(259, 'n'));  // failures leave it untouched
}

TEST(FileHeader, ReaderChecksSizeTerminationAndLength) {
  transfer::FileHeader header;
  ASSERT_TRUE(transfer::buildFileHeader("f.bin", 5000, header));
  auto bytes = bytesOf(header);
  transfer::FileHeader out;
  EXPECT_EQ(transfer::parseFileHeader(bytes.data(), 279, 10000, out), WireParse::kShort);
  EXPECT_EQ(transfer::parseFileHeader(nullptr, 280, 10000, out), WireParse::kShort);
  EXPECT_EQ(transfer::parseFileHeader(bytes.data(), 280, 4999, out), WireParse::kLengthAboveMax);
  EXPECT_EQ(transfer::parseFileHeader(bytes.data(), 280, 5000, out), WireParse::kOk);
  std::fill(bytes.begin(), bytes.begin() + 260, 'x');
  EXPECT_EQ(transfer::parseFileHeader(bytes.data(), 280, 10000, out), WireParse::kUnterminatedName);
  EXPECT_EQ(out.name(), "f.bin");  // only kOk sets out
}

TEST(LoginBlock, HoldsIdentifierFormatAndVersion) {
  transfer::LoginBlock block;
  ASSERT_TRUE(transfer::buildLoginBlock("Crew 7 HERE01", " 4.13.05", block));
  auto bytes = bytesOf(block);
  ASSERT_EQ(bytes.size(), 300u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data())), "Crew 7 HERE01");
  EXPECT_EQ(bytes[50], 1);
  EXPECT_EQ(bytes[51] | bytes[52] | bytes[53], 0);
  transfer::LoginBlock read;
  ASSERT_EQ(transfer::parseLoginBlock(bytes.data(), bytes.size(), read), WireParse::kOk);
  EXPECT_EQ(read.unitId(), "Crew 7 HERE01");
  EXPECT_EQ(read.format(), transfer::kLoginFormat);
  EXPECT_EQ(read.versionText(), " 4.13.05");

  EXPECT_EQ(transfer::parseLoginBlock(bytes.data(), 299, read), WireParse::kShort);
  auto open = bytes;
  std::fill(open.begin(), open.begin() + 50, 'u');
  EXPECT_EQ(transfer::parseLoginBlock(open.data(), 300, read), WireParse::kUnterminatedName);
  open = bytes;
  std::fill(open.begin() + 54, open.begin() + 86, 'v');
  EXPECT_EQ(transfer::parseLoginBlock(open.data(), 300, read), WireParse::kUnterminatedName);
  open[50] = 2;  // another format's fields are not judged
  EXPECT_EQ(transfer::parseLoginBlock(open.data(), 300, read), WireParse::kOk);
}

TEST(LoginBlock, RefusesTextsThatDoNotFit) {
  transfer::LoginBlock block;
  EXPECT_TRUE(transfer::buildLoginBlock(std::string(49, 'u'), std::string(31, 'v'), block));
  EXPECT_FALSE(transfer::buildLoginBlock(std::string(50, 'u'), "1", block));
  EXPECT_FALSE(transfer::buildLoginBlock("u", std::string(32, 'v'), block));
  EXPECT_FALSE(transfer::buildLoginBlock("", "1", block));
}

ControlEntry entry(const std::string& name, std::uint8_t type, const std::string& folder) {
  ControlEntry e;
  EXPECT_TRUE(e.setName(name));
  EXPECT_TRUE(e.setFolder(folder));
  e.setType(type);
  e.setFileSize(0x00ABCDEFu);
  e.setWriteTime(0x01D6969912345678ull);
  e.setCreateTime(0x01D6000087654321ull);
  return e;
}

ControlFile sample() {
  ControlFile file;
  EXPECT_TRUE(file.header.stamp(" 4.13.05", "Crew 7 HERE01"));
  file.header.setDatasetCount(2);
  file.header.setAppCount(1);
  file.header.setMessageCount(3);
  file.header.setTotalBytes(123456);
  file.header.setRequestUpdate(true);
  file.header.setListCount(4);
  file.entries.push_back(entry("[North]1A____HERE01+T.dbf", 0, "Survey"));
  file.entries.push_back(entry("Survey.tfa", 'A', ""));
  return file;
}

TEST(ControlFile, HeaderAndEntryFieldsSitAtTheirOffsets) {
  std::vector<std::uint8_t> bytes;
  ASSERT_TRUE(transfer::buildControlFile(sample(), bytes));
  ASSERT_EQ(bytes.size(), 608u + 2 * 456u);
  auto text = [&](std::size_t off) { return std::string(reinterpret_cast<const char*>(&bytes[off])); };
  EXPECT_EQ(bytes[0], 'A');
  EXPECT_EQ(text(1), "Tallyfin PC  ");
  EXPECT_EQ(bytes[14], 0);
  EXPECT_EQ(text(129), " 4.13.05");
  EXPECT_EQ(text(250), "1.00");
  EXPECT_EQ(text(371), "Crew 7 HERE01");
  EXPECT_EQ(bytes[422], 2);
  EXPECT_EQ(bytes[424], 1);
  EXPECT_EQ(bytes[426], 3);
  EXPECT_EQ(bytes[430], 2);  // the entry count follows the entries given
  EXPECT_EQ(bytes[432] | (bytes[433] << 8) | (bytes[434] << 16), 123456);
  EXPECT_EQ(bytes[436], 1);
  EXPECT_EQ(bytes[440], 4);
  const std::size_t second = 608 + 456;
  EXPECT_EQ(text(second), "Survey.tfa");
  EXPECT_EQ(bytes[second + 260], 0x78);  // write time, low word first
  EXPECT_EQ(bytes[second + 267], 0x01);
  EXPECT_EQ(bytes[second + 268], 0x21);  // creation time
  EXPECT_EQ(bytes[second + 276], 0xEF);  // size
  EXPECT_EQ(bytes[second + 279], 0x00);
  EXPECT_EQ(bytes[second + 280], 'A');
  EXPECT_EQ(text(608 + 304), "Survey");
}

TEST(ControlFile, RoundTripsWithAndWithoutTheDateAndTime) {
  ControlFile file = sample();
  for (bool withClock : {false, true}) {
    if (withClock) file.clock = transfer::HostClock{2020, 9, 3, 29, 23, 59, 57, 0};
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(transfer::buildControlFile(file, bytes));
    EXPECT_EQ(bytes.size(), 608u + 2 * 456u + (withClock ? 16u : 0u));
    ControlFile read;
    ASSERT_EQ(transfer::parseControlFile(bytes.data(), bytes.size(), read), WireParse::kOk);
    transfer::ControlHeader expected = file.header;
    expected.setEntryCount(2);
    EXPECT_EQ(read.header.bytes(), expected.bytes());
    ASSERT_EQ(read.entries.size(), 2u);
    EXPECT_EQ(read.entries[0].name(), "[North]1A____HERE01+T.dbf");
    EXPECT_EQ(read.entries[0].folder(), "Survey");
    EXPECT_EQ(read.entries[1].type(), 'A');
    EXPECT_EQ(read.entries[1].writeTime(), 0x01D6969912345678ull);
    EXPECT_EQ(read.entries[1].createTime(), 0x01D6000087654321ull);
    EXPECT_EQ(read.entries[1].fileSize(), 0x00ABCDEFu);
    EXPECT_EQ(read.header.unitId(), "Crew 7 HERE01");
    EXPECT_TRUE(read.header.requestUpdate());
    EXPECT_EQ(read.clock, file.clock);
    std::vector<std::uint8_t> again;
    ASSERT_TRUE(transfer::buildControlFile(read, again));
    EXPECT_EQ(again, bytes);
  }
}

TEST(ControlFile, ReaderChecksEveryBound) {
  std::vector<std::uint8_t> bytes;
  ASSERT_TRUE(transfer::buildControlFile(sample(), bytes));
  ControlFile out;
  EXPECT_EQ(transfer::parseControlFile(bytes.data(), 607, out), WireParse::kShort);
  EXPECT_EQ(transfer::parseControlFile(nullptr, 0, out), WireParse::kShort);
  // Two entries announced, one and a half present.
  EXPECT_EQ(transfer::parseControlFile(bytes.data(), 608 + 456 + 200, out), WireParse::kEntriesPastEnd);
  EXPECT_EQ(transfer::parseControlFile(bytes.data(), 608, out), WireParse::kEntriesPastEnd);
  auto many = bytes;
  many[430] = 0xFF;
  many[431] = 0xFF;  // 65535 entries in a file of two
  EXPECT_EQ(transfer::parseControlFile(many.data(), many.size(), out), WireParse::kEntriesPastEnd);
  auto open = bytes;
  std::fill(open.begin() + 608 + 456, open.begin() + 608 + 456 + 260, 'n');
  EXPECT_EQ(transfer::parseControlFile(open.data(), open.size(), out), WireParse::kUnterminatedName);
  open = bytes;
  std::fill(open.begin() + 608 + 304, open.begin() + 608 + 456, 'f');
  EXPECT_EQ(transfer::parseControlFile(open.data(), open.size(), out), WireParse::kUnterminatedName);
  auto longer = bytes;
  longer.resize(bytes.size() + 15);
  EXPECT_EQ(transfer::parseControlFile(longer.data(), longer.size(), out), WireParse::kTrailingBytes);
  longer.resize(bytes.size() + 17);
  EXPECT_EQ(transfer::parseControlFile(longer.data(), longer.size(), out), WireParse::kTrailingBytes);
  EXPECT_TRUE(out.entries.empty());  // no failure touched out
  // An empty header is a file with no entries.
  std::vector<std::uint8_t> empty(608, 0);
  ASSERT_EQ(transfer::parseControlFile(empty.data(), empty.size(), out), WireParse::kOk);
  EXPECT_TRUE(out.entries.empty());
  EXPECT_FALSE(out.clock);
}

TEST(ControlFile, StampAndEntryTextsRefuseWhatDoesNotFit) {
  transfer::ControlHeader header;
  EXPECT_TRUE(header.stamp(std::string(120, 'v'), std::string(50, 'u')));
  EXPECT_FALSE(header.stamp(std::string(121, 'v'), "u"));
  EXPECT_FALSE(header.stamp("v", std::string(51, 'u')));
  EXPECT_EQ(header.unitId(), std::string(50, 'u'));
  ControlEntry e;
  EXPECT_FALSE(e.setName(""));
  EXPECT_FALSE(e.setName(std::string(260, 'n')));
  EXPECT_TRUE(e.setFolder(std::string(151, 'f')));
  EXPECT_FALSE(e.setFolder(std::string(152, 'f')));
}

}  // namespace
