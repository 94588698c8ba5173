#include "platform/ipv4_text.hpp"

namespace platform {

bool parseDottedIpv4(std::string_view text, std::uint32_t& address) {
  std::uint32_t result = 0;
  std::size_t pos = 0;
  for (int part = 0; part < 4; ++part) {
    if (part > 0) {
      if (pos >= text.size() || text[pos] != '.') return false;
      ++pos;
    }
    std::size_t start = pos;
    unsigned value = 0;
    // At most three digits, so the value cannot overflow before the check.
    while (pos < text.size() && pos - start < 3 && text[pos] >= '0' && text[pos] <= '9') {
      value = value * 10 + static_cast<unsigned>(text[pos] - '0');
      ++pos;
    }
    if (pos == start || value > 255) return false;
    if (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') return false;
    result = (result << 8) | value;
  }
  if (pos != text.size()) return false;
  address = result;
  return true;
}

std::string ipv4PortText(std::uint32_t address, std::uint16_t port) {
  return std::to_string(address >> 24) + "." + std::to_string((address >> 16) & 255) + "." +
         std::to_string((address >> 8) & 255) + "." + std::to_string(address & 255) + ":" + std::to_string(port);
}

}  // namespace platform
