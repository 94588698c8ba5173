#pragma once
// System error codes. The whole program speaks Windows error numbers, because
// messages show them ("Error:%d") and the retry rule keys on one of them; the
// POSIX implementation translates errno into these.
#include <string>

namespace platform {

inline constexpr int kOk = 0;
inline constexpr int kErrFileNotFound = 2;
inline constexpr int kErrPathNotFound = 3;
inline constexpr int kErrTooManyOpenFiles = 4;
inline constexpr int kErrAccessDenied = 5;
inline constexpr int kErrInvalidHandle = 6;
inline constexpr int kErrNotEnoughMemory = 8;
inline constexpr int kErrWriteProtect = 19;
inline constexpr int kErrNotReady = 21;
inline constexpr int kErrSharingViolation = 32;
inline constexpr int kErrLockViolation = 33;
inline constexpr int kErrHandleEof = 38;
inline constexpr int kErrNotSupported = 50;
inline constexpr int kErrFileExists = 80;
inline constexpr int kErrInvalidParameter = 87;
inline constexpr int kErrDiskFull = 112;
inline constexpr int kErrInvalidName = 123;
inline constexpr int kErrDirNotEmpty = 145;
inline constexpr int kErrBusy = 170;
inline constexpr int kErrAlreadyExists = 183;
inline constexpr int kErrFilenameTooLong = 206;
inline constexpr int kErrIoDevice = 1117;
inline constexpr int kErrPrivilegeNotHeld = 1314;  // the user may not set the clock
// The device is not available: removable storage that comes and goes.
inline constexpr int kErrDeviceNotAvailable = 4319;

// The system's text for an error code (FormatMessage on Windows, our own
// table elsewhere), without a trailing line break. Never empty.
std::string errorText(int code);

}  // namespace platform
