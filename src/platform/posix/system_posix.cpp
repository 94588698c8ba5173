#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

#include "platform/posix/errno_map.hpp"
#include "platform/system.hpp"

extern char** environ;

namespace platform {

namespace {

class LockClaim : public InstanceClaim {
 public:
  explicit LockClaim(int fd) : fd_(fd) {}
  ~LockClaim() override {
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
  }

 private:
  int fd_;
};

std::string homeFolder() {
  const char* home = std::getenv("HOME");
  return home && *home ? home : "/tmp";
}

std::string withSlash(std::string s) {
  if (s.empty() || s.back() != '/') s.push_back('/');
  return s;
}

}  // namespace

int executablePath(std::string& out) {
  std::vector<char> buf(PATH_MAX + 1);
  ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
  if (n < 0) return posix::fromErrno(errno);
  out.assign(buf.data(), static_cast<std::size_t>(n));
  return 0;
}

std::unique_ptr<InstanceClaim> claimSingleInstance(const std::string& lockFolder) {
  std::string path = withSlash(lockFolder) + ".tallyfin.lock";
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  // A folder we cannot write to cannot hold a lock; the start goes ahead.
  if (fd < 0) return std::make_unique<InstanceClaim>();
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<LockClaim>(fd);
}

std::string userDataFolder() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  return withSlash(xdg && *xdg == '/' ? xdg : homeFolder() + "/.local/share");
}

std::string userConfigFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  return withSlash(xdg && *xdg == '/' ? xdg : homeFolder() + "/.config");
}

PathFamily nativePathFamily() { return PathFamily::Posix; }

int startProgram(const std::string& program, const std::string& arguments) {
  std::vector<std::string> args{program};
  // The argument text is one quoted path or plain words.
  std::string current;
  bool quoted = false, any = false;
  for (char c : arguments) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if (c == ' ' && !quoted) {
      if (any) args.push_back(current);
      current.clear();
      any = false;
    } else {
      current.push_back(c);
      any = true;
    }
  }
  if (any) args.push_back(current);
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  int rc = ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ);
  return rc == 0 ? 0 : posix::fromErrno(rc);
}

void fatalExit(const std::string& text) {
  std::string line = "tallyfin: " + text + "\n";
  ssize_t ignored = ::write(2, line.data(), line.size());
  (void)ignored;
  ::_exit(3);
}

bool outsideWindowExists(const std::string& windowClass, const std::string&,
                         const std::string& signalFolder) {
  std::string path = withSlash(signalFolder) + windowClass + ".window";
  return ::access(path.c_str(), F_OK) == 0;
}

}  // namespace platform
