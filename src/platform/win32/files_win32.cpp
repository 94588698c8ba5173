// The file-system boundary on Windows: one Win32 call per operation, UTF-8
// paths widened here, failures reported as GetLastError codes.
#include <windows.h>

#include <algorithm>
#include <limits>

#include "platform/errors.hpp"
#include "platform/files.hpp"
#include "platform/wildcard.hpp"
#include "platform/win32/wide.hpp"

namespace platform {

namespace {

using win32::lastError;
using win32::toUtf16;

// ReadFile and WriteFile move at most a DWORD at a time.
constexpr std::size_t kMaxChunk = 0x40000000;

class Win32File final : public FileHandle {
 public:
  explicit Win32File(HANDLE h) : handle_(h) {}
  ~Win32File() override {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }

  int read(void* buffer, std::size_t count, std::size_t& done) override {
    done = 0;
    auto* at = static_cast<char*>(buffer);
    while (done < count) {
      DWORD want = static_cast<DWORD>(std::min(count - done, kMaxChunk));
      DWORD got = 0;
      if (!ReadFile(handle_, at + done, want, &got, nullptr)) return lastError();
      done += got;
      if (got < want) break;  // end of file
    }
    return kOk;
  }

  int write(const void* buffer, std::size_t count, std::size_t& done) override {
    done = 0;
    const auto* at = static_cast<const char*>(buffer);
    while (done < count) {
      DWORD want = static_cast<DWORD>(std::min(count - done, kMaxChunk));
      DWORD put = 0;
      if (!WriteFile(handle_, at + done, want, &put, nullptr)) return lastError();
      done += put;
      if (put < want) break;
    }
    return kOk;
  }

  int seek(std::int64_t distance, SeekFrom from, std::int64_t& position) override {
    LARGE_INTEGER move;
    move.QuadPart = distance;
    LARGE_INTEGER now;
    if (!SetFilePointerEx(handle_, move, &now, static_cast<DWORD>(from))) return lastError();
    position = now.QuadPart;
    return kOk;
  }

  int size(std::int64_t& bytes) override {
    LARGE_INTEGER n;
    if (!GetFileSizeEx(handle_, &n)) return lastError();
    bytes = n.QuadPart;
    return kOk;
  }

  int setSize(std::int64_t bytes) override {
    LARGE_INTEGER at;
    at.QuadPart = bytes;
    if (!SetFilePointerEx(handle_, at, nullptr, FILE_BEGIN)) return lastError();
    if (!SetEndOfFile(handle_)) return lastError();
    return kOk;
  }

  int flush() override { return FlushFileBuffers(handle_) ? kOk : lastError(); }

  int close() override {
    if (handle_ == INVALID_HANDLE_VALUE) return kErrInvalidHandle;
    HANDLE h = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return CloseHandle(h) ? kOk : lastError();
  }

 private:
  HANDLE handle_;
};

FileTime toFileTime(const FILETIME& ft) {
  return (static_cast<FileTime>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

// Where the last part of a path begins (after the last '\' or '/'), or after a
// drive letter's colon ("C:*.dbf").
std::size_t lastPartStart(const std::string& path) {
  std::size_t cut = path.find_last_of("\\/");
  if (cut != std::string::npos) return cut + 1;
  if (path.size() >= 2 && path[1] == ':') return 2;
  return 0;
}

bool hasWildcard(std::string_view name) {
  return name.find_first_of("*?") != std::string_view::npos;
}

class Win32FileSystem final : public FileSystem {
 public:
  int open(const std::string& path, Access access, Disposition disposition,
           std::unique_ptr<FileHandle>& out) override {
    out.reset();
    DWORD desired = 0;
    switch (access) {
      case Access::Read: desired = GENERIC_READ; break;
      case Access::Write: desired = GENERIC_WRITE; break;
      case Access::ReadWrite: desired = GENERIC_READ | GENERIC_WRITE; break;
    }
    HANDLE h = CreateFileW(toUtf16(path).c_str(), desired, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, static_cast<DWORD>(disposition), FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) return lastError();
    out = std::make_unique<Win32File>(h);
    return kOk;
  }

  int copy(const std::string& from, const std::string& to, bool failIfExists) override {
    return CopyFileW(toUtf16(from).c_str(), toUtf16(to).c_str(), failIfExists ? TRUE : FALSE)
               ? kOk
               : lastError();
  }

  int move(const std::string& from, const std::string& to) override {
    // As MoveFileW: an existing target is an error; across volumes it copies.
    return MoveFileExW(toUtf16(from).c_str(), toUtf16(to).c_str(), MOVEFILE_COPY_ALLOWED)
               ? kOk
               : lastError();
  }

  int replace(const std::string& from, const std::string& to) override {
    // One rename on the same volume: the old file or the new one, never neither.
    return MoveFileExW(toUtf16(from).c_str(), toUtf16(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? kOk
               : lastError();
  }

  int remove(const std::string& path) override {
    return DeleteFileW(toUtf16(path).c_str()) ? kOk : lastError();
  }

  int makeFolder(const std::string& path) override {
    return CreateDirectoryW(toUtf16(path).c_str(), nullptr) ? kOk : lastError();
  }

  int removeFolder(const std::string& path) override {
    return RemoveDirectoryW(toUtf16(path).c_str()) ? kOk : lastError();
  }

  int find(const std::string& pattern, std::vector<FindEntry>& out) override {
    out.clear();
    std::size_t start = lastPartStart(pattern);
    std::string folder = pattern.substr(0, start);
    std::string namePattern = pattern.substr(start);
    if (namePattern.empty()) return kErrFileNotFound;
    // The system's own matching also looks at 8.3 short names and treats
    // some patterns differently; it only chooses candidates here, the
    // program's wildcard rules decide.
    std::string search = hasWildcard(namePattern) ? folder + "*" : pattern;
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileW(toUtf16(search).c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) return lastError();
    do {
      std::wstring_view wname(data.cFileName);
      if (wname == L"." || wname == L"..") continue;
      FindEntry entry;
      entry.name = win32::fromUtf16(wname);
      if (!wildcardMatch(namePattern, entry.name)) continue;
      entry.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      entry.isLink = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
      entry.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
      entry.writeTime = toFileTime(data.ftLastWriteTime);
      out.push_back(std::move(entry));
    } while (FindNextFileW(h, &data));
    int last = lastError();
    FindClose(h);
    if (last != ERROR_NO_MORE_FILES) {
      out.clear();
      return last;
    }
    return out.empty() ? kErrFileNotFound : kOk;
  }

  int setWriteTime(const std::string& path, FileTime time) override {
    // Backup semantics lets the same call stamp a folder.
    HANDLE h = CreateFileW(toUtf16(path).c_str(), FILE_WRITE_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return lastError();
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(time & 0xFFFFFFFFu);
    ft.dwHighDateTime = static_cast<DWORD>(time >> 32);
    int rc = SetFileTime(h, nullptr, nullptr, &ft) ? kOk : lastError();
    CloseHandle(h);
    return rc;
  }

  int writeTime(const std::string& path, FileTime& time) override {
    HANDLE h = CreateFileW(toUtf16(path).c_str(), FILE_READ_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return lastError();
    FILETIME ft;
    int rc = GetFileTime(h, nullptr, nullptr, &ft) ? kOk : lastError();
    CloseHandle(h);
    if (rc == kOk) time = toFileTime(ft);
    return rc;
  }
};

}  // namespace

FileSystem& nativeFileSystem() {
  static Win32FileSystem fs;
  return fs;
}

}  // namespace platform
