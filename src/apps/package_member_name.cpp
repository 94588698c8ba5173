#include "apps/package_format.hpp"

#include <array>

#include "base/text.hpp"

namespace apps {

namespace {

// Names Windows gives to devices, with or without an extension.
bool isDeviceName(std::string_view name8) {
  std::string_view stem = name8.substr(0, name8.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
  static constexpr std::array<std::string_view, 6> kFixed = {"CON", "PRN",    "AUX",
                                                             "NUL", "CONIN$", "CONOUT$"};
  for (auto device : kFixed)
    if (base::equalsNoCase(stem, device)) return true;
  if (stem.size() == 4 && (base::equalsNoCase(stem.substr(0, 3), "COM") ||
                           base::equalsNoCase(stem.substr(0, 3), "LPT"))) {
    return stem[3] >= '0' && stem[3] <= '9';
  }
  return false;
}

}  // namespace

bool isSafeMemberName(std::string_view name8) {
  if (name8.empty() || name8.size() >= kEntryNameSize) return false;
  for (char c : name8) {
    auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) return false;
    switch (c) {
      case '\\':
      case '/':
      case ':':
      case '*':
      case '?':
      case '"':
      case '<':
      case '>':
      case '|':
        return false;
      default:
        break;
    }
  }
  // Windows drops trailing dots and blanks, so such a name would land on
  // another file; ".." anywhere is refused outright.
  if (name8.back() == '.' || name8.back() == ' ') return false;
  if (name8.find("..") != std::string_view::npos) return false;
  if (isDeviceName(name8)) return false;
  return !base::equalsNoCase(name8, kScratchName) && !base::equalsNoCase(name8, kPartialName);
}

}  // namespace apps
