#include "runtime/builtin_table.hpp"

namespace runtime {

void addDeviceBuiltins(BuiltinTable& t) { (void)t; }

}  // namespace runtime
