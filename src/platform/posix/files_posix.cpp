// The file system over POSIX calls, with Windows error numbers and the
// Windows behaviours callers rely on: opening a folder as a file is refused,
// a move does not replace an existing file, a copy keeps the write time.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/errors.hpp"
#include "platform/files.hpp"
#include "platform/posix/errno_map.hpp"
#include "platform/wildcard.hpp"

namespace platform {

namespace {

using posix::fromErrno;

constexpr std::uint64_t kUnixEpochIn100ns = 116444736000000000ull;

FileTime toFileTime(const struct timespec& ts) {
  return kUnixEpochIn100ns + static_cast<std::uint64_t>(ts.tv_sec) * 10000000ull +
         static_cast<std::uint64_t>(ts.tv_nsec) / 100u;
}

struct timespec fromFileTime(FileTime t) {
  struct timespec ts{};
  std::uint64_t since = t > kUnixEpochIn100ns ? t - kUnixEpochIn100ns : 0;
  ts.tv_sec = static_cast<time_t>(since / 10000000ull);
  ts.tv_nsec = static_cast<long>((since % 10000000ull) * 100u);
  return ts;
}

std::string parentOf(const std::string& path) {
  std::size_t cut = path.rfind('/');
  if (cut == std::string::npos) return ".";
  return cut == 0 ? "/" : path.substr(0, cut);
}

// ENOENT means "file not found" when the folder exists, else "path not found".
int missingCode(const std::string& path) {
  struct stat st{};
  std::string parent = parentOf(path);
  return (::stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) ? kErrFileNotFound
                                                                      : kErrPathNotFound;
}

int lastError(const std::string& path) {
  int err = errno;
  return err == ENOENT ? missingCode(path) : fromErrno(err);
}

class PosixFile : public FileHandle {
 public:
  explicit PosixFile(int fd) : fd_(fd) {}
  ~PosixFile() override { close(); }

  int read(void* buffer, std::size_t count, std::size_t& done) override {
    done = 0;
    for (;;) {
      ssize_t n = ::read(fd_, buffer, count);
      if (n >= 0) {
        done = static_cast<std::size_t>(n);
        return 0;
      }
      if (errno != EINTR) return fromErrno(errno);
    }
  }

  int write(const void* buffer, std::size_t count, std::size_t& done) override {
    done = 0;
    const char* p = static_cast<const char*>(buffer);
    while (done < count) {
      ssize_t n = ::write(fd_, p + done, count - done);
      if (n < 0) {
        if (errno == EINTR) continue;
        return fromErrno(errno);
      }
      if (n == 0) return kErrDiskFull;
      done += static_cast<std::size_t>(n);
    }
    return 0;
  }

  int seek(std::int64_t distance, SeekFrom from, std::int64_t& position) override {
    int whence = from == SeekFrom::Begin ? SEEK_SET : from == SeekFrom::Current ? SEEK_CUR : SEEK_END;
    off_t r = ::lseek(fd_, static_cast<off_t>(distance), whence);
    if (r < 0) return fromErrno(errno);
    position = r;
    return 0;
  }

  int size(std::int64_t& bytes) override {
    struct stat st{};
    if (::fstat(fd_, &st) != 0) return fromErrno(errno);
    bytes = st.st_size;
    return 0;
  }

  int setSize(std::int64_t bytes) override {
    if (::ftruncate(fd_, static_cast<off_t>(bytes)) != 0) return fromErrno(errno);
    if (::lseek(fd_, static_cast<off_t>(bytes), SEEK_SET) < 0) return fromErrno(errno);
    return 0;
  }

  int flush() override { return ::fsync(fd_) == 0 ? 0 : fromErrno(errno); }

  int close() override {
    if (fd_ < 0) return 0;
    int rc = ::close(fd_);
    fd_ = -1;
    return rc == 0 ? 0 : fromErrno(errno);
  }

 private:
  int fd_;
};

class PosixFileSystem : public FileSystem {
 public:
  int open(const std::string& path, Access access, Disposition disposition,
           std::unique_ptr<FileHandle>& out) override {
    int flags = O_CLOEXEC;
    flags |= access == Access::Read ? O_RDONLY : access == Access::Write ? O_WRONLY : O_RDWR;
    switch (disposition) {
      // Exclusive creation never goes through a link standing at the path.
      case Disposition::CreateNew: flags |= O_CREAT | O_EXCL | O_NOFOLLOW; break;
      case Disposition::CreateAlways: flags |= O_CREAT | O_TRUNC; break;
      case Disposition::OpenAlways: flags |= O_CREAT; break;
      case Disposition::OpenExisting: break;
    }
    if (path.empty()) return kErrPathNotFound;
    int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) {
      if (errno == EEXIST) return kErrFileExists;
      return lastError(path);
    }
    struct stat st{};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
      ::close(fd);
      return kErrAccessDenied;
    }
    out = std::make_unique<PosixFile>(fd);
    return 0;
  }

  int copy(const std::string& from, const std::string& to, bool failIfExists) override {
    std::unique_ptr<FileHandle> in, outFile;
    if (int rc = open(from, Access::Read, Disposition::OpenExisting, in)) return rc;
    struct stat st{};
    if (::stat(from.c_str(), &st) != 0) return lastError(from);
    int rc = open(to, Access::Write, failIfExists ? Disposition::CreateNew : Disposition::CreateAlways,
                  outFile);
    if (rc) return rc;
    std::vector<char> buffer(1 << 16);
    for (;;) {
      std::size_t got = 0, put = 0;
      if ((rc = in->read(buffer.data(), buffer.size(), got)) != 0) break;
      if (got == 0) break;
      if ((rc = outFile->write(buffer.data(), got, put)) != 0) break;
    }
    if (rc == 0) rc = outFile->close();
    if (rc != 0) {
      outFile.reset();
      ::unlink(to.c_str());
      return rc;
    }
    struct timespec times[2] = {st.st_atim, st.st_mtim};
    ::utimensat(AT_FDCWD, to.c_str(), times, 0);
    return 0;
  }

