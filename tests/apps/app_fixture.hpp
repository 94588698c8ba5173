#pragma once
// Shared pieces of the control-file tests: applications built by the
// package builder from small JSON descriptions, and a file system that
// fails chosen operations on chosen files.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "apps/app_definition.hpp"
#include "platform/files.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"

namespace apps_test {

// A one-level application "Trees" whose table TREES has the given columns
// (a JSON list) and further members of the level object (JSON text starting
// with a comma, or "").
std::string treesApp(const std::string& columns, const std::string& levelExtras = "",
                     const std::string& topExtras = "");

// Passes every call to the native file system, except the faults asked for
// on files whose name ends with a given text (case ignored).
class SelectiveFileSystem : public platform::FileSystem {
 public:
  struct Fault {
    std::string suffix;
    int openError = 0;     // open fails with this code
    int readNumber = 0;    // the n-th read (1-based) of the file fails ...
    int readError = 0;     // ... with this code, or when 0 ...
    bool shortRead = false;  // ... delivers one byte less than asked
  };
  void add(Fault fault) { faults_.push_back(std::move(fault)); }
  // Every path opened, in order.
  const std::vector<std::string>& opened() const { return opened_; }

  int open(const std::string& path, platform::Access access, platform::Disposition disposition,
           std::unique_ptr<platform::FileHandle>& out) override;
  int copy(const std::string& from, const std::string& to, bool failIfExists) override;
  int move(const std::string& from, const std::string& to) override;
  int remove(const std::string& path) override;
  int makeFolder(const std::string& path) override;
  int removeFolder(const std::string& path) override;
  int find(const std::string& pattern, std::vector<platform::FindEntry>& out) override;
  int setWriteTime(const std::string& path, platform::FileTime time) override;
  int writeTime(const std::string& path, platform::FileTime& time) override;

 private:
  const Fault* faultFor(const std::string& path) const;
  std::vector<Fault> faults_;
  std::vector<std::string> opened_;
};

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
