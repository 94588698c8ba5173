#pragma once
// UTF-8 <-> UTF-16 at the Win32 boundary. The program keeps wide text as UTF-8;
// every W call of this folder widens its arguments here and narrows results.
#include <windows.h>

#include <string>
#include <string_view>

namespace platform::win32 {

// Converts between a code page's bytes and UTF-16; invalid input becomes U+FFFD.
inline std::wstring toUtf16(std::string_view text, UINT codePage = CP_UTF8) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

// For a code page other than UTF-8 a character it lacks becomes '?': no "best
// fit" look-alike (Ω as O, a full-width solidus as a backslash), which could
// change what a path or a stored text means.
inline std::string fromUtf16(std::wstring_view text, UINT codePage = CP_UTF8) {
  if (text.empty()) return {};
  DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  int n = WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()), nullptr,
                              0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

// GetLastError as the program's int code.
inline int lastError() { return static_cast<int>(GetLastError()); }

}  // namespace platform::win32
