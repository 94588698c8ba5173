#include "datasets/create_dataset.hpp"

#include "base/paths.hpp"
#include "base/text.hpp"
#include "datasets/dataset_list.hpp"
#include "platform/fileops.hpp"
#include "ui/host.hpp"

namespace datasets {

namespace {

bool allowedCharacters(const std::string& text) {
  for (char c : text) {
    const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' ' ||
                    c == '-' || c == '_';
    if (!ok) return false;
  }
  return true;
}

class CreateDatasetController : public ui::FormController {
 public:
  CreateDatasetController(ui::Host& host, const std::string& folder, char sep, NewDataset& out)
      : host_(host), folder_(folder), sep_(sep), out_(out) {}
  void onInit(ui::FormView& view) override { view.setFocus(kDatasetNameControl); }
  void onCommand(ui::FormView& view, int id) override {
    if (id == ui::kIdCancelButton) view.end(0);
    if (id != ui::kIdOkButton) return;
    if (checkNewDatasetName(host_, view.text(kDatasetNameControl), folder_, sep_, out_) == 0) {
      view.end(1);
    } else {
      view.setFocus(kDatasetNameControl);
    }
  }

 private:
  ui::Host& host_;
  const std::string& folder_;
  char sep_;
  NewDataset& out_;
};

}  // namespace

ui::Form createDatasetForm() {
  using K = ui::ControlKind;
  ui::Control name{kDatasetNameControl, K::Edit, "", {70, 12, 120, 12}};
  name.limit = kDatasetNameLimit;
  return ui::entryForm(kCreateDatasetResource, "Create New Dataset",
                       {1141, K::Static, "Dataset Name:", {8, 14, 60, 10}}, name, 200);
}

int checkNewDatasetName(ui::Host& host, const std::string& enteredText, const std::string& dataFolder, char sep,
                        NewDataset& out) {
  const std::string entered = base::firstCharacters(enteredText, kDatasetNameRead);
  const char* quoted = entered.c_str();
  if (base::trimRight(entered).empty()) {
    ui::inform(host, base::format("Dataset Name:%s Is Not Vaild\nReEnter Dataset Name", quoted), "Dataset Error:CL10");
    return 1;
  }
  if (!allowedCharacters(entered)) {
    ui::inform(host,
               base::format("Dataset Name:\"%s\" Is Not Vaild\nOnly Letters, Digits, Dashes, Underscores, or Spaces "
                            "Allowed\nPlease ReEnter Dataset Name",
                            quoted),
               "Dataset Error");
    return 2;
  }
  const std::string name = base::trim(entered);
  const std::string folder = base::trimRight(dataFolder);
  if (platform::fileExists(base::joinPath(folder, "[" + name + "]*.*", sep))) {
    ui::inform(host, base::format("Dataset Name:\"%s\" Is Already Bundled\nPlease Enter a New Dataset Name", quoted),
               "Create Dataset Error");
    return 3;
  }
  if (platform::fileExists(base::joinPath(folder, "?? 1A____[" + name + "]*.*", sep))) {
    ui::inform(host,
               base::format("Create Dataset Name:\"%s\" Is Already Started\nPlease Enter a New Dataset Name", quoted),
               "Dataset Error");
    return 4;
  }
  const std::optional<int> number = freeDatasetNumber(folder, sep);
  if (!number) {
    ui::inform(host, "All 99 Dataset Numbers Are In Use\nErase or Bundle a Dataset First", "Dataset Error");
    return 5;
  }
  out = NewDataset{name, *number};
  return 0;
}

int createDataset(ui::Host& host, const std::string& dataFolder, char sep, NewDataset& out) {
  CreateDatasetController controller(host, dataFolder, sep, out);
  return host.runForm(createDatasetForm(), controller) == 1 ? 1 : 0;
}

}  // namespace datasets
