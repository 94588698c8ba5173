// The terminal's message box: its layout, its keys, and the host's modal loop
// driven by fed bytes.
#include <gtest/gtest.h>

#include <thread>

#include "fake_terminal.hpp"
#include "platform/clock.hpp"
#include "support/fake_clock.hpp"
#include "tui/message_box.hpp"
#include "tui/terminal_host.hpp"
#include "ui/host.hpp"

namespace {

using namespace tui;
using tui_testing::FakeTerminal;
namespace k = ui::key;

std::vector<std::u32string> labels(const MessageBoxLayout& box) {
  std::vector<std::u32string> out;
  for (const BoxButton& b : box.buttons) out.push_back(b.label);
  return out;
}

TEST(MessageBoxLayout, ButtonsFollowTheFlags) {
  struct T {
    unsigned flags;
    std::vector<std::u32string> labels;
    int escapeAnswer;
  } table[] = {
      {ui::kMbOk, {U"OK"}, ui::kIdOk},
      {ui::kMbOkCancel, {U"OK", U"Cancel"}, ui::kIdCancel},
      {ui::kMbAbortRetryIgnore, {U"Abort", U"Retry", U"Ignore"}, 0},
      {ui::kMbYesNoCancel, {U"Yes", U"No", U"Cancel"}, ui::kIdCancel},
      {ui::kMbYesNo, {U"Yes", U"No"}, ui::kIdNo},
      {ui::kMbRetryCancel, {U"Retry", U"Cancel"}, ui::kIdCancel},
      {0xE, {U"OK"}, ui::kIdOk},
  };
  for (const T& t : table) {
    MessageBoxLayout box = layoutMessageBox("text", "caption", t.flags | ui::kMbIconQuestion, 30, 100);
    EXPECT_EQ(labels(box), t.labels) << t.flags;
    EXPECT_EQ(box.escapeAnswer, t.escapeAnswer) << t.flags;
    EXPECT_EQ(box.defaultButton, 0);
  }
}

TEST(MessageBoxLayout, DefaultButtonFlags) {
  EXPECT_EQ(layoutMessageBox("t", "", ui::kMbYesNo | ui::kMbDefButton2, 30, 100).defaultButton, 1);
  EXPECT_EQ(layoutMessageBox("t", "", ui::kMbYesNoCancel | ui::kMbDefButton3, 30, 100).defaultButton, 2);
  // A default past the last button falls back to the first.
  EXPECT_EQ(layoutMessageBox("t", "", ui::kMbYesNo | ui::kMbDefButton3, 30, 100).defaultButton, 0);
  EXPECT_EQ(layoutMessageBox("t", "", ui::kMbOk | ui::kMbDefButton2, 30, 100).defaultButton, 0);
}

TEST(MessageBoxLayout, CentredWithTextAndButtonsInside) {
  MessageBoxLayout box = layoutMessageBox("An Edit Session\nis Open\nExit Tallyfin?", "", ui::kMbYesNo, 30, 100);
  ASSERT_EQ(box.lines.size(), 3u);
  EXPECT_EQ(box.lines[2], U"Exit Tallyfin?");
  EXPECT_EQ(box.bottom - box.top + 1, 3 + 5);
  EXPECT_LE(std::abs((box.top - 1) - (30 - box.bottom)), 1);
  EXPECT_LE(std::abs((box.left - 1) - (100 - box.right)), 1);
  for (const BoxButton& b : box.buttons) {
    EXPECT_EQ(b.row, box.bottom - 1);
    EXPECT_GT(b.col, box.left);
    EXPECT_LT(b.col + b.width - 1, box.right);
  }
  EXPECT_LT(box.buttons[0].col + box.buttons[0].width, box.buttons[1].col);
}

TEST(MessageBoxLayout, LongLinesWrapAtBlanksAndLongWordsAreCut) {
  std::string text = "Program Updates Are Pending Press OK To Install Press CANCEL to Keep Current Version!";
  MessageBoxLayout box = layoutMessageBox(text + "\n" + std::string(60, 'W'), "Program Updates",
                                          ui::kMbOkCancel, 24, 30);
  ASSERT_GT(box.lines.size(), 3u);
  std::u32string joined;
  for (const std::u32string& line : box.lines) {
    EXPECT_LE(line.size(), 24u);
    EXPECT_TRUE(line.empty() || line.front() != U' ');
    EXPECT_LE(box.textLeft + static_cast<int>(line.size()) - 1, box.right - 1);
  }
  EXPECT_EQ(box.lines[0], U"Program Updates Are");
  EXPECT_EQ(box.lines[box.lines.size() - 3], std::u32string(24, U'W'));
  EXPECT_EQ(box.lines.back(), std::u32string(12, U'W'));
  EXPECT_GE(box.left, 1);
  EXPECT_LE(box.right, 30);
}

TEST(MessageBoxLayout, LinesThatDoNotFitTheHeightAreLeftOut) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += "line\n";
  MessageBoxLayout box = layoutMessageBox(text, "c", ui::kMbOk, 12, 80);
  EXPECT_EQ(box.lines.size(), 7u);
  EXPECT_GE(box.top, 1);
  EXPECT_LE(box.bottom, 12);
}

