#pragma once
// Text conversions. Inside the program "wide" text (the user interface, most
// paths) is held as UTF-8 and "8-bit" text (tables, control files, programs,
// serial data) in the ANSI code page: the system's on Windows, Windows-1252
// elsewhere.
#include <string>
#include <string_view>

namespace platform {

// UTF-8 to the ANSI code page; characters it lacks become '?'.
std::string toNarrow(std::string_view utf8);
// The ANSI code page to UTF-8.
std::string toWide(std::string_view ansi);

// The Windows-1252 conversions themselves, the same on every platform.
std::string utf8ToCp1252(std::string_view utf8);
std::string cp1252ToUtf8(std::string_view text);

// UTF-16 little-endian images, as fixed-layout records store wide text.
std::u16string utf8ToUtf16(std::string_view utf8);
std::string utf16ToUtf8(std::u16string_view text);

}  // namespace platform
