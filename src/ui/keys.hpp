#pragma once
// Key codes: 16-bit codes in the PC BIOS keyboard form. A printable or control
// character is its character code; every other key is its scan code × 256.
// Front ends turn native input into these; nothing else does.
#include <cstdint>

namespace ui {

using KeyCode = std::uint16_t;

namespace key {
inline constexpr KeyCode kBackspace = 8, kTab = 9, kCtrlEnter = 10, kEnter = 13, kEscape = 27;
inline constexpr KeyCode kF1 = 0x3B00, kF2 = 0x3C00, kF3 = 0x3D00, kF4 = 0x3E00, kF5 = 0x3F00,
                         kF6 = 0x4000, kF7 = 0x4100, kF8 = 0x4200, kF9 = 0x4300, kF10 = 0x4400,
                         kF11 = 0x8500, kF12 = 0x8600;
inline constexpr KeyCode kShiftF1 = 0x5400, kCtrlF1 = 0x5E00, kAltF1 = 0x6800;
inline constexpr KeyCode kShiftF11 = 0x8700, kCtrlF11 = 0x8900, kAltF11 = 0x8B00;
inline constexpr KeyCode kShiftF12 = 0x5D00, kCtrlF12 = 0x8800, kAltF12 = 0x8C00;
inline constexpr KeyCode kUp = 0x4800, kDown = 0x5000, kLeft = 0x4B00, kRight = 0x4D00;
inline constexpr KeyCode kHome = 0x4700, kEnd = 0x4F00, kPageUp = 0x4900, kPageDown = 0x5100;
inline constexpr KeyCode kInsert = 0x5200, kDelete = 0x5300;
inline constexpr KeyCode kCtrlUp = 0x8D00, kCtrlDown = 0x9100, kCtrlLeft = 0x7300, kCtrlRight = 0x7400;
inline constexpr KeyCode kCtrlHome = 0x7700, kCtrlEnd = 0x7500, kCtrlPageUp = 0x8400,
                         kCtrlPageDown = 0x7600;
inline constexpr KeyCode kCtrlInsert = 0x9200, kAltInsert = 0xA200, kShiftInsert = 0x0418;
inline constexpr KeyCode kShiftTab = 0x0F00;
inline constexpr KeyCode kMouseRelease = 512, kMouseClick = 513, kMouseDoubleClick = 515;
inline constexpr KeyCode kWheelForward = 0xAAAA, kWheelBack = 0xAAAB;
inline constexpr KeyCode kRefresh = 0xFFFF;
// The abort code (-5 as a 16-bit code): data collection is being shut down;
// every editor and prompt that takes it ends at once.
inline constexpr KeyCode kAbort = 0xFFFB;
inline constexpr KeyCode kCtrlK = 11;

// Function key n (1-12) with no modifier, Shift, Ctrl or Alt.
KeyCode function(int n);
KeyCode shiftFunction(int n);
KeyCode ctrlFunction(int n);
KeyCode altFunction(int n);
// Alt+letter: the letter's scan code × 256 (0 for a character that is not a letter).
KeyCode altLetter(char letter);
// Ctrl+letter: 1-26.
inline constexpr KeyCode ctrlLetter(char letter) {
  return static_cast<KeyCode>((letter | 0x20) - 'a' + 1);
}
}  // namespace key

}  // namespace ui
