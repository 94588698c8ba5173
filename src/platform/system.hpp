#pragma once
// Process-level services: the executable's path, the single-instance check,
// the user's folders, the outside-program start.
#include <memory>
#include <string>

namespace platform {

// The executable's full path; 0 or an error code.
int executablePath(std::string& out);

// Holds the program's claim to be the only instance until destroyed.
class InstanceClaim {
 public:
  virtual ~InstanceClaim() = default;
};

// Claims the single instance. Windows: when a top-level window of class
// "TALLYFIN_PC" titled "Tallyfin PC" exists it is brought to the front and
// the claim fails. POSIX: an exclusive lock on a file in lockFolder; the
// claim fails while another process holds it. Returns the claim, or nullptr
// when another instance runs.
std::unique_ptr<InstanceClaim> claimSingleInstance(const std::string& lockFolder);

// POSIX: the folder for the user's data ($XDG_DATA_HOME or ~/.local/share) and
// configuration ($XDG_CONFIG_HOME or ~/.config), each with a trailing '/'.
// Windows: empty (the program's folders there follow the executable).
std::string userDataFolder();
std::string userConfigFolder();

// Which rules the program's own paths follow here: Windows (drive letters,
// '\\', "Tallyfin PC.exe") or POSIX ('/', "tallyfin" under the user's data folder).
enum class PathFamily { Windows, Posix };
PathFamily nativePathFamily();

// Starts a program, not waiting for it; 0 or an error code. arguments is
// the command line it is given, as it is: on Windows its whole command line
// (the program's own path is not put in front); on POSIX the words of the
// text (a quoted part is one word) follow the program's path as its arguments.
int startProgram(const std::string& program, const std::string& arguments);

// Ends the process at once after telling the user text (a system error box
// on Windows, standard error elsewhere): for failures that leave no safe way
// to go on, such as an error box that cannot be shown.
[[noreturn]] void fatalExit(const std::string& text);

// Whether another program's top-level window of that class and title exists.
// Windows: the window search itself. POSIX, where there is no such search:
// the other program signals it by creating the file "<class>.window" in
// signalFolder.
bool outsideWindowExists(const std::string& windowClass, const std::string& title,
                         const std::string& signalFolder);

}  // namespace platform
