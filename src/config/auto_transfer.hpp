#pragma once
// The "AutoXfer" registry value: the bundled datasets of the current
// application tagged for automatic transfer, as one comma-separated text. It
// names files of one data folder, so it is emptied whenever that folder's
// data goes away or another application (or none) becomes current.
#include <string>
#include <string_view>
#include <vector>

namespace ui { class Host; }

namespace config {

inline constexpr const char* kAutoTransferValue = "AutoXfer";
// The value is read into a buffer of this many bytes of UTF-16, its NUL
// included: a longer list would come back cut in the middle of a name.
inline constexpr std::size_t kAutoTransferMaxBytes = 8192;

// Writes "AutoXfer" as the empty text. A failed write is shown as
// "Registry Access Error." (caption "Error"); the caller goes on either way.
// True when the value was written.
bool clearAutoTransfer(ui::Host& host);

// The names of a list text: split at commas, blanks around each trimmed,
// empty entries dropped, each name once (first place kept).
std::vector<std::string> splitAutoTransfer(std::string_view text);
// The list text of names: joined with ",".
std::string joinAutoTransfer(const std::vector<std::string>& names);
// True when the list text of names reads back whole within
// kAutoTransferMaxBytes.
bool autoTransferFits(const std::vector<std::string>& names);
// True for a name the list can hold: not blank and without a comma.
bool autoTransferNameUsable(std::string_view name);

// Reads "AutoXfer" into names. A value never written is an empty list. A
// value that exists but cannot be read shows "AutoXfer Registry Read Error."
// (caption "Error") and gives false with names empty.
bool readAutoTransfer(ui::Host& host, std::vector<std::string>& names);

// Writes names as "AutoXfer". A list that would not fit (autoTransferFits)
// or holds an unusable name is not written and gives false without a
// message (the tagging dialog refuses such marks before); a failed write
// shows "AutoXfer Registry Write Error." (caption "Error") and gives false.
bool writeAutoTransfer(ui::Host& host, const std::vector<std::string>& names);

}  // namespace config
