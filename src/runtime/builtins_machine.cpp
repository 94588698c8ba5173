#include "runtime/builtin_table.hpp"

namespace runtime {

void addMachineBuiltins(BuiltinTable& t) { (void)t; }

}  // namespace runtime
