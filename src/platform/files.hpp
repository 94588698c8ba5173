#pragma once
// The file-system boundary: raw calls, one per operating-system call, with no
// retrying. Every call returns 0 or a Windows error code (errors.hpp).
// Paths are UTF-8 text; the Win32 implementation widens them at the boundary.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

enum class Access { Read, Write, ReadWrite };
// Numbered as the Win32 creation dispositions. CreateNew fails with
// kErrFileExists when anything stands at the path, a symbolic link too (it is
// never followed); the others follow links.
enum class Disposition { CreateNew = 1, CreateAlways = 2, OpenExisting = 3, OpenAlways = 4 };
enum class SeekFrom { Begin = 0, Current = 1, End = 2 };

// A file time: 100-nanosecond intervals since 1601-01-01 UTC (Win32 FILETIME).
using FileTime = std::uint64_t;

class FileHandle {
 public:
  virtual ~FileHandle() = default;
  // Reads up to count bytes; done is how many arrived (0 at end of file).
  virtual int read(void* buffer, std::size_t count, std::size_t& done) = 0;
  virtual int write(const void* buffer, std::size_t count, std::size_t& done) = 0;
  // Moves the file position; position receives the new absolute offset.
  virtual int seek(std::int64_t distance, SeekFrom from, std::int64_t& position) = 0;
  virtual int size(std::int64_t& bytes) = 0;
  // Cuts or extends the file to bytes (the position is left at bytes).
  virtual int setSize(std::int64_t bytes) = 0;
  // Forces written data to the storage device.
  virtual int flush() = 0;
  // Closes; a handle that is destroyed unclosed closes itself, ignoring errors.
  virtual int close() = 0;
};

struct FindEntry {
  std::string name;  // name only, no folder
  bool isFolder = false;
  std::uint64_t size = 0;
  FileTime writeTime = 0;
  // The entry is a symbolic link or other reparse point; isFolder and size
  // describe what it points at. Removing a tree never walks through one.
  bool isLink = false;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual int open(const std::string& path, Access access, Disposition disposition,
                   std::unique_ptr<FileHandle>& out) = 0;
  virtual int copy(const std::string& from, const std::string& to, bool failIfExists) = 0;
  virtual int move(const std::string& from, const std::string& to) = 0;
  virtual int remove(const std::string& path) = 0;
  // Creates one folder; kErrAlreadyExists when it is there already.
  virtual int makeFolder(const std::string& path) = 0;
  virtual int removeFolder(const std::string& path) = 0;
  // Lists the entries of the pattern's folder whose names match its last part
  // under the Windows wildcard rules (wildcard.hpp); "." and ".." are skipped.
  // No match is kErrFileNotFound, as FindFirstFile reports it.
  virtual int find(const std::string& pattern, std::vector<FindEntry>& out) = 0;
  virtual int setWriteTime(const std::string& path, FileTime time) = 0;
  virtual int writeTime(const std::string& path, FileTime& time) = 0;
  // Puts from in the place of to in one step where the system allows it, so
  // a crash leaves either the old or the new file. This default, for file
  // systems without such a call, removes to first.
  virtual int replace(const std::string& from, const std::string& to) {
    int rc = move(from, to);
    if (rc == 183 || rc == 80) {
      remove(to);
      rc = move(from, to);
    }
    return rc;
  }
};

// The native file system of this build.
FileSystem& nativeFileSystem();

// The file system every operation of the program uses: the native one unless a
// test has put another in its place.
FileSystem& fileSystem();

// Puts a file system in place for the life of the object (tests: shims).
class ScopedFileSystem {
 public:
  explicit ScopedFileSystem(FileSystem& replacement);
  ~ScopedFileSystem();
  ScopedFileSystem(const ScopedFileSystem&) = delete;
  ScopedFileSystem& operator=(const ScopedFileSystem&) = delete;

 private:
  FileSystem* previous_;
};

// The path separator of this platform, the one constant paths are built with.
#ifdef _WIN32
inline constexpr char kSep = '\\';
#else
inline constexpr char kSep = '/';
#endif

}  // namespace platform
