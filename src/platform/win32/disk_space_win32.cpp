#include <windows.h>

#include "platform/disk_space.hpp"
#include "platform/errors.hpp"
#include "platform/win32/wide.hpp"

namespace platform {

int freeDiskBytes(const std::string& folder, std::uint64_t& bytes) {
  ULARGE_INTEGER available{};
  // The first figure honours the user's quota, as a writer meets it.
  if (!GetDiskFreeSpaceExW(win32::toUtf16(folder).c_str(), &available, nullptr, nullptr))
    return static_cast<int>(GetLastError());
  bytes = available.QuadPart;
  return kOk;
}

}  // namespace platform
