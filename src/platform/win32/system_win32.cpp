// Process-level services on Windows.
#include <windows.h>

#include <vector>

#include "platform/errors.hpp"
#include "platform/system.hpp"
#include "platform/win32/wide.hpp"

namespace platform {

int executablePath(std::string& out) {
  // Grow the buffer until the whole path fits (the first try holds MAX_PATH).
  for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
    std::vector<wchar_t> buffer(size);
    SetLastError(ERROR_SUCCESS);
    DWORD n = GetModuleFileNameW(nullptr, buffer.data(), size);
    if (n == 0) return win32::lastError();
    if (n < size && GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
      out = win32::fromUtf16(std::wstring_view(buffer.data(), n));
      return kOk;
    }
  }
  return kErrFilenameTooLong;
}

std::unique_ptr<InstanceClaim> claimSingleInstance(const std::string& /*lockFolder*/) {
  // The running program is known by its main window.
  HWND other = FindWindowW(L"TALLYFIN_PC", L"Tallyfin PC");
  if (other) {
    // Bit 0 set also brings the window's owned pop-ups (an open dialog) forward.
    SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<ULONG_PTR>(other) | 1));
    return nullptr;
  }
  return std::make_unique<InstanceClaim>();
}

std::string userDataFolder() { return {}; }
std::string userConfigFolder() { return {}; }

PathFamily nativePathFamily() { return PathFamily::Windows; }

int startProgram(const std::string& program, const std::string& arguments) {
  std::wstring app = win32::toUtf16(program);
  // The text is the program's whole command line, as given: the update
  // starter reads the quoted update path there and nothing in front of it.
  std::wstring commandLine = win32::toUtf16(arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(app.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process))
    return win32::lastError();
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return kOk;
}

void fatalExit(const std::string& text) {
  FatalAppExitW(0, win32::toUtf16(text).c_str());
  ExitProcess(3);  // FatalAppExit does not return; this satisfies [[noreturn]]
}

bool outsideWindowExists(const std::string& windowClass, const std::string& title,
                         const std::string&) {
  return FindWindowW(win32::toUtf16(windowClass).c_str(), win32::toUtf16(title).c_str()) != nullptr;
}

}  // namespace platform
