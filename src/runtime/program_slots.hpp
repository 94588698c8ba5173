#pragma once
// The three program slots runs load their files into. The field-exit and
// line-event slots keep what they loaded until their marks are cleared (the
// application closes or is erased); the general slot reads its file anew on
// every run. A keeping slot keeps one image per file, so two programs that
// share a slot never run each other's code; the data segment of a kept image
// survives between its runs.
#include <cstdint>
#include <map>
#include <string>

#include "editor/engine_hooks.hpp"
#include "runtime/program_image.hpp"

namespace runtime {

class ProgramSlots {
 public:
  // Loads folder + separator + fileName into the slot of use, unless it is a
  // keeping slot that holds that file already. Returns 0 with image set to
  // the slot's program, or an error code of the run-time error table with
  // firstLine the first line of the warning (image then null):
  //   1 the file does not exist or cannot be opened for reading,
  //   2 its size cannot be taken, or the parse's size errors,
  //   3 it is 131069 bytes or more (or a segment limit is passed),
  //   5 it cannot be read, 8 it is shorter than its size said.
  // A failed load leaves a keeping slot without that file, so the next run tries again.
  [[nodiscard]] int load(editor::ProgramUse use, const std::string& folder, const std::string& fileName,
                         ProgramImage*& image, std::string& firstLine);

  // Forgets what the keeping slots hold: their next runs read the files again.
  void clearMarks();

  // Whether a keeping slot holds the file (the general slot never does).
  bool isLoaded(editor::ProgramUse use, const std::string& folder, const std::string& fileName) const;

  // How many program files were read since the slots were made (tests).
  int fileReads() const { return fileReads_; }

 private:
  int readFile(const std::string& path, ProgramImage& out, std::string& firstLine);

  std::map<std::string, ProgramImage> fieldExit_;
  std::map<std::string, ProgramImage> lineEvent_;
  ProgramImage general_;
  int fileReads_ = 0;
};

}  // namespace runtime
