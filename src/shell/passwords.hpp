#pragma once
// The two access levels that guard the administrative commands. Level 1
// guards erasing an application; level 2 the preferences, erasing data and
// leaving the program; each level's own change dialog is guarded by itself.
// An empty password means no check.
#include <string>

namespace ui { class Host; }

namespace shell {

struct StartupValues;

inline constexpr const char* kServiceCodeA = "5550192837";
inline constexpr const char* kServiceCodeB = "4417260095";
inline constexpr int kPasswordDialog = 136;
inline constexpr int kChangePasswordDialog = 135;
inline constexpr int kPasswordEntry = 1361;
inline constexpr int kNewPasswordEntry = 1351, kRepeatPasswordEntry = 1352;

// Whether entry opens the level (the comparison of the password dialog); the
// dialog passes the entry and the passwords as 8-bit text, as stored.
bool passwordAccepted(int level, const std::string& entry, const std::string& password1,
                      const std::string& password2);

// Re-reads the settings file; true when the level has no password or the
// user enters one the level accepts; false for a level other than 1 or 2 and
// when the user cancels.
bool checkAccess(ui::Host& host, StartupValues& values, int level);

// The change dialog of a level; saves the settings file when it ends with OK.
// For level 1 while only level 2 has a password, the level-2 password is
// asked first and a refusal or Cancel changes nothing.
void changePassword(ui::Host& host, StartupValues& values, int level);

}  // namespace shell
