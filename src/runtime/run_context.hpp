#pragma once
// What a run reaches outside its machine: the edit session it runs in (none
// for programs run in tests of the machine alone), the open application's
// folder, and the host. Built-ins that need a missing piece set a status code
// (12, "Data File Not Open", for the engine) and return 0 or an empty text.
#include <cstdint>
#include <string>

namespace editor {
struct Engine;
}
namespace ui {
class Host;
}
namespace apps {
struct AppContext;
}

namespace runtime {

class ProgramPorts;

struct RunContext {
  editor::Engine* engine = nullptr;  // the edit session; null when the program runs outside one
  apps::AppContext* app = nullptr;   // the open application; null when none is
  ui::Host* host = nullptr;          // message boxes, pick lists; null: none shown (answers 0)
  std::string appFolder;             // the application folder, without a trailing separator
  std::string fileName;              // the program's file name as the application names it
  // Instructions a run may still execute; negative: no limit. The fuzz target
  // and the tests set it so every run ends; running out is error 25 ("USER ABORTED").
  std::int64_t budget = -1;
  // The COM port the current column reads its sensor from (0: none): a program
  // may not open or close it.
  int sensorPort = 0;
  // The serial ports and the printer port a program may use; null while the
  // program cannot reach any (serial built-ins report "Port Not Available").
  ProgramPorts* ports = nullptr;
};

}  // namespace runtime
