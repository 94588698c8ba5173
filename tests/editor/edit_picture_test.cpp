// The picture editor: placeholders, literals, refusals and their messages.
#include "editor/edit_picture.hpp"

#include <gtest/gtest.h>

#include "editor_rig.hpp"

namespace editor_tests {
namespace {

namespace k = ui::key;

editor::FieldOptions pictureField(std::string picture) {
  editor::FieldOptions opts = textField(static_cast<int>(picture.size()));
  opts.picture = std::move(picture);
  return opts;
}

TEST(EditPicture, DigitsSkipTheLiteralAndALetterIsRefused) {
  EditorRig rig;
  std::string buffer(6, ' ');
  rig.type("123").then([&] {
    EXPECT_EQ(rig.cellText(6), "12-3  ");
    EXPECT_EQ(rig.cursorOffset(), 4);
  });
  rig.type("a").then([&] { EXPECT_EQ(rig.cellText(6), "12-3  "); }).key(k::kEnter);
  EXPECT_EQ(rig.run(editor::editPicture, pictureField("##-###"), buffer), k::kEnter);
  EXPECT_EQ(buffer, "12-3  ");
  ASSERT_EQ(rig.warnings.size(), 1u);
  EXPECT_EQ(rig.warnings[0].lines, (std::vector<std::string>{"Must be", " Digit"}));
  EXPECT_EQ(rig.warnings[0].ticks, 250);
}

TEST(EditPicture, AnEmptyValueStartsAsThePictureWithItsPlaceholdersBlank) {
  EditorRig rig;
  std::string buffer(8, ' ');
  rig.key(k::kRefresh).then([&] {
    EXPECT_EQ(rig.cellText(8), "(   )   ");
    EXPECT_EQ(rig.cursorOffset(), 1);
  });
  rig.key(k::kTab);
  EXPECT_EQ(rig.run(editor::editPicture, pictureField("(###)*@~"), buffer), k::kTab);
  EXPECT_EQ(buffer, std::string(8, ' '));  // nothing typed: nothing stored
  EXPECT_FALSE(rig.changed);
}

TEST(EditPicture, EachPlaceholderRefusesWithItsOwnMessage) {
  EditorRig rig;
  std::string buffer;
  rig.type("_a1b-_");
  EXPECT_EQ(rig.run(editor::editPicture, pictureField("?@~"), buffer), k::kEnter);
  EXPECT_EQ(buffer, "ab_");
  ASSERT_EQ(rig.warnings.size(), 3u);
  EXPECT_EQ(rig.warnings[0].lines, (std::vector<std::string>{"Must be Digit", "or A to Z"}));
  EXPECT_EQ(rig.warnings[1].lines, (std::vector<std::string>{"Must be", "Letter A - Z"}));
  EXPECT_EQ(rig.warnings[2].lines,
            (std::vector<std::string>{"Must be Letter,", "underscore", " or digit"}));
}

TEST(EditPicture, BackspaceStepsOverLiteralsAndReturnsLeftAtTheFirstPlaceholder) {
  EditorRig rig;
  std::string buffer;
  rig.type("123").key(k::kBackspace).key(k::kBackspace).then([&] {
    EXPECT_EQ(rig.cellText(6), "1 -   ");
    EXPECT_EQ(rig.cursorOffset(), 1);
  });
  rig.type("9").key(k::kBackspace).key(k::kBackspace).key(k::kBackspace);
  EXPECT_EQ(rig.run(editor::editPicture, pictureField("##-###"), buffer), k::kLeft);
  EXPECT_EQ(buffer, "  -   ");
}

TEST(EditPicture, UpperCaseAppliesBeforeTheCheck) {
  EditorRig rig;
  editor::FieldOptions opts = pictureField("@@");
  opts.upperCase = true;
  std::string buffer;
  rig.type("xy");
  EXPECT_EQ(rig.run(editor::editPicture, opts, buffer), k::kEnter);
  EXPECT_EQ(buffer, "XY");
}

TEST(EditPicture, PasteIsTypedThroughThePictureOrRefusedWhole) {
  EditorRig rig;
  rig.copy.set("12345", 12345);
  std::string buffer;
  rig.key(editor::edit_key::kCtrlV).key(k::kEnter);
  EXPECT_EQ(rig.run(editor::editPicture, pictureField("##-###"), buffer), k::kEnter);
  EXPECT_EQ(buffer, "12-345");

  EditorRig literal;
  literal.copy.set("12-345", 0);
  std::string again;
  literal.key(editor::edit_key::kCtrlV).key(k::kEnter);
  EXPECT_EQ(literal.run(editor::editPicture, pictureField("##-###"), again), k::kEnter);
  EXPECT_EQ(again, "12-345");

  EditorRig refused;
  refused.copy.set("1a345", 0);
  std::string kept = "98-765";
  refused.key(editor::edit_key::kCtrlV).key(k::kEnter);
  EXPECT_EQ(refused.run(editor::editPicture, pictureField("##-###"), kept), k::kEnter);
  EXPECT_EQ(kept, "98-765");
  EXPECT_EQ(refused.host.beeps(), 1);
}

}  // namespace
}  // namespace editor_tests
