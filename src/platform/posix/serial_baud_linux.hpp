#pragma once
// Rates termios has no speed_t constant for. Kept apart from <termios.h>:
// the kernel's termios2 header redefines its structures.
#include <cstdint>

namespace platform::posix {

// Sets the input and output rate of the tty fd to baud (Linux: termios2 with
// BOTHER), keeping the rest of its configuration. 0, or an errno value;
// ENOTSUP where the system has no way to set an arbitrary rate.
int setCustomBaud(int fd, std::uint32_t baud);

}  // namespace platform::posix
