#include <gtest/gtest.h>

#include "base/fixed_record.hpp"
#include "base/paths.hpp"
#include "base/text.hpp"

namespace {

TEST(Paths, TrailingSlashFollowsWindowsRules) {
  EXPECT_EQ(base::setTrailingSlash("C:\\", true, '\\'), "C:\\");
  EXPECT_EQ(base::setTrailingSlash("C:\\", false, '\\'), "C:");
  EXPECT_EQ(base::setTrailingSlash("C:\\Data", true, '\\'), "C:\\Data\\");
  EXPECT_EQ(base::setTrailingSlash("C:\\Data\\\\", false, '\\'), "C:\\Data\\");  // only one removed
  EXPECT_EQ(base::setTrailingSlash("", true, '\\'), "\\");
}

TEST(Paths, JoinAddsASeparatorOnlyWhereMissing) {
  EXPECT_EQ(base::joinPath("E:\\", "Messages", '\\'), "E:\\Messages");
  EXPECT_EQ(base::joinPath("E:\\Orvandat", "Messages", '\\'), "E:\\Orvandat\\Messages");
  EXPECT_EQ(base::joinPath("/srv/", "Messages", '/'), "/srv/Messages");
}

TEST(Paths, FileNamePartNeedsADot) {
  std::string name = "unchanged";
  EXPECT_FALSE(base::fileNamePart("C:\\Apps\\Cruise", name, '\\'));
  EXPECT_EQ(name, "unchanged");
  ASSERT_TRUE(base::fileNamePart("C:\\Apps\\Cruise.tfa", name, '\\'));
  EXPECT_EQ(name, "Cruise.tfa");
  ASSERT_TRUE(base::fileNamePart("plain.txt", name, '\\'));
  EXPECT_EQ(name, "plain.txt");
}

TEST(Text, TrimTreatsControlCharactersAsBlanks) {
  EXPECT_EQ(base::trimRight("abc \t\r\n"), "abc");
  EXPECT_EQ(base::trimLeft("\x01 abc "), "abc ");
  EXPECT_EQ(base::trimmedLength(std::string("ab \0 ", 5)), 2u);
  EXPECT_EQ(base::trimRight("    "), "");
}

TEST(Text, SplitTokensSkipsEmptyPiecesAndStopsAtMax) {
  std::vector<std::string> out;
  EXPECT_EQ(base::splitTokens(",,a, b,,c,", ", ", out, 10), 3);
  EXPECT_EQ(out, (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(base::splitTokens("a,b,c,d", ",", out, 2), 2);
  EXPECT_EQ(out.back(), "b");
  EXPECT_EQ(base::splitTokens("", ",", out, 2), 0);
}

TEST(Text, Utf8IsCountedAndCutByWholeCharacters) {
  const std::string t = "a\xC3\xA4\xE2\x82\xAC\xF0\x9F\x8C\xB2";  // a, ä, the euro sign, a tree
  EXPECT_EQ(base::characterCount(t), 4u);
  EXPECT_EQ(base::firstCharacters(t, 2), "a\xC3\xA4");
  EXPECT_EQ(base::firstCharacters(t, 9), t);
  EXPECT_EQ(base::withoutLastCharacter(t), "a\xC3\xA4\xE2\x82\xAC");
  EXPECT_EQ(base::withoutLastCharacter("a"), "");
  EXPECT_EQ(base::withoutLastCharacter(""), "");
  EXPECT_EQ(base::withoutLastCharacter("\x80\x80"), "");  // stray continuation bytes go with it
}

TEST(FixedRecord, TextFieldsStopAtTheirSizeAndKeepTheirNeighbours) {
  base::FixedRecord<16> r;
  r.bytes().fill(0xEE);
  r.setText8(4, 4, "abcdef");  // room for 3 and the NUL
  EXPECT_EQ(r.text8(4, 4), "abc");
  EXPECT_EQ(r.u8(3), 0xEE);
  EXPECT_EQ(r.u8(8), 0xEE);
  r.setText16(8, 6, u"xyz");  // room for 2 characters and the NUL
  EXPECT_EQ(r.text16(8, 6), u"xy");
  EXPECT_EQ(r.u8(14), 0xEE);
  r.setI32(0, -2);
  EXPECT_EQ(r.bytes()[0], 0xFE);
  EXPECT_EQ(r.bytes()[3], 0xFF);
  EXPECT_EQ(r.i32(0), -2);
}

}  // namespace
