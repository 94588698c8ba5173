// 8-bit text in the system's ANSI code page, through UTF-16.
#include <windows.h>

#include "platform/codepage.hpp"
#include "platform/win32/wide.hpp"

namespace platform {

std::string toNarrow(std::string_view utf8) {
  // The system puts its default character ('?') where the code page has none.
  return win32::fromUtf16(win32::toUtf16(utf8, CP_UTF8), CP_ACP);
}

std::string toWide(std::string_view ansi) {
  return win32::fromUtf16(win32::toUtf16(ansi, CP_ACP), CP_UTF8);
}

}  // namespace platform
