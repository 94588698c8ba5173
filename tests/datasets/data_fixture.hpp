#pragma once
// The set-up of the dataset tests that open data: an install root with its
// folders, a private registry and clock, this unit named "ABC", and
// applications built by the package builder (the demo cruise, or a small
// description) and opened as the program opens them.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "apps/app_definition.hpp"
#include "apps/app_open.hpp"
#include "datasets/data_session.hpp"
#include "datasets/open_data.hpp"
#include "platform/clock.hpp"
#include "platform/registry.hpp"
#include "shell/startup.hpp"
#include "support/fake_clock.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"

namespace datasets_test {

class DataTest : public ::testing::Test {
 protected:
  void SetUp() override;
  // Builds the demo application "Cruise" (examples/cruise) into the
  // applications folder, package and folder.
  void buildDemo();
  // Builds a one-level application name (table TREES) from a description.
  void buildSmall(const std::string& name, bool useDatasets);
  // Opens the installed application as the program does.
  void open(const std::string& name);
  // Answers the create dialog with the name.
  void nameNewDataset(const std::string& name);
  // Runs openData; the result code.
  int openData();
  // A file of the open application's data folder.
  std::string dataFile(const std::string& name) const;
  std::string appFolder() const;

  testing_support::TempDir dir;
  testing_support::FakeClock clock;
  platform::ScopedClock useClock{clock};
  std::unique_ptr<platform::Registry> registry = platform::makeFileRegistry(dir.file("registry"));
  platform::ScopedRegistry useRegistry{*registry};
  testing_support::ScriptedHost host;
  shell::StartupValues v;
  apps::AppDefinition app;
  apps::AppContext ctx{host, app, v, v.tables};
  datasets::DataSession session;
  datasets::EditSessionStart edit;
};

}  // namespace datasets_test
