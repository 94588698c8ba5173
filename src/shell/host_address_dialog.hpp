#pragma once
// "Tallyfin Host IP Address" (TCP/IP Transfer Setups): where the host
// listens, kept in "TFM_Host_IP.txt" in the settings folder, and the two
// host-transfer options of the settings record.
#include <array>
#include <string>

#include "ui/form.hpp"

namespace ui { class Host; }

namespace shell {

struct StartupValues;

inline constexpr int kHostAddressDialog = 102;
inline constexpr int kHostOctet1 = 1021, kHostOctet2 = 1022, kHostOctet3 = 1023, kHostOctet4 = 1024;
inline constexpr int kHostPort = 1025;
inline constexpr int kArchiveAfterTransferCheck = 1026, kRequestUpdateCheck = 1027;
inline constexpr int kHostSaveButton = ui::kIdOkButton;

inline constexpr const char* kBadOctetText = "Each Number of the IP Address Must Be 0 to 255";
inline constexpr const char* kBadPortText = "The Port Number Must Be 1 to 65535";

ui::Form hostAddressForm();

// The address and port as the file keeps them, from what the fields hold:
// each octet a number 0-255 and the port a number 1-65535, written without
// leading zeros (so no reader takes "010" for an octal 8). Empty error when
// usable; otherwise error is the message to show and the texts are unset.
struct HostAddressFields {
  std::string address, port, error;
};
HostAddressFields hostAddressFromFields(const std::array<std::string, 4>& octets, const std::string& port);

// Runs the dialog. The fields start from the file (10, 1, 1, 1 and 50000
// when it is missing or unusable), the check boxes from the settings record
// read anew. Save with a usable address writes the file, stores both check
// boxes (0 or 1) in the settings record and writes the settings file: 1. A
// bad octet or port is refused with its message and the dialog stays open;
// so does a failed write ("Can't write:<file>", caption "Save Error").
// Cancel changes nothing: 0.
int hostAddressDialog(ui::Host& host, StartupValues& values);

}  // namespace shell
