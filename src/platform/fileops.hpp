#pragma once
// The program's file operations: each mirrors one call of files.hpp and
// applies the retry rule for removable storage. A call that fails with
// kErrDeviceNotAvailable is repeated up to 20 more times, 500 ms apart (on the
// platform clock); any other error ends the retries at once.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/files.hpp"

namespace platform {

inline constexpr int kRetryCount = 20;
inline constexpr int kRetrySleepMs = 500;

// An open file. Operations return 0 or the error code of the last try; a
// failed open leaves the File closed with error() holding the code.
class File {
 public:
  File() = default;
  File(File&&) noexcept = default;
  File& operator=(File&&) noexcept = default;
  ~File();

  bool isOpen() const { return handle_ != nullptr; }
  int error() const { return error_; }

  int read(void* buffer, std::size_t count, std::size_t& done);
  int write(const void* buffer, std::size_t count, std::size_t& done);
  // Reads or writes exactly count bytes; a short transfer is kErrHandleEof
  // (read) or kErrDiskFull (write).
  int readExact(void* buffer, std::size_t count);
  int writeExact(const void* buffer, std::size_t count);
  int seek(std::int64_t distance, SeekFrom from, std::int64_t& position);
  int seek(std::int64_t offset) { std::int64_t p; return seek(offset, SeekFrom::Begin, p); }
  // The size in bytes, or -1 on failure.
  std::int64_t size();
  int setSize(std::int64_t bytes);
  int flush();
  int close();

 private:
  friend File openFile(const std::string&, Access, Disposition);
  std::unique_ptr<FileHandle> handle_;
  int error_ = 0;
};

File openFile(const std::string& path, Access access, Disposition disposition);
int copyFile(const std::string& from, const std::string& to, bool failIfExists);
int moveFile(const std::string& from, const std::string& to);
// Replaces to with from in one step (see FileSystem::replace).
int replaceFile(const std::string& from, const std::string& to);
int deleteFile(const std::string& path);
int makeFolderOnce(const std::string& path);
int removeFolder(const std::string& path);
int findFiles(const std::string& pattern, std::vector<FindEntry>& out);
int setFileTime(const std::string& path, FileTime time);
int getFileTime(const std::string& path, FileTime& time);

// True when the pattern matches at least one entry that is not a folder.
bool fileExists(const std::string& pattern);
// True when the first match of the path is a folder.
bool folderExists(const std::string& path);
// True when the folder exists already or could be created; false when a
// file stands where the folder should be.
bool makeFolder(const std::string& path);

// Reads a whole file; 0 or the error code. Files above maxBytes are refused
// with kErrNotEnoughMemory before anything is read.
int readWholeFile(const std::string& path, std::string& out,
                  std::int64_t maxBytes = std::int64_t{1} << 30);
// Writes a whole file (created anew) and flushes it to disk.
int writeWholeFile(const std::string& path, const void* data, std::size_t size);

// Where writeFileSafely stopped.
enum class SafeWriteStage { Done, Open, Write, Flush, Replace };
// Writes a whole file through a temporary file beside it (path + ".new"),
// flushed, then put in the file's place: a crash or a full disk half-way
// leaves the old file as it was. Returns 0 or the error code; stage tells
// which step failed. The temporary file never survives a failure.
int writeFileSafely(const std::string& path, const void* data, std::size_t size,
                    SafeWriteStage& stage);

}  // namespace platform
