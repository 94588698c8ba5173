#include "form_dialog.hpp"

#include <commctrl.h>

#include <string>
#include <vector>

#include "platform/win32/wide.hpp"
#include "ui/keys.hpp"

namespace frontend {

namespace {

using platform::win32::fromUtf16;
using platform::win32::toUtf16;

// ---- The in-memory dialog template -------------------------------------

class TemplateWriter {
 public:
  void word(WORD w) { data_.push_back(w); }
  void dword(DWORD d) {
    word(LOWORD(d));
    word(HIWORD(d));
  }
  void text(const std::wstring& s) {
    for (wchar_t c : s) word(static_cast<WORD>(c));
    word(0);
  }
  void alignDword() {
    if (data_.size() % 2) word(0);
  }
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(data_.data()); }

 private:
  std::vector<WORD> data_;  // WORD steps; the vector's storage is DWORD aligned
};

short units(int v) { return static_cast<short>(v < 0 ? 0 : (v > 0x7FFF ? 0x7FFF : v)); }

// The predefined class atoms of the dialog manager.
constexpr WORD kButtonAtom = 0x0080, kEditAtom = 0x0081, kStaticAtom = 0x0082,
               kListBoxAtom = 0x0083, kComboBoxAtom = 0x0085;

void writeControl(TemplateWriter& t, const ui::Control& c) {
  DWORD style = WS_CHILD;
  // Each control but a radio button inside its run starts a group of its own,
  // so the arrow keys move only within a run of radio buttons.
  if (c.kind != ui::ControlKind::Radio) style |= WS_GROUP;
  if (c.visible) style |= WS_VISIBLE;
  if (!c.enabled) style |= WS_DISABLED;
  WORD atom = 0;
  const wchar_t* className = nullptr;
  int height = c.rect.height;
  switch (c.kind) {
    case ui::ControlKind::Static:
      atom = kStaticAtom;
      style |= c.centred ? SS_CENTER : SS_LEFT;
      break;
    case ui::ControlKind::Edit:
      atom = kEditAtom;
      style |= WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
      if (c.numberOnly) style |= ES_NUMBER;
      if (c.password) style |= ES_PASSWORD;
      if (c.readOnly) style |= ES_READONLY;
      break;
    case ui::ControlKind::CheckBox:
      atom = kButtonAtom;
      style |= BS_AUTOCHECKBOX | WS_TABSTOP;
      break;
    case ui::ControlKind::Radio:
      atom = kButtonAtom;
      style |= BS_AUTORADIOBUTTON;
      if (c.groupStart) style |= WS_GROUP | WS_TABSTOP;
      break;
    case ui::ControlKind::ListBox:
      atom = kListBoxAtom;
      style |= WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
      break;
    case ui::ControlKind::DropDown:
      atom = kComboBoxAtom;
      style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
      height += 96;  // a combo box's height includes its dropped list
      break;
    case ui::ControlKind::Button:
      atom = kButtonAtom;
      style |= (c.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP;
      break;
    case ui::ControlKind::Progress:
      className = PROGRESS_CLASSW;
      break;
    case ui::ControlKind::Group:
      atom = kButtonAtom;
      style |= BS_GROUPBOX;
      break;
  }
  t.alignDword();
  t.dword(style);
  t.dword(0);
  t.word(static_cast<WORD>(units(c.rect.x)));
  t.word(static_cast<WORD>(units(c.rect.y)));
  t.word(static_cast<WORD>(units(c.rect.width)));
  t.word(static_cast<WORD>(units(height)));
  t.word(static_cast<WORD>(c.id));
  if (className) {
    t.text(className);
  } else {
    t.word(0xFFFF);
    t.word(atom);
  }
  t.text(toUtf16(c.text));
  t.word(0);  // no creation data
}

void writeTemplate(TemplateWriter& t, const ui::Form& form) {
  t.dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT);
  t.dword(0);
  t.word(static_cast<WORD>(form.controls.size()));
  t.word(0);
  t.word(0);
  t.word(static_cast<WORD>(units(form.size.width)));
  t.word(static_cast<WORD>(units(form.size.height)));
  t.word(0);  // no menu
  t.word(0);  // the standard dialog class
  t.text(toUtf16(form.caption));
  t.word(8);
  t.text(L"MS Shell Dlg");
  for (const ui::Control& c : form.controls) writeControl(t, c);
}

// ---- The dialog as a FormView --------------------------------------------

class DialogView final : public ui::FormView {
 public:
  DialogView(const ui::Form& form, ui::FormController& controller)
      : form_(form), controller_(controller) {}

