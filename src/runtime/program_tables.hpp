#pragma once
// The program's own tables (built-ins 128-138 and 161): ten handles, each an
// open table with its file name, closed when the run ends.
#include "runtime/machine.hpp"

namespace runtime {

struct ProgramTables {
  // (filled in by the program-table built-ins)
};

}  // namespace runtime
