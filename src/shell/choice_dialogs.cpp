#include "shell/choice_dialogs.hpp"

#include <vector>

#include "shell/commands.hpp"
#include "ui/host.hpp"

namespace shell {

namespace {

struct ChoiceButton {
  int button;
  int command;
};

struct ChoiceSpec {
  const char* caption;
  int landscape, portrait;  // dialog resources
  std::vector<ChoiceButton> buttons;
};

const ChoiceSpec& desc(Choice which) {
  using namespace cmd;
  static const ChoiceSpec data{"Data", 278, 279,
                               {{1151, kCollectData}, {1152, kTransferData}, {1154, kTagAutoTransfer},
                                {1155, kEraseCoordFiles}, {1156, kBundleDataset}, {1157, kExtractDataset},
                                {1323, kPendingDatasets}}};
  static const ChoiceSpec apps{"Apps", 280, 280,
                               {{1278, kSelectApplication}, {1279, kEraseApplication}, {1280, kAppVersion},
                                {1283, kLoadFromRemovable}}};
  static const ChoiceSpec setups{"Setups", 283, 284,
                                 {{1292, kPreferences}, {1293, kPassword1}, {1294, kPassword2},
                                  {1295, kTempCoordFiles}, {1296, kSetDateTime}, {1297, kTcpipSetups}}};
  static const ChoiceSpec gps{"GPS", 282, 281,
                              {{1281, kLogWaypoint}, {1285, kGpsConnect}, {1286, kGpsPortSettings},
                               {1288, kLoggingSetup}, {1289, kEditWaypoints}, {1298, kWarningFilters},
                               {1299, kPresentation}, {1301, kNavParameters}}};
  static const ChoiceSpec helps{"Helps", 287, 287, {{1302, kVirtualKeystrokes}, {1303, kLineKeystrokes}}};
  switch (which) {
    case Choice::Data: return data;
    case Choice::Apps: return apps;
    case Choice::Setups: return setups;
    case Choice::Gps: return gps;
    case Choice::Helps: return helps;
  }
  return data;
}

class ChoiceController : public ui::FormController {
 public:
  void onCommand(ui::FormView& view, int id) override { view.end(id == ui::kIdCancelButton ? 0 : id); }
};

}  // namespace

ui::Form choiceForm(Choice which, bool portrait) {
  const ChoiceSpec& s = desc(which);
  const int columns = portrait ? 1 : 2;
  const int buttonW = 120, buttonH = 16, gap = 6;
  const int n = static_cast<int>(s.buttons.size());
  const int rows = (n + columns - 1) / columns;
  ui::Form f;
  f.resource = portrait ? s.portrait : s.landscape;
  f.caption = s.caption;
  f.size = {0, 0, gap + columns * (buttonW + gap), gap + (rows + 1) * (buttonH + gap) + gap};
  for (int i = 0; i < n; ++i) {
    const ChoiceButton& b = s.buttons[static_cast<std::size_t>(i)];
    const CommandInfo* info = findCommand(b.command);
    ui::Control c{b.button, ui::ControlKind::Button, info ? info->name : "",
                  {gap + (i % columns) * (buttonW + gap), gap + (i / columns) * (buttonH + gap), buttonW, buttonH}};
    c.enabled = info && info->available;
    f.controls.push_back(c);
  }
  ui::Control cancel{ui::kIdCancelButton, ui::ControlKind::Button, "Cancel",
                     {f.size.width / 2 - 30, gap + rows * (buttonH + gap) + gap, 60, buttonH}};
  cancel.cancelButton = true;
  f.controls.push_back(cancel);
  return f;
}

int commandOfChoiceButton(int button) {
  for (Choice c : {Choice::Data, Choice::Apps, Choice::Setups, Choice::Gps, Choice::Helps})
    for (const ChoiceButton& b : desc(c).buttons)
      if (b.button == button) return b.command;
  return 0;
}

int runChoice(ui::Host& host, Choice which, bool portrait) {
  ChoiceController controller;
  return host.runForm(choiceForm(which, portrait), controller);
}

}  // namespace shell
