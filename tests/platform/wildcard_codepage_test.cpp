#include <gtest/gtest.h>

#include "platform/codepage.hpp"
#include "platform/wildcard.hpp"

namespace {

struct Case {
  const char* pattern;
  const char* name;
  bool matches;
};

TEST(Wildcard, WindowsRules) {
  const Case cases[] = {
      {"*.*", "README", true},          // every name, with or without a dot
      {"*.*", "a.b.c", true},
      {"*", "anything.dbf", true},
      {"*.mes", "NOTE.MES", true},      // case-insensitive
      {"*.mes", "note.mess", false},
      {"*.??$", "07 1A____[N]ABC___~~T.GP$", true},
      {"*.??$", "x.G$", false},
      {"?.dbf", "a.dbf", true},
      {"?.dbf", "ab.dbf", false},
      {"[North]*.dbf", "[north]data.dbf", true},  // '[' is ordinary
      {"[N]*.dbf", "N.dbf", false},
      {"DATA.*", "data", true},          // ".*" also takes no extension
      {"DATA.*", "database", false},
      {"a*b*c", "aXXbYYc", true},
      {"a*b*c", "aXXbYY", false},
      {"ReqFiles.dbf", "reqfiles.DBF", true},
      {"*.tfa", "Cruise.tfa.bak", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(platform::wildcardMatch(c.pattern, c.name), c.matches) << c.pattern << " vs " << c.name;
}

TEST(Wildcard, AccentedLettersFoldLikeTheWindowsFileSystem) {
  EXPECT_TRUE(platform::namesEqual("\xE9t\xE9", "\xC9T\xC9"));  // été / ÉTÉ in Windows-1252
  EXPECT_FALSE(platform::namesEqual("\xF7", "\xD7"));          // ÷ and × are not a pair
}

TEST(Codepage, Cp1252RoundTripsEveryByte) {
  std::string all;
  for (int c = 1; c < 256; ++c) all.push_back(static_cast<char>(c));
  std::string utf8 = platform::cp1252ToUtf8(all);
  EXPECT_EQ(platform::utf8ToCp1252(utf8), all);
}

TEST(Codepage, KnownCharactersAndUnmappables) {
  EXPECT_EQ(platform::cp1252ToUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
  EXPECT_EQ(platform::utf8ToCp1252("\xC3\xA9"), "\xE9");      // é
  EXPECT_EQ(platform::utf8ToCp1252("\xE4\xB8\xAD"), "?");      // a CJK character
  EXPECT_EQ(platform::utf8ToCp1252("a\xFF" "b"), "a?b");         // malformed byte
  EXPECT_EQ(platform::utf8ToCp1252("\xC3"), "?");               // cut sequence
  EXPECT_EQ(platform::utf8ToCp1252("\xC0\xAF"), "??");          // overlong form
}

TEST(Codepage, Utf16KeepsSurrogatePairs) {
  std::string clef = "\xF0\x9D\x84\x9E";  // U+1D11E
  std::u16string wide = platform::utf8ToUtf16(clef);
  ASSERT_EQ(wide.size(), 2u);
  EXPECT_EQ(wide[0], 0xD834);
  EXPECT_EQ(platform::utf16ToUtf8(wide), clef);
  EXPECT_EQ(platform::utf16ToUtf8(std::u16string(1, char16_t(0xD834))), "\xEF\xBF\xBD");
}

}  // namespace
