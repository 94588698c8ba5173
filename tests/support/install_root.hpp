#pragma once
// The install root of the tests that open applications and data: the
// native path style, the temporary folder as the root with its Apps and
// Data folders, and this unit named "ABC" (unit code "ABC___").
#include "config/process_values.hpp"
#include "support/temp_dir.hpp"

namespace testing_support {

void makeInstallRoot(config::ProcessValues& values, const TempDir& dir);

}  // namespace testing_support
