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
    // Windows counts the superscript digits of its code page as port numbers.
    const auto digit = static_cast<unsigned char>(stem[3]);
    return (digit >= '0' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
  }
  return false;
}

// The code points Windows-1252 leaves undefined; Windows maps them onto C1
// control characters.
bool isUndefinedCodePoint(unsigned char u) {
  return u == 0x81 || u == 0x8D || u == 0x8F || u == 0x90 || u == 0x9D;
}

}  // namespace

bool isSafeMemberName(std::string_view name8) {
  if (name8.empty() || name8.size() >= kEntryNameSize) return false;
  for (char c : name8) {
    auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F || isUndefinedCodePoint(u)) return false;
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
