#include "shell/temp_coord_dialog.hpp"

#include "config/settings.hpp"
#include "ui/form.hpp"
#include "ui/host.hpp"

namespace shell {

namespace {

using Settings = config::SettingsRecord;

ui::Form tempCoordForm() {
  ui::Form f;
  f.resource = kTempCoordDialog;
  f.caption = "Temp Coordinate Files";
  f.size = {0, 0, 200, 72};
  ui::Control note{1390, ui::ControlKind::Static, "Temporary coordinate and position files (*.??$)",
                   {8, 8, 184, 10}};
  ui::Control check{kClearCoordCheck, ui::ControlKind::CheckBox, "&Clear Them When the Dataset Changes",
                    {8, 24, 184, 12}};
  f.controls = {note, check, ui::defaultButton(ui::kIdOkButton, "OK", {40, 48, 50, 14}),
                ui::cancelButton(ui::kIdCancelButton, "Cancel", {110, 48, 50, 14})};
  f.firstFocus = kClearCoordCheck;
  return f;
}

class TempCoordController : public ui::FormController {
 public:
  explicit TempCoordController(bool clear) : clear_(clear) {}
  void onInit(ui::FormView& view) override { view.setChecked(kClearCoordCheck, clear_); }
  void onCommand(ui::FormView& view, int id) override {
    if (id == ui::kIdOkButton) clear_ = view.checked(kClearCoordCheck);
    ui::FormController::onCommand(view, id);
  }
  bool clear() const { return clear_; }

 private:
  bool clear_;
};

}  // namespace

int tempCoordinateFilesDialog(ui::Host& host, const std::string& installRoot, config::SettingsRecord& record,
                              char sep) {
  TempCoordController controller(record.i32(Settings::kClearCoordFiles) != 0);
  if (host.runForm(tempCoordForm(), controller) != 1) return 0;
  record.setI32(Settings::kClearCoordFiles, controller.clear() ? 1 : 0);
  (void)config::saveSettings(host, installRoot, record, sep);
  return 1;
}

}  // namespace shell
