// Only the kernel's termios2 header here: it cannot share a translation unit
// with <termios.h>.
#include "platform/posix/serial_baud_linux.hpp"

#include <cerrno>

#if defined(__linux__)
#include <asm/termbits.h>
#include <sys/ioctl.h>
#endif

namespace platform::posix {

int setCustomBaud(int fd, std::uint32_t baud) {
#if defined(__linux__) && defined(TCGETS2) && defined(BOTHER)
  struct termios2 tio {};
  if (ioctl(fd, TCGETS2, &tio) != 0) return errno;
  // The input rate follows the output rate (both fields set, both "other").
  tio.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
  tio.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
  tio.c_ispeed = baud;
  tio.c_ospeed = baud;
  if (ioctl(fd, TCSETS2, &tio) != 0) return errno;
  struct termios2 check {};
  if (ioctl(fd, TCGETS2, &check) != 0) return errno;
  // A driver reports the rate its clock divider made; a few percent off is
  // what a UART tolerates, more is a rate the device cannot run.
  std::uint64_t got = check.c_ospeed, want = baud;
  std::uint64_t diff = got > want ? got - want : want - got;
  if (diff * 100 > want * 3) return EINVAL;
  return 0;
#else
  (void)fd;
  (void)baud;
  return ENOTSUP;
#endif
}

}  // namespace platform::posix
