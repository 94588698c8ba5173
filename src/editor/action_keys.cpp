#include "editor/action_keys.hpp"

#include "ui/host.hpp"

namespace editor {

namespace k = ui::key;

const std::vector<ActionKey>& actionKeys() {
  static const std::vector<ActionKey> keys = {
      {1501, "Key Help (F&1)", k::kF1},      {1502, "DataLimits (F&2)", k::kF2},
      {1503, "Search (F&3)", k::kF3},        {1504, "Parent (F&4)", k::kF4},
      {1505, "Child (F&5)", k::kF5},         {1506, "Sibling (&AltF5)", 0x6C00},
      {1507, "GotoLine (F&6)", k::kF6},      {1508, "T&ab ->", k::kTab},
      {1509, "<- &Tab", k::kShiftTab},       {1510, "&Up Arrow", k::kUp},
      {1511, "&Left Arrow", k::kLeft},       {1512, "E&nter", k::kEnter},
      {1513, "&Page Down", k::kPageDown},    {1514, "GlobalPgm (F&7)", k::kF7},
      {1515, "FilePgm (F&8)", k::kF8},       {1516, "Ins Line (F&9)", k::kF9},
      {1517, "Del Line (F1&0)", k::kF10},    {1518, "&AutoEntry", 18},
      {1519, "Auto&Time", 20},               {1520, "Auto &Date", 4},
      {1521, "Toggle GPS Log", 7},           {1522, "&Escape", k::kEscape},
      {1523, "&DownArrow", k::kDown},        {1524, "&RightArrow", k::kRight},
      {1525, "Page &Up", k::kPageUp},
  };
  return keys;
}

ui::Form actionKeysForm() {
  ui::Form f;
  f.resource = kActionKeysResource;
  f.caption = "Action Key Events";
  const auto& keys = actionKeys();
  // Two columns of buttons, the first thirteen on the left.
  constexpr int kWidth = 72, kHeight = 14, kGap = 2, kLeft = 6, kTop = 6;
  const int perColumn = static_cast<int>((keys.size() + 1) / 2);
  for (int i = 0; i < static_cast<int>(keys.size()); ++i) {
    const int column = i / perColumn, row = i % perColumn;
    ui::Control b{keys[static_cast<std::size_t>(i)].id, ui::ControlKind::Button,
                  keys[static_cast<std::size_t>(i)].text,
                  {kLeft + column * (kWidth + 2 * kGap), kTop + row * (kHeight + kGap), kWidth, kHeight}};
    f.controls.push_back(b);
  }
  ui::Control cancel = ui::cancelButton(ui::kIdCancelButton, "Close",
                                        {kLeft + kWidth + 2 * kGap, kTop + (perColumn - 1) * (kHeight + kGap) + kHeight + 2 * kGap,
                                         kWidth, kHeight});
  f.controls.push_back(cancel);
  f.size = {0, 0, kLeft * 2 + 2 * kWidth + 2 * kGap, cancel.rect.y + kHeight + kTop};
  f.firstFocus = keys.front().id;
  return f;
}

namespace {

class ActionKeysController : public ui::FormController {
 public:
  void onCommand(ui::FormView& view, int id) override {
    for (const ActionKey& a : actionKeys()) {
      if (a.id == id) {
        key = a.key;
        view.end(1);
        return;
      }
    }
    if (id == ui::kIdCancelButton || id == ui::kIdOkButton) view.end(0);
  }
  ui::KeyCode key = k::kRefresh;
};

}  // namespace

ui::KeyCode runActionKeys(ui::Host& host, ui::KeyQueue& keys) {
  ActionKeysController controller;
  host.runForm(actionKeysForm(), controller);
  keys.push(controller.key);
  return controller.key;
}

}  // namespace editor
