#include "runtime/builtin_table.hpp"

namespace runtime {

void addMathBuiltins(BuiltinTable& t) { (void)t; }

}  // namespace runtime
