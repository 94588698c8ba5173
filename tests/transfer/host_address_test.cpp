// "TFM_Host_IP.txt": reading it strictly, the missing file, writing it.
#include "transfer/host_address.hpp"

#include <gtest/gtest.h>

#include "support/temp_dir.hpp"

namespace {

using testing_support::TempDir;
using transfer::HostAddress;
using transfer::HostAddressRead;

TEST(HostAddress, ReadsAddressAndPortOfTheLine) {
  HostAddress a;
  ASSERT_TRUE(transfer::parseHostAddress("10.1.1.200 50000\n", a));
  EXPECT_EQ(a.address, "10.1.1.200");
  EXPECT_EQ(a.port, "50000");
  EXPECT_EQ(a.ipv4, 0x0A0101C8u);
  EXPECT_EQ(a.portNumber, 50000);
  ASSERT_TRUE(transfer::parseHostAddress("  192.168.0.1\t\t1\r\n\r\n", a));
  EXPECT_EQ(a.address, "192.168.0.1");
  EXPECT_EQ(a.portNumber, 1);
  ASSERT_TRUE(transfer::parseHostAddress("1.2.3.4 65535", a));
  EXPECT_EQ(a.portNumber, 65535);
}

TEST(HostAddress, AnythingElseIsNotTrusted) {
  HostAddress a;
  a.address = "kept";
  for (const char* text : {"", "\n", "10.1.1.200", "10.1.1.200 ", "10.1.1.200 0", "10.1.1.200 65536",
                           "10.1.1.200 99999", "10.1.1.200 -1", "10.1.1.200 +80", "10.1.1.200 80x",
                           "10.1.1.200 8 0", "10.1.1 50000", "10.1.1.256 50000", "host.example 50000",
                           "10.1.1.200:50000", "10.1.1.200,50000", "0x0A.1.1.1 50000", "10.1.1.200 000050000"})
    EXPECT_FALSE(transfer::parseHostAddress(text, a)) << text;
  EXPECT_EQ(a.address, "kept");
  // Words of more than 32 characters are never cut into two.
  EXPECT_FALSE(transfer::parseHostAddress("1.1.1.1" + std::string(26, '0') + " 80", a));
  EXPECT_FALSE(transfer::parseHostAddress("1.1.1.1 " + std::string(29, '0') + "8000", a));
  EXPECT_FALSE(transfer::parseHostAddress(std::string("1.1.1.1\0 80", 11), a));
}

TEST(HostAddress, MissingFileGivesTheEmptyAddress) {
  TempDir dir;
  HostAddress a;
  a.address = "10.1.1.1";
  a.port = "80";
  EXPECT_EQ(transfer::readHostAddress(dir.path(), a), HostAddressRead::kMissing);
  EXPECT_EQ(a.address, "0.0.0.0");
  EXPECT_EQ(a.port, "0");
  EXPECT_EQ(transfer::readHostAddress(dir.file("no such folder"), a), HostAddressRead::kMissing);
}

TEST(HostAddress, BadOrHugeFilesAreMalformed) {
  TempDir dir;
  HostAddress a;
  testing_support::writeBytes(dir.file("TFM_Host_IP.txt"), "10.1.1.300 50000\n");
  EXPECT_EQ(transfer::readHostAddress(dir.path(), a), HostAddressRead::kMalformed);
  testing_support::writeBytes(dir.file("TFM_Host_IP.txt"), "10.1.1.3 50000\n" + std::string(5000, ' '));
  EXPECT_EQ(transfer::readHostAddress(dir.path(), a), HostAddressRead::kMalformed);
  testing_support::writeBytes(dir.file("TFM_Host_IP.txt"), "10.1.1.3 50000\n");
  ASSERT_EQ(transfer::readHostAddress(dir.path(), a), HostAddressRead::kOk);
  EXPECT_EQ(a.portNumber, 50000);
}

TEST(HostAddress, WritesOneLineThatReadsBack) {
  TempDir dir;
  ASSERT_EQ(transfer::writeHostAddress(dir.path(), "10.1.1.200", "50001"), 0);
  EXPECT_EQ(testing_support::readBytes(dir.file("TFM_Host_IP.txt")), "10.1.1.200 50001\n");
  HostAddress a;
  ASSERT_EQ(transfer::readHostAddress(dir.path(), a), HostAddressRead::kOk);
  EXPECT_EQ(a.address, "10.1.1.200");
  EXPECT_EQ(a.portNumber, 50001);
  // Texts that would not read back as written leave the file alone.
  EXPECT_EQ(transfer::writeHostAddress(dir.path(), "10.1.1.200 7", ""), transfer::kHostAddressInvalid);
  EXPECT_EQ(transfer::writeHostAddress(dir.path(), "10.1.1", "50000"), transfer::kHostAddressInvalid);
  EXPECT_EQ(transfer::writeHostAddress(dir.path(), "10.1.1.9", "0"), transfer::kHostAddressInvalid);
  EXPECT_EQ(testing_support::readBytes(dir.file("TFM_Host_IP.txt")), "10.1.1.200 50001\n");
  EXPECT_NE(transfer::writeHostAddress(dir.file("none"), "10.1.1.200", "50001"), 0);
}

}  // namespace
