#pragma once
// What the program-table built-ins and the lookup-table built-ins share.
#include "runtime/builtin_table.hpp"
#include "runtime/run_context.hpp"

namespace tablestore {
class TableStore;
}

namespace runtime {

// The process's table store (the engine's level tables live there), or null
// when the run has no open application.
tablestore::TableStore* processTables(const RunContext& ctx);

// 79 and 80: the lookup tables of the application folder.
void addLookupTableBuiltins(BuiltinTable& t);

}  // namespace runtime
