#include "support/memory_files.hpp"

#include <algorithm>
#include <cstring>

#include "platform/errors.hpp"
#include "platform/wildcard.hpp"

namespace testing_support {

namespace {

using Node = MemoryFileSystem::Node;

class MemoryHandle : public platform::FileHandle {
 public:
  MemoryHandle(std::shared_ptr<Node> node, std::mutex& lock, bool canRead, bool canWrite)
      : node_(std::move(node)), lock_(lock), canRead_(canRead), canWrite_(canWrite) {}
  int read(void* buffer, std::size_t count, std::size_t& done) override {
    std::lock_guard<std::mutex> g(lock_);
    done = 0;
    if (!canRead_) return platform::kErrAccessDenied;
    if (pos_ < static_cast<std::int64_t>(node_->data.size())) {
      done = std::min(count, node_->data.size() - static_cast<std::size_t>(pos_));
      std::memcpy(buffer, node_->data.data() + pos_, done);
      pos_ += static_cast<std::int64_t>(done);
    }
    return 0;
  }
  int write(const void* buffer, std::size_t count, std::size_t& done) override {
    std::lock_guard<std::mutex> g(lock_);
    done = 0;
    if (!canWrite_) return platform::kErrAccessDenied;
    std::size_t end = static_cast<std::size_t>(pos_) + count;
    if (node_->data.size() < end) node_->data.resize(end, '\0');
    std::memcpy(node_->data.data() + pos_, buffer, count);
    pos_ += static_cast<std::int64_t>(count);
    done = count;
    return 0;
  }
  int seek(std::int64_t distance, platform::SeekFrom from, std::int64_t& position) override {
    std::lock_guard<std::mutex> g(lock_);
    std::int64_t base = from == platform::SeekFrom::Begin ? 0
                        : from == platform::SeekFrom::Current ? pos_
                                                              : static_cast<std::int64_t>(node_->data.size());
    if (base + distance < 0) return platform::kErrInvalidParameter;
    pos_ = position = base + distance;
    return 0;
  }
  int size(std::int64_t& bytes) override {
    std::lock_guard<std::mutex> g(lock_);
    bytes = static_cast<std::int64_t>(node_->data.size());
    return 0;
  }
  int setSize(std::int64_t bytes) override {
    std::lock_guard<std::mutex> g(lock_);
    if (!canWrite_) return platform::kErrAccessDenied;
    node_->data.resize(static_cast<std::size_t>(bytes), '\0');
    pos_ = bytes;
    return 0;
  }
  int flush() override { return 0; }
  int close() override { return 0; }

