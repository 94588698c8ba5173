// Labels with access letters.
#include <gtest/gtest.h>

#include "tui/access_text.hpp"

namespace {

using tui::accessText;
namespace k = ui::key;

TEST(AccessText, MarkerRemovedAndLetterFound) {
  auto a = accessText("E&xtract Dataset");
  EXPECT_EQ(a.text, U"Extract Dataset");
  EXPECT_EQ(a.underline, 1);
  EXPECT_EQ(a.letter, 'X');
  auto d = accessText("Level &2 Password");
  EXPECT_EQ(d.letter, '2');
  EXPECT_EQ(d.underline, 6);
}

TEST(AccessText, DoubledAmpersandAndMarkerAtTheEnd) {
  auto a = accessText("Salt && &Pepper");
  EXPECT_EQ(a.text, U"Salt & Pepper");
  EXPECT_EQ(a.letter, 'P');
  EXPECT_EQ(a.underline, 7);
  auto none = accessText("Exit");
  EXPECT_EQ(none.letter, 0);
  EXPECT_EQ(none.underline, -1);
  auto trailing = accessText("End&");
  EXPECT_EQ(trailing.text, U"End&");
  EXPECT_EQ(trailing.letter, 0);
  // Only the first marker counts; a non-ASCII letter is shown but has no key.
  EXPECT_EQ(accessText("&One &Two").letter, 'O');
  auto wide = accessText("Caf&\xc3\xa9");
  EXPECT_EQ(wide.text, U"Caf\u00e9");
  EXPECT_EQ(wide.letter, 0);
}

TEST(AccessText, KeysThatPickALabel) {
  auto a = accessText("&Data");
  EXPECT_TRUE(picks(a, k::altLetter('d'), false));
  EXPECT_FALSE(picks(a, 'd', false));
  EXPECT_TRUE(picks(a, 'd', true));
  EXPECT_TRUE(picks(a, 'D', true));
  EXPECT_FALSE(picks(a, k::altLetter('a'), true));
  EXPECT_FALSE(picks(a, k::kEnter, true));
  EXPECT_EQ(tui::letterOfAlt(k::altLetter('q')), 'Q');
  EXPECT_EQ(tui::letterOfAlt(k::kF1), 0);
  EXPECT_EQ(tui::letterOfAlt('q'), 0);
}

}  // namespace
