#include "runtime/program_file.hpp"

#include "runtime/run_errors.hpp"

namespace runtime {

int parseProgram(const std::uint8_t* bytes, std::size_t size, ProgramImage& out, std::string& firstLine) {
  (void)bytes;
  (void)size;
  (void)out;
  firstLine = "runtime error";
  return kErrFileRead;  // not built yet
}

}  // namespace runtime
