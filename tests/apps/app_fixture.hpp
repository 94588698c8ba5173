#pragma once
// Shared pieces of the control-file tests: applications built by the
// package builder from small JSON descriptions.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "apps/app_definition.hpp"
#include "platform/files.hpp"
#include "support/scripted_host.hpp"
#include "support/selective_files.hpp"
#include "support/temp_dir.hpp"

namespace apps_test {

// A one-level application "Trees" whose table TREES has the given columns
// (a JSON list) and further members of the level object (JSON text starting
// with a comma, or "").
std::string treesApp(const std::string& columns, const std::string& levelExtras = "",
                     const std::string& topExtras = "");

// The file system that fails chosen operations on chosen files.
using testing_support::SelectiveFileSystem;

class AppTest : public ::testing::Test {
 protected:
  // The application folder (made by build()).
  std::string folder() const { return dir.file("Trees"); }
  std::string path(const std::string& name) const;
  // Builds the application described by json into folder(); the test fails
  // with the builder's messages when the description has mistakes.
  void build(const std::string& json);
  std::string readFile(const std::string& name) const;
  void writeFile(const std::string& name, const std::string& bytes) const;
  // loadAppCtl, then loadLevel of level 1 (TableName = the root table).
  apps::LevelLoad loadRoot(std::string& nameOut);

  testing_support::TempDir dir;
  testing_support::ScriptedHost host;
  apps::AppDefinition app;
};

}  // namespace apps_test
