// Forms in the terminal: where controls fall, how they are drawn, what keys
// and clicks do to them, and the host's modal loop with real dialogs of the
// program driven by fed bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_terminal.hpp"
#include "platform/clock.hpp"
#include "platform/registry.hpp"
#include "screen_text.hpp"
#include "shell/passwords.hpp"
#include "shell/startup.hpp"
#include "support/fake_clock.hpp"
#include "support/install_root.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"
#include "tui/form_draw.hpp"
#include "tui/form_input.hpp"
#include "tui/form_layout.hpp"
#include "tui/terminal_host.hpp"
#include "ui/form_state.hpp"
#include "ui/pick_list.hpp"

namespace {

using namespace tui;
using tui_testing::FakeTerminal;
using tui_testing::find;
using tui_testing::has;
using tui_testing::rowText;
using K = ui::ControlKind;
namespace k = ui::key;

constexpr int kName = 10, kEntry = 11, kKeep = 12, kOne = 13, kTwo = 14, kList = 15, kDrop = 16, kBar = 17,
              kFrame = 18;

// A form with one control of every kind: 50 × 15 cells inside its frame.
ui::Form sampleForm() {
  ui::Form f;
  f.caption = "Sample";
  f.size = {0, 0, 200, 120};
  ui::Control entry{kEntry, K::Edit, "", {52, 8, 80, 12}};
  entry.limit = 10;
  ui::Control one{kOne, K::Radio, "&One", {8, 36, 60, 10}};
  one.groupStart = true;
  ui::Control ok{ui::kIdOkButton, K::Button, "OK", {40, 100, 50, 14}};
  ok.defaultButton = true;
  ui::Control cancel{ui::kIdCancelButton, K::Button, "Cancel", {110, 100, 50, 14}};
  cancel.cancelButton = true;
  f.controls = {{kName, K::Static, "&Name:", {8, 8, 40, 10}},
                entry,
                {kKeep, K::CheckBox, "&Keep", {8, 24, 60, 10}},
                one,
                {kTwo, K::Radio, "&Two", {72, 36, 60, 10}},
                {kList, K::ListBox, "", {8, 50, 80, 32}},
                {kDrop, K::DropDown, "", {100, 50, 80, 60}},
                {kBar, K::Progress, "", {100, 70, 80, 10}},
                {kFrame, K::Group, "&Frame", {96, 84, 100, 20}},
                ok,
                cancel};
  return f;
}

struct Recorder : ui::FormController {
  std::vector<int> commands, doubleClicks;
  void onInit(ui::FormView& v) override {
    std::vector<std::string> items;
    for (int i = 0; i < 10; ++i) items.push_back("item" + std::to_string(i));
    v.setItems(kList, items);
    v.setItems(kDrop, {"red", "green", "blue"});
    v.setSelection(kDrop, 0);
  }
  void onCommand(ui::FormView& v, int id) override {
    commands.push_back(id);
    ui::FormController::onCommand(v, id);
  }
  void onDoubleClick(ui::FormView&, int id) override { doubleClicks.push_back(id); }
};

// A form shown without a host: state, input and what a 30 × 100 screen shows.
struct Shown {
  ui::Form form = sampleForm();
  Recorder controller;
  ui::FormState state{form, controller};
  FormInput input{state};
  FormLayout layout = layoutForm(form, 30, 100);
  CellGrid grid{30, 100};
  CursorState cursor;

