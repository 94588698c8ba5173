#pragma once
// The list of files an application needs, read out of its package: the
// member "ReqFiles.dbf" is extracted into a folder and its first field read
// (apps/package_required_files.hpp reads the table).
#include <string>
#include <vector>

namespace apps {

class Package;

// Each name in both forms the program keeps, at most 259 characters each.
struct RequiredFile {
  std::string name8;  // 8-bit (ANSI code page), as stored
  std::string name;   // UTF-8 (the program's "wide" text)
};

// Names beyond this many are not read: no application has more files.
inline constexpr int kMaxRequiredFiles = 4096;
inline constexpr std::size_t kRequiredNameChars = 259;

// Extracts "ReqFiles.dbf" from package into folder (UTF-8) and reads it into
// out (cleared first). Returns the number of names; 0 when the member is
// missing, cannot be extracted, or lists nothing. Names longer than 259
// bytes are left out: no member can carry them.
int loadRequiredFiles(Package& package, const std::string& folder, std::vector<RequiredFile>& out);

}  // namespace apps
