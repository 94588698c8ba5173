#pragma once
// Building an application from its description: the application folder
// (app.ctl, hierarchy.ctl, ReqFiles.dbf, every level table's control files,
// the check, jump and look-up tables, the carried files) and its package.
#include <string>
#include <vector>

#include "platform/files.hpp"
#include "tfabuild/diagnostics.hpp"
#include "tfabuild/model.hpp"

namespace tfabuild {

struct BuildOptions {
  std::string appFolder;    // UTF-8; made when missing. Required.
  std::string packagePath;  // "" : no package
  // The last-write time the package gives every member; 0: the time of the
  // build.
  platform::FileTime memberTime = 0;
};

// One file of the application, as the package carries it.
struct BuiltFile {
  std::string name;  // 8-bit
  std::string bytes;
};

// Writes the application folder of app (files of the same names are
// replaced; other files are left). out receives the members in package
// order: ReqFiles.dbf first, then app.ctl, hierarchy.ctl, each level's
// .bct, .ctl and optional files, the tables, the carried files. Returns 0, or
// 1 with the failure reported in diag.
int writeApplication(const AppModel& app, const std::string& appFolder, std::vector<BuiltFile>& out,
                     Diagnostics& diag);

// Reads the description at descriptionPath, writes the folder and, when
// asked, the package. Returns 0, or 1 with every mistake in diag.
int buildFromFile(const std::string& descriptionPath, const BuildOptions& options, Diagnostics& diag);
// The same from description text, whose files are read from baseDir.
int buildFromText(const std::string& json, const std::string& baseDir, const BuildOptions& options,
                  Diagnostics& diag);

// The time now as a Windows file time.
platform::FileTime fileTimeNow();

}  // namespace tfabuild