  int move(const std::string& from, const std::string& to) override {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    int err = errno;
    // Looked at only when the rename failed: a missing source is told apart
    // from a missing target folder, and a file can move across volumes.
    struct stat st{};
    if (::lstat(from.c_str(), &st) != 0) return lastError(from);
    if (err == EINVAL || err == ENOSYS) {
      // The file system cannot refuse to replace; check first instead.
      struct stat target{};
      if (::lstat(to.c_str(), &target) == 0) return kErrAlreadyExists;
      if (::rename(from.c_str(), to.c_str()) == 0) return 0;
      err = errno;
    }
    if (err == EEXIST) return kErrAlreadyExists;
    if (err == EXDEV && S_ISREG(st.st_mode)) {
      // Another volume: a file is copied and the original removed.
      if (int rc = copy(from, to, true)) return rc;
      return ::unlink(from.c_str()) == 0 ? 0 : fromErrno(errno);
    }
    errno = err;
    return err == ENOENT ? missingCode(to) : fromErrno(err);
  }

  int remove(const std::string& path) override {
    if (::unlink(path.c_str()) == 0) return 0;
    const int err = errno;
    struct stat st{};
    if (::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return kErrAccessDenied;
    errno = err;
    return lastError(path);
  }

  int makeFolder(const std::string& path) override {
    if (::mkdir(path.c_str(), 0777) == 0) return 0;
    if (errno == EEXIST) return kErrAlreadyExists;
    return errno == ENOENT ? kErrPathNotFound : fromErrno(errno);
  }

  int removeFolder(const std::string& path) override {
    if (::rmdir(path.c_str()) == 0) return 0;
    if (errno == ENOTEMPTY || errno == EEXIST) return kErrDirNotEmpty;
    return lastError(path);
  }

  int find(const std::string& pattern, std::vector<FindEntry>& out) override {
    out.clear();
    std::size_t cut = pattern.rfind('/');
    std::string folder = cut == std::string::npos ? "." : (cut == 0 ? "/" : pattern.substr(0, cut));
    std::string namePattern = cut == std::string::npos ? pattern : pattern.substr(cut + 1);
    if (namePattern.empty()) return kErrFileNotFound;
    // A plain name that exists as written is its own answer: reading the
    // whole folder to compare every name without regard to case made each
    // look-up in a folder of thousands of tables slow.
    if (namePattern.find_first_of("*?") == std::string::npos) {
      struct stat st{};
      const std::string full = (folder == "/" ? "" : folder) + "/" + namePattern;
      if (::stat(full.c_str(), &st) == 0) {
        FindEntry entry;
        entry.name = namePattern;
        entry.isFolder = S_ISDIR(st.st_mode);
        struct stat own{};
        entry.isLink = ::lstat(full.c_str(), &own) == 0 && S_ISLNK(own.st_mode);
        entry.size = static_cast<std::uint64_t>(st.st_size);
        entry.writeTime = toFileTime(st.st_mtim);
        out.push_back(std::move(entry));
        return 0;
      }
    }
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return errno == ENOENT || errno == ENOTDIR ? kErrPathNotFound : fromErrno(errno);
    while (struct dirent* e = ::readdir(dir)) {
      std::string name = e->d_name;
      if (name == "." || name == "..") continue;
      if (!wildcardMatch(namePattern, name)) continue;
      std::string full = (folder == "/" ? "" : folder) + "/" + name;
      struct stat st{}, own{};
      if (::stat(full.c_str(), &st) != 0) continue;  // vanished or a dangling link
      FindEntry entry;
      entry.name = name;
      entry.isFolder = S_ISDIR(st.st_mode);
      // The folder's own record says whether the entry is a link; only a
      // file system that does not say is asked again.
      entry.isLink = e->d_type == DT_LNK ||
                     (e->d_type == DT_UNKNOWN && ::lstat(full.c_str(), &own) == 0 && S_ISLNK(own.st_mode));
      entry.size = static_cast<std::uint64_t>(st.st_size);
      entry.writeTime = toFileTime(st.st_mtim);
      out.push_back(std::move(entry));
    }
    ::closedir(dir);
    return out.empty() ? kErrFileNotFound : 0;
  }

  int setWriteTime(const std::string& path, FileTime time) override {
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1] = fromFileTime(time);
    return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0 ? 0 : lastError(path);
  }

  int replace(const std::string& from, const std::string& to) override {
    if (::rename(from.c_str(), to.c_str()) == 0) {
      // Make the new name itself durable.
      int dir = ::open(parentOf(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
      }
      return 0;
    }
    return lastError(from);
  }

  int writeTime(const std::string& path, FileTime& time) override {
    struct stat st{};
    if (::stat(path.c_str(), &st) != 0) return lastError(path);
    time = toFileTime(st.st_mtim);
    return 0;
  }
};

}  // namespace

FileSystem& nativeFileSystem() {
  static PosixFileSystem fs;
  return fs;
}

}  // namespace platform
