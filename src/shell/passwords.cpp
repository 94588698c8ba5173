#include "shell/passwords.hpp"

#include "base/text.hpp"
#include "platform/codepage.hpp"
#include "shell/startup.hpp"
#include "ui/host.hpp"

namespace shell {

namespace {

// The entry fields take 12 characters, of which 11 are read.
constexpr int kEntryLimit = 12;
std::string readEntry(const std::string& text) { return base::firstCharacters(text, 11); }

// Passwords compare as the settings record holds them: 8-bit text.
std::string stored(const std::string& utf8) { return platform::toNarrow(base::trimRight(utf8)); }

ui::Control entry(int id, int y) {
  ui::Control c{id, ui::ControlKind::Edit, "", {70, y, 80, 12}};
  c.limit = kEntryLimit;
  c.password = true;
  return c;
}

ui::Form passwordForm(int level) {
  return ui::entryForm(kPasswordDialog, base::format("Level %d Password", level),
                       {1360, ui::ControlKind::Static, "Password:", {8, 14, 58, 10}}, entry(kPasswordEntry, 12), 170);
}

ui::Form changeForm(int level) {
  using K = ui::ControlKind;
  ui::Form f;
  f.resource = kChangePasswordDialog;
  f.caption = base::format("Set Level %d Password", level);
  f.size = {0, 0, 170, 78};
  f.controls = {{1350, K::Static, "New Password:", {8, 14, 60, 10}},
                entry(kNewPasswordEntry, 12),
                {1353, K::Static, "Enter Again:", {8, 32, 60, 10}},
                entry(kRepeatPasswordEntry, 30),
                ui::defaultButton(ui::kIdOkButton, "OK", {30, 56, 50, 14}),
                ui::cancelButton(ui::kIdCancelButton, "Cancel", {90, 56, 50, 14})};
  f.firstFocus = kNewPasswordEntry;
  return f;
}

class PasswordController : public ui::FormController {
 public:
  PasswordController(ui::Host& host, int level, const config::SettingsRecord& s)
      : host_(host), level_(level), p1_(stored(s.password1())), p2_(stored(s.password2())) {}
  void onCommand(ui::FormView& view, int id) override {
    if (id == ui::kIdCancelButton) return view.end(0);
    if (id != ui::kIdOkButton) return;
    if (passwordAccepted(level_, platform::toNarrow(readEntry(view.text(kPasswordEntry))), p1_, p2_))
      return view.end(1);
    ui::inform(host_, "PassWord Not Valid", "Error");
    view.setText(kPasswordEntry, "");
    view.setFocus(kPasswordEntry);
  }

 private:
  ui::Host& host_;
  int level_;
  std::string p1_, p2_;
};

class ChangeController : public ui::FormController {
 public:
  ChangeController(ui::Host& host, StartupValues& values, int level)
      : host_(host), v_(values), level_(level) {}
  void onInit(ui::FormView& view) override {
    std::string current = base::trimRight(level_ == 1 ? v_.settings.password1() : v_.settings.password2());
    view.setText(kNewPasswordEntry, current);
    view.setText(kRepeatPasswordEntry, current);
  }
  void onCommand(ui::FormView& view, int id) override {
    if (id == ui::kIdCancelButton) return view.end(0);
    if (id != ui::kIdOkButton) return;
    std::string a = base::trimRight(readEntry(view.text(kNewPasswordEntry)));
    std::string b = base::trimRight(readEntry(view.text(kRepeatPasswordEntry)));
    config::SettingsRecord& s = v_.settings;
    if (a.empty() && b.empty()) {
      if (ui::askYesNo(host_, base::format("PassWord Level %d Not Required?\nAre You Sure ?", level_),
                       "Set To No Password", true) != ui::kIdYes)
        return;
      if (level_ == 1) {
        if (!base::trimRight(s.password2()).empty() &&
            ui::askYesNo(host_,
                         "Level 2 PassWord Exists,\nThis Will Also Remove Level 2 PassWord?\nAre You Sure ?",
                         "Remove All Passwords!", true) != ui::kIdYes)
          return;
        s.setPassword1("");
        s.setPassword2("");
      } else {
        s.setPassword2("");
      }
      ui::inform(host_, "PassWord Not Required !", "");
    } else if (a != b) {
      ui::inform(host_, "PassWord Do Not Match\nEnter Again !", "");
      return;
    } else {
      ui::inform(host_, base::format("PassWord Level %d Set", level_), "");
      if (level_ == 1) s.setPassword1(a);
      else s.setPassword2(a);
    }
    config::saveSettings(host_, v_.installRoot, s, v_.style.sep);
    reloadSettings(host_, v_);
    view.end(1);
  }

 private:
  ui::Host& host_;
  StartupValues& v_;
  int level_;
};

}  // namespace

bool passwordAccepted(int level, const std::string& entry, const std::string& password1,
                      const std::string& password2) {
  if (level == 1) return (!password1.empty() && entry == password1) || entry == kServiceCodeA;
  if (level == 2) {
    if (password2.empty()) return true;
    return (!password1.empty() && entry == password1) || entry == kServiceCodeA ||
           entry == password2 || entry == kServiceCodeB;
  }
  return false;
}

bool checkAccess(ui::Host& host, StartupValues& values, int level) {
  reloadSettings(host, values);
  if (level != 1 && level != 2) return false;
  std::string current = base::trimRight(level == 1 ? values.settings.password1() : values.settings.password2());
  if (current.empty()) return true;
  PasswordController controller(host, level, values.settings);
  return host.runForm(passwordForm(level), controller) == 1;
}

void changePassword(ui::Host& host, StartupValues& values, int level) {
  if (level != 1 && level != 2) return;
  reloadSettings(host, values);
  // A level-1 password opens every level-2 command too, so while only level 2
  // has one, setting level 1 must not be the way around it.
  const config::SettingsRecord& s = values.settings;
  if (level == 1 && base::trimRight(s.password1()).empty() && !base::trimRight(s.password2()).empty() &&
      !checkAccess(host, values, 2))
    return;
  ChangeController controller(host, values, level);
  host.runForm(changeForm(level), controller);
}

}  // namespace shell