  Shown() {
    state.init();
    draw();
  }
  void draw() {
    input.follow(layout);
    grid = CellGrid(30, 100);
    cursor = drawForm(grid, layout, state, input);
  }
  const CellRect& rect(int id) {
    for (std::size_t i = 0; i < form.controls.size(); ++i)
      if (form.controls[i].id == id) return layout.controls[i];
    ADD_FAILURE() << "no control " << id;
    return layout.box;
  }
  void event(InputEvent e) {
    input.onEvent(e, layout);
    draw();
  }
  void key(ui::KeyCode key) { event({key}); }
  void click(int row, int col, ui::KeyCode how = k::kMouseClick) { event({how, row, col}); }
};

TEST(FormLayout, DialogUnitsBecomeCellsInACentredFrame) {
  FormLayout l = layoutForm(sampleForm(), 30, 100);
  EXPECT_EQ(l.box, (CellRect{7, 25, 17, 52}));  // 50 × 15 inside, frame around, centred
  const int top = l.box.row + 1, left = l.box.col + 1;
  EXPECT_EQ(l.controls[0], (CellRect{top + 1, left + 2, 1, 10}));   // the text: its middle row
  EXPECT_EQ(l.controls[1], (CellRect{top + 1, left + 13, 1, 20}));  // the edit beside it
  EXPECT_EQ(l.controls[5], (CellRect{top + 6, left + 2, 4, 20}));   // the list covers its rows
  EXPECT_EQ(l.controls[6].rows, 1);                                 // a closed drop-down is one row
  EXPECT_EQ(l.controls[6].row, top + 7);
  EXPECT_EQ(l.controls[9].row, top + 13);  // the buttons
  EXPECT_EQ(l.controls[10].row, top + 13);
}

TEST(FormLayout, ClippedToASmallScreen) {
  for (auto [rows, cols] : {std::pair{10, 30}, {5, 12}, {1, 1}}) {
    FormLayout l = layoutForm(sampleForm(), rows, cols);
    EXPECT_GE(l.box.row, 1);
    EXPECT_GE(l.box.col, 1);
    EXPECT_LE(l.box.bottom(), rows);
    EXPECT_LE(l.box.right(), cols);
    for (const CellRect& r : l.controls) {
      EXPECT_GE(r.rows, 1);
      EXPECT_GE(r.cols, 1);
      EXPECT_LE(r.bottom(), std::max(l.box.bottom() - 1, l.box.row + 1));
      EXPECT_LE(r.right(), std::max(l.box.right() - 1, l.box.col + 1));
    }
    CellGrid grid(rows, cols);
    Recorder c;
    ui::Form f = sampleForm();
    ui::FormState s(f, c);
    s.init();
    FormInput in(s);
    drawForm(grid, l, s, in);  // stays inside the grid
  }
}

TEST(FormDraw, CaptionControlsAndMarks) {
  Shown f;
  EXPECT_TRUE(has(f.grid, " Sample "));
  EXPECT_EQ(find(f.grid, " Sample ").row, f.layout.box.row);
  EXPECT_TRUE(has(f.grid, "Name:"));
  EXPECT_TRUE(has(f.grid, "[ ] Keep"));
  EXPECT_TRUE(has(f.grid, "( ) One"));
  EXPECT_TRUE(has(f.grid, "<< OK >>"));
  EXPECT_TRUE(has(f.grid, "< Cancel >"));
  EXPECT_TRUE(has(f.grid, " Frame "));
  EXPECT_TRUE(has(f.grid, "red"));
  EXPECT_TRUE(has(f.grid, "0%"));
  // Access letters are underlined, the "&" is not shown.
  auto name = find(f.grid, "Name:");
  EXPECT_TRUE(f.grid.at(name.row, name.col).attr & kAttrUnderline);
  EXPECT_FALSE(f.grid.at(name.row, name.col + 1).attr & kAttrUnderline);
  EXPECT_FALSE(has(f.grid, "&"));

  f.state.setChecked(kKeep, true);
  f.state.setChecked(kTwo, true);
  f.state.setProgress(kBar, 42);
  f.draw();
  EXPECT_TRUE(has(f.grid, "[x] Keep"));
  EXPECT_TRUE(has(f.grid, "(*) Two"));
  EXPECT_TRUE(has(f.grid, "( ) One"));
  EXPECT_TRUE(has(f.grid, "42%"));
  // 42% of the 20-cell bar is filled.
  const CellRect& bar = f.rect(kBar);
  EXPECT_EQ(f.grid.at(bar.row, bar.col + 7).bg, focusPaper());
  EXPECT_EQ(f.grid.at(bar.row, bar.col + 8).bg, fieldPaper());
}

TEST(FormDraw, EditShowsItsTextAndTheCursorAtItsEnd) {
  Shown f;
  ASSERT_EQ(f.state.focus(), kEntry);  // the first control that takes the focus
  for (char c : std::string("abc")) f.key(static_cast<ui::KeyCode>(c));
  const CellRect& r = f.rect(kEntry);
  EXPECT_EQ(find(f.grid, "abc").row, r.row);
  EXPECT_EQ(find(f.grid, "abc").col, r.col);
  EXPECT_EQ(f.grid.at(r.row, r.col).bg, fieldPaper());
  EXPECT_TRUE(f.cursor.visible);
  EXPECT_EQ(f.cursor.row, r.row);
  EXPECT_EQ(f.cursor.col, r.col + 3);
  f.key(k::kTab);
  EXPECT_FALSE(f.cursor.visible);  // the focus left the edit
}

TEST(FormDraw, PasswordEditsShowStarsAndLongTextsShowTheirEnd) {
  ui::Form form;
  form.caption = "P";
  form.size = {0, 0, 100, 30};
  ui::Control pw{1, K::Edit, "", {0, 0, 40, 12}};  // 10 cells
  pw.password = true;
  ui::Control plain{2, K::Edit, "", {0, 16, 40, 12}};
  form.controls = {pw, plain};
  ui::FormController c;
  ui::FormState s(form, c);
  s.init();
  s.setText(1, "secret");
  s.setText(2, "abcdefghijklmnop");
  FormInput in(s);
  FormLayout l = layoutForm(form, 30, 100);
  CellGrid g(30, 100);
  drawForm(g, l, s, in);
  EXPECT_TRUE(has(g, "******"));
  EXPECT_FALSE(has(g, "secret"));
  EXPECT_TRUE(has(g, "ghijklmnop"));  // not focused: the last ten
  s.setFocus(2);
  CursorState cur = drawForm(g, l, s, in);
  EXPECT_TRUE(has(g, "hijklmnop"));  // focused: a cell left for the cursor
  EXPECT_EQ(cur.col, l.controls[1].col + 9);
}

TEST(FormDraw, FocusedButtonAndSelectedEntryAreHighlighted) {
  Shown f;
  f.state.setFocus(ui::kIdCancelButton);
  f.draw();
  auto cancel = find(f.grid, "< Cancel >");
  auto ok = find(f.grid, "<< OK >>");
  EXPECT_EQ(f.grid.at(cancel.row, cancel.col).bg, focusPaper());
  EXPECT_EQ(f.grid.at(ok.row, ok.col).bg, dialogPaper());
  EXPECT_TRUE(f.grid.at(ok.row, ok.col).attr & kAttrBold);  // the default button

  f.state.setSelection(kList, 7);
  f.state.setFocus(kList);
  f.draw();
  const CellRect& list = f.rect(kList);
  // Four rows show; the selection scrolled into the last of them.
  EXPECT_EQ(f.input.listTop(kList), 4);
  EXPECT_NE(rowText(f.grid, list.row).find("item4"), std::string::npos);
  EXPECT_NE(rowText(f.grid, list.bottom()).find("item7"), std::string::npos);
  EXPECT_EQ(f.grid.at(list.bottom(), list.col).bg, focusPaper());
  EXPECT_EQ(f.grid.at(list.row, list.col).bg, fieldPaper());
  // Scroll marks in the last column: more above and below.
  EXPECT_EQ(f.grid.at(list.row, list.right()).ch, U'\u25B2');
  EXPECT_EQ(f.grid.at(list.bottom(), list.right()).ch, U'\u25BC');
  // Moving up into the shown rows does not scroll.
  f.key(k::kUp);
  EXPECT_EQ(f.state.selection(kList), 6);
  EXPECT_EQ(f.input.listTop(kList), 4);
  f.state.setSelection(kList, 1);
  f.draw();
  EXPECT_EQ(f.input.listTop(kList), 1);
}

TEST(FormDraw, DisabledControlsAreDimmed) {
  Shown f;
  f.state.enable(kKeep, false);
  f.draw();
  auto keep = find(f.grid, "Keep");
  EXPECT_EQ(f.grid.at(keep.row, keep.col).fg, dimInk());
  f.click(keep.row, keep.col);
  EXPECT_FALSE(f.state.checked(kKeep));  // and do nothing
}

TEST(ButtonFace, NarrowerFormsWhenTheLabelDoesNotFit) {
  EXPECT_EQ(buttonFace(U"OK", false, 12), U"< OK >");
  EXPECT_EQ(buttonFace(U"OK", true, 12), U"<< OK >>");
  EXPECT_EQ(buttonFace(U"Load From Removable Storage", false, 30), U"<Load From Removable Storage>");
  EXPECT_EQ(buttonFace(U"Cancel", false, 6), U"Cancel");
  EXPECT_EQ(buttonFace(U"Cancel", false, 3), U"Can");
}

TEST(FormInput, AccessLettersPressAndFocus) {
  Shown f;
  f.key(k::altLetter('k'));
  EXPECT_TRUE(f.state.checked(kKeep));
  EXPECT_EQ(f.controller.commands, std::vector<int>{kKeep});
  f.key(k::altLetter('t'));
  EXPECT_TRUE(f.state.checked(kTwo));
  // A text's letter puts the focus on the control after it.
  f.state.setFocus(ui::kIdCancelButton);
  f.key(k::altLetter('n'));
  EXPECT_EQ(f.state.focus(), kEntry);
  // In an edit a plain letter is typed; elsewhere it picks its control.
  f.key('k');
  EXPECT_EQ(f.state.text(kEntry), "k");
  EXPECT_TRUE(f.state.checked(kKeep));
  f.state.setFocus(ui::kIdOkButton);
  f.key('k');
  EXPECT_FALSE(f.state.checked(kKeep));
  f.key(k::altLetter('q'));  // nobody's letter
  EXPECT_FALSE(f.state.ended());
}

TEST(FormInput, ClicksPressFocusAndSelect) {
  Shown f;
  const CellRect& keep = f.rect(kKeep);
  f.click(keep.row, keep.col);
  EXPECT_TRUE(f.state.checked(kKeep));
  EXPECT_EQ(f.state.focus(), kKeep);
  const CellRect& entry = f.rect(kEntry);
  f.click(entry.row, entry.col + 5);
  EXPECT_EQ(f.state.focus(), kEntry);
  const CellRect& list = f.rect(kList);
  f.click(list.row + 2, list.col + 1);
  EXPECT_EQ(f.state.selection(kList), 2);
  EXPECT_TRUE(f.controller.doubleClicks.empty());
  f.click(list.row + 3, list.col + 1, k::kMouseDoubleClick);
  EXPECT_EQ(f.state.selection(kList), 3);
  EXPECT_EQ(f.controller.doubleClicks, std::vector<int>{kList});
  // The scroll mark below scrolls without moving the selection.
  f.click(list.bottom(), list.right());
  EXPECT_EQ(f.input.listTop(kList), 1);
  EXPECT_EQ(f.state.selection(kList), 3);
  // A click on nothing changes nothing; a click on Cancel ends the form.
  f.click(f.layout.box.row + 1, f.layout.box.right() - 1);
  EXPECT_FALSE(f.state.ended());
  auto cancel = find(f.grid, "< Cancel >");
  f.click(cancel.row, cancel.col + 3);
  EXPECT_TRUE(f.state.ended());
  EXPECT_EQ(f.state.result(), 0);
}

TEST(FormInput, DropDownOpensWithF4OrAltDown) {
  Shown f;
  f.state.setFocus(kDrop);
  f.key(k::kF4);
  ASSERT_EQ(f.input.openList(), kDrop);
  CellRect pop = f.input.popup(f.layout);
  EXPECT_EQ(pop.row, f.rect(kDrop).row + 1);
  EXPECT_EQ(pop.rows, 3);
  EXPECT_TRUE(has(f.grid, "green"));
  f.key(k::kDown);
  f.key(k::kDown);
  EXPECT_EQ(f.state.selection(kDrop), 0);  // only the highlight moves
  f.key(k::kEnter);
  EXPECT_EQ(f.input.openList(), 0);
  EXPECT_EQ(f.state.selection(kDrop), 2);
  EXPECT_FALSE(f.state.ended());  // Enter took the entry, not the form

  f.event({k::kDown, 0, 0, true});  // Alt+Down
  ASSERT_EQ(f.input.openList(), kDrop);
  f.key(k::kUp);
  f.key(k::kEscape);  // closes the list only
  EXPECT_EQ(f.input.openList(), 0);
  EXPECT_EQ(f.state.selection(kDrop), 2);
  EXPECT_FALSE(f.state.ended());

  f.key(k::kF4);
  f.click(pop.row + 1, pop.col + 1);  // "green"
  EXPECT_EQ(f.input.openList(), 0);
  EXPECT_EQ(f.state.selection(kDrop), 1);
  // Closed, Down moves the selection as a list does.
  f.key(k::kDown);
  EXPECT_EQ(f.state.selection(kDrop), 2);
}

TEST(FormInput, ClickOnAClosedDropDownOpensIt) {
  Shown f;
  const CellRect& drop = f.rect(kDrop);
  f.click(drop.row, drop.right());
  EXPECT_EQ(f.input.openList(), kDrop);
  EXPECT_EQ(f.state.focus(), kDrop);
  f.click(1, 1);  // outside: closes without a change
  EXPECT_EQ(f.input.openList(), 0);
  EXPECT_EQ(f.state.selection(kDrop), 0);
}

// --- The host's modal loop ---------------------------------------------------

class HostForms : public ::testing::Test {
 protected:
  testing_support::FakeClock clock;
  platform::ScopedClock useClock{clock};
  FakeTerminal term{clock};
  TerminalHost host{term};
};

TEST_F(HostForms, KeysFillTheFormAndEnterTakesIt) {
  term.input = {"abc", "\t", " ", "\r"};  // type, Tab to the check box, Space, Enter
  ui::Form form = sampleForm();
  std::string typed;
  struct Reader : Recorder {
    std::string* out;
    void onCommand(ui::FormView& v, int id) override {
      if (id == ui::kIdOkButton) *out = v.text(kEntry) + (v.checked(kKeep) ? "+keep" : "");
      Recorder::onCommand(v, id);
    }
  } reader;
  reader.out = &typed;
  EXPECT_EQ(host.runForm(form, reader), 1);
  EXPECT_EQ(typed, "abc+keep");
  EXPECT_NE(term.output.find("Sample"), std::string::npos);
}

TEST_F(HostForms, TypedNonAsciiLettersReachTheFormAsUtf8) {
  term.input = {"gr\xC3\xBC\xC3\x9F \xE2\x82\xAC" "5", "", "\r"};
  bool shown = false;
  term.onRead = [&] { shown = shown || has(host.picture(), "gr\xC3\xBC\xC3\x9F \xE2\x82\xAC" "5"); };
  struct Reader : Recorder {
    std::string typed;
    void onCommand(ui::FormView& v, int id) override {
      if (id == ui::kIdOkButton) typed = v.text(kEntry);
      Recorder::onCommand(v, id);
    }
  } reader;
  ui::Form form = sampleForm();
  EXPECT_EQ(host.runForm(form, reader), 1);
  EXPECT_EQ(reader.typed, "gr\xC3\xBC\xC3\x9F \xE2\x82\xAC" "5");
  EXPECT_TRUE(shown);
}

TEST_F(HostForms, TheBoxIsGoneAfterwardsAndInputEndCancels) {
  host.setPainter([](CellGrid& g) { g.fill(Cell{U'.', paletteRgb(kWhite), kMainBackground, kAttrNone}); });
  Recorder c;
  term.input = {"x"};
  ui::Form form = sampleForm();
  EXPECT_EQ(host.runForm(form, c), 0);  // the input ended: as if cancelled
  EXPECT_TRUE(c.commands.empty());      // without asking the controller
  EXPECT_FALSE(has(host.picture(), "Sample"));
  EXPECT_EQ(host.picture().at(15, 50).ch, U'.');
}

TEST_F(HostForms, TimersRunOnThePlatformClockWhileTheFormWaits) {
  struct Ticker : ui::FormController {
    std::vector<std::uint64_t> at;
    platform::Clock* clock;
    void onInit(ui::FormView& v) override { v.startTimer(7, 499); }
    void onTimer(ui::FormView& v, int id) override {
      at.push_back(clock->ticks());
      if (at.size() == 3) v.end(5);
    }
  } t;
  t.clock = &clock;
  clock.advance(10000);
  const std::uint64_t start = clock.ticks();
  term.input.assign(400, "");  // each empty read is a 10 ms poll
  ui::Form form = sampleForm();
  EXPECT_EQ(host.runForm(form, t), 5);
  ASSERT_EQ(t.at.size(), 3u);
  EXPECT_GE(t.at[0] - start, 499u);
  EXPECT_LT(t.at[0] - start, 499u + 2 * TerminalHost::kPollMs);
  EXPECT_GE(t.at[2] - t.at[1], 499u);
}

TEST_F(HostForms, MessageBoxAndNestedFormOverAForm) {
  struct Outer : ui::FormController {
    ui::Host* host;
    int inner = -1;
    void onCommand(ui::FormView& v, int id) override {
      if (id == kKeep) {
        ui::inform(*host, "Inner message", "Note");
        ui::FormController plain;
        ui::Form f;
        f.caption = "Inner";
        f.size = {0, 0, 80, 40};
        ui::Control ok{ui::kIdOkButton, K::Button, "OK", {10, 20, 40, 14}};
        ok.defaultButton = true;
        f.controls = {ok};
        inner = host->runForm(f, plain);
        return;
      }
      ui::FormController::onCommand(v, id);
    }
  } outer;
  outer.host = &host;
  bool sawBoth = false;
  // Alt+K, OK the box, OK the inner form, then Escape and the wait that makes it one.
  term.input = {"\x1b[107;3u", "", "\r", "", "\r", "\x1b"};
  for (int i = 0; i < 12; ++i) term.input.push_back("");
  int reads = 0;
  term.onRead = [&] {
    if (++reads == 2) {
      CellGrid g = host.picture();
      sawBoth = has(g, "Inner message") && has(g, " Sample ");
    }
  };
  ui::Form form = sampleForm();
  EXPECT_EQ(host.runForm(form, outer), 0);
  EXPECT_TRUE(sawBoth);
  EXPECT_EQ(outer.inner, 1);
}

// The program's own dialogs, filled in through keys.
class HostDialogs : public HostForms {
 protected:
  testing_support::TempDir dir;
  std::unique_ptr<platform::Registry> reg = platform::makeFileRegistry(dir.file("registry"));
  platform::ScopedRegistry useRegistry{*reg};
  shell::StartupValues v;

