#include "support/faulty_files.hpp"

#include "platform/clock.hpp"

namespace testing_support {

namespace {

class FaultyHandle : public platform::FileHandle {
 public:
  FaultyHandle(FaultyFileSystem& owner, std::unique_ptr<platform::FileHandle> inner)
      : owner_(owner), inner_(std::move(inner)) {}
  int read(void* buffer, std::size_t count, std::size_t& done) override {
    done = 0;
    if (int e = owner_.injected()) return e;
    return inner_->read(buffer, count, done);
  }
  int write(const void* buffer, std::size_t count, std::size_t& done) override {
    done = 0;
    if (int e = owner_.injected()) return e;
    if (int e = owner_.spendWrite(count)) return e;
    return inner_->write(buffer, count, done);
  }
  int seek(std::int64_t distance, platform::SeekFrom from, std::int64_t& position) override {
    if (int e = owner_.injected()) return e;
    return inner_->seek(distance, from, position);
  }
  int size(std::int64_t& bytes) override {
    if (int e = owner_.injected()) return e;
    return inner_->size(bytes);
  }
  int setSize(std::int64_t bytes) override {
    if (int e = owner_.injected()) return e;
    return inner_->setSize(bytes);
  }
  int flush() override {
    if (int e = owner_.injected()) return e;
    return inner_->flush();
  }
  int close() override { return inner_->close(); }

 private:
  FaultyFileSystem& owner_;
  std::unique_ptr<platform::FileHandle> inner_;
};

}  // namespace

int FaultyFileSystem::injected() {
  ++calls_;
  if (platform::clock().ticks() < unavailableUntil_.load()) {
    ++failures_;
    return 4319;
  }
  int left = failCount_.load();
  while (left > 0) {
    if (failCount_.compare_exchange_weak(left, left - 1)) {
      ++failures_;
      return failCode_.load();
    }
  }
  return 0;
}

int FaultyFileSystem::spendWrite(std::size_t bytes) {
  std::int64_t budget = writeBudget_.load();
  if (budget < 0) return 0;
  if (static_cast<std::int64_t>(bytes) > budget) {
    ++failures_;
    return writeFailCode_.load();
  }
  writeBudget_ -= static_cast<std::int64_t>(bytes);
  return 0;
}

int FaultyFileSystem::open(const std::string& path, platform::Access access,
                           platform::Disposition disposition,
                           std::unique_ptr<platform::FileHandle>& out) {
  if (int e = injected()) return e;
  std::unique_ptr<platform::FileHandle> inner;
  int rc = inner_.open(path, access, disposition, inner);
  if (rc == 0) out = std::make_unique<FaultyHandle>(*this, std::move(inner));
  return rc;
}

int FaultyFileSystem::copy(const std::string& from, const std::string& to, bool failIfExists) {
  if (int e = injected()) return e;
  return inner_.copy(from, to, failIfExists);
}
int FaultyFileSystem::move(const std::string& from, const std::string& to) {
  if (int e = injected()) return e;
  return inner_.move(from, to);
}
int FaultyFileSystem::remove(const std::string& path) {
  if (int e = injected()) return e;
  return inner_.remove(path);
}
int FaultyFileSystem::makeFolder(const std::string& path) {
  if (int e = injected()) return e;
  return inner_.makeFolder(path);
}
int FaultyFileSystem::removeFolder(const std::string& path) {
  if (int e = injected()) return e;
  return inner_.removeFolder(path);
}
int FaultyFileSystem::find(const std::string& pattern, std::vector<platform::FindEntry>& out) {
  if (int e = injected()) return e;
  return inner_.find(pattern, out);
}
int FaultyFileSystem::setWriteTime(const std::string& path, platform::FileTime time) {
  if (int e = injected()) return e;
  return inner_.setWriteTime(path, time);
}
int FaultyFileSystem::writeTime(const std::string& path, platform::FileTime& time) {
  if (int e = injected()) return e;
  return inner_.writeTime(path, time);
}

int FaultyFileSystem::replace(const std::string& from, const std::string& to) {
  if (int e = injected()) return e;
  return inner_.replace(from, to);
}

}  // namespace testing_support
