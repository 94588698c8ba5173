#include "runtime/builtin_table.hpp"

namespace runtime {

void addScreenBuiltins(BuiltinTable& t) { (void)t; }

}  // namespace runtime
