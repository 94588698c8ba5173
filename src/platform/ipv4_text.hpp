#pragma once
// Dotted IPv4 text, read strictly: four decimal numbers 0-255 joined by dots,
// nothing else ("10.1.1.200"). Both socket implementations read addresses
// through this, so an address means the same on every system.
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// True with address set (host order, first number in the top byte) when
// text is dotted IPv4; false otherwise (address untouched).
[[nodiscard]] bool parseDottedIpv4(std::string_view text, std::uint32_t& address);

// "a.b.c.d:port" for an address in host order, as logs show a peer.
std::string ipv4PortText(std::uint32_t address, std::uint16_t port);

}  // namespace platform
