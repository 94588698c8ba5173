#include <gtest/gtest.h>

#include "platform/codepage.hpp"
#include "platform/letter_case.hpp"
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

TEST(Wildcard, EveryLetterOfAUtf8NameFolds) {
  const Case cases[] = {
      {"B\xC3\xA4ume.dbf", "B\xC3\x84UME.DBF", true},         // Bäume / BÄUME
      {"*\xC3\xA9t\xC3\xA9*", "\xC3\x89T\xC3\x89 2024.mes", true},  // été / ÉTÉ
      {"\xC5\x93uvre.*", "\xC5\x92UVRE", true},                // œ / Œ, no extension
      {"\xD0\xBB\xD0\xB5\xD1\x81.dbf", "\xD0\x9B\xD0\x95\xD0\xA1.dbf", true},  // лес / ЛЕС
      {"\xCE\xB4\xCE\xAC\xCF\x83\xCE\xBF\xCF\x82", "\xCE\x94\xCE\x86\xCE\xA3\xCE\x9F\xCE\xA3", true},  // δάσος / ΔΆΣΟΣ
      {"\xC4\x9F" "a?", "\xC4\x9E" "A\xC5\x9E", true},            // ğa? / ĞAŞ: '?' is one letter
      {"?.dbf", "\xC3\xA4.dbf", true},                          // of two bytes
      {"??.dbf", "\xC3\xA4.dbf", false},
      {"\xC3\xA4", "a", false},                                 // accents still count
      {"\xC3\xA4", "\xC3\xA5", false},                         // ä is not å
      {"\xC3\x9F", "SS", false},                                // ß has no one-letter capital
      {"\xC3\xA9", "\xC9", false},                               // é never matches a stray byte
  };
  for (const Case& c : cases)
    EXPECT_EQ(platform::wildcardMatch(c.pattern, c.name), c.matches) << c.pattern << " vs " << c.name;
  EXPECT_TRUE(platform::namesEqual("Gr\xC3\xBCn", "GR\xC3\x9CN"));   // Grün / GRÜN
  EXPECT_FALSE(platform::namesEqual("\xC3\xA4", "\xC3\x84x"));
}

TEST(Wildcard, BytesThatAreNoUtf8MatchOnlyThemselves) {
  EXPECT_TRUE(platform::wildcardMatch("*\xE9.dbf", "ET\xC9.DBF"));  // an 8-bit name still folds
  EXPECT_FALSE(platform::namesEqual("\xE9", "\xE8"));             // and two such bytes differ
  EXPECT_FALSE(platform::namesEqual("\xC3", "\xC3\xA4"));           // a cut sequence is no letter
  EXPECT_TRUE(platform::wildcardMatch("?", "\xFF"));
}

TEST(LetterCase, SimpleUpperCaseOfEveryScript) {
  EXPECT_EQ(platform::upperCase(U'\u01C6'), U'\u01C4');   // dž, and its title-case letter,
  EXPECT_EQ(platform::upperCase(U'\u01C5'), U'\u01C4');   // both become DŽ
  EXPECT_EQ(platform::upperCase(U'\u1FB3'), U'\u1FBC');   // alpha with ypogegrammeni
  EXPECT_EQ(platform::upperCase(U'\u017F'), U'S');        // long s
  EXPECT_EQ(platform::upperCase(U'\u0101'), U'\u0100');   // rows that step by two
  EXPECT_EQ(platform::upperCase(U'\u0100'), U'\u0100');
  EXPECT_EQ(platform::upperCase(U'\U00010428'), U'\U00010400');  // beyond the 16-bit plane
  EXPECT_EQ(platform::upperCase(U'\u00DF'), U'\u00DF');   // ß stays
  EXPECT_EQ(platform::upperCase(U'7'), U'7');
  EXPECT_EQ(platform::upperCase(char32_t{0x110000}), char32_t{0x110000});
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
