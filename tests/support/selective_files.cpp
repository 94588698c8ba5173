#include "support/selective_files.hpp"

#include <string_view>

#include "base/text.hpp"
#include "support/temp_dir.hpp"

namespace testing_support {

namespace {

using Fault = SelectiveFileSystem::Fault;

class SelectiveHandle : public platform::FileHandle {
 public:
  SelectiveHandle(std::unique_ptr<platform::FileHandle> inner, Fault fault)
      : inner_(std::move(inner)), fault_(std::move(fault)) {}
  int read(void* buffer, std::size_t count, std::size_t& done) override {
    done = 0;
    if (++reads_ == fault_.readNumber) {
      if (fault_.readError != 0) return fault_.readError;
      if (fault_.shortRead && count > 0) return inner_->read(buffer, count - 1, done);
    }
    return inner_->read(buffer, count, done);
  }
  int write(const void* buffer, std::size_t count, std::size_t& done) override { return inner_->write(buffer, count, done); }
  int seek(std::int64_t distance, platform::SeekFrom from, std::int64_t& position) override {
    return inner_->seek(distance, from, position);
  }
  int size(std::int64_t& bytes) override { return inner_->size(bytes); }
  int setSize(std::int64_t bytes) override { return inner_->setSize(bytes); }
  int flush() override { return inner_->flush(); }
  int close() override { return inner_->close(); }

 private:
  std::unique_ptr<platform::FileHandle> inner_;
  Fault fault_;
  int reads_ = 0;
};

bool endsWithNoCase(const std::string& path, const std::string& suffix) {
  return path.size() >= suffix.size() &&
         base::equalsNoCase(std::string_view(path).substr(path.size() - suffix.size()), suffix);
}

bool opensOrReads(const Fault& f) { return f.openError != 0 || f.readNumber != 0; }
bool copies(const Fault& f) { return f.copyError != 0; }
bool removes(const Fault& f) { return f.removeError != 0; }
bool replaces(const Fault& f) { return f.replaceError != 0; }

}  // namespace

void SelectiveFileSystem::add(Fault fault) {
  std::lock_guard<std::mutex> hold(lock_);
  faults_.push_back(std::move(fault));
}

void SelectiveFileSystem::clear() {
  std::lock_guard<std::mutex> hold(lock_);
  faults_.clear();
}

std::vector<std::string> SelectiveFileSystem::opened() const {
  std::lock_guard<std::mutex> hold(lock_);
  return opened_;
}

std::vector<std::string> SelectiveFileSystem::removed() const {
  std::lock_guard<std::mutex> hold(lock_);
  return removed_;
}

bool SelectiveFileSystem::faultFor(const std::string& path, bool (*wanted)(const Fault&), Fault& out) const {
  std::lock_guard<std::mutex> hold(lock_);
  for (const auto& f : faults_) {
    if (wanted(f) && endsWithNoCase(path, f.suffix)) {
      out = f;
      return true;
    }
  }
  return false;
}

int SelectiveFileSystem::open(const std::string& path, platform::Access access, platform::Disposition disposition,
                              std::unique_ptr<platform::FileHandle>& out) {
  {
    std::lock_guard<std::mutex> hold(lock_);
    opened_.push_back(path);
  }
  Fault fault;
  bool faulty = faultFor(path, opensOrReads, fault);
  if (faulty && fault.openError != 0) return fault.openError;
  int rc = inner_.open(path, access, disposition, out);
  if (rc == 0 && faulty) out = std::make_unique<SelectiveHandle>(std::move(out), fault);
  return rc;
}

int SelectiveFileSystem::copy(const std::string& from, const std::string& to, bool failIfExists) {
  Fault fault;
  if (!faultFor(to, copies, fault)) return inner_.copy(from, to, failIfExists);
  if (fault.halfCopy) {
    std::string bytes = readBytes(from);
    writeBytes(to, bytes.substr(0, bytes.size() / 2));
  }
  return fault.copyError;
}

int SelectiveFileSystem::move(const std::string& from, const std::string& to) { return inner_.move(from, to); }

int SelectiveFileSystem::remove(const std::string& path) {
  {
    std::lock_guard<std::mutex> hold(lock_);
    removed_.push_back(path);
  }
  Fault fault;
  return faultFor(path, removes, fault) ? fault.removeError : inner_.remove(path);
}

int SelectiveFileSystem::makeFolder(const std::string& path) { return inner_.makeFolder(path); }
int SelectiveFileSystem::removeFolder(const std::string& path) { return inner_.removeFolder(path); }
int SelectiveFileSystem::find(const std::string& pattern, std::vector<platform::FindEntry>& out) {
  return inner_.find(pattern, out);
}
int SelectiveFileSystem::setWriteTime(const std::string& path, platform::FileTime time) {
  return inner_.setWriteTime(path, time);
}
int SelectiveFileSystem::writeTime(const std::string& path, platform::FileTime& time) {
  return inner_.writeTime(path, time);
}

int SelectiveFileSystem::replace(const std::string& from, const std::string& to) {
  Fault fault;
  return faultFor(to, replaces, fault) ? fault.replaceError : inner_.replace(from, to);
}

}  // namespace testing_support