 private:
  std::shared_ptr<Node> node_;
  std::mutex& lock_;
  bool canRead_, canWrite_;
  std::int64_t pos_ = 0;
};

std::string lastPart(const std::string& path) {
  std::size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace

std::string MemoryFileSystem::key(const std::string& path) {
  std::string k;
  for (char c : path) {
    if (c == '/' || c == '\\') {
      if (!k.empty() && k.back() == '\\') continue;
      k.push_back('\\');
    } else {
      k.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c);
    }
  }
  if (k.size() > 1 && k.back() == '\\') k.pop_back();
  return k;
}

std::string MemoryFileSystem::parentKey(const std::string& k) {
  std::size_t cut = k.rfind('\\');
  if (cut == std::string::npos) return "";
  return cut == 0 ? "\\" : k.substr(0, cut);
}

bool MemoryFileSystem::folderAt(const std::string& k) const {
  // Roots ("C:", "\") always exist.
  if (k.empty() || k == "\\" || (k.size() == 2 && k[1] == ':')) return true;
  auto it = nodes_.find(k);
  return it != nodes_.end() && it->second->folder;
}

int MemoryFileSystem::open(const std::string& path, platform::Access access,
                           platform::Disposition disposition,
                           std::unique_ptr<platform::FileHandle>& out) {
  std::lock_guard<std::mutex> g(lock_);
  std::string k = key(path);
  if (!folderAt(parentKey(k))) return platform::kErrPathNotFound;
  auto it = nodes_.find(k);
  if (it != nodes_.end() && it->second->folder) return platform::kErrAccessDenied;
  bool exists = it != nodes_.end();
  using D = platform::Disposition;
  if (disposition == D::CreateNew && exists) return platform::kErrFileExists;
  if (disposition == D::OpenExisting && !exists) return platform::kErrFileNotFound;
  if (!exists) {
    auto node = std::make_shared<Node>();
    node->name = lastPart(path);
    node->time = nextTime_++;
    it = nodes_.emplace(k, node).first;
  } else if (disposition == D::CreateAlways) {
    it->second->data.clear();
  }
  if (access != platform::Access::Read) it->second->time = nextTime_++;
  out = std::make_unique<MemoryHandle>(it->second, lock_, access != platform::Access::Write,
                                       access != platform::Access::Read);
  return 0;
}

int MemoryFileSystem::copy(const std::string& from, const std::string& to, bool failIfExists) {
  std::lock_guard<std::mutex> g(lock_);
  auto src = nodes_.find(key(from));
  if (src == nodes_.end() || src->second->folder) return platform::kErrFileNotFound;
  std::string k = key(to);
  if (!folderAt(parentKey(k))) return platform::kErrPathNotFound;
  auto dst = nodes_.find(k);
  if (dst != nodes_.end() && (failIfExists || dst->second->folder)) return platform::kErrFileExists;
  auto node = std::make_shared<Node>(*src->second);
  node->name = lastPart(to);
  nodes_[k] = node;
  return 0;
}

int MemoryFileSystem::move(const std::string& from, const std::string& to) {
  std::lock_guard<std::mutex> g(lock_);
  std::string fk = key(from), tk = key(to);
  auto src = nodes_.find(fk);
  if (src == nodes_.end()) return platform::kErrFileNotFound;
  if (!folderAt(parentKey(tk))) return platform::kErrPathNotFound;
  if (nodes_.count(tk) && tk != fk) return platform::kErrAlreadyExists;
  auto node = src->second;
  nodes_.erase(src);
  node->name = lastPart(to);
  nodes_[tk] = node;
  return 0;
}

int MemoryFileSystem::remove(const std::string& path) {
  std::lock_guard<std::mutex> g(lock_);
  std::string k = key(path);
  auto it = nodes_.find(k);
  if (it == nodes_.end()) return folderAt(parentKey(k)) ? platform::kErrFileNotFound : platform::kErrPathNotFound;
  if (it->second->folder) return platform::kErrAccessDenied;
  nodes_.erase(it);
  return 0;
}

int MemoryFileSystem::makeFolder(const std::string& path) {
  std::lock_guard<std::mutex> g(lock_);
  std::string k = key(path);
  if (folderAt(k) || nodes_.count(k)) return platform::kErrAlreadyExists;
  if (!folderAt(parentKey(k))) return platform::kErrPathNotFound;
  auto node = std::make_shared<Node>();
  node->folder = true;
  node->name = lastPart(path);
  nodes_[k] = node;
  return 0;
}

int MemoryFileSystem::removeFolder(const std::string& path) {
  std::lock_guard<std::mutex> g(lock_);
  std::string k = key(path);
  auto it = nodes_.find(k);
  if (it == nodes_.end() || !it->second->folder) return platform::kErrFileNotFound;
  for (const auto& [other, node] : nodes_)
    if (parentKey(other) == k) return platform::kErrDirNotEmpty;
  nodes_.erase(it);
  return 0;
}

int MemoryFileSystem::find(const std::string& pattern, std::vector<platform::FindEntry>& out) {
  std::lock_guard<std::mutex> g(lock_);
  out.clear();
  std::size_t cut = pattern.find_last_of("\\/");
  std::string folder = cut == std::string::npos ? "" : key(pattern.substr(0, cut + 1));
  std::string namePattern = cut == std::string::npos ? pattern : pattern.substr(cut + 1);
  if (namePattern.empty()) return platform::kErrFileNotFound;
  if (!folderAt(folder)) return platform::kErrPathNotFound;
  for (const auto& [k, node] : nodes_) {
    if (parentKey(k) != folder) continue;
    if (!platform::wildcardMatch(namePattern, node->name)) continue;
    out.push_back({node->name, node->folder, node->data.size(), node->time});
  }
  return out.empty() ? platform::kErrFileNotFound : 0;
}

int MemoryFileSystem::setWriteTime(const std::string& path, platform::FileTime time) {
  std::lock_guard<std::mutex> g(lock_);
  auto it = nodes_.find(key(path));
  if (it == nodes_.end()) return platform::kErrFileNotFound;
  it->second->time = time;
  return 0;
}

int MemoryFileSystem::writeTime(const std::string& path, platform::FileTime& time) {
  std::lock_guard<std::mutex> g(lock_);
  auto it = nodes_.find(key(path));
  if (it == nodes_.end()) return platform::kErrFileNotFound;
  time = it->second->time;
  return 0;
}

bool MemoryFileSystem::hasFile(const std::string& path) const {
  std::lock_guard<std::mutex> g(lock_);
  auto it = nodes_.find(key(path));
  return it != nodes_.end() && !it->second->folder;
}

bool MemoryFileSystem::hasFolder(const std::string& path) const {
  std::lock_guard<std::mutex> g(lock_);
  return folderAt(key(path));
}

std::string MemoryFileSystem::contents(const std::string& path) const {
  std::lock_guard<std::mutex> g(lock_);
  auto it = nodes_.find(key(path));
  return it == nodes_.end() ? std::string() : it->second->data;
}

void MemoryFileSystem::putFile(const std::string& path, std::string bytes) {
  std::string k = key(path);
  // Make every missing folder on the way.
  for (std::size_t i = 1; i < k.size(); ++i) {
    if (k[i] != '\\') continue;
    std::string f = k.substr(0, i);
    std::lock_guard<std::mutex> g(lock_);
    if (!folderAt(f)) {
      auto node = std::make_shared<Node>();
      node->folder = true;
      node->name = lastPart(f);
      nodes_[f] = node;
    }
  }
  std::lock_guard<std::mutex> g(lock_);
  auto node = std::make_shared<Node>();
  node->name = lastPart(path);
  node->data = std::move(bytes);
  node->time = nextTime_++;
  nodes_[k] = node;
}

}  // namespace testing_support
