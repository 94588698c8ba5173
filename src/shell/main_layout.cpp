#include "shell/main_layout.hpp"

#include <algorithm>
#include <cstdlib>

namespace shell {

namespace {

void place(ButtonLayout& l) {
  for (int i = 0; i < 6; ++i) {
    int col = i % l.columns, row = i / l.columns;
    l.buttons[static_cast<std::size_t>(i)] = {l.gap / 2 + col * (l.size + l.gap),
                                              l.size / 2 + row * (l.size + l.gap), l.size, l.size};
  }
}

ButtonLayout portrait(int w, int h, bool taskbar) {
  ButtonLayout l;
  l.portrait = true;
  l.columns = 3;
  l.rows = 2;
  int s = std::min({w / 4 + 5, 125, (h - (taskbar ? 20 : 0)) / 4});
  s = std::max(s, 1);
  int g = (w - 3 * s - 1) / 3;
  while (3 * s + 3 * g > w && s > 5) {
    s -= 5;
    g = (w - 3 * s - 1) / 3;
  }
  l.size = s;
  l.gap = g;
  place(l);
  return l;
}

}  // namespace

ButtonLayout layoutButtons(int w, int h, bool taskbar) {
  if (w <= 0 || h <= 0) return portrait(std::max(w, 1), std::max(h, 1), taskbar);
  if (w >= h) {
    int s = std::min(w / 6 + 1, 125);
    s = std::min(s, std::min(h / 2, 125));
    if (s > 0) {
      int g = std::abs((w / (6 * s)) / 6 + 40);
      if (6 * (s + g) <= w) {
        ButtonLayout l;
        l.size = s;
        l.gap = g;
        place(l);
        return l;
      }
    }
  }
  return portrait(w, h, taskbar);
}

}  // namespace shell
