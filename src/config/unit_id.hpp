#pragma once
// The unit identification: the text that tells this installation apart in
// every data file name (its unit code is derived from it, config/unit_code).
// It is the registry value "Unit ID" under the program's key when one is set
// and usable, else the computer's name, which the front ends pass as the
// default. An administrator changes it in a small dialog behind the about box.
#include <string>
#include <string_view>

#include "ui/form.hpp"

namespace ui {
class Host;
}

namespace config {

class SettingsRecord;

inline constexpr const char* kUnitIdValueName = "Unit ID";
inline constexpr int kUnitIdResource = 199;
inline constexpr int kUnitIdEntry = 1390;
// The settings record holds the text in an 84-byte 8-bit field.
inline constexpr std::size_t kUnitIdMaxLength = 80;

// True when text can identify the unit: not blank, at most 80 characters,
// no control character and none of \ / : * ? " < > | (which no file name
// may hold) or ~ [ ] + ^ (which separate the parts of data file names).
bool unitIdUsable(std::string_view text);

// The registry value "Unit ID" (trimmed) when it is present and usable,
// else defaultText.
std::string unitIdentification(const std::string& defaultText);

// Stores text (trimmed) as "Unit ID"; an empty text clears it, so the
// default applies again. 1 on success, 0 when the registry refused.
int setUnitIdentification(const std::string& text);

// Puts the identification text (UTF-8) and its unit code into the settings
// record (UnitIdText as 8-bit text, UnitCode).
void applyUnitIdentification(SettingsRecord& settings, const std::string& text);

// The dialog: "Unit ID:" with one entry field, OK and Cancel.
ui::Form unitIdForm();

// Runs the dialog with the current identification filled in. OK with a
// usable text (or an empty one, which returns to defaultText) stores it and
// applies the identification now in force to settings (the caller writes
// the settings file); an unusable text shows "Unit ID:\"%s\" Is Not
// Valid\nDo Not Use \\ / : * ? \" < > | ~ [ ] + ^" (caption "Unit ID Error")
// and the dialog stays open; a registry failure shows "Registry Access
// Error." (caption "Error"). Returns 1 when the identification was
// changed, 0 otherwise.
int changeUnitIdentification(ui::Host& host, SettingsRecord& settings, const std::string& defaultText);

}  // namespace config
