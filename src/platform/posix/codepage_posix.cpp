#include "platform/codepage.hpp"

namespace platform {

// The "ANSI code page" off Windows is Windows-1252, so that tables and
// control files read the same as on the Windows program.
std::string toNarrow(std::string_view utf8) { return utf8ToCp1252(utf8); }
std::string toWide(std::string_view ansi) { return cp1252ToUtf8(ansi); }

}  // namespace platform
