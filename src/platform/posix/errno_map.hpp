#pragma once
// errno to the Windows error numbers the program speaks.
namespace platform::posix {
int fromErrno(int err);
}
