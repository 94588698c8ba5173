#include <windows.h>

#include <string>

#include "platform/command.hpp"
#include "platform/win32/wide.hpp"

namespace platform {

int runShellCommand(const std::string& text, int& exitStatus, const std::function<void()>& whileWaiting) {
  exitStatus = -1;
  // The interpreter from the system folder by its full path, so no cmd.exe
  // lying in the current folder is started instead.
  wchar_t folder[MAX_PATH];
  const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return win32::lastError();
  const std::wstring interpreter = std::wstring(folder, n) + L"\\cmd.exe";
  // The program's text is in the ANSI code page.
  std::wstring commandLine = L"\"" + interpreter + L"\" /c " + win32::toUtf16(text, CP_ACP);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(interpreter.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                      CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process))
    return win32::lastError();
  CloseHandle(process.hThread);
  for (;;) {
    const DWORD w = WaitForSingleObject(process.hProcess, whileWaiting ? 10 : INFINITE);
    if (w == WAIT_OBJECT_0) break;
    if (w != WAIT_TIMEOUT) {
      const int error = win32::lastError();
      CloseHandle(process.hProcess);
      return error;
    }
    whileWaiting();
  }
  DWORD code = 0;
  const BOOL got = GetExitCodeProcess(process.hProcess, &code);
  const int error = got ? 0 : win32::lastError();
  CloseHandle(process.hProcess);
  if (!got) return error;
  exitStatus = static_cast<int>(code);
  return 0;
}

}  // namespace platform
