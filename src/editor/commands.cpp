#include "editor/commands.hpp"

namespace editor {

namespace k = ui::key;

Command commandOf(ui::KeyCode key) {
  switch (key) {
    case k::kF1: case 0x2300: return Command::Help;
    case k::kF2: return Command::DataLimits;
    case 0x1200: return Command::ChooseFromList;
    case k::kF3: case 6: return Command::Search;
    case k::kF4: case 24: case 0x2D00: return Command::CheckAndLeave;
    case k::kF5: case 25: case 0x1500: return Command::Child;
    case 0x6C00: case 26: case 0x2C00: return Command::Sibling;
    case k::kF6: case 12: return Command::GoToLine;
    case k::kF7: return Command::GlobalPrograms;
    case k::kF8: return Command::LevelPrograms;
    case k::kF9: case 0x1700: return Command::InsertLine;
    case k::kF10: case 0x2000: return Command::DeleteLine;
    case k::kEscape: return Command::Leave;
    case 4: return Command::DateFromClock;
    case 20: return Command::TimeFromClock;
    case 18: case 0x1300: return Command::AutoEntry;
    case 7: case 0x2200: return Command::GpsLog;
    case 14: case 0x3100: return Command::Navigation;
    case k::kCtrlEnter: return Command::CopyAbove;
    case k::kEnter: return Command::Enter;
    case k::kRight: return Command::Right;
    case k::kLeft: return Command::Left;
    case k::kUp: case k::kWheelForward: return Command::Up;
    case k::kDown: case k::kWheelBack: return Command::Down;
    case k::kTab: case k::kCtrlRight: return Command::ScreenRight;
    case k::kShiftTab: case k::kCtrlLeft: return Command::ScreenLeft;
    case k::kHome: return Command::Home;
    case k::kEnd: return Command::End;
    case k::kPageUp: case k::kCtrlUp: return Command::PageUp;
    case k::kPageDown: case k::kCtrlDown: return Command::PageDown;
    case k::kCtrlPageUp: return Command::FirstLine;
    case k::kCtrlPageDown: return Command::LastLine;
    case k::kCtrlHome: return Command::FirstCell;
    case k::kCtrlEnd: return Command::LastCell;
    case k::kMouseClick: case k::kMouseDoubleClick: return Command::Click;
    case k::kRefresh: return Command::Refresh;
    default: return Command::None;
  }
}

bool leavesLine(ui::KeyCode key, bool virtualDisplay) {
  switch (key) {
    case k::kUp: case k::kDown: case k::kCtrlPageUp: case k::kCtrlPageDown:
      return virtualDisplay;
    case k::kPageUp: case k::kPageDown: case k::kF2: case k::kMouseDoubleClick: case k::kF3:
    case 0x2100: case 6: case 12: case k::kF6: case k::kF7: case k::kF8: case k::kF9: case k::kF10:
    case k::kEscape:
      return true;
    default:
      return false;
  }
}

}  // namespace editor
