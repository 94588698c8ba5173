#pragma once
// A file system that passes every call to another one, except that it can make
// calls fail with "device not available" (4319) — a number of times, or until
// the clock reaches a given tick — the way removable storage comes and goes.
// It can also fail calls with any other error, to test reporting.
#include <atomic>
#include <string>

#include "platform/files.hpp"

namespace testing_support {

class FaultyFileSystem : public platform::FileSystem {
 public:
  explicit FaultyFileSystem(platform::FileSystem& inner) : inner_(inner) {}

  // The next n calls (of any kind) fail with code.
  void failNext(int n, int code = 4319) { failCount_ = n; failCode_ = code; }
  // Every call fails with 4319 while the platform clock is below tick.
  void unavailableUntil(std::uint64_t tick) { unavailableUntil_ = tick; }
  // Writes fail with code after limitBytes more bytes have been written.
  void failWritesAfter(std::int64_t limitBytes, int code = 112) {
    writeBudget_ = limitBytes;
    writeFailCode_ = code;
  }
  int calls() const { return calls_.load(); }
  int failures() const { return failures_.load(); }

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

  // Returns a code when this call is to fail, else 0. Public for the handles.
  int injected();
  // Consumes write budget; returns the failure code once it is spent.
  int spendWrite(std::size_t bytes);

 private:
  platform::FileSystem& inner_;
  std::atomic<int> failCount_{0};
  std::atomic<int> failCode_{4319};
  std::atomic<std::uint64_t> unavailableUntil_{0};
  std::atomic<std::int64_t> writeBudget_{-1};
  std::atomic<int> writeFailCode_{112};
  std::atomic<int> calls_{0};
  std::atomic<int> failures_{0};
};

}  // namespace testing_support
