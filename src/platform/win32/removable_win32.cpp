// Removable drives on Windows: the logical drives whose type is removable,
// tried from A upwards, each with its volume label; then the registry's
// folders.
#include <windows.h>

#include "platform/removable.hpp"
#include "platform/win32/wide.hpp"

namespace platform {

int listRemovableDrives(std::vector<std::string>& out) {
  out.clear();
  const DWORD drives = GetLogicalDrives();
  if (drives == 0) {
    const int err = win32::lastError();
    addRegistryFolders(out);
    return err != 0 ? err : ERROR_INVALID_FUNCTION;
  }
  for (int letter = 0; letter < 26 && out.size() < kMaxRemovableEntries; ++letter) {
    if ((drives & (DWORD{1} << letter)) == 0) continue;
    const wchar_t root[] = {static_cast<wchar_t>(L'A' + letter), L':', L'\\', L'\0'};
    if (GetDriveTypeW(root) != DRIVE_REMOVABLE) continue;
    // A drive without a medium has no label: it is listed with an empty one.
    wchar_t label[MAX_PATH + 1] = {};
    UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS);
    if (!GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0)) label[0] = L'\0';
    SetErrorMode(previous);
    const char place[] = {static_cast<char>('A' + letter), ':', '\0'};
    out.push_back(removableEntry(place, win32::fromUtf16(label)));
  }
  addRegistryFolders(out);
  return 0;
}

}  // namespace platform
