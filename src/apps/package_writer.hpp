#pragma once
// Writes application packages: the package builder's side of the format in
// package_format.hpp.
#include <string>
#include <vector>

#include "apps/tfa_header.hpp"
#include "platform/files.hpp"

namespace apps {

struct PackageMember {
  std::string name;                 // 8-bit (ANSI code page) file name, at most 59 bytes
  std::string bytes;                // the file's contents
  platform::FileTime modified = 0;  // the last-write time extraction gives the file
};

// Writes header, directory block and members (each a gzip stream naming the
// member and its time) to packagePath, replacing a file of that name. The
// header is written as given: the runtime refuses a package whose APP_NAME
// (setAppName) is not the package's own file name. The file appears whole or
// not at all (it is written beside its place and then put there).
// Returns 0; -3 (kPkgBadData) a member name that isSafeMemberName refuses
// (which includes names of 60 bytes or more), a member of 2 GiB or more, or a
// package that would pass 4 GiB; -1 the file cannot be created; -4 writing it
// fails.
int writePackage(const std::string& packagePath, const TfaHeader& header,
                 const std::vector<PackageMember>& members);

}  // namespace apps
