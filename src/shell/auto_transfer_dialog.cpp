#include "shell/auto_transfer_dialog.hpp"

#include <algorithm>

#include "base/text.hpp"
#include "config/auto_transfer.hpp"
#include "config/settings.hpp"
#include "platform/fileops.hpp"
#include "shell/dataset_exchange_commands.hpp"
#include "shell/startup.hpp"
#include "shell/transfer_folders.hpp"
#include "ui/host.hpp"

namespace shell {

namespace {

using Path = config::SettingsRecord::Path;

class AutoTransferController : public ui::FormController {
 public:
  AutoTransferController(ui::Host& host, std::vector<std::string> names, std::vector<bool> marks)
      : host_(host), names_(std::move(names)), marks_(std::move(marks)) {}

  void onInit(ui::FormView& view) override {
    show(view);
    view.setSelection(kAutoTransferList, names_.empty() ? -1 : 0);
  }
  void onCommand(ui::FormView& view, int id) override {
    if (id == kAutoTransferMarkButton) return toggle(view);
    if (id == ui::kIdOkButton) return view.end(1);
    if (id == ui::kIdCancelButton) return view.end(0);
  }
  void onDoubleClick(ui::FormView& view, int id) override {
    if (id == kAutoTransferList) toggle(view);
  }

  std::vector<std::string> marked() const {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < names_.size(); ++i)
      if (marks_[i]) out.push_back(names_[i]);
    return out;
  }

 private:
  void show(ui::FormView& view) {
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < names_.size(); ++i) entries.push_back(autoTransferEntry(names_[i], marks_[i]));
    const int keep = view.selection(kAutoTransferList);
    view.setItems(kAutoTransferList, entries);
    if (keep >= 0) view.setSelection(kAutoTransferList, keep);
  }
  void toggle(ui::FormView& view) {
    const int i = view.selection(kAutoTransferList);
    if (!validIndex(i, names_)) return;
    const std::size_t at = static_cast<std::size_t>(i);
    if (!marks_[at]) {
      if (!config::autoTransferNameUsable(names_[at])) {
        ui::inform(host_, kAutoTransferCommaText, kAutoTransferCaption);
        return;
      }
      std::vector<std::string> more = marked();
      more.push_back(names_[at]);
      if (!config::autoTransferFits(more)) {
        ui::inform(host_, kAutoTransferFullText, kAutoTransferCaption);
        return;
      }
    }
    marks_[at] = !marks_[at];
    show(view);
  }

  ui::Host& host_;
  std::vector<std::string> names_;
  std::vector<bool> marks_;
};

}  // namespace

std::string autoTransferEntry(const std::string& name, bool marked) { return (marked ? "* " : "  ") + name; }

ui::Form autoTransferForm(bool portrait) {
  ui::Form f;
  f.resource = portrait ? kAutoTransferPortraitDialog : kAutoTransferLandscapeDialog;
  f.caption = kAutoTransferCaption;
  f.size = {0, 0, 188, 130};
  f.controls.push_back({1230, ui::ControlKind::Static, "Datasets Sent With Every Host Transfer:", {8, 4, 172, 10}});
  f.controls.push_back({kAutoTransferList, ui::ControlKind::ListBox, "", {8, 16, 172, 88}});
  // Enter in the list marks: the mark button is the default.
  f.controls.push_back(ui::defaultButton(kAutoTransferMarkButton, "&Mark", {8, 110, 52, 14}));
  f.controls.push_back({ui::kIdOkButton, ui::ControlKind::Button, "&OK", {68, 110, 52, 14}});
  f.controls.push_back(ui::cancelButton(ui::kIdCancelButton, "Cancel", {128, 110, 52, 14}));
  f.firstFocus = kAutoTransferList;
  return f;
}

int autoTransferCommand(ui::Host& host, StartupValues& values) {
  reloadSettings(host, values);
  if (!values.settings.appOpen()) {
    ui::inform(host, "Must Select a Valid Application!", "Error");
    return 0;
  }
  const std::string dataFolder = base::trimRight(values.settings.path(Path::AppDataFolder));
  if (dataFolder.empty() || !platform::folderExists(dataFolder)) {
    ui::inform(host, "Selected Data Storage\nLocation Not Available.\nSelect New Location.", "Error");
    config::clearAutoTransfer(host);
    return 0;
  }
  std::vector<std::string> tagged;
  (void)config::readAutoTransfer(host, tagged);  // a failed read starts with no marks
  const std::vector<std::string> names = bundledDatasetNames(dataFolder);
  std::vector<bool> marks;
  for (const std::string& n : names) marks.push_back(std::find(tagged.begin(), tagged.end(), n) != tagged.end());
  AutoTransferController controller(host, names, marks);
  if (host.runForm(autoTransferForm(values.geometry.portrait), controller) != 1) return 0;
  return config::writeAutoTransfer(host, controller.marked()) ? 1 : 0;
}

}  // namespace shell
