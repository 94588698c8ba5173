#include "ui/keys.hpp"

namespace ui::key {

namespace {
// Scan codes of F1-F10 run on from 0x3B; F11 and F12 live elsewhere.
KeyCode fromTable(int n, KeyCode first10, KeyCode f11, KeyCode f12) {
  if (n >= 1 && n <= 10) return static_cast<KeyCode>(first10 + (n - 1) * 0x100);
  if (n == 11) return f11;
  if (n == 12) return f12;
  return 0;
}
}  // namespace

KeyCode function(int n) { return fromTable(n, kF1, kF11, kF12); }
KeyCode shiftFunction(int n) { return fromTable(n, kShiftF1, kShiftF11, kShiftF12); }
KeyCode ctrlFunction(int n) { return fromTable(n, kCtrlF1, kCtrlF11, kCtrlF12); }
KeyCode altFunction(int n) { return fromTable(n, kAltF1, kAltF11, kAltF12); }

KeyCode altLetter(char letter) {
  // PC keyboard scan codes of the letters A-Z.
  static constexpr unsigned char kScan[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                              0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                              0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
  char lower = static_cast<char>(letter | 0x20);
  if (lower < 'a' || lower > 'z') return 0;
  return static_cast<KeyCode>(kScan[lower - 'a'] << 8);
}

}  // namespace ui::key
