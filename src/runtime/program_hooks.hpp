#pragma once
// The engine's way to runtime programs and serial sensors: the edit session
// calls these hooks for its event programs, program lists and sensor
// columns; programs run on the process's one runtime, sensors read through
// the process's serial port layer.
#include <memory>
#include <string>

#include "editor/engine_hooks.hpp"
#include "runtime/run_entry.hpp"

namespace serial {
class PortLayer;
class SensorInput;
}  // namespace serial

namespace runtime {

class SerialProgramPorts;

class ProgramHooks : public editor::EngineHooks {
 public:
  ProgramHooks();
  ~ProgramHooks() override;

  // Runs name (a file of the application folder) in the slot use names, on
  // the edit session e: the run sees the session, its application and
  // host, and the program's port when serial ports are attached; a load or
  // run error has been shown to the crew by the run entry ({ran = false}
  // when the file could not be loaded; failed when the run stopped with an
  // error).
  editor::ProgramResult runProgram(editor::Engine& e, editor::ProgramUse use, const std::string& name) override;
  bool programsAvailable() const override { return true; }

  // Sensor columns read through the attached port layer; without one they
  // are keyed (0).
  ui::KeyCode sensorInput(editor::Engine& e, int column, ui::KeyCode key) override;
  int sensorPort(const editor::Engine& e) const override;

  // Gives programs and sensor columns the process's serial ports (which
  // must outlive these hooks).
  void attachSerialPorts(serial::PortLayer& ports);
  // The edit window closed: the ports its sensors left open are closed.
  virtual void editWindowClosed();

  // The application is closed, erased or opened anew: the keeping slots
  // forget what they hold, so the next run reads its file again.
  void applicationClosed() { runtime_.clearMarks(); }

  Runtime& runtime() { return runtime_; }

 private:
  Runtime runtime_;
  serial::PortLayer* ports_ = nullptr;
  std::unique_ptr<SerialProgramPorts> programPorts_;
  std::unique_ptr<serial::SensorInput> sensors_;
};

}  // namespace runtime
