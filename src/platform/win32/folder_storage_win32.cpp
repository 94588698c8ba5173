#include <windows.h>

#include "platform/folder_storage.hpp"
#include "platform/win32/wide.hpp"

namespace platform {

int flushFolder(const std::string& path) {
  // NTFS journals folder entries; only the folder's presence is checked.
  DWORD attributes = ::GetFileAttributesW(win32::toUtf16(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return win32::lastError();
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : ERROR_DIRECTORY;
}

}  // namespace platform
