// The system's texts for error codes, from Windows' own message tables.
#include <windows.h>

#include <string>

#include "platform/errors.hpp"
#include "platform/win32/wide.hpp"

namespace platform {

std::string errorText(int code) {
  wchar_t* buffer = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                               FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, static_cast<DWORD>(code), 0,
                           reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text;
  if (n > 0 && buffer) text.assign(buffer, n);
  if (buffer) LocalFree(buffer);
  // The tables end every text with a line break; callers put their own.
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n')) text.pop_back();
  if (text.empty()) return "Error " + std::to_string(code);
  return win32::fromUtf16(text);
}

}  // namespace platform
