#include <cerrno>
#include <cstring>

#include "platform/errors.hpp"
#include "platform/posix/errno_map.hpp"

namespace platform {

namespace posix {
int fromErrno(int err) {
  switch (err) {
    case 0: return kOk;
    case ENOENT: return kErrFileNotFound;
    case ENOTDIR: return kErrPathNotFound;
    case EMFILE: case ENFILE: return kErrTooManyOpenFiles;
    case EACCES: case EPERM: case EISDIR: return kErrAccessDenied;
    case EBADF: return kErrInvalidHandle;
    case ENOMEM: return kErrNotEnoughMemory;
    case EROFS: return kErrWriteProtect;
    case EEXIST: return kErrAlreadyExists;
    case EINVAL: return kErrInvalidParameter;
    case ENOSPC: case EDQUOT: case EFBIG: return kErrDiskFull;
    case ENAMETOOLONG: return kErrFilenameTooLong;
    case ENOTEMPTY: return kErrDirNotEmpty;
    case EBUSY: case ETXTBSY: return kErrBusy;
    case EAGAIN: return kErrLockViolation;
    case EIO: return kErrIoDevice;
    // Storage that has gone away: the retry rule waits for it to come back.
    case ENODEV: case ENXIO: case ENOMEDIUM: return kErrDeviceNotAvailable;
    default: return kErrNotSupported;
  }
}
}  // namespace posix

std::string errorText(int code) {
  switch (code) {
    case kOk: return "The operation completed successfully.";
    case kErrFileNotFound: return "The system cannot find the file specified.";
    case kErrPathNotFound: return "The system cannot find the path specified.";
    case kErrTooManyOpenFiles: return "The system cannot open the file.";
    case kErrAccessDenied: return "Access is denied.";
    case kErrInvalidHandle: return "The handle is invalid.";
    case kErrNotEnoughMemory: return "Not enough memory resources are available to process this command.";
    case kErrWriteProtect: return "The media is write protected.";
    case kErrNotReady: return "The device is not ready.";
    case kErrSharingViolation: return "The process cannot access the file because it is being used by another process.";
    case kErrLockViolation: return "The process cannot access the file because another process has locked a portion of the file.";
    case kErrHandleEof: return "Reached the end of the file.";
    case kErrNotSupported: return "The request is not supported.";
    case kErrFileExists: return "The file exists.";
    case kErrInvalidParameter: return "The parameter is incorrect.";
    case kErrDiskFull: return "There is not enough space on the disk.";
    case kErrInvalidName: return "The filename, directory name, or volume label syntax is incorrect.";
    case kErrDirNotEmpty: return "The directory is not empty.";
    case kErrBusy: return "The requested resource is in use.";
    case kErrAlreadyExists: return "Cannot create a file when that file already exists.";
    case kErrFilenameTooLong: return "The filename or extension is too long.";
    case kErrIoDevice: return "The request could not be performed because of an I/O device error.";
    case kErrPrivilegeNotHeld: return "A required privilege is not held by the client.";
    case kErrDeviceNotAvailable: return "The device is not available.";
    default: return "Error " + std::to_string(code) + ".";
  }
}

}  // namespace platform
