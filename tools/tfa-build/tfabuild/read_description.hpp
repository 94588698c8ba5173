#pragma once
// Reading an application description (JSON, docs/app-format.md) into the
// model, with every mistake reported under its JSON path.
#include <string>
#include <string_view>

#include "tfabuild/diagnostics.hpp"
#include "tfabuild/model.hpp"

namespace tfabuild {

// Reads the description text; files and CSV tables it names are read from
// baseDir (UTF-8). True when no mistake was found (diag stays empty); the
// model is then complete.
bool readDescription(std::string_view jsonText, const std::string& baseDir, AppModel& app, Diagnostics& diag);

// The same for a description file; its folder is the base folder.
bool readDescriptionFile(const std::string& path, AppModel& app, Diagnostics& diag);

}  // namespace tfabuild
