#pragma once
// An in-memory file system with Windows rules: "\" and "/" both separate,
// names compare without case, repeated separators count once. It lets tests
// run the program's path handling with Windows paths ("E:\Orvandat\...") on
// every platform. Drives and "/" roots exist from the start.
#include <map>
#include <mutex>
#include <string>

#include "platform/files.hpp"

namespace testing_support {

class MemoryFileSystem : public platform::FileSystem {
 public:
  int open(const std::string& path, platform::Access access, platform::Disposition disposition,
           std::unique_ptr<platform::FileHandle>& out) override;
  int copy(const std::string& from, const std::string& to, bool failIfExists) override;
  int move(const std::string& from, const std::string& to) override;
  int remove(const std::string& path) override;
  int makeFolder(const std::string& path) override;
  int removeFolder(const std::string& path) override;
  int find(const std::string& pattern, std::vector<platform::FindEntry>& out) override;
  int setWriteTime(const std::string& path, platform::FileTime time) override;
  int writeTime(const std::string& path, platform::FileTime& time) override;

  // Test access.
  bool hasFile(const std::string& path) const;
  bool hasFolder(const std::string& path) const;
  std::string contents(const std::string& path) const;
  void putFile(const std::string& path, std::string bytes);  // makes missing folders

  struct Node {
    bool folder = false;
    std::string name;  // as created (case kept)
    std::string data;
    platform::FileTime time = 0;
  };

 private:
  static std::string key(const std::string& path);
  static std::string parentKey(const std::string& k);
  bool folderAt(const std::string& k) const;
  mutable std::mutex lock_;
  std::map<std::string, std::shared_ptr<Node>> nodes_;
  platform::FileTime nextTime_ = 132000000000000000ull;
};

}  // namespace testing_support