TEST(MessageBoxLayout, TinyScreenDrawsWithoutGoingOutside) {
  for (int rows : {1, 3, 6})
    for (int cols : {1, 5, 12}) {
      MessageBoxLayout box = layoutMessageBox("Some text here", "A caption", ui::kMbYesNoCancel, rows, cols);
      CellGrid grid(rows, cols);
      drawMessageBox(grid, box, 0);  // must stay inside the grid
      EXPECT_GE(box.top, 1);
      EXPECT_GE(box.left, 1);
    }
}

TEST(MessageBoxDraw, CaptionTextAndFocusedButton) {
  MessageBoxLayout box = layoutMessageBox("Exit Tallyfin?", "Question", ui::kMbYesNo, 30, 100);
  CellGrid grid(30, 100);
  drawMessageBox(grid, box, 1);
  auto rowText = [&](int row, int from, int n) {
    std::u32string s;
    for (int c = from; c < from + n; ++c) s.push_back(grid.at(row, c).ch);
    return s;
  };
  EXPECT_NE(rowText(box.top, box.left, box.right - box.left + 1).find(U" Question "), std::u32string::npos);
  EXPECT_EQ(rowText(box.textTop, box.textLeft, 14), U"Exit Tallyfin?");
  EXPECT_EQ(grid.at(box.top, box.left).ch, U'\u250C');
  EXPECT_EQ(grid.at(box.bottom, box.right).ch, U'\u2518');
  const BoxButton& yes = box.buttons[0];
  const BoxButton& no = box.buttons[1];
  EXPECT_EQ(rowText(yes.row, yes.col, yes.width), U"[ Yes ]");
  EXPECT_EQ(rowText(no.row, no.col, no.width), U"[ No ]");
  EXPECT_EQ(grid.at(no.row, no.col).bg, paletteRgb(kDkBlue));
  EXPECT_EQ(grid.at(yes.row, yes.col).bg, paletteRgb(kLtGray));
  EXPECT_TRUE(grid.at(yes.row, yes.col + 2).attr & kAttrUnderline);  // the Y
  EXPECT_FALSE(grid.at(yes.row, yes.col + 3).attr & kAttrUnderline);
}

int answerTo(unsigned flags, std::initializer_list<InputEvent> events) {
  MessageBoxLayout box = layoutMessageBox("text", "", flags, 30, 100);
  MessageBoxInput in(box);
  for (const InputEvent& e : events)
    if (int a = in.onEvent(e)) return a;
  return 0;
}

TEST(MessageBoxInput, KeysMoveTheFocusAndTakeButtons) {
  EXPECT_EQ(answerTo(ui::kMbYesNo, {{k::kEnter}}), ui::kIdYes);
  EXPECT_EQ(answerTo(ui::kMbYesNo | ui::kMbDefButton2, {{k::kEnter}}), ui::kIdNo);
  EXPECT_EQ(answerTo(ui::kMbYesNo, {{k::kRight}, {k::kEnter}}), ui::kIdNo);
  EXPECT_EQ(answerTo(ui::kMbYesNo, {{k::kRight}, {k::kRight}, {k::kEnter}}), ui::kIdYes);  // wraps
  EXPECT_EQ(answerTo(ui::kMbYesNoCancel, {{k::kLeft}, {k::kEnter}}), ui::kIdCancel);
  EXPECT_EQ(answerTo(ui::kMbYesNoCancel, {{k::kTab}, {k::kTab}, {k::kShiftTab}, {' '}}), ui::kIdNo);
  EXPECT_EQ(answerTo(ui::kMbAbortRetryIgnore | ui::kMbDefButton3, {{k::kEnter}}), ui::kIdIgnore);
}

