#include "base/device_names.hpp"

#include <string>

#include "base/text.hpp"

namespace base {

namespace {

constexpr const char* kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
// Windows also takes the superscript digits 1-3 as port numbers (8-bit and UTF-8).
constexpr const char* kSuperscripts[] = {"\xB9", "\xB2", "\xB3", "\xC2\xB9", "\xC2\xB2", "\xC2\xB3"};

}  // namespace

bool isDeviceName(std::string_view name) {
  std::string stem = toUpper(trim(name));
  const std::size_t dot = stem.find('.');
  if (dot != std::string::npos) stem = trimRight(stem.substr(0, dot));
  for (const char* device : kDevices)
    if (stem == device) return true;
  if (stem.size() < 4 || (stem.rfind("COM", 0) != 0 && stem.rfind("LPT", 0) != 0)) return false;
  const std::string_view digit = std::string_view(stem).substr(3);
  if (digit.size() == 1 && digit[0] >= '1' && digit[0] <= '9') return true;
  for (const char* superscript : kSuperscripts)
    if (digit == superscript) return true;
  return false;
}

}  // namespace base
