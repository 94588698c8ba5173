// The resources compiled into the program: menu 206 and accelerator table
// 298 say what the shared command tables say, and the six command-bar
// pictures are there at their full size.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command_bar.hpp"
#include "menu_data.hpp"
#include "resource.h"
#include "shell/commands.hpp"

namespace {

void expectSameMenu(const std::vector<shell::MenuItem>& loaded,
                    const std::vector<shell::MenuItem>& expected, const std::string& where) {
  ASSERT_EQ(loaded.size(), expected.size()) << "items of " << where;
  for (std::size_t i = 0; i < loaded.size(); ++i) {
    const std::string at = where + " > " + expected[i].text;
    EXPECT_EQ(loaded[i].text, expected[i].text) << "item " << i << " of " << where;
    EXPECT_EQ(loaded[i].command, expected[i].command) << at;
    expectSameMenu(loaded[i].items, expected[i].items, at);
  }
}

TEST(Resources, MenuEqualsTheSharedMenu) {
  HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDM_MAIN_MENU));
  ASSERT_NE(menu, nullptr);
  expectSameMenu(frontend::readMenu(menu), shell::mainMenu(), "menu bar");
  DestroyMenu(menu);
}

TEST(Resources, AcceleratorsEqualTheSharedTable) {
  HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDA_MAIN));
  ASSERT_NE(table, nullptr);
  int n = CopyAcceleratorTableW(table, nullptr, 0);
  std::vector<ACCEL> entries(static_cast<std::size_t>(n));
  CopyAcceleratorTableW(table, entries.data(), n);
  const auto& expected = shell::accelerators();
  ASSERT_EQ(entries.size(), expected.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i].fVirt & (FALT | FVIRTKEY | FCONTROL | FSHIFT), FALT | FVIRTKEY) << i;
    EXPECT_EQ(entries[i].key, static_cast<WORD>(expected[i].letter)) << i;
    EXPECT_EQ(entries[i].cmd, static_cast<WORD>(expected[i].command)) << i;
  }
  DestroyAcceleratorTable(table);
}

TEST(Resources, EnableStatesFollowTheCommandsAndLeaveSubmenusAlone) {
  HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDM_MAIN_MENU));
  ASSERT_NE(menu, nullptr);
  HMENU gps = GetSubMenu(menu, 3);
  ASSERT_NE(gps, nullptr);
  frontend::setEnableStates(gps, [](int id) { return id == shell::cmd::kNavigation; });
  EXPECT_FALSE(GetMenuState(gps, shell::cmd::kNavigation, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_TRUE(GetMenuState(gps, shell::cmd::kLogWaypoint, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_TRUE(GetMenuState(gps, shell::cmd::kEditWaypoints, MF_BYCOMMAND) & MF_GRAYED);
  // "Position &Parameters" opens its own popup, which gets its own states.
  EXPECT_FALSE(GetMenuState(gps, 4, MF_BYPOSITION) & MF_GRAYED);
  HMENU parameters = GetSubMenu(gps, 4);
  EXPECT_FALSE(GetMenuState(parameters, shell::cmd::kWarningFilters, MF_BYCOMMAND) & MF_GRAYED);
  frontend::setEnableStates(gps, [](int) { return true; });
  EXPECT_FALSE(GetMenuState(gps, shell::cmd::kLogWaypoint, MF_BYCOMMAND) & MF_GRAYED);
  DestroyMenu(menu);
}

TEST(Resources, CommandBarPicturesAre125Square) {
  for (int i = 0; i < frontend::CommandBar::kCount; ++i) {
    auto picture = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr),
                                                   MAKEINTRESOURCEW(IDB_BAR_DATA + i), IMAGE_BITMAP,
                                                   0, 0, LR_DEFAULTCOLOR));
    ASSERT_NE(picture, nullptr) << "bitmap " << IDB_BAR_DATA + i;
    BITMAP bm{};
    ASSERT_NE(GetObjectW(picture, sizeof(bm), &bm), 0);
    EXPECT_EQ(bm.bmWidth, 125);
    EXPECT_EQ(bm.bmHeight, 125);
    DeleteObject(picture);
  }
}

}  // namespace
