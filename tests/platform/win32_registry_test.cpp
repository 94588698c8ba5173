// The Windows registry implementation, against the real registry of the
// machine (under Wine: of the prefix). Everything lives under one test key
// that is removed before and after each test.
#ifdef _WIN32
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/registry.hpp"

namespace {

using platform::RegRoot;

constexpr const char* kTestKey = "Software\\Tallyfin PC Test";
constexpr const wchar_t* kTestKeyW = L"Software\\Tallyfin PC Test";

class Win32RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kTestKeyW); }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kTestKeyW); }

  // The stored type and byte count of a value, read past the implementation.
  static bool rawValue(const wchar_t* name, DWORD& type, DWORD& bytes) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kTestKeyW, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
      return false;
    bool ok = RegQueryValueExW(key, name, nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
  }

  platform::Registry& reg = platform::nativeRegistry();
};

TEST_F(Win32RegistryTest, StringsRoundTripAndAreStoredWithTheirNul) {
  const std::string text = "C:\\Orvandat\\Tallyfin PC\\Donn\xC3\xA9" "es";  // ends in "Données"
  ASSERT_EQ(reg.writeString(RegRoot::CurrentUser, kTestKey, "PC DataPath", text), platform::kRegOk);
  std::string out = "junk";
  ASSERT_EQ(reg.readString(RegRoot::CurrentUser, kTestKey, "PC DataPath", out), platform::kRegOk);
  EXPECT_EQ(out, text);

  DWORD type = 0, bytes = 0;
  ASSERT_TRUE(rawValue(L"PC DataPath", type, bytes));
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  const std::size_t utf16Units = 31;  // the path above in UTF-16 units
  EXPECT_EQ(bytes, (utf16Units + 1) * 2);

  // An empty text is a value of its own (one NUL), not a missing one.
  ASSERT_EQ(reg.writeString(RegRoot::CurrentUser, kTestKey, "CurAppName", ""), platform::kRegOk);
  ASSERT_EQ(reg.readString(RegRoot::CurrentUser, kTestKey, "CurAppName", out), platform::kRegOk);
  EXPECT_EQ(out, "");
  ASSERT_TRUE(rawValue(L"CurAppName", type, bytes));
  EXPECT_EQ(bytes, 2u);
}

TEST_F(Win32RegistryTest, DwordsRoundTrip) {
  ASSERT_EQ(reg.writeDword(RegRoot::CurrentUser, kTestKey, "Count", 0xFFFFFFFEu), platform::kRegOk);
  std::uint32_t v = 0;
  ASSERT_EQ(reg.readDword(RegRoot::CurrentUser, kTestKey, "Count", v), platform::kRegOk);
  EXPECT_EQ(v, 0xFFFFFFFEu);
  EXPECT_EQ(platform::readRegDword(RegRoot::CurrentUser, kTestKey, "Count"), 0xFFFFFFFEll);
}

TEST_F(Win32RegistryTest, MissingKeysValuesAndWrongTypesAreTold) {
  std::string out;
  std::uint32_t v = 0;
  EXPECT_EQ(reg.readString(RegRoot::CurrentUser, kTestKey, "Any", out), platform::kRegNoKey);
  EXPECT_EQ(reg.readDword(RegRoot::CurrentUser, kTestKey, "Any", v), platform::kRegNoKey);
  ASSERT_EQ(reg.writeDword(RegRoot::CurrentUser, kTestKey, "Number", 7), platform::kRegOk);
  ASSERT_EQ(reg.writeString(RegRoot::CurrentUser, kTestKey, "Text", "7"), platform::kRegOk);
  EXPECT_EQ(reg.readString(RegRoot::CurrentUser, kTestKey, "Missing", out), platform::kRegNoValue);
  EXPECT_EQ(reg.readString(RegRoot::CurrentUser, kTestKey, "Number", out), platform::kRegNoValue);
  EXPECT_EQ(reg.readDword(RegRoot::CurrentUser, kTestKey, "Text", v), platform::kRegNoValue);
}

TEST_F(Win32RegistryTest, TheProgramsOperationsLeaveTheirFailureTexts) {
  platform::ScopedRegistry use(reg);
  std::string out;
  EXPECT_EQ(platform::readRegString(RegRoot::CurrentUser, kTestKey, "CurAppName", out), 0);
  EXPECT_EQ(out, "RegOpenKey err");
  ASSERT_EQ(platform::writeRegString(kTestKey, "Other", "x"), 1);
  EXPECT_EQ(platform::readRegString(RegRoot::CurrentUser, kTestKey, "CurAppName", out), 0);
  EXPECT_EQ(out, "RegQueryValue err");
  EXPECT_EQ(platform::regValueExists(RegRoot::CurrentUser, kTestKey, "Other"), 1);
  EXPECT_EQ(platform::regValueExists(RegRoot::CurrentUser, kTestKey, "CurAppName"), 0);
}

TEST_F(Win32RegistryTest, StoredTextWithoutItsNulReadsWhole) {
  // Other programs may store REG_SZ data without the terminating NUL.
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kTestKeyW, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  const wchar_t text[] = {L'A', L'B', L'C'};
  ASSERT_EQ(RegSetValueExW(key, L"Bare", 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                           sizeof(text)),
            ERROR_SUCCESS);
  RegCloseKey(key);
  std::string out;
  ASSERT_EQ(reg.readString(RegRoot::CurrentUser, kTestKey, "Bare", out), platform::kRegOk);
  EXPECT_EQ(out, "ABC");
}

}  // namespace
#endif  // _WIN32