  void SetUp() override {
    testing_support::makeInstallRoot(v, dir);
    testing_support::ScriptedHost quiet;
    quiet.allowAnything();
    config::DefaultPaths d{v.installRoot, v.appPath, v.dataPath};
    config::loadSettings(quiet, v.installRoot, d, v.settings, v.style.sep);
  }
  std::string storedPassword2() {
    std::string bytes = testing_support::readBytes(dir.file("tfp_mobilePC.dft"));
    if (bytes.size() < 8652 + 16) return "<short file>";
    std::string p = bytes.substr(8652, 16);
    return p.substr(0, p.find('\0'));
  }
};

TEST_F(HostDialogs, PasswordChangeThroughKeys) {
  // New password, Tab, the same again, Enter; Enter for "PassWord Level 2 Set".
  term.input = {"secret7", "\t", "secret7", "\r", "\r"};
  bool sawSet = false;
  term.onRead = [&] { sawSet = sawSet || has(host.picture(), "PassWord Level 2 Set"); };
  shell::changePassword(host, v, 2);
  EXPECT_TRUE(sawSet);
  EXPECT_EQ(storedPassword2(), "secret7");
  EXPECT_TRUE(term.input.empty());
}

TEST_F(HostDialogs, MismatchKeepsTheDialogOpenForAnotherTry) {
  // "abd" against "abc": the box, then Backspace and the right letter.
  term.input = {"abc\tabd", "\r", "\r", "\x7f", "c", "\r", "\r"};
  int reads = 0;
  bool sawStars = false, sawMismatch = false;
  term.onRead = [&] {
    CellGrid g = host.picture();
    if (++reads == 2) sawStars = has(g, "***");
    sawMismatch = sawMismatch || has(g, "PassWord Do Not Match");
  };
  shell::changePassword(host, v, 2);
  EXPECT_TRUE(sawStars);
  EXPECT_TRUE(sawMismatch);
  EXPECT_EQ(storedPassword2(), "abc");
}

TEST_F(HostDialogs, TypedNonAsciiPasswordsAreStoredAsAnsiText) {
  // "äbc€" as the terminal sends it (UTF-8) is stored as Windows-1252 bytes.
  term.input = {"\xC3\xA4" "bc\xE2\x82\xAC", "\t", "\xC3\xA4" "bc\xE2\x82\xAC", "\r", "\r"};
  shell::changePassword(host, v, 2);
  EXPECT_EQ(storedPassword2(), "\xE4" "bc\x80");
  EXPECT_TRUE(term.input.empty());

  // Four Backspaces take the shown password away; then fourteen "ö": the
  // entry takes twelve characters and eleven are read.
  std::string many = "\x7f\x7f\x7f\x7f";
  for (int i = 0; i < 14; ++i) many += "\xC3\xB6";
  term.input = {many, "\t", many, "\r", "\r"};
  shell::changePassword(host, v, 2);
  EXPECT_EQ(storedPassword2(), std::string(11, '\xF6'));
}

TEST_F(HostDialogs, PickListSelectionByTypedLetters) {
  ui::PickListTexts texts{"Messages", "< Available Messages >", "< Press OK to Select >"};
  std::vector<std::string> names = {"alpha.mes", "beta.mes", "bravo.mes", "charlie.mes"};
  term.input = {"b", "b", "\r"};
  EXPECT_EQ(ui::runPickList(host, texts, names), 2);  // bravo
  term.input = {"c", "b", "\r"};  // wraps past the end to beta
  EXPECT_EQ(ui::runPickList(host, texts, names), 1);
  term.input = {"\x1b"};
  for (int i = 0; i < 12; ++i) term.input.push_back("");  // the Escape time-out in 10 ms polls
  EXPECT_EQ(ui::runPickList(host, texts, names), -1);
  EXPECT_FALSE(host.inputEnded());
}

TEST_F(HostDialogs, PickListDoubleClickTakesTheEntry) {
  ui::PickListTexts texts{"Messages", "< Available Messages >", "< Press OK to Select >"};
  std::vector<std::string> names = {"alpha.mes", "beta.mes", "bravo.mes"};
  FormLayout l = layoutForm(ui::pickListForm(texts, names), term.rows, term.cols);
  const CellRect& list = l.controls[0];
  // The third candidate is row 3 of the list (the title entry is row 0).
  std::string at = std::to_string(list.col + 2) + ";" + std::to_string(list.row + 3);
  std::string press = "\x1b[<0;" + at + "M", release = "\x1b[<0;" + at + "m";
  term.input = {press, release, press, release};
  EXPECT_EQ(ui::runPickList(host, texts, names), 2);
}

}  // namespace
