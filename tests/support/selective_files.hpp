#pragma once
// A file system that passes every call to another one (the native one unless
// told otherwise), except the faults asked for on files whose name ends with a
// given text (case ignored; "" matches every file): opens and reads that fail
// or come up short, copies that fail (or stop half way, as when a card is
// pulled), removals and replaces that fail. It records what was opened and
// what removed.
#include <mutex>
#include <string>
#include <vector>

#include "platform/files.hpp"

namespace testing_support {

class SelectiveFileSystem : public platform::FileSystem {
 public:
  struct Fault {
    std::string suffix;
    int openError = 0;       // open fails with this code
    int readNumber = 0;      // the n-th read (1-based) of the file fails ...
    int readError = 0;       // ... with this code, or when 0 ...
    bool shortRead = false;  // ... delivers one byte less than asked
    int copyError = 0;       // a copy onto the file fails with this code ...
    bool halfCopy = false;   // ... after writing half of the source there
    int removeError = 0;     // removing the file fails with this code
    int replaceError = 0;    // replacing the file by another fails with this code
  };

  SelectiveFileSystem() : inner_(platform::nativeFileSystem()) {}
  explicit SelectiveFileSystem(platform::FileSystem& inner) : inner_(inner) {}

  void add(Fault fault);
  // Forgets every fault; the calls pass unchanged from now on.
  void clear();
  // Every path opened, and every path removed, in order.
  std::vector<std::string> opened() const;
  std::vector<std::string> removed() const;

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
  int replace(const std::string& from, const std::string& to) override;

 private:
  // The first fault whose suffix path ends with and that sets the member
  // picked by wanted, or nothing.
  bool faultFor(const std::string& path, bool (*wanted)(const Fault&), Fault& out) const;

  platform::FileSystem& inner_;
  mutable std::mutex lock_;
  std::vector<Fault> faults_;
  std::vector<std::string> opened_, removed_;
};

}  // namespace testing_support
