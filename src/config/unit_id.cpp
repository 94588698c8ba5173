#include "config/unit_id.hpp"

#include "base/text.hpp"
#include "config/settings.hpp"
#include "config/unit_code.hpp"
#include "platform/codepage.hpp"
#include "platform/registry.hpp"
#include "ui/host.hpp"

namespace config {

namespace {

// Enough for any usable value; a longer one is refused anyway.
constexpr std::size_t kReadSize = 1024;

class UnitIdController : public ui::FormController {
 public:
  UnitIdController(ui::Host& host, std::string current) : host_(host), current_(std::move(current)) {}
  void onInit(ui::FormView& view) override {
    view.setText(kUnitIdEntry, current_);
    view.setFocus(kUnitIdEntry);
  }
  void onCommand(ui::FormView& view, int id) override {
    if (id == ui::kIdCancelButton) view.end(0);
    if (id != ui::kIdOkButton) return;
    const std::string text = base::trim(view.text(kUnitIdEntry));
    if (!text.empty() && !unitIdUsable(text)) {
      ui::inform(host_, base::format("Unit ID:\"%s\" Is Not Valid\nDo Not Use \\ / : * ? \" < > | ~ [ ] + ^", text.c_str()),
                 "Unit ID Error");
      view.setFocus(kUnitIdEntry);
      return;
    }
    if (!setUnitIdentification(text)) {
      ui::inform(host_, "Registry Access Error.", "Error");
      view.end(0);
      return;
    }
    view.end(1);
  }

 private:
  ui::Host& host_;
  std::string current_;
};

}  // namespace

bool unitIdUsable(std::string_view text) {
  if (base::trim(text).empty() || platform::toNarrow(text).size() > kUnitIdMaxLength) return false;
  for (char c : text)
    if (static_cast<unsigned char>(c) < 0x20) return false;
  return text.find_first_of("\\/:*?\"<>|~[]+^") == std::string_view::npos;
}

std::string unitIdentification(const std::string& defaultText) {
  std::string value;
  if (platform::getAppSetting(kUnitIdValueName, value, kReadSize) && unitIdUsable(value)) return base::trim(value);
  return defaultText;
}

int setUnitIdentification(const std::string& text) {
  return platform::putAppSetting(kUnitIdValueName, base::trim(text)) ? 1 : 0;
}

void applyUnitIdentification(SettingsRecord& settings, const std::string& text) {
  settings.setUnitIdText(platform::toNarrow(text));
  settings.setUnitCode(unitCodeFrom(settings.unitIdText()));
}

ui::Form unitIdForm() {
  using K = ui::ControlKind;
  ui::Control entry{kUnitIdEntry, K::Edit, "", {50, 12, 162, 12}};
  entry.limit = static_cast<int>(kUnitIdMaxLength);
  return ui::entryForm(kUnitIdResource, "Unit Identification", {1391, K::Static, "Unit ID:", {8, 14, 40, 10}},
                       entry, 220);
}

int changeUnitIdentification(ui::Host& host, SettingsRecord& settings, const std::string& defaultText) {
  UnitIdController controller(host, unitIdentification(defaultText));
  if (host.runForm(unitIdForm(), controller) != 1) return 0;
  applyUnitIdentification(settings, unitIdentification(defaultText));
  return 1;
}

}  // namespace config
