// The numeric editor: entry from the right, the point, the sign, Backspace,
// fullness and numbers that do not fit.
#include "editor/edit_number.hpp"

#include <gtest/gtest.h>

#include "editor_rig.hpp"

namespace editor_tests {
namespace {

namespace k = ui::key;

TEST(EditNumber, PointThenDecimalsAndTheSignToggles) {
  EditorRig rig;
  std::string buffer(6, ' ');
  rig.type("12.5").then([&] { EXPECT_EQ(rig.cellText(6), " 12.5 "); });
  rig.type("-").then([&] { EXPECT_EQ(rig.cellText(6), "-12.5 "); });
  rig.key(k::kEnter);
  EXPECT_EQ(rig.run(editor::editNumber, numberField(6, 2), buffer), k::kEnter);
  EXPECT_EQ(buffer, "-12.50");

  EditorRig plus;
  std::string again(6, ' ');
  plus.type("12.5-+").key(k::kEnter);
  EXPECT_EQ(plus.run(editor::editNumber, numberField(6, 2), again), k::kEnter);
  EXPECT_EQ(again, " 12.50");
}

TEST(EditNumber, DigitsEnterFromTheRightAndALoneZeroGivesWay) {
  EditorRig rig;
  std::string buffer = "   77";
  rig.type("01").then([&] { EXPECT_EQ(rig.cellText(5), "    1"); });
  rig.type("2").then([&] {
    EXPECT_EQ(rig.cellText(5), "   12");
    EXPECT_EQ(rig.cursorOffset(), 4);
  });
  rig.key(k::kUp);
  EXPECT_EQ(rig.run(editor::editNumber, numberField(5, 0), buffer), k::kUp);
  EXPECT_EQ(buffer, "   12");
  EXPECT_TRUE(rig.changed);
}

TEST(EditNumber, BackspaceRemovesTheLastDigitThenReturnsLeft) {
  EditorRig rig;
  std::string buffer = "  12.50";
  // 12.50 is keyed as 12.5: the first Backspace takes the 5, then the point,
  // then the 2; the value 1 then goes, and on the empty value Left returns.
  rig.key(k::kBackspace).then([&] { EXPECT_EQ(rig.cellText(7), "  12.  "); });
  rig.key(k::kBackspace).key(k::kBackspace).then([&] { EXPECT_EQ(rig.cellText(7), "   1   "); });
  rig.key(k::kBackspace).key(k::kBackspace);
  EXPECT_EQ(rig.run(editor::editNumber, numberField(7, 2), buffer), k::kLeft);
  EXPECT_EQ(buffer, "       ");
}

TEST(EditNumber, BackspaceOnAnEmptyOrZeroValueReturnsLeftAtOnce) {
  for (std::string start : {"      ", "  0.00"}) {
    EditorRig rig;
    std::string buffer = start;
    rig.key(k::kBackspace);
    EXPECT_EQ(rig.run(editor::editNumber, numberField(6, 2), buffer), k::kLeft) << start;
    EXPECT_EQ(buffer, start);
    EXPECT_FALSE(rig.changed);
  }
}

TEST(EditNumber, AFullFieldReturnsEnter) {
  EditorRig rig;
  std::string buffer;
  rig.type("1234");
  EXPECT_EQ(rig.run(editor::editNumber, numberField(3, 0), buffer), k::kEnter);
  EXPECT_EQ(buffer, "123");
  EXPECT_EQ(rig.keysLeft(), 1);

  EditorRig wait;
  editor::FieldOptions opts = numberField(4, 1);
  opts.waitWhenFull = true;
  std::string value;
  wait.type("12.5").key(k::kRight);
  EXPECT_EQ(wait.run(editor::editNumber, opts, value), k::kRight);
  EXPECT_EQ(value, "12.5");
}

TEST(EditNumber, WhatDoesNotFitIsRefusedWithABeep) {
  EditorRig rig;
  std::string buffer;
  // Width 5 with 1 decimal leaves three places for the sign and the integer.
  rig.type("1234").then([&] { EXPECT_EQ(rig.cellText(5), "123  "); });
  rig.type("-").type(".5").key(k::kEnter);
  EXPECT_EQ(rig.run(editor::editNumber, numberField(5, 1), buffer), k::kEnter);
  EXPECT_EQ(buffer, "123.5");  // the 5 filled the field; the scripted Enter stays queued
  EXPECT_EQ(rig.host.beeps(), 2);  // the 4 and the minus
  EXPECT_EQ(rig.keysLeft(), 1);

  EditorRig point;
  std::string whole = "  7";
  point.type(".").key(k::kEnter);
  EXPECT_EQ(point.run(editor::editNumber, numberField(3, 0), whole), k::kEnter);
  EXPECT_EQ(whole, "  7");
  EXPECT_EQ(point.host.beeps(), 1);
}

TEST(EditNumber, PasteFormatsIntoTheFieldOrIsRefused) {
  struct Case {
    double copied;
    const char* expect;
    int beeps;
  };
  for (const Case& c : {Case{3.5, "  3.50", 0}, Case{12345.6, "  9.99", 1}, Case{1.234, "  9.99", 1},
                        Case{-123.0, "  9.99", 1}}) {
    EditorRig rig;
    rig.copy.set("x", c.copied);
    std::string buffer = "  9.99";
    rig.key(k::kShiftInsert).key(k::kEnter);
    EXPECT_EQ(rig.run(editor::editNumber, numberField(6, 2), buffer), k::kEnter);
    EXPECT_EQ(buffer, c.expect) << c.copied;
    EXPECT_EQ(rig.host.beeps(), c.beeps) << c.copied;
  }
}

TEST(EditNumber, CopyGivesTheTextAndItsValue) {
  EditorRig rig;
  std::string buffer = " 12.50";
  rig.key(editor::edit_key::kCtrlC).key(k::kEnter);
  EXPECT_EQ(rig.run(editor::editNumber, numberField(6, 2), buffer), k::kEnter);
  EXPECT_EQ(rig.copy.text, " 12.50");
  EXPECT_DOUBLE_EQ(rig.copy.value, 12.5);
}

TEST(EditNumber, ALetterEndsTheEditorAndAbortKeepsTheValue) {
  EditorRig rig;
  std::string buffer = "  42";
  rig.type("x");
  EXPECT_EQ(rig.run(editor::editNumber, numberField(4, 0), buffer), 'x');
  EXPECT_EQ(buffer, "  42");

  EditorRig abort;
  std::string kept = "  42";
  abort.type("7");
  EXPECT_EQ(abort.run(editor::editNumber, numberField(4, 0), kept), k::kAbort);
  EXPECT_EQ(kept, "  42");
  EXPECT_FALSE(abort.changed);
}

}  // namespace
}  // namespace editor_tests
