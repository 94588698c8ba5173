// Which names a host may give the files it sends, and which update files may
// replace files in the install folder.
#include "transfer/received_names.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

using transfer::plainReceivedName;
using transfer::updateMayReplace;

TEST(ReceivedNames, PlainNamesPass) {
  for (const char* name : {"XferFromPC.bin", "xfer_complete.txt", "Survey 2.tfa", "[North]1A____ABC___+T.dbf",
                           "note.mes", "COM10", "console.txt", "a..b", ".hidden", " lead", "Tallyfin PC.exe"})
    EXPECT_TRUE(plainReceivedName(name)) << name;
  EXPECT_TRUE(plainReceivedName(std::string(259, 'n')));
}

TEST(ReceivedNames, FoldersDrivesAndStreamsAreRefused) {
  for (const char* name : {"../evil.exe", "..\\evil.exe", "sub/file", "sub\\file", "/etc/passwd", "\\x",
                           "C:", "C:evil", "C:\\Windows\\x.dll", "file.txt:stream", "a:b"})
    EXPECT_FALSE(plainReceivedName(name)) << name;
}

TEST(ReceivedNames, DotsBlanksEmptyAndLongNamesAreRefused) {
  for (const char* name : {"", ".", "..", "...", "name.", "name ", "name. ", " "})
    EXPECT_FALSE(plainReceivedName(name)) << '"' << name << '"';
  EXPECT_FALSE(plainReceivedName(std::string(260, 'n')));
  EXPECT_FALSE(plainReceivedName(std::string(1000, 'n')));
}

TEST(ReceivedNames, ControlCharactersAndWildcardsAreRefused) {
  EXPECT_FALSE(plainReceivedName(std::string("a\0b", 3)));
  for (const char* name : {"a\tb", "a\nb", "bell\x07", "del\x7F", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b"})
    EXPECT_FALSE(plainReceivedName(name)) << name;
  EXPECT_TRUE(plainReceivedName("caf\xE9.mes"));  // 8-bit letters are names
}

TEST(ReceivedNames, DeviceNamesInAnyCaseWithOrWithoutExtensionAreRefused) {
  for (const char* name : {"CON", "con", "Prn", "AUX", "nul", "NUL.txt", "com1", "COM9.dat", "lpt1", "LPT9",
                           "Lpt5.tfa", "aux.tar.gz", "CONOUT$", "COM\xB9"})
    EXPECT_FALSE(plainReceivedName(name)) << name;
  for (const char* name : {"COM0x", "LPT", "CONSOLE", "nul_file", "auxiliary.txt"})
    EXPECT_TRUE(plainReceivedName(name)) << name;
}

TEST(ReceivedNames, UpdatesNeverReplaceTheProgramsStateFiles) {
  for (const char* name : {"tfp_mobilePC.dft", "TFP_MOBILEPC.DFT", "xsu.dft", "XSU.DFT", "GPS_Parms.dft",
                           "gps_parms.DFT", "GPS_Port.dft", "gps_port.dft", "registry", "Registry",
                           "abort.dat", "ABORT.DAT"})
    EXPECT_FALSE(updateMayReplace(name)) << name;
  for (const char* name : {"Tallyfin PC.exe", "helper.dll", "readme.txt", "tfp_mobilePC.dft.bak", "xsu.dft2"})
    EXPECT_TRUE(updateMayReplace(name)) << name;
  EXPECT_FALSE(updateMayReplace("..\\Tallyfin PC.exe"));  // and every plain-name rule holds
  EXPECT_FALSE(updateMayReplace("LPT1.dll"));
}

}  // namespace
