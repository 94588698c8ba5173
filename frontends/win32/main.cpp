// Entry point of "Tallyfin PC.exe": the shared start-up sequence with the
// Windows hooks (work area, window classes and main window, computer name),
// the main window's model once start-up has finished, then the message loop
// and shutdown.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "main_window.hpp"
#include "platform/win32/wide.hpp"
#include "resource.h"
#include "gps/gps_logging.hpp"
#include "gps/receiver.hpp"
#include "shell/gps_commands.hpp"
#include "shell/session_hooks.hpp"
#include "serial/port_layer.hpp"
#include "shell/startup.hpp"
#include "win32_host.hpp"
#include "window_classes.hpp"

namespace {

void workArea(int& width, int& height) {
  RECT rc;
  if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &rc, 0)) {
    width = rc.right - rc.left;
    height = rc.bottom - rc.top;
  } else {
    width = GetSystemMetrics(SM_CXSCREEN);
    height = GetSystemMetrics(SM_CYSCREEN);
  }
}

std::string computerName() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
  if (!GetComputerNameW(name, &size)) return {};
  return platform::win32::fromUtf16(std::wstring_view(name, size));
}

void initCommonControls() {
  INITCOMMONCONTROLSEX icc{};
  icc.dwSize = sizeof(icc);
  // 0x137: list view, tree view, bars, tabs, progress, date controls.
  icc.dwICC = ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES |
              ICC_PROGRESS_CLASS | ICC_DATE_CLASSES;
  InitCommonControlsEx(&icc);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR commandLine,
                    int showCommand) {
  frontend::Win32Host host(instance);
  shell::Startup startup;
  // The process's one runtime, for every edit session (on the heap: its
  // machine and slots are large).
  // The serial ports outlive the hooks that read sensors through them.
  serial::PortLayer ports(platform::nativeSerialOpener());
  ports.setHost(&host);
  auto programs = std::make_unique<shell::SessionHooks>();
  programs->attachSerialPorts(ports);
  frontend::MainWindow mainWindow(host, startup);
  mainWindow.model().setProgramHooks(*programs);

  shell::StartupOptions options;
  options.commandLine = platform::win32::fromUtf16(commandLine ? commandLine : L"");
  options.style = config::windowsPathStyle();

  shell::StartupHooks hooks;
  hooks.workArea = workArea;
  hooks.createMainWindow = [&](const shell::StartupValues&, int& lastError) {
    initCommonControls();
    host.setAccelerators(LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDA_MAIN)));
    // A class that fails has been reported; without the main class the
    // window below cannot be created, which start-up reports in turn.
    frontend::registerWindowClasses(instance, host);
    if (mainWindow.create(instance, showCommand)) return true;
    // Taken before anything else can overwrite it.
    lastError = platform::win32::lastError();
    return false;
  };
  hooks.unitIdText = computerName;
  hooks.taskbarWindow = [] { return FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr; };

  if (startup.run(host, options, hooks) != 1) return 0;
  // The receiver reads its settings from the install root start-up fixed; it
  // closes its port before the ports go.
  gps::Receiver receiver(ports, shell::gpsServices(host, startup.values()));
  shell::GpsCommands gpsCommands(host, startup.values(), receiver);
  gps::GpsLogging gpsLogging(host, [&receiver] { return receiver.enabled(); }, receiver.state(),
                             startup.values().installRoot, startup.values().style.sep);
  programs->attachGps(gpsCommands, gpsLogging);
  mainWindow.model().setGps(gpsCommands);
  mainWindow.start();
  int exitCode = host.runMessageLoop();
  startup.shutdown();
  return exitCode;
}
