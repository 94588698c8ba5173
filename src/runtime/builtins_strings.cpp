#include "runtime/builtin_table.hpp"

namespace runtime {

void addStringBuiltins(BuiltinTable& t) { (void)t; }

}  // namespace runtime
