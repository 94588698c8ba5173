#pragma once
// The built-ins by number, gathered from their families. Each family file
// puts its functions into the table; a number no family fills stops the run
// with error 7 ("Unknown Command"), as numbers above 167 do.
#include <array>

#include "runtime/builtins.hpp"
#include "runtime/call.hpp"

namespace runtime {

using BuiltinTable = std::array<BuiltinFn, kBuiltinCount>;

// The whole table (built once).
const BuiltinTable& builtinTable();

// The families (each in its own builtins_*.cpp).
void addMathBuiltins(BuiltinTable& t);     // 3-17, 123, 139
void addStringBuiltins(BuiltinTable& t);   // 58-73, 126, 127
void addArrayBuiltins(BuiltinTable& t);    // 98-103, 158, 159
void addMachineBuiltins(BuiltinTable& t);  // 54-57, 114-116, 124, 145-149; 140-142, 160 (the string list)
void addTableBuiltins(BuiltinTable& t);    // 79, 80, 128-138, 161
void addEngineBuiltins(BuiltinTable& t);   // 18-53, 74-78, 89, 90, 94-97, 125, 150, 151, 156, 157, 164-167
void addScreenBuiltins(BuiltinTable& t);   // 81-88, 91-93, 104-113, 143, 144, 162, 163
void addDeviceBuiltins(BuiltinTable& t);   // 117-122, 152-155

}  // namespace runtime
