#pragma once
// The engine's way to runtime programs: the edit session calls these hooks
// for its event programs and program lists, and they run the application's
// program files on the process's one runtime.
#include <string>

#include "editor/engine_hooks.hpp"
#include "runtime/run_entry.hpp"

namespace runtime {

class ProgramHooks : public editor::EngineHooks {
 public:
  // Runs name (a file of the application folder) in the slot use names, on
  // the edit session e: the run sees the session, its application and
  // host; a load or run error has been shown to the crew by the run entry
  // ({ran = false} when the file could not be loaded; failed when the run
  // stopped with an error).
  editor::ProgramResult runProgram(editor::Engine& e, editor::ProgramUse use, const std::string& name) override;
  bool programsAvailable() const override { return true; }

  // The application is closed, erased or opened anew: the keeping slots
  // forget what they hold, so the next run reads its file again.
  void applicationClosed() { runtime_.clearMarks(); }

  Runtime& runtime() { return runtime_; }

 private:
  Runtime runtime_;
};

}  // namespace runtime
