#include <gtest/gtest.h>

#include "ui/form_state.hpp"
#include "ui/key_queue.hpp"

namespace {

using ui::ListKeyResult;

const std::vector<std::string> kApps = {"Cruise.tfa", "cull.tfa", "Regen.tfa", "Survey.tfa"};

TEST(ListKeys, LettersFindTheNextEntryWrappingToTheTop) {
  EXPECT_EQ(ui::listKey(kApps, 0, 'c').selection, 1);  // next "c" after the current one
  EXPECT_EQ(ui::listKey(kApps, 1, 'C').selection, 0);  // wraps
  EXPECT_EQ(ui::listKey(kApps, 1, 's').selection, 3);
  EXPECT_EQ(ui::listKey(kApps, 2, 'x').action, ListKeyResult::None);
  EXPECT_EQ(ui::listKey(kApps, -1, 'r').selection, 2);
}

TEST(ListKeys, ArrowsAndWheelMoveByOneAndStopAtTheEnds) {
  EXPECT_EQ(ui::listKey(kApps, 0, ui::key::kUp).action, ListKeyResult::None);
  EXPECT_EQ(ui::listKey(kApps, 0, ui::key::kDown).selection, 1);
  EXPECT_EQ(ui::listKey(kApps, 3, ui::key::kWheelBack).action, ListKeyResult::None);
  EXPECT_EQ(ui::listKey(kApps, 3, ui::key::kWheelForward).selection, 2);
  EXPECT_EQ(ui::listKey(kApps, 2, ui::key::kEnter).action, ListKeyResult::Take);
  EXPECT_EQ(ui::listKey(kApps, -1, ui::key::kEnter).action, ListKeyResult::None);
  EXPECT_EQ(ui::listKey({}, -1, 'a').action, ListKeyResult::None);
  EXPECT_EQ(ui::listKey(kApps, 1, ui::key::kEscape).action, ListKeyResult::Cancel);
}

// A controller that records what reaches it.
struct Recorder : ui::FormController {
  std::vector<int> commands, selections, timers;
  void onInit(ui::FormView& v) override { v.setItems(10, kApps); v.setSelection(10, 0); }
  void onCommand(ui::FormView& v, int id) override {
    commands.push_back(id);
    ui::FormController::onCommand(v, id);
  }
  void onSelectionChange(ui::FormView&, int id) override { selections.push_back(id); }
  void onTimer(ui::FormView& v, int id) override {
    timers.push_back(id);
    if (timers.size() == 3) v.end(7);
  }
};

ui::Form pickForm() {
  ui::Form f;
  f.caption = "Pick";
  using K = ui::ControlKind;
  f.controls = {{10, K::ListBox, "", {4, 4, 100, 80}},
                {11, K::Edit, "", {4, 90, 60, 12}},
                {12, K::CheckBox, "&Quiet", {4, 104, 60, 10}},
                {ui::kIdOkButton, K::Button, "OK", {4, 120, 40, 14}},
                {ui::kIdCancelButton, K::Button, "Cancel", {50, 120, 40, 14}}};
  f.controls[1].limit = 4;
  f.controls[1].numberOnly = true;
  f.controls[3].defaultButton = true;
  f.controls[4].cancelButton = true;
  return f;
}

TEST(FormState, ListEnterTakesTheSelectionThroughTheDefaultButton) {
  Recorder r;
  ui::FormState s(pickForm(), r);
  s.init();
  EXPECT_EQ(s.focus(), 10);
  EXPECT_TRUE(s.key('s'));
  EXPECT_EQ(s.selection(10), 3);
  EXPECT_EQ(r.selections, std::vector<int>{10});
  s.key(ui::key::kEnter);
  EXPECT_TRUE(s.ended());
  EXPECT_EQ(s.result(), 1);
  EXPECT_EQ(r.commands, std::vector<int>{ui::kIdOkButton});
}

TEST(FormState, EscapeCancelsFromAnyControl) {
  Recorder r;
  ui::FormState s(pickForm(), r);
  s.init();
  s.key(ui::key::kTab);
  EXPECT_EQ(s.focus(), 11);
  s.key(ui::key::kEscape);
  EXPECT_TRUE(s.ended());
  EXPECT_EQ(s.result(), 0);
}

TEST(FormState, EditsKeepTheirLimitAndDigitsOnly) {
  Recorder r;
  ui::FormState s(pickForm(), r);
  s.init();
  s.setFocus(11);
  for (char c : std::string("1a2b345")) s.key(static_cast<ui::KeyCode>(c));
  EXPECT_EQ(s.text(11), "1234");
  s.key(ui::key::kBackspace);
  EXPECT_EQ(s.text(11), "123");
}

TEST(FormState, TypedLettersAreUtf8AndLimitsCountCharacters) {
  Recorder r;
  ui::Form form = pickForm();
  form.controls[1].numberOnly = false;
  ui::FormState s(form, r);
  s.init();
  s.setFocus(11);
  // Keys carry Windows-1252 bytes: ä, the euro sign, x.
  for (ui::KeyCode k : {ui::KeyCode{0xE4}, ui::KeyCode{0x80}, ui::KeyCode{'x'}}) EXPECT_TRUE(s.key(k));
  EXPECT_EQ(s.text(11), "\xC3\xA4\xE2\x82\xACx");
  EXPECT_TRUE(s.key(0xFC));  // the fourth character still fits
  s.key('y');               // the fifth does not
  EXPECT_EQ(s.text(11), "\xC3\xA4\xE2\x82\xACx\xC3\xBC");
  s.key(ui::key::kBackspace);  // a whole character goes
  s.key(ui::key::kBackspace);
  EXPECT_EQ(s.text(11), "\xC3\xA4\xE2\x82\xAC");
  s.type(11, "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F\xC3\xA9");  // five characters, ten bytes
  EXPECT_EQ(s.text(11), "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F");
}

TEST(FormState, DisabledControlsIgnorePressesAndFocus) {
  Recorder r;
  ui::FormState s(pickForm(), r);
  s.init();
  s.enable(12, false);
  s.press(12);
  EXPECT_FALSE(s.checked(12));
  EXPECT_TRUE(r.commands.empty());
  s.setFocus(11);
  s.key(ui::key::kTab);
  EXPECT_EQ(s.focus(), ui::kIdOkButton);  // skipped the disabled check box
  s.enable(12, true);
  s.press(12);
  EXPECT_TRUE(s.checked(12));
}

TEST(FormState, RadioGroupsHoldOneChoice) {
  struct None : ui::FormController {} none;
  ui::Form f;
  using K = ui::ControlKind;
  f.controls = {{21, K::Radio, "A"}, {22, K::Radio, "B"}, {23, K::Radio, "C"}, {24, K::Radio, "X"}};
  f.controls[0].groupStart = true;
  f.controls[3].groupStart = true;
  ui::FormState s(f, none);
  s.init();
  s.setChecked(24, true);
  s.press(21);
  s.press(23);
  EXPECT_FALSE(s.checked(21));
  EXPECT_TRUE(s.checked(23));
  EXPECT_TRUE(s.checked(24));  // another group
}

TEST(FormState, TimersRepeatUntilTheControllerEnds) {
  struct T : Recorder {
    void onInit(ui::FormView& v) override { v.startTimer(1001, 499); }
  } r;
  ui::FormState s(pickForm(), r);
  s.init();
  for (std::uint64_t t = 0; t <= 5000 && !s.ended(); t += 100) s.tick(t);
  EXPECT_EQ(r.timers.size(), 3u);
  EXPECT_EQ(s.result(), 7);
}

TEST(KeyQueue, HoldsFiveKeysAndDeliversCtrlEAsEscape) {
  ui::KeyQueue q;
  for (ui::KeyCode k = 1; k <= 6; ++k) q.push(static_cast<ui::KeyCode>(k + 'a'));
  EXPECT_EQ(q.count(), 5);
  for (ui::KeyCode k = 1; k <= 5; ++k) EXPECT_EQ(q.take(), k + 'a');
  EXPECT_EQ(q.take(), 0);
  q.push(5);
  EXPECT_EQ(q.peek(), ui::key::kEscape);
  EXPECT_EQ(q.take(), ui::key::kEscape);
}

TEST(KeyCodes, TableValues) {
  EXPECT_EQ(ui::key::function(7), 0x4100);
  EXPECT_EQ(ui::key::altFunction(10), 0x7100);
  EXPECT_EQ(ui::key::shiftFunction(12), 0x5D00);  // the same code as Shift+F10
  EXPECT_EQ(ui::key::ctrlFunction(11), 0x8900);
  EXPECT_EQ(ui::key::altLetter('e'), 0x1200);
  EXPECT_EQ(ui::key::altLetter('Z'), 0x2C00);
  EXPECT_EQ(ui::key::altLetter('1'), 0);
  EXPECT_EQ(ui::key::ctrlLetter('E'), 5);
}

}  // namespace

#include "support/scripted_host.hpp"
#include "ui/progress.hpp"

namespace {

TEST(Progress, TheWorkersResultEndsTheWindow) {
  testing_support::ScriptedHost host;
  int reports = 0;
  int result = ui::runWithProgress(host, {230, "Counting", "", ""}, [&](ui::Progress& p) {
    for (int i = 0; i <= 100; ++i) {
      p.report(i, "step " + std::to_string(i));
      ++reports;
    }
    return 42;
  });
  EXPECT_EQ(result, 42);
  EXPECT_EQ(reports, 101);
}

TEST(Progress, ReportsAreClampedAndCounted) {
  ui::Progress p;
  p.report(150, "x");
  EXPECT_EQ(p.snapshot().percent, 100);
  p.report(-3, "y");
  auto s = p.snapshot();
  EXPECT_EQ(s.percent, 0);
  EXPECT_EQ(s.line, "y");
  EXPECT_EQ(s.serial, 2u);
  EXPECT_FALSE(s.finished);
  p.finish(-100);
  EXPECT_TRUE(p.snapshot().finished);
  EXPECT_EQ(p.snapshot().result, -100);
}

}  // namespace
