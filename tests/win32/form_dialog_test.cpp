// Forms through the real Win32 dialog: built from the form, driven by posted
// keyboard messages, answered through the controller; the choice dialogs of
// the command bar with their enable states, centred on the main window.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/choice_dialogs.hpp"
#include "ui/pick_list.hpp"
#include "win32_host.hpp"
#include "win32_test_support.hpp"

namespace {

using win32_test::findThreadWindow;

constexpr int kEntry = 201, kKeep = 202, kList = 203;

ui::Form roundTripForm() {
  using K = ui::ControlKind;
  ui::Form f;
  f.caption = "Round trip";
  f.size = {0, 0, 200, 120};
  ui::Control entry{kEntry, K::Edit, "", {8, 8, 100, 12}};
  entry.limit = 5;
  ui::Control keep{kKeep, K::CheckBox, "Keep", {8, 26, 100, 12}};
  ui::Control list{kList, K::ListBox, "", {8, 42, 100, 48}};
  ui::Control ok{ui::kIdOkButton, K::Button, "OK", {120, 8, 50, 14}};
  ok.defaultButton = true;
  ui::Control cancel{ui::kIdCancelButton, K::Button, "Cancel", {120, 26, 50, 14}};
  cancel.cancelButton = true;
  f.controls = {entry, keep, list, ok, cancel};
  f.firstFocus = kEntry;
  return f;
}

// Records what the dialog held when OK or Cancel ended it.
class RoundTrip final : public ui::FormController {
 public:
  void onInit(ui::FormView& view) override {
    view.setText(kEntry, "ab");
    view.setItems(kList, {"alpha", "beta", "gamma", "delta"});
    view.setSelection(kList, 0);
  }
  void onCommand(ui::FormView& view, int id) override {
    if (id == kKeep) ++keepClicks;
    if (id != ui::kIdOkButton && id != ui::kIdCancelButton) return;
    ended = id;
    text = view.text(kEntry);
    keep = view.checked(kKeep);
    selection = view.selection(kList);
    view.end(id == ui::kIdOkButton ? 7 : 0);
  }
  void onSelectionChange(ui::FormView& view, int id) override {
    if (id == kList) ++selectionChanges;
  }

  int ended = 0, keepClicks = 0, selectionChanges = 0, selection = -1;
  std::string text;
  bool keep = false;
};

class EndWithButton final : public ui::FormController {
 public:
  void onCommand(ui::FormView& view, int id) override { view.end(id == ui::kIdCancelButton ? 0 : id); }
};

class FormDialog : public testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_WINDOWS();
    owner_ = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 100, 80, 800, 600,
                             nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner_, nullptr);
    host_.setMainWindow(owner_);
  }
  void TearDown() override {
    if (owner_) DestroyWindow(owner_);
    EXPECT_FALSE(watchdog_.fired()) << "a dialog had to be closed by the watchdog";
  }

  frontend::Win32Host host_{GetModuleHandleW(nullptr)};
  HWND owner_ = nullptr;
  win32_test::Watchdog watchdog_;
};

