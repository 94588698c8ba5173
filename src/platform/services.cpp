// The current file system, clock and registry: the native ones unless a test
// has put others in place for a while.
#include <atomic>

#include "platform/clock.hpp"
#include "platform/files.hpp"
#include "platform/registry.hpp"

namespace platform {

namespace {
std::atomic<FileSystem*> currentFiles{nullptr};
std::atomic<Clock*> currentClock{nullptr};
std::atomic<Registry*> currentRegistry{nullptr};
}  // namespace

FileSystem& fileSystem() {
  FileSystem* fs = currentFiles.load();
  return fs ? *fs : nativeFileSystem();
}
ScopedFileSystem::ScopedFileSystem(FileSystem& replacement)
    : previous_(currentFiles.exchange(&replacement)) {}
ScopedFileSystem::~ScopedFileSystem() { currentFiles.store(previous_); }

Clock& clock() {
  Clock* c = currentClock.load();
  return c ? *c : nativeClock();
}
ScopedClock::ScopedClock(Clock& replacement) : previous_(currentClock.exchange(&replacement)) {}
ScopedClock::~ScopedClock() { currentClock.store(previous_); }

void waitTicks(int n) {
  if (n > 0) clock().sleep(static_cast<std::uint32_t>(n) * 10u);
}

Registry& registry() {
  Registry* r = currentRegistry.load();
  return r ? *r : nativeRegistry();
}
ScopedRegistry::ScopedRegistry(Registry& replacement)
    : previous_(currentRegistry.exchange(&replacement)) {}
ScopedRegistry::~ScopedRegistry() { currentRegistry.store(previous_); }

}  // namespace platform
