#pragma once
// "TFM_Host_IP.txt" in the settings folder: where the host listens, as one
// line "%s %s\n" — a dotted IPv4 address and a port number.
#include <cstdint>
#include <string>
#include <string_view>

namespace transfer {

inline constexpr const char* kHostAddressFileName = "TFM_Host_IP.txt";

struct HostAddress {
  std::string address = "0.0.0.0";  // the texts as stored
  std::string port = "0";
  std::uint32_t ipv4 = 0;            // host order, first number in the top byte
  std::uint16_t portNumber = 0;
};

enum class HostAddressRead {
  kOk = 0,
  kMissing,     // no file: out holds "0.0.0.0" and "0", which no session can use
  kUnreadable,  // the file exists but cannot be read; out untouched
  kMalformed,   // the file's text is not an address and a port (parseHostAddress); out untouched
};

// Reads the text as two blank-separated words of at most 32 characters each,
// with nothing but blanks and line ends after them. True (out set) only when
// the first is dotted IPv4 (four numbers 0-255) and the second is a decimal
// port 1-65535 of digits only; false (out untouched) for anything else,
// including a longer word, a third word, or a missing port.
[[nodiscard]] bool parseHostAddress(std::string_view text, HostAddress& out);

// The file's line for an address and port: "%s %s\n".
std::string hostAddressLine(std::string_view address, std::string_view port);

// Reads folder + "TFM_Host_IP.txt" (files above 4096 bytes are kMalformed
// without being read).
[[nodiscard]] HostAddressRead readHostAddress(const std::string& folder, HostAddress& out);

inline constexpr int kHostAddressInvalid = -1;

// Writes folder + "TFM_Host_IP.txt" as one line, replacing the file whole.
// 0 on success; kHostAddressInvalid (nothing written) when the address and
// port would not read back through parseHostAddress; otherwise the system
// error code of the failed write (the old file stays as it was).
[[nodiscard]] int writeHostAddress(const std::string& folder, std::string_view address,
                                   std::string_view port);

}  // namespace transfer
