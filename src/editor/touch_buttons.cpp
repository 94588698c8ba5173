#include "editor/touch_buttons.hpp"

#include <string>

#include "ui/keys.hpp"

namespace editor {

std::vector<ui::TouchButton> touchButtons(int productionLevel, bool onScreenKeyboard) {
  std::vector<ui::TouchButton> buttons;
  if (productionLevel < 2) return buttons;
  buttons.push_back({"AK", 0});
  if (productionLevel < 3) return buttons;
  buttons.push_back({onScreenKeyboard ? "F0" : "F10", ui::key::kF10});
  for (int n = 9; n >= 6; --n) buttons.push_back({"F" + std::to_string(n), ui::key::function(n)});
  buttons.push_back({"A5", ui::key::altFunction(5)});
  for (int n = 5; n >= 1; --n) buttons.push_back({"F" + std::to_string(n), ui::key::function(n)});
  return buttons;
}

TouchButtonSize touchButtonSize(int clientWidth, int cellHeight) {
  return {static_cast<int>(0.99 * clientWidth / 12), cellHeight};
}

}  // namespace editor
