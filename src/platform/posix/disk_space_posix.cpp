#include <sys/statvfs.h>

#include <cerrno>

#include "platform/disk_space.hpp"
#include "platform/errors.hpp"
#include "platform/posix/errno_map.hpp"

namespace platform {

int freeDiskBytes(const std::string& folder, std::uint64_t& bytes) {
  struct statvfs st{};
  if (::statvfs(folder.c_str(), &st) != 0) return posix::fromErrno(errno);
  // f_bavail: the blocks an unprivileged writer may use.
  bytes = static_cast<std::uint64_t>(st.f_bavail) * static_cast<std::uint64_t>(st.f_frsize);
  return kOk;
}

}  // namespace platform
