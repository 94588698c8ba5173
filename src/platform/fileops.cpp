#include "platform/fileops.hpp"

#include <algorithm>
#include <utility>

#include "platform/clock.hpp"
#include "platform/errors.hpp"

namespace platform {

namespace {

// Repeats call while it fails because the device is not available.
template <typename Call>
int withRetry(Call&& call) {
  int rc = call();
  for (int tries = 0; rc == kErrDeviceNotAvailable && tries < kRetryCount; ++tries) {
    clock().sleep(kRetrySleepMs);
    rc = call();
  }
  return rc;
}

}  // namespace

File::~File() {
  if (handle_) handle_->close();
}

int File::read(void* buffer, std::size_t count, std::size_t& done) {
  done = 0;
  if (!handle_) return error_ = kErrInvalidHandle;
  return error_ = withRetry([&] { return handle_->read(buffer, count, done); });
}

int File::write(const void* buffer, std::size_t count, std::size_t& done) {
  done = 0;
  if (!handle_) return error_ = kErrInvalidHandle;
  return error_ = withRetry([&] { return handle_->write(buffer, count, done); });
}

int File::readExact(void* buffer, std::size_t count) {
  auto* p = static_cast<unsigned char*>(buffer);
  while (count > 0) {
    std::size_t done = 0;
    if (int rc = read(p, count, done)) return rc;
    if (done == 0) return error_ = kErrHandleEof;
    p += done;
    count -= done;
  }
  return 0;
}

int File::writeExact(const void* buffer, std::size_t count) {
  auto* p = static_cast<const unsigned char*>(buffer);
  while (count > 0) {
    std::size_t done = 0;
    if (int rc = write(p, count, done)) return rc;
    if (done == 0) return error_ = kErrDiskFull;
    p += done;
    count -= done;
  }
  return 0;
}

int File::seek(std::int64_t distance, SeekFrom from, std::int64_t& position) {
  position = -1;
  if (!handle_) return error_ = kErrInvalidHandle;
  return error_ = withRetry([&] { return handle_->seek(distance, from, position); });
}

std::int64_t File::size() {
  if (!handle_) {
    error_ = kErrInvalidHandle;
    return -1;
  }
  std::int64_t bytes = -1;
  error_ = withRetry([&] { return handle_->size(bytes); });
  return error_ ? -1 : bytes;
}

int File::setSize(std::int64_t bytes) {
  if (!handle_) return error_ = kErrInvalidHandle;
  return error_ = withRetry([&] { return handle_->setSize(bytes); });
}

int File::flush() {
  if (!handle_) return error_ = kErrInvalidHandle;
  return error_ = withRetry([&] { return handle_->flush(); });
}

int File::close() {
  if (!handle_) return 0;
  int rc = handle_->close();
  handle_.reset();
  return error_ = rc;
}

File openFile(const std::string& path, Access access, Disposition disposition) {
  File file;
  file.error_ = withRetry([&] { return fileSystem().open(path, access, disposition, file.handle_); });
  if (file.error_) file.handle_.reset();
  return file;
}

int copyFile(const std::string& from, const std::string& to, bool failIfExists) {
  return withRetry([&] { return fileSystem().copy(from, to, failIfExists); });
}

int moveFile(const std::string& from, const std::string& to) {
  return withRetry([&] { return fileSystem().move(from, to); });
}

int replaceFile(const std::string& from, const std::string& to) {
  return withRetry([&] { return fileSystem().replace(from, to); });
}

int deleteFile(const std::string& path) {
  return withRetry([&] { return fileSystem().remove(path); });
}

int makeFolderOnce(const std::string& path) {
  return withRetry([&] { return fileSystem().makeFolder(path); });
}

int removeFolder(const std::string& path) {
  return withRetry([&] { return fileSystem().removeFolder(path); });
}

int findFiles(const std::string& pattern, std::vector<FindEntry>& out) {
  return withRetry([&] {
    out.clear();
    return fileSystem().find(pattern, out);
  });
}

int setFileTime(const std::string& path, FileTime time) {
  return withRetry([&] { return fileSystem().setWriteTime(path, time); });
}

int getFileTime(const std::string& path, FileTime& time) {
  return withRetry([&] { return fileSystem().writeTime(path, time); });
}

bool fileExists(const std::string& pattern) {
  std::vector<FindEntry> found;
  if (findFiles(pattern, found) != 0) return false;
  return std::any_of(found.begin(), found.end(), [](const FindEntry& e) { return !e.isFolder; });
}

bool folderExists(const std::string& path) {
  std::vector<FindEntry> found;
  // A trailing separator would make the search look inside the folder.
  std::string p = path;
  while (p.size() > 1 && (p.back() == '\\' || p.back() == '/')) p.pop_back();
  if (findFiles(p, found) != 0 || found.empty()) return false;
  return found.front().isFolder;
}

bool makeFolder(const std::string& path) {
  int rc = makeFolderOnce(path);
  if (rc == 0) return true;
  // "Already exists" is success only when what exists is not a file.
  if (rc == kErrAlreadyExists || rc == kErrFileExists) return !fileExists(path);
  return folderExists(path);
}

int readWholeFile(const std::string& path, std::string& out, std::int64_t maxBytes) {
  out.clear();
  File f = openFile(path, Access::Read, Disposition::OpenExisting);
  if (!f.isOpen()) return f.error();
  std::int64_t size = f.size();
  if (size < 0) return f.error();
  if (size > maxBytes) return kErrNotEnoughMemory;
  out.resize(static_cast<std::size_t>(size));
  std::size_t got = 0;
  while (got < out.size()) {
    std::size_t done = 0;
    if (int rc = f.read(out.data() + got, out.size() - got, done)) return rc;
    if (done == 0) break;
    got += done;
  }
  out.resize(got);
  return 0;
}

int writeWholeFile(const std::string& path, const void* data, std::size_t size) {
  File f = openFile(path, Access::ReadWrite, Disposition::CreateAlways);
  if (!f.isOpen()) return f.error();
  if (int rc = f.writeExact(data, size)) return rc;
  if (int rc = f.flush()) return rc;
  return f.close();
}

int writeFileSafely(const std::string& path, const void* data, std::size_t size,
                    SafeWriteStage& stage) {
  std::string temp = path + ".new";
  File f = openFile(temp, Access::ReadWrite, Disposition::CreateAlways);
  if (!f.isOpen()) {
    stage = SafeWriteStage::Open;
    return f.error();
  }
  int rc = f.writeExact(data, size);
  stage = SafeWriteStage::Write;
  if (rc == 0) {
    rc = f.flush();
    stage = SafeWriteStage::Flush;
  }
  if (rc == 0) rc = f.close();
  if (rc == 0) {
    rc = replaceFile(temp, path);
    stage = SafeWriteStage::Replace;
  }
  if (rc != 0) {
    f.close();
    deleteFile(temp);
    return rc;
  }
  stage = SafeWriteStage::Done;
  return 0;
}

}  // namespace platform
