// The JSON pieces the layers are written with.
#include "gislib/json_text.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

std::string asJson(std::string_view text) {
  std::string out;
  gislib::appendJsonString(out, text);
  return out;
}

TEST(JsonString, EscapesQuotesBackslashesAndEveryControlCharacter) {
  EXPECT_EQ(asJson("say \"hi\"\\now"), "\"say \\\"hi\\\"\\\\now\"");
  EXPECT_EQ(asJson("a\tb\nc\rd\be\ff"), "\"a\\tb\\nc\\rd\\be\\ff\"");
  EXPECT_EQ(asJson(std::string("\x01\x1F\x00z", 4)), "\"\\u0001\\u001F\\u0000z\"");
  EXPECT_EQ(asJson("/ and \x7F stay"), "\"/ and \x7F stay\"");
}

TEST(JsonString, KeepsUtf8AndReplacesBytesThatAreNone) {
  EXPECT_EQ(asJson("Stra\xC3\x9F" "e \xE2\x82\xAC \xF0\x9F\x8C\xB2"), "\"Stra\xC3\x9F" "e \xE2\x82\xAC \xF0\x9F\x8C\xB2\"");
  // A lone Windows-1252 byte, a cut sequence, an overlong slash, a surrogate.
  EXPECT_EQ(asJson("\xE9t\xC3"), "\"\xEF\xBF\xBDt\xEF\xBF\xBD\"");
  EXPECT_EQ(asJson("\xC0\xAF"), "\"\xEF\xBF\xBD\xEF\xBF\xBD\"");
  EXPECT_EQ(asJson("\xED\xA0\x80"), "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\"");
  EXPECT_TRUE(gislib::validUtf8(asJson("\xE9\xFF\x80")));
}

TEST(JsonString, NamesInWindows1252AreShownAsUtf8) {
  EXPECT_EQ(gislib::nameText("Pr\xE9" "s"), "Pr\xC3\xA9s");
  EXPECT_EQ(gislib::nameText("Pr\xC3\xA9s"), "Pr\xC3\xA9s");
  EXPECT_EQ(gislib::nameText("\x80"), "\xE2\x82\xAC");
}

TEST(JsonNumbers, CoordinatesHaveNineDecimalsAndNoNegativeZero) {
  EXPECT_EQ(gislib::coordinateText(-114.987654321), "-114.987654321");
  EXPECT_EQ(gislib::coordinateText(42.5), "42.500000000");
  EXPECT_EQ(gislib::coordinateText(-0.0000000001), "0.000000000");
  EXPECT_EQ(gislib::coordinateText(-180), "-180.000000000");
}

TEST(JsonNumbers, OtherNumbersReadBackAndMissingOnesAreNull) {
  EXPECT_EQ(gislib::numberText(1.3), "1.3");
  EXPECT_EQ(gislib::numberText(9.0), "9");
  EXPECT_EQ(gislib::numberText(-0.0), "0");
  EXPECT_EQ(gislib::numberText(std::nullopt), "null");
  EXPECT_EQ(gislib::numberText(std::numeric_limits<double>::infinity()), "null");
  EXPECT_EQ(gislib::numberText(std::nan("")), "null");
}

}  // namespace
