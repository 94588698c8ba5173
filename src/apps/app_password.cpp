#include "apps/app_password.hpp"

#include "apps/tfa_header.hpp"
#include "base/text.hpp"
#include "platform/codepage.hpp"
#include "ui/host.hpp"

namespace apps {

namespace {

class AppPasswordController : public ui::FormController {
 public:
  AppPasswordController(ui::Host& host, const TfaHeader& header) : host_(host), header_(header) {}
  void onCommand(ui::FormView& view, int id) override {
    if (id == ui::kIdCancelButton) return view.end(0);
    if (id != ui::kIdOkButton) return;
    if (appPasswordAccepted(header_, view.text(kAppPasswordEntry))) return view.end(1);
    ui::inform(host_, "PassWord Not Valid", "Error");
    view.setText(kAppPasswordEntry, "");
    view.setFocus(kAppPasswordEntry);
  }

 private:
  ui::Host& host_;
  const TfaHeader& header_;
};

}  // namespace

bool appPasswordAccepted(const TfaHeader& header, const std::string& entry) {
  if (!header.hasAppPassword()) return true;
  return platform::toNarrow(base::firstCharacters(entry, static_cast<std::size_t>(kAppPasswordChars))) == header.appPassword();
}

ui::Form appPasswordForm() {
  using K = ui::ControlKind;
  ui::Control entry{kAppPasswordEntry, K::Edit, "", {70, 12, 110, 12}};
  entry.limit = kAppPasswordChars;
  entry.password = true;
  return ui::entryForm(kAppPasswordDialog, "Application Password", {1360, K::Static, "Password:", {8, 14, 58, 10}},
                       entry, 190);
}

bool checkAppPassword(ui::Host& host, const TfaHeader& header) {
  AppPasswordController controller(host, header);
  return host.runForm(appPasswordForm(), controller) == 1;
}

}  // namespace apps
