#pragma once
// Running a command through the system's command interpreter and waiting for
// it: "/bin/sh -c text" on POSIX, "cmd.exe /c text" on Windows (no console
// window). The command's standard input and output are not the program's:
// POSIX connects them to /dev/null, so a command cannot write over the
// terminal the program draws on.
#include <functional>
#include <string>

namespace platform {

// Runs text (8-bit, the ANSI code page) and waits until the command ends.
// While it waits, whileWaiting (when set) is called about every 10 ms, so the
// caller can keep its window painted. Returns 0 with exitStatus set to the
// command's exit status (on POSIX a command ended by signal s gives 128 + s),
// or the error code (errors.hpp) when the interpreter could not be started
// (exitStatus then -1).
[[nodiscard]] int runShellCommand(const std::string& text, int& exitStatus,
                                  const std::function<void()>& whileWaiting = {});

}  // namespace platform
