// The rules that make a value of a received line: the filter, the cuts, the
// shown texts and the checks on numbers read from a definition.
#include <gtest/gtest.h>

#include "apps/level_records.hpp"
#include "serial/sensor_values.hpp"

namespace {

using serial::CutRules;
using serial::cutValue;
using serial::linePasses;
using Strings = std::vector<std::string>;

TEST(SensorFilter, LengthAcceptsOnlyTheExactLength) {
  EXPECT_FALSE(linePasses(serial::kMatchLength, 12, "", "12345678901"));
  EXPECT_TRUE(linePasses(serial::kMatchLength, 12, "", "123456789012"));
  EXPECT_FALSE(linePasses(serial::kMatchLength, 12, "", "1234567890123"));
  EXPECT_FALSE(linePasses(serial::kMatchLength, -1, "", ""));
}

TEST(SensorFilter, StartsComparesWithoutCaseAtThePosition) {
  EXPECT_TRUE(linePasses(serial::kMatchStarts, 0, "$d", "$D,12.5"));
  EXPECT_TRUE(linePasses(serial::kMatchStarts, 3, "12", "$D,12.5"));
  EXPECT_FALSE(linePasses(serial::kMatchStarts, 4, "12", "$D,12.5"));
  // The text may not run past the line's end.
  EXPECT_FALSE(linePasses(serial::kMatchStarts, 5, ".5x", "$D,12.5"));
}

TEST(SensorFilter, CharacterKindsLookAtOneCharacter) {
  EXPECT_TRUE(linePasses(serial::kMatchChar, 1, "D", "$D,1"));
  EXPECT_FALSE(linePasses(serial::kMatchChar, 1, "d", "$D,1"));  // exact character
  EXPECT_FALSE(linePasses(serial::kMatchChar, 1, "", "$D,1"));
  EXPECT_TRUE(linePasses(serial::kMatchDigit, 3, "", "$D,1"));
  EXPECT_FALSE(linePasses(serial::kMatchDigit, 2, "", "$D,1"));
  EXPECT_TRUE(linePasses(serial::kMatchLetter, 1, "", "$D,1"));
  EXPECT_FALSE(linePasses(serial::kMatchLetter, 0, "", "$D,1"));
}

TEST(SensorFilter, PositionsOutsideTheLineFailAndUnknownKindsFilterNothing) {
  for (int kind : {serial::kMatchStarts, serial::kMatchChar, serial::kMatchDigit, serial::kMatchLetter}) {
    EXPECT_FALSE(linePasses(kind, 4, "1", "$D,1")) << kind;
    EXPECT_FALSE(linePasses(kind, 200, "1", "$D,1")) << kind;
    EXPECT_FALSE(linePasses(kind, -1, "1", "$D,1")) << kind;
  }
  EXPECT_TRUE(linePasses(serial::kMatchAll, 99, "x", ""));
  EXPECT_TRUE(linePasses(9, 99, "x", "abc"));
}

TEST(SensorSplit, TokensSkipRunsOfDelimitersFieldsKeepEmptyOnes) {
  EXPECT_EQ(serial::splitTokens("1.5, 2.7,,3", ", "), (Strings{"1.5", "2.7", "3"}));
  EXPECT_EQ(serial::splitFields("1.5,2.7,,3", ","), (Strings{"1.5", "2.7", "", "3"}));
  EXPECT_EQ(serial::splitFields("a,", ","), (Strings{"a", ""}));
  EXPECT_EQ(serial::splitTokens(",,", ","), Strings{});
  EXPECT_EQ(serial::splitTokens("abc", ""), Strings{"abc"});
  EXPECT_EQ(serial::splitFields("", ","), Strings{""});
}

TEST(SensorSplit, AtMostAHundredTokens) {
  std::string line;
  for (int i = 0; i < 150; ++i) line += std::to_string(i) + ",";
  const Strings tokens = serial::splitTokens(line, ",");
  ASSERT_EQ(tokens.size(), serial::kMaxTokens);
  EXPECT_EQ(tokens.back(), "99");
  EXPECT_EQ(serial::splitFields(line, ",").size(), serial::kMaxTokens);
}

TEST(SensorCut, WholeLineAndFixedPartAreCutTo28) {
  const std::string line(40, 'x');
  CutRules r;
  EXPECT_EQ(cutValue(r, line).value.size(), serial::kValueChars);
  r.source = serial::kSourceFixed;
  r.start = 3;
  r.length = 4;
  EXPECT_EQ(cutValue(r, "ABCDEFGHIJ").value, "DEFG");
  EXPECT_EQ(cutValue(r, "ABCDEFGHIJ").shown, "DEFG");
  r.length = 50;
  EXPECT_EQ(cutValue(r, line).value.size(), serial::kValueChars);
  r.start = 10;
  EXPECT_EQ(cutValue(r, "ABCDEFGHIJ").value, "");
  r.start = -2;
  EXPECT_EQ(cutValue(r, "ABCDEFGHIJ").value, "");
}

TEST(SensorCut, ValueTokenCountsFromOneAndShownJoinsTokens) {
  CutRules r;
  r.source = serial::kSourceTokens;
  r.delims = ",";
  r.valueToken = 2;
  r.showTokens = {1, 2, 7, 0, 3};
  r.showCount = 5;
  r.showSep = " ";
  const serial::CutValue v = cutValue(r, "$D,12.5,cm");
  EXPECT_EQ(v.value, "12.5");
  EXPECT_EQ(v.shown, " $D 12.5 cm");  // tokens 7 and 0 do not exist
  EXPECT_EQ(v.tokens.size(), 3u);
  r.showCount = 1;
  EXPECT_EQ(cutValue(r, "$D,12.5,cm").shown, " $D");
  r.showCount = 99;  // more than five: five
  EXPECT_EQ(cutValue(r, "$D,12.5,cm").shown, " $D 12.5 cm");
}

TEST(SensorCut, MissingTokensGiveAnEmptyValueAndLongTokensAreCut) {
  CutRules r;
  r.source = serial::kSourceFields;
  r.delims = ",";
  for (int token : {0, -1, 4, 101}) {
    r.valueToken = token;
    EXPECT_EQ(cutValue(r, "a,b,c").value, "") << token;
  }
  r.valueToken = 1;
  r.showTokens = {1};
  r.showCount = 1;
  const serial::CutValue v = cutValue(r, std::string(40, 'y') + ",b");
  EXPECT_EQ(v.value.size(), serial::kValueChars);
  EXPECT_EQ(v.shown.size(), serial::kShowTokenChars);
}

TEST(SensorCut, RulesAreReadFromTheDefinition) {
  apps::SerialDef def;
  def.setSource(serial::kSourceTokens);
  def.setDelims(";");
  def.setValueToken(3);
  def.setShowToken(0, 2);
  def.setShowCount(1);
  def.setShowSep("=");
  EXPECT_EQ(cutValue(serial::cutRulesOf(def), "a;b;c").value, "c");
  EXPECT_EQ(cutValue(serial::cutRulesOf(def), "a;b;c").shown, "=b");
}

TEST(SensorDefinitionNumbers, OutOfRangeValuesFallBack) {
  EXPECT_EQ(serial::parityLetter(0), 'N');
  EXPECT_EQ(serial::parityLetter(2), 'O');
  EXPECT_EQ(serial::parityLetter(4), 'S');
  EXPECT_EQ(serial::parityLetter(5), 'N');
  EXPECT_EQ(serial::parityLetter(-1), 'N');
  EXPECT_EQ(serial::terminatorOf(0), 13);
  EXPECT_EQ(serial::terminatorOf(-3), 13);
  EXPECT_EQ(serial::terminatorOf(10), 10);
  EXPECT_EQ(serial::targetCountOf(40), serial::kMaxTargets);
  EXPECT_EQ(serial::targetCountOf(-2), 0);
  EXPECT_EQ(serial::targetCountOf(3), 3);
}

TEST(SensorTargets, TokenJoinAndSecondToken) {
  const Strings tokens{"12", "5", "cm"};
  EXPECT_EQ(serial::targetText(tokens, 1, ".", 2), "12.5");
  EXPECT_EQ(serial::targetText(tokens, 3, ".", 0), "cm");
  EXPECT_EQ(serial::targetText(tokens, 1, ".", 9), "12");  // no second token: no join either
  EXPECT_EQ(serial::targetText(tokens, 0, ".", 2), ".5");
}

TEST(SensorShown, CutToTheFieldOr30WithAMark) {
  EXPECT_EQ(serial::shownInField("12.5", 6), "12.5");
  EXPECT_EQ(serial::shownInField("ABCDEFG", 6), "ABCDE>");
  EXPECT_EQ(serial::shownInField("ABCDEF", 6), "ABCDEF");
  const std::string longValue(40, 'z');
  EXPECT_EQ(serial::shownInField(longValue, 50), std::string(29, 'z') + ">");
  EXPECT_EQ(serial::shownInField(longValue, 0).size(), serial::kShownFieldChars);
  EXPECT_EQ(serial::upperAscii("ab1\xe9z"), "AB1\xe9Z");
}

}  // namespace
