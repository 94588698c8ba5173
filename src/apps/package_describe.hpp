#pragma once
// A readable account of a package, for the package builder's "inspect".
#include <string>

namespace apps {

// Describes the package at packagePath: header fields,
// versions, and each member with its stored and inflated size and its time.
// Returns 0 with out filled, or the code of what could not be read (-1 the
// package cannot be opened or its header read; -15 / -7 / -3 as for reading
// members, in which case out holds what was read before the fault).
int describePackage(const std::string& packagePath, std::string& out);

}  // namespace apps
