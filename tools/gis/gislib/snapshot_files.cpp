#include "gislib/snapshot_files.hpp"

#include <algorithm>
#include <cstring>

#include "platform/errors.hpp"

namespace gislib {

namespace {

// A handle over the snapshot's bytes; the string outlives every handle
// because the file system is kept for the whole read of one table.
class SnapshotHandle : public platform::FileHandle {
 public:
  explicit SnapshotHandle(std::string& bytes) : bytes_(bytes) {}

  int read(void* buffer, std::size_t count, std::size_t& done) override {
    done = 0;
    if (position_ < bytes_.size()) {
      done = std::min(count, bytes_.size() - position_);
      std::memcpy(buffer, bytes_.data() + position_, done);
      position_ += done;
    }
    return platform::kOk;
  }
  int write(const void* buffer, std::size_t count, std::size_t& done) override {
    if (position_ + count > bytes_.size()) bytes_.resize(position_ + count);
    std::memcpy(bytes_.data() + position_, buffer, count);
    position_ += count;
    done = count;
    return platform::kOk;
  }
  int seek(std::int64_t distance, platform::SeekFrom from, std::int64_t& position) override {
    std::int64_t base = 0;
    if (from == platform::SeekFrom::Current) base = static_cast<std::int64_t>(position_);
    if (from == platform::SeekFrom::End) base = static_cast<std::int64_t>(bytes_.size());
    const std::int64_t to = base + distance;
    if (to < 0) return platform::kErrInvalidParameter;
    position_ = static_cast<std::size_t>(to);
    position = to;
    return platform::kOk;
  }
  int size(std::int64_t& bytes) override {
    bytes = static_cast<std::int64_t>(bytes_.size());
    return platform::kOk;
  }
  int setSize(std::int64_t bytes) override {
    if (bytes < 0) return platform::kErrInvalidParameter;
    bytes_.resize(static_cast<std::size_t>(bytes));
    position_ = bytes_.size();
    return platform::kOk;
  }
  int flush() override { return platform::kOk; }
  int close() override { return platform::kOk; }

 private:
  std::string& bytes_;
  std::size_t position_ = 0;
};

}  // namespace

SnapshotFileSystem::SnapshotFileSystem(std::string path, std::string bytes)
    : path_(std::move(path)), bytes_(std::move(bytes)) {}

int SnapshotFileSystem::open(const std::string& path, platform::Access, platform::Disposition disposition,
                             std::unique_ptr<platform::FileHandle>& out) {
  if (path != path_) return platform::kErrFileNotFound;
  if (disposition == platform::Disposition::CreateNew) return platform::kErrFileExists;
  if (disposition == platform::Disposition::CreateAlways) bytes_.clear();
  out = std::make_unique<SnapshotHandle>(bytes_);
  return platform::kOk;
}

int SnapshotFileSystem::copy(const std::string&, const std::string&, bool) { return platform::kErrAccessDenied; }
int SnapshotFileSystem::move(const std::string&, const std::string&) { return platform::kErrAccessDenied; }
int SnapshotFileSystem::remove(const std::string&) { return platform::kErrAccessDenied; }
int SnapshotFileSystem::makeFolder(const std::string&) { return platform::kErrAccessDenied; }
int SnapshotFileSystem::removeFolder(const std::string&) { return platform::kErrAccessDenied; }

int SnapshotFileSystem::find(const std::string& pattern, std::vector<platform::FindEntry>& out) {
  out.clear();
  if (pattern != path_) return platform::kErrFileNotFound;
  platform::FindEntry e;
  const std::size_t cut = path_.find_last_of("/\\");
  e.name = cut == std::string::npos ? path_ : path_.substr(cut + 1);
  e.size = bytes_.size();
  out.push_back(std::move(e));
  return platform::kOk;
}

int SnapshotFileSystem::setWriteTime(const std::string& path, platform::FileTime) {
  return path == path_ ? platform::kOk : platform::kErrFileNotFound;
}

int SnapshotFileSystem::writeTime(const std::string& path, platform::FileTime& time) {
  if (path != path_) return platform::kErrFileNotFound;
  time = 0;
  return platform::kOk;
}

}  // namespace gislib
