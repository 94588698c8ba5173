// Who owns the boxes and dialogs the host shows: the main window's pop-up in
// front (a dialog, the edit window), so that closing a box gives that pop-up
// back instead of raising the main window over it; never the scroll window.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "ui/key_queue.hpp"
#include "ui/screen.hpp"
#include "edit_window.hpp"
#include "main_window_fixture.hpp"
#include "scroll_window.hpp"

namespace {

using win32_test::findDialogShowing;
using win32_test::findThreadWindow;

ui::Form plainForm(const char* caption) {
  ui::Form f;
  f.caption = caption;
  f.size = {0, 0, 160, 60};
  ui::Control cancel{ui::kIdCancelButton, ui::ControlKind::Button, "Cancel", {50, 30, 60, 14}};
  cancel.cancelButton = true;
  f.controls = {cancel};
  return f;
}

// Runs work once the dialog is on the screen (a dialog shows itself when its
// loop first finds the queue empty; its timer keeps turning until then), and
// ends with Cancel.
class WhenShown final : public ui::FormController {
 public:
  WhenShown(const wchar_t* caption, std::function<void(HWND)> work) : caption_(caption), work_(std::move(work)) {}
  void onInit(ui::FormView& view) override { view.startTimer(1, 1); }
  void onTimer(ui::FormView& view, int id) override {
    HWND dialog = findThreadWindow(L"#32770", caption_);
    if (id != 1 || !dialog || !IsWindowVisible(dialog)) return;
    view.stopTimer(1);
    work_(dialog);
  }
  void onCommand(ui::FormView& view, int id) override {
    if (id == ui::kIdCancelButton) view.end(0);
  }

 private:
  const wchar_t* caption_;
  std::function<void(HWND)> work_;
};

class HostOwnerTest : public win32_test::MainWindowFixture {
 protected:
  // Shows a box with text now and closes it from inside its own loop; the
  // box's owner.
  HWND ownerOfBox(const std::wstring& text) {
    HWND owner = nullptr;
    host_.post([&] {
      HWND box = findDialogShowing(text);
      ASSERT_NE(box, nullptr);
      owner = GetWindow(box, GW_OWNER);
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    std::string narrow(text.begin(), text.end());
    host_.messageBox(narrow, "Box", ui::kMbOk);
    return owner;
  }
};

TEST_F(HostOwnerTest, BoxOverADialogBelongsToTheDialogAndGivesItBack) {
  HWND dialog = nullptr, owner = nullptr, activeAfter = nullptr;
  WhenShown controller(L"Outer", [&](HWND shown) {
    dialog = shown;
    owner = ownerOfBox(L"Inner box");
    activeAfter = GetActiveWindow();
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  host_.runForm(plainForm("Outer"), controller);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(owner, dialog);
  EXPECT_EQ(activeAfter, dialog) << "the dialog is in front again, not the main window";
  EXPECT_FALSE(IsWindow(dialog));
}

TEST_F(HostOwnerTest, DialogOverADialogBelongsToItAndIsCentredOnTheMainWindow) {
  HWND outer = nullptr, innerOwner = nullptr;
  RECT inner{};
  WhenShown innerController(L"Inner", [&](HWND shown) {
    innerOwner = GetWindow(shown, GW_OWNER);
    GetWindowRect(shown, &inner);
    PostMessageW(shown, WM_COMMAND, IDCANCEL, 0);
  });
  WhenShown outerController(L"Outer", [&](HWND shown) {
    outer = shown;
    // Away from the main window's centre, so that centring on it shows.
    SetWindowPos(outer, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    host_.runForm(plainForm("Inner"), innerController);
    PostMessageW(outer, WM_COMMAND, IDCANCEL, 0);
  });
  host_.runForm(plainForm("Outer"), outerController);
  ASSERT_NE(outer, nullptr);
  EXPECT_EQ(innerOwner, outer);
  RECT main;
  GetWindowRect(main_, &main);
  EXPECT_LE(std::abs((inner.left + inner.right) / 2 - (main.left + main.right) / 2), 1);
  EXPECT_LE(std::abs((inner.top + inner.bottom) / 2 - (main.top + main.bottom) / 2), 1);
}

TEST_F(HostOwnerTest, BoxesBelongToTheEditWindowWhileItIsUpAndNeverToTheScrollWindow) {
  EXPECT_EQ(ownerOfBox(L"Plain"), main_);

  ui::Screen screen;
  ui::KeyQueue keys;
  ui::EditWindowSetup setup;
  setup.title = "edit";
  std::unique_ptr<ui::EditWindow> window = host_.openEditWindow(screen, keys, setup);
  ASSERT_NE(window, nullptr);
  HWND edit = frontend::findEditWindow();
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(ownerOfBox(L"Over the edit window"), edit);

  ASSERT_TRUE(host_.toggleScrollWindow("Help", {"line"}));
  HWND help = frontend::findScrollWindow("Help");
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(GetWindow(help, GW_OWNER), edit);  // closing it leaves the edit window in front
  EXPECT_NE(ownerOfBox(L"With the help open"), help);
  host_.toggleScrollWindow("Help", {});
  window.reset();
}

}  // namespace
