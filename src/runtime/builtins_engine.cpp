#include "runtime/builtin_table.hpp"

namespace runtime {

void addEngineBuiltins(BuiltinTable& t) { (void)t; }

}  // namespace runtime