TEST(MessageBoxInput, EscapeAnswersForTheButtonSet) {
  EXPECT_EQ(answerTo(ui::kMbOk, {{k::kEscape}}), ui::kIdOk);
  EXPECT_EQ(answerTo(ui::kMbOkCancel, {{k::kEscape}}), ui::kIdCancel);
  EXPECT_EQ(answerTo(ui::kMbYesNo, {{k::kEscape}}), ui::kIdNo);
  EXPECT_EQ(answerTo(ui::kMbYesNoCancel, {{k::kEscape}}), ui::kIdCancel);
  EXPECT_EQ(answerTo(ui::kMbRetryCancel, {{k::kEscape}}), ui::kIdCancel);
  EXPECT_EQ(answerTo(ui::kMbAbortRetryIgnore, {{k::kEscape}}), 0);  // no Cancel button
}

TEST(MessageBoxInput, UnderlinedLettersInEitherCase) {
  EXPECT_EQ(answerTo(ui::kMbYesNo, {{'y'}}), ui::kIdYes);
  EXPECT_EQ(answerTo(ui::kMbYesNo | ui::kMbDefButton2, {{'Y'}}), ui::kIdYes);
  EXPECT_EQ(answerTo(ui::kMbYesNo, {{'n'}}), ui::kIdNo);
  EXPECT_EQ(answerTo(ui::kMbYesNo, {{k::altLetter('n')}}), ui::kIdNo);
  EXPECT_EQ(answerTo(ui::kMbYesNo, {{'c'}, {'x'}, {'o'}}), 0);  // not on this box
  EXPECT_EQ(answerTo(ui::kMbOkCancel, {{'o'}}), ui::kIdOk);
  EXPECT_EQ(answerTo(ui::kMbOkCancel, {{'C'}}), ui::kIdCancel);
  EXPECT_EQ(answerTo(ui::kMbAbortRetryIgnore, {{'a'}}), ui::kIdAbort);
  EXPECT_EQ(answerTo(ui::kMbAbortRetryIgnore, {{'r'}}), ui::kIdRetry);
  EXPECT_EQ(answerTo(ui::kMbAbortRetryIgnore, {{'I'}}), ui::kIdIgnore);
  EXPECT_EQ(answerTo(ui::kMbRetryCancel, {{'R'}}), ui::kIdRetry);
}

TEST(MessageBoxInput, ClickOnAButton) {
  MessageBoxLayout box = layoutMessageBox("text", "", ui::kMbYesNo, 30, 100);
  MessageBoxInput in(box);
  const BoxButton& no = box.buttons[1];
  EXPECT_EQ(in.onEvent({k::kMouseClick, no.row, no.col - 1}), 0);  // beside it
  EXPECT_EQ(in.onEvent({k::kMouseClick, no.row, no.col + no.width - 1}), ui::kIdNo);
}

// --- The host's modal loop --------------------------------------------------

class HostTest : public ::testing::Test {
 protected:
  testing_support::FakeClock clock;
  platform::ScopedClock useClock{clock};
  FakeTerminal term{clock};
};

TEST_F(HostTest, AnswerComesFromFedKeys) {
  TerminalHost host(term);
  term.input = {"\x1b[C", "\r"};
  EXPECT_EQ(host.messageBox("Exit Tallyfin?", "", ui::kMbYesNo | ui::kMbIconQuestion), ui::kIdNo);
  EXPECT_NE(term.output.find("Exit Tallyfin?"), std::string::npos);
}

TEST_F(HostTest, LetterSplitFromItsEscapeWithinTheTimeOutIsAlt) {
  TerminalHost host(term);
  // ESC and "y" in two reads without a time-out between: Alt+Y, the Yes button's letter.
  term.input = {"\x1b", "y"};
  EXPECT_EQ(host.messageBox("Sure?", "", ui::kMbYesNo | ui::kMbDefButton2), ui::kIdYes);
}

TEST_F(HostTest, LoneEscapeAfterTheTimeOutAnswersNo) {
  TerminalHost host(term);
  term.input = {"\x1b", "", "y"};  // ESC, then nothing for the time-out
  EXPECT_EQ(host.messageBox("Sure?", "", ui::kMbYesNo), ui::kIdNo);
  EXPECT_EQ(term.input.size(), 1u);  // the "y" is still unread
}

