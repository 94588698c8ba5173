#include <fcntl.h>
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

}  // namespace platform
