#pragma once
// Path text operations. The separator is a parameter so that Windows path
// rules can be tested on every platform; callers pass this platform's
// (platform::kSep) or the one of the path style they work with.
#include <string>
#include <string_view>

namespace base {

// With on, adds a separator when the path does not end in one; with off,
// removes one trailing separator.
std::string setTrailingSlash(std::string_view path, bool on, char sep);

// Joins with a separator added only where one is missing.
std::string joinPath(std::string_view folder, std::string_view name, char sep);

// The text after the last separator, for a path that contains a "."; false
// (and out untouched) otherwise.
bool fileNamePart(std::string_view path, std::string& out, char sep);

// The folder part (up to, not including, the last separator); "" when none.
std::string folderPart(std::string_view path, char sep);

}  // namespace base
