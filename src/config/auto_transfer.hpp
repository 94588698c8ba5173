#pragma once
// The "AutoXfer" registry value: the bundled datasets of the current
// application tagged for automatic transfer. It names files of one data
// folder, so it is emptied whenever that folder's data goes away or another
// application (or none) becomes current.
namespace ui { class Host; }

namespace config {

inline constexpr const char* kAutoTransferValue = "AutoXfer";

// Writes "AutoXfer" as the empty text. A failed write is shown as
// "Registry Access Error." (caption "Error"); the caller goes on either way.
// True when the value was written.
bool clearAutoTransfer(ui::Host& host);

}  // namespace config
