// command_line_probe (Windows): writes the command line it was started with,
// exactly as the system hands it over, as UTF-8 to the file named by the
// environment variable TALLYFIN_PROBE_OUT. The file appears whole or not at
// all (written beside it, then renamed), so a test can wait for it.
#include <windows.h>

#include <string>

namespace {

std::wstring environment(const wchar_t* name) {
  wchar_t buffer[32768];
  DWORD n = GetEnvironmentVariableW(name, buffer, 32768);
  return n > 0 && n < 32768 ? std::wstring(buffer, n) : std::wstring();
}

std::string utf8(const std::wstring& text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

}  // namespace

int main() {
  std::wstring target = environment(L"TALLYFIN_PROBE_OUT");
  if (target.empty()) return 2;
  std::wstring part = target + L".part";
  HANDLE file = CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 3;
  std::string text = utf8(GetCommandLineW());
  DWORD written = 0;
  BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  if (!ok || written != text.size()) return 4;
  return MoveFileExW(part.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 5;
}
