#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/sound.hpp"

extern char** environ;

namespace platform {

void playSoundFile(const std::string& path) {
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return;
  // A short-lived shell starts the first player it finds in the background
  // and exits, so the player is never our child to reap and never blocks us.
  static const char kScript[] =
      "for p in paplay pw-play aplay; do "
      "if command -v \"$p\" >/dev/null 2>&1; then \"$p\" \"$1\" </dev/null >/dev/null 2>&1 & exit 0; fi; "
      "done";
  posix_spawn_file_actions_t actions;
  if (::posix_spawn_file_actions_init(&actions) != 0) return;
  int rc = ::posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  if (rc == 0) rc = ::posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  if (rc == 0) rc = ::posix_spawn_file_actions_adddup2(&actions, 1, 2);
  std::string shell = "/bin/sh", dashC = "-c", script = kScript, name = "sh", file = path;
  char* argv[] = {shell.data(), dashC.data(), script.data(), name.data(), file.data(), nullptr};
  pid_t pid = 0;
  if (rc == 0) rc = ::posix_spawn(&pid, shell.c_str(), &actions, nullptr, argv, environ);
  ::posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return;
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace platform
