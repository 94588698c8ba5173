#include "runtime/builtin_table.hpp"

namespace runtime {

void addTableBuiltins(BuiltinTable& t) { (void)t; }

}  // namespace runtime
