#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>

#include "platform/folder_storage.hpp"
#include "platform/posix/errno_map.hpp"

namespace platform {

int flushFolder(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return posix::fromErrno(errno);
  int rc = ::fsync(fd) == 0 ? 0 : posix::fromErrno(errno);
  ::close(fd);
  return rc;
}

int freeSpace(const std::string& path, std::uint64_t& bytes) {
  struct statvfs s{};
  if (::statvfs(path.c_str(), &s) != 0) return posix::fromErrno(errno);
  bytes = static_cast<std::uint64_t>(s.f_bavail) * static_cast<std::uint64_t>(s.f_frsize);
  return 0;
}

}  // namespace platform