TEST_F(HostTest, EndOfInputGivesTheSafeAnswer) {
  TerminalHost host(term);
  EXPECT_EQ(host.messageBox("Sure?", "", ui::kMbYesNo), ui::kIdNo);
  EXPECT_TRUE(host.inputEnded());
  EXPECT_EQ(host.messageBox("Files?", "", ui::kMbAbortRetryIgnore), ui::kIdAbort);
}

TEST_F(HostTest, QuitSignalEndsTheBox) {
  TerminalHost host(term);
  term.input = {"", "", ""};
  term.onRead = [&] { term.quit = 15; };
  EXPECT_EQ(host.messageBox("Save?", "", ui::kMbYesNoCancel), ui::kIdCancel);
}

TEST_F(HostTest, KeysTypedBeforeTheBoxAreUsedByIt) {
  TerminalHost host(term);
  term.input = {"n"};
  host.pump();
  EXPECT_TRUE(term.input.empty());
  EXPECT_EQ(host.messageBox("Sure?", "", ui::kMbYesNo), ui::kIdNo);
}

TEST_F(HostTest, PostedFunctionsRunWhileABoxWaits) {
  TerminalHost host(term);
  int ran = 0;
  std::thread worker([&] { host.post([&] { ++ran; }); });
  worker.join();
  EXPECT_GE(term.wakes, 1);
  term.input = {"", "y"};
  EXPECT_EQ(host.messageBox("Sure?", "", ui::kMbYesNo), ui::kIdYes);
  EXPECT_EQ(ran, 1);
}

TEST_F(HostTest, PumpRunsPostedFunctions) {
  TerminalHost host(term);
  int ran = 0;
  host.post([&] { ++ran; });
  term.input = {""};
  host.pump();
  EXPECT_EQ(ran, 1);
}

TEST_F(HostTest, ResizeLaysTheBoxOutAgainAndRedrawsAll) {
  TerminalHost host(term);
  host.setPainter([](CellGrid& g) { g.fill(Cell{U'.', paletteRgb(kWhite), kMainBackground, kAttrNone}); });
  term.input = {"", "y"};
  int reads = 0;
  term.onRead = [&] {
    if (++reads == 1) {
      term.rows = 20, term.cols = 40;
      term.resizePending = true;
      term.output.clear();
    }
  };
  EXPECT_EQ(host.messageBox("Exit Tallyfin?", "", ui::kMbYesNo), ui::kIdYes);
  EXPECT_EQ(host.rows(), 20);
  EXPECT_EQ(host.cols(), 40);
  // The redraw after the resize starts at the top-left cell and reaches the last one.
  EXPECT_NE(term.output.find("\x1b[1;1H"), std::string::npos);
  EXPECT_NE(term.output.find("\x1b[20;1H"), std::string::npos);
  EXPECT_EQ(term.output.find("\x1b[21;1H"), std::string::npos);
}

TEST_F(HostTest, BoxIsRemovedAfterTheAnswer) {
  TerminalHost host(term);
  host.setPainter([](CellGrid& g) { g.fill(Cell{U'.', paletteRgb(kWhite), kMainBackground, kAttrNone}); });
  host.refresh();
  term.input = {"y"};
  term.output.clear();
  host.messageBox("Exit Tallyfin?", "", ui::kMbYesNo);
  // What was written last puts back the painter's dots where the box was.
  std::string tail = term.output.substr(term.output.rfind("Exit Tallyfin?"));
  EXPECT_NE(tail.find(".............."), std::string::npos);
}

TEST_F(HostTest, NextEventWaitsOnlyAsLongAsAsked) {
  TerminalHost host(term);
  term.input = {"", "", "", "", "a"};
  EXPECT_FALSE(host.nextEvent(250).has_value());  // each "" is the whole remaining wait
  EXPECT_FALSE(host.stopping());
  auto e = host.nextEvent(-1);
  ASSERT_TRUE(e.has_value());
  EXPECT_EQ(e->key, 'a');
}

TEST_F(HostTest, BeepWritesBel) {
  TerminalHost host(term);
  host.beep();
  EXPECT_EQ(term.output, "\a");
}

}  // namespace