  void attach(HWND dialog) { dialog_ = dialog; }
  HWND dialog() const { return dialog_; }
  const ui::Form& form() const { return form_; }
  ui::FormController& controller() { return controller_; }
  bool ended() const { return ended_; }
  int result() const { return result_; }

  std::string text(int id) const override {
    HWND w = item(id);
    if (!w) return {};
    int n = GetWindowTextLengthW(w);
    std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
    n = GetWindowTextW(w, s.data(), n + 1);
    s.resize(static_cast<std::size_t>(n > 0 ? n : 0));
    return fromUtf16(s);
  }
  void setText(int id, std::string_view text) override {
    SetDlgItemTextW(dialog_, id, toUtf16(text).c_str());
  }
  bool checked(int id) const override { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }
  void setChecked(int id, bool on) override {
    CheckDlgButton(dialog_, id, on ? BST_CHECKED : BST_UNCHECKED);
  }
  void setItems(int id, const std::vector<std::string>& items) override {
    bool combo = isDropDown(id);
    SendDlgItemMessageW(dialog_, id, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
    for (const std::string& s : items) {
      std::wstring w = toUtf16(s);
      SendDlgItemMessageW(dialog_, id, combo ? CB_ADDSTRING : LB_ADDSTRING, 0,
                          reinterpret_cast<LPARAM>(w.c_str()));
    }
  }
  std::vector<std::string> items(int id) const override {
    bool combo = isDropDown(id);
    std::vector<std::string> out;
    LRESULT n = SendDlgItemMessageW(dialog_, id, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
      LRESULT len = SendDlgItemMessageW(dialog_, id, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN,
                                        static_cast<WPARAM>(i), 0);
      if (len < 0) len = 0;
      std::wstring w(static_cast<std::size_t>(len) + 1, L'\0');
      SendDlgItemMessageW(dialog_, id, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i),
                          reinterpret_cast<LPARAM>(w.data()));
      w.resize(static_cast<std::size_t>(len));
      out.push_back(fromUtf16(w));
    }
    return out;
  }
  int selection(int id) const override {
    LRESULT s = SendDlgItemMessageW(dialog_, id, isDropDown(id) ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
    return s < 0 ? -1 : static_cast<int>(s);
  }
  void setSelection(int id, int index) override {
    SendDlgItemMessageW(dialog_, id, isDropDown(id) ? CB_SETCURSEL : LB_SETCURSEL,
                        static_cast<WPARAM>(index), 0);
  }
  void setProgress(int id, int percent) override {
    SendDlgItemMessageW(dialog_, id, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
  }
  void enable(int id, bool on) override {
    if (HWND w = item(id)) EnableWindow(w, on ? TRUE : FALSE);
  }
  void show(int id, bool on) override {
    if (HWND w = item(id)) ShowWindow(w, on ? SW_SHOW : SW_HIDE);
  }
  void setFocus(int id) override {
    if (HWND w = item(id)) SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(w), TRUE);
  }
  void setCaption(std::string_view caption) override {
    SetWindowTextW(dialog_, toUtf16(caption).c_str());
  }
  void startTimer(int id, int ms) override {
    SetTimer(dialog_, static_cast<UINT_PTR>(id), static_cast<UINT>(ms > 0 ? ms : 1), nullptr);
  }
  void stopTimer(int id) override { KillTimer(dialog_, static_cast<UINT_PTR>(id)); }
  void end(int result) override {
    if (ended_) return;
    ended_ = true;
    result_ = result;
    EndDialog(dialog_, result);
  }

  // The control Escape presses: the form's cancel button, else Cancel itself.
  int cancelId() const {
    for (const ui::Control& c : form_.controls)
      if (c.cancelButton) return c.id;
    return ui::kIdCancelButton;
  }
  int defaultId() const {
    for (const ui::Control& c : form_.controls)
      if (c.defaultButton) return c.id;
    return ui::kIdOkButton;
  }
  ui::ControlKind kindOf(int id) const {
    const ui::Control* c = form_.find(id);
    return c ? c->kind : ui::ControlKind::Static;
  }

 private:
  HWND item(int id) const { return GetDlgItem(dialog_, id); }
  bool isDropDown(int id) const { return kindOf(id) == ui::ControlKind::DropDown; }

  const ui::Form& form_;
  ui::FormController& controller_;
  HWND dialog_ = nullptr;
  bool ended_ = false;
  int result_ = 0;
};

DialogView* viewOf(HWND dialog) {
  return reinterpret_cast<DialogView*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

// Dialogs centre on the main window, also when a dialog or the edit window
// in front of it owns them: the first owner in the chain.
void centreOverOwner(HWND dialog) {
  HWND owner = GetAncestor(dialog, GA_ROOTOWNER);
  if (owner == dialog) owner = nullptr;
  RECT area;
  if (owner) {
    GetWindowRect(owner, &area);
  } else {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  }
  RECT rc;
  GetWindowRect(dialog, &rc);
  int w = rc.right - rc.left, h = rc.bottom - rc.top;
  int x = area.left + ((area.right - area.left) - w) / 2;
  int y = area.top + ((area.bottom - area.top) - h) / 2;
  SetWindowPos(dialog, nullptr, x < 0 ? 0 : x, y < 0 ? 0 : y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Turns the keys of a list control into the shared list behaviour.
ui::KeyCode listKeyCode(UINT message, WPARAM wParam) {
  if (message == WM_MOUSEWHEEL)
    return GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? ui::key::kWheelForward : ui::key::kWheelBack;
  if (message == WM_CHAR) {
    if (wParam == VK_RETURN) return ui::key::kEnter;
    if (wParam == VK_ESCAPE) return ui::key::kEscape;
    return wParam > 0x20 && wParam < 0x100 ? static_cast<ui::KeyCode>(wParam) : 0;
  }
  if (message == WM_KEYDOWN) {
    if (wParam == VK_UP) return ui::key::kUp;
    if (wParam == VK_DOWN) return ui::key::kDown;
  }
  return 0;
}

LRESULT CALLBACK listSubclassProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                  UINT_PTR /*id*/, DWORD_PTR data) {
  auto* view = reinterpret_cast<DialogView*>(data);
  if (message == WM_GETDLGCODE) {
    // Keep Enter and Escape from the dialog manager: the list acts on them.
    LRESULT code = DefSubclassProc(list, message, wParam, lParam);
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (msg && (msg->message == WM_KEYDOWN || msg->message == WM_CHAR) &&
        (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE))
      code |= DLGC_WANTMESSAGE;
    return code;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(list, listSubclassProc, 0);
  ui::KeyCode k = listKeyCode(message, wParam);
  if (k == 0 || view->ended()) return DefSubclassProc(list, message, wParam, lParam);
  int id = GetDlgCtrlID(list);
  std::vector<std::string> entries = view->items(id);
  ui::ListKeyResult r = ui::listKey(entries, view->selection(id), k);
  switch (r.action) {
    case ui::ListKeyResult::Moved:
      view->setSelection(id, r.selection);
      view->controller().onSelectionChange(*view, id);
      break;
    case ui::ListKeyResult::Take:
      view->controller().onCommand(*view, view->defaultId());
      break;
    case ui::ListKeyResult::Cancel:
      view->controller().onCommand(*view, view->cancelId());
      break;
    case ui::ListKeyResult::None:
      break;
  }
  return 0;
}

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* view = reinterpret_cast<DialogView*>(lParam);
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(view));
    view->attach(dialog);
    centreOverOwner(dialog);
    for (const ui::Control& c : view->form().controls) {
      if (c.kind == ui::ControlKind::Edit && c.limit > 0)
        SendDlgItemMessageW(dialog, c.id, EM_LIMITTEXT, static_cast<WPARAM>(c.limit), 0);
      if (c.kind == ui::ControlKind::ListBox)
        SetWindowSubclass(GetDlgItem(dialog, c.id), listSubclassProc, 0,
                          reinterpret_cast<DWORD_PTR>(view));
    }
    view->controller().onInit(*view);
    if (view->form().firstFocus != 0 && !view->ended()) {
      view->setFocus(view->form().firstFocus);
      return FALSE;  // the focus is set
    }
    return TRUE;
  }
  DialogView* view = viewOf(dialog);
  if (!view) return FALSE;
  switch (message) {
    case WM_COMMAND: {
      int id = LOWORD(wParam);
      int code = HIWORD(wParam);
      if (view->ended()) return TRUE;
      if (lParam == 0 || id == IDOK || id == IDCANCEL) {
        // Enter (the default button) or Escape / the close box.
        if (id == IDCANCEL && !view->form().find(IDCANCEL)) id = view->cancelId();
        if (id == IDOK && !view->form().find(IDOK)) id = view->defaultId();
        view->controller().onCommand(*view, id);
        return TRUE;
      }
      ui::ControlKind kind = view->kindOf(id);
      if (kind == ui::ControlKind::ListBox) {
        if (code == LBN_SELCHANGE) view->controller().onSelectionChange(*view, id);
        if (code == LBN_DBLCLK) view->controller().onDoubleClick(*view, id);
      } else if (kind == ui::ControlKind::DropDown) {
        if (code == CBN_SELCHANGE) view->controller().onSelectionChange(*view, id);
      } else if (code == BN_CLICKED &&
                 (kind == ui::ControlKind::Button || kind == ui::ControlKind::CheckBox ||
                  kind == ui::ControlKind::Radio)) {
        view->controller().onCommand(*view, id);
      }
      return TRUE;
    }
    case DM_GETDEFID: {
      // Enter presses the push button that has the focus, else the form's
      // default button.
      int id = 0;
      HWND focus = GetFocus();
      if (focus && IsChild(dialog, focus) && IsWindowEnabled(focus) &&
          view->kindOf(GetDlgCtrlID(focus)) == ui::ControlKind::Button)
        id = GetDlgCtrlID(focus);
      for (const ui::Control& c : view->form().controls)
        if (!id && c.defaultButton) id = c.id;
      if (!id) return FALSE;
      SetWindowLongPtrW(dialog, DWLP_MSGRESULT, MAKELONG(id, DC_HASDEFID));
      return TRUE;
    }
    case WM_TIMER:
      if (!view->ended()) view->controller().onTimer(*view, static_cast<int>(wParam));
      return TRUE;
    case WM_CLOSE:
      if (!view->ended()) view->controller().onCommand(*view, view->cancelId());
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

int runFormDialog(HINSTANCE instance, HWND owner, const ui::Form& form,
                  ui::FormController& controller) {
  TemplateWriter t;
  writeTemplate(t, form);
  DialogView view(form, controller);
  INT_PTR rc = DialogBoxIndirectParamW(instance, t.get(), owner, dialogProc,
                                       reinterpret_cast<LPARAM>(&view));
  // The form's own value, not the dialog's: -1 (a pick list cancelled) is
  // also what DialogBox returns when it fails, which alone counts as 0.
  if (view.ended()) return view.result();
  return rc == -1 ? 0 : static_cast<int>(rc);
}

}  // namespace frontend
