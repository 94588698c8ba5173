#include "runtime/program_tables.hpp"

namespace runtime {

void closeProgramTables(ProgramTables& tables) { (void)tables; }

}  // namespace runtime
