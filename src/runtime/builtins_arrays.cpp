#include "runtime/builtin_table.hpp"

namespace runtime {

void addArrayBuiltins(BuiltinTable& t) { (void)t; }

}  // namespace runtime
