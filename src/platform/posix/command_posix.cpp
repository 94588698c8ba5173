#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "platform/clock.hpp"
#include "platform/command.hpp"
#include "platform/posix/errno_map.hpp"

extern char** environ;

namespace platform {

namespace {

// The exit status of a waited-for child as a shell reports it.
int statusOf(int waitStatus) {
  if (WIFEXITED(waitStatus)) return WEXITSTATUS(waitStatus);
  if (WIFSIGNALED(waitStatus)) return 128 + WTERMSIG(waitStatus);
  return -1;
}

}  // namespace

int runShellCommand(const std::string& text, int& exitStatus, const std::function<void()>& whileWaiting) {
  exitStatus = -1;
  posix_spawn_file_actions_t actions;
  if (int rc = ::posix_spawn_file_actions_init(&actions); rc != 0) return posix::fromErrno(rc);
  // The command's own input and output are the null device (see the header).
  int rc = ::posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  if (rc == 0) rc = ::posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  if (rc == 0) rc = ::posix_spawn_file_actions_adddup2(&actions, 1, 2);
  if (rc != 0) {
    ::posix_spawn_file_actions_destroy(&actions);
    return posix::fromErrno(rc);
  }
  std::string shell = "/bin/sh", dashC = "-c", command = text;
  char* argv[] = {shell.data(), dashC.data(), command.data(), nullptr};
  pid_t pid = 0;
  rc = ::posix_spawn(&pid, shell.c_str(), &actions, nullptr, argv, environ);
  ::posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return posix::fromErrno(rc);

  int waitStatus = 0;
  for (;;) {
    const pid_t done = ::waitpid(pid, &waitStatus, whileWaiting ? WNOHANG : 0);
    if (done == pid) break;
    if (done < 0) {
      if (errno == EINTR) continue;
      return posix::fromErrno(errno);
    }
    whileWaiting();
    clock().sleep(10);
  }
  exitStatus = statusOf(waitStatus);
  return 0;
}

}  // namespace platform