TEST_F(FormDialog, RoundTripDrivenByKeys) {
  RoundTrip controller;
  bool driven = false;
  host_.post([&] {
    HWND d = findThreadWindow(L"#32770", L"Round trip");
    ASSERT_NE(d, nullptr);
    driven = true;
    HWND entry = GetDlgItem(d, kEntry), keep = GetDlgItem(d, kKeep), list = GetDlgItem(d, kList);
    // End of the entry, then four more characters: the limit keeps one out.
    PostMessageW(entry, WM_KEYDOWN, VK_END, 0);
    for (wchar_t c : std::wstring(L"cdef")) PostMessageW(entry, WM_CHAR, c, 0);
    // Space on the check box clicks it.
    PostMessageW(keep, WM_KEYDOWN, VK_SPACE, 0);
    PostMessageW(keep, WM_KEYUP, VK_SPACE, 0xC0000001);
    // The shared list keys: a letter, Up, the wheel back, then Enter takes it.
    PostMessageW(list, WM_CHAR, L'g', 0);
    PostMessageW(list, WM_KEYDOWN, VK_UP, 0);
    PostMessageW(list, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    PostMessageW(list, WM_KEYDOWN, VK_RETURN, 0);
  });
  int result = host_.runForm(roundTripForm(), controller);
  ASSERT_TRUE(driven);
  EXPECT_EQ(result, 7);
  EXPECT_EQ(controller.ended, ui::kIdOkButton);
  EXPECT_EQ(controller.text, "abcde");
  EXPECT_TRUE(controller.keep);
  EXPECT_EQ(controller.keepClicks, 1);
  EXPECT_EQ(controller.selection, 2);  // g: gamma, Up: beta, wheel back: gamma
  EXPECT_EQ(controller.selectionChanges, 3);
  EXPECT_EQ(findThreadWindow(L"#32770", L"Round trip"), nullptr);
}

TEST_F(FormDialog, EscapeInAnEntryPressesTheCancelButton) {
  RoundTrip controller;
  host_.post([&] {
    HWND d = findThreadWindow(L"#32770", L"Round trip");
    ASSERT_NE(d, nullptr);
    PostMessageW(GetDlgItem(d, kEntry), WM_CHAR, L'x', 0);
    PostMessageW(GetDlgItem(d, kEntry), WM_KEYDOWN, VK_ESCAPE, 0);
  });
  EXPECT_EQ(host_.runForm(roundTripForm(), controller), 0);
  EXPECT_EQ(controller.ended, ui::kIdCancelButton);
}

// A form that ends with -1 (a pick list cancelled) returns -1, not the 0
// that would pick its first entry.
TEST_F(FormDialog, EscapeInAPickListReturnsMinusOne) {
  const std::vector<std::string> names{"first.tfa", "second.tfa"};
  host_.post([&] {
    HWND d = findThreadWindow(L"#32770", L"Pick");
    ASSERT_NE(d, nullptr);
    PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  });
  EXPECT_EQ(ui::runPickList(host_, {"Pick", "< Names >", "< Enter to Select >"}, names), -1);
}

// Runs a choice dialog; checks every control's enable state against the
// form and the dialog's centre against the owner's, then presses Enter when
// press is the button with the focus, Escape when press is 0.
int runChoiceChecked(frontend::Win32Host& host, HWND owner, shell::Choice which, int press) {
  ui::Form form = shell::choiceForm(which, false);
  EndWithButton controller;
  int checkedControls = 0;
  host.post([&] {
    HWND d = findThreadWindow(L"#32770", std::wstring(form.caption.begin(), form.caption.end()).c_str());
    ASSERT_NE(d, nullptr) << form.caption;
    for (const ui::Control& c : form.controls) {
      HWND item = GetDlgItem(d, c.id);
      ASSERT_NE(item, nullptr) << c.id;
      EXPECT_EQ(IsWindowEnabled(item) != FALSE, c.enabled) << form.caption << " button " << c.id;
      ++checkedControls;
    }
    RECT dr, orc;
    GetWindowRect(d, &dr);
    GetWindowRect(owner, &orc);
    EXPECT_NEAR((dr.left + dr.right) / 2, (orc.left + orc.right) / 2, 1);
    EXPECT_NEAR((dr.top + dr.bottom) / 2, (orc.top + orc.bottom) / 2, 1);
    if (press) {
      HWND focus = GetFocus();
      ASSERT_EQ(focus, GetDlgItem(d, press)) << "the focus is not on button " << press;
      PostMessageW(focus, WM_KEYDOWN, VK_RETURN, 0);
    } else {
      PostMessageW(GetDlgItem(d, ui::kIdCancelButton), WM_KEYDOWN, VK_ESCAPE, 0);
    }
  });
  int result = host.runForm(form, controller);
  EXPECT_EQ(checkedControls, static_cast<int>(form.controls.size()));
  return result;
}

TEST_F(FormDialog, ChoiceDialogsShowTheFormsEnableStatesCentredOnTheMainWindow) {
  // Every command of the bar is built now, so every button is enabled;
  // runChoiceChecked holds the dialog to each control's state either way.
  EXPECT_EQ(runChoiceChecked(host_, owner_, shell::Choice::Data, 0), 0);
  // The first button has the focus, and Enter presses it.
  EXPECT_EQ(runChoiceChecked(host_, owner_, shell::Choice::Helps, 1302), 1302);
}

}  // namespace
