// tallyfin's command line, and starting on the application --select names.
#include <gtest/gtest.h>

#include "demo_fixture.hpp"
#include "screen_text.hpp"
#include "tui/program_options.hpp"

namespace {

using namespace tui;
using namespace tui_testing;

int parse(std::vector<const char*> args, ProgramOptions& out, std::string& error) {
  args.insert(args.begin(), "tallyfin");
  return parseProgramOptions(static_cast<int>(args.size()), args.data(), out, error);
}

TEST(ProgramOptions, RootSelectAndGeometry) {
  ProgramOptions o;
  std::string error;
  ASSERT_EQ(parse({"/0/0", "--root", "/srv/tf", "--select", "Cruise", "/80/25"}, o, error), 0) << error;
  EXPECT_EQ(o.startup.root, std::optional<std::string>("/srv/tf"));
  EXPECT_EQ(o.select, std::optional<std::string>("Cruise"));
  EXPECT_EQ(o.startup.commandLine, "/0/0 /80/25");

  // Nothing given: no root, nothing to select; a later option replaces an earlier one.
  ASSERT_EQ(parse({}, o, error), 0);
  EXPECT_FALSE(o.startup.root);
  EXPECT_FALSE(o.select);
  EXPECT_EQ(o.startup.commandLine, "");
  ASSERT_EQ(parse({"--select", "Trees", "--select", "Cruise.tfa"}, o, error), 0);
  EXPECT_EQ(o.select, std::optional<std::string>("Cruise.tfa"));
  // A name with blanks is one argument.
  ASSERT_EQ(parse({"--select", "North Cruise"}, o, error), 0);
  EXPECT_EQ(o.select, std::optional<std::string>("North Cruise"));
}

TEST(ProgramOptions, MissingOrEmptyValuesAreRefused) {
  ProgramOptions o;
  std::string error;
  EXPECT_EQ(parse({"--select"}, o, error), 2);
  EXPECT_NE(error.find("--select"), std::string::npos);
  EXPECT_EQ(parse({"--root", "/r", "--root"}, o, error), 2);
  EXPECT_NE(error.find("--root"), std::string::npos);
  EXPECT_EQ(parse({"--select", ""}, o, error), 2);
  EXPECT_EQ(parse({"--select", "   "}, o, error), 2);
  // The option's value is taken as it stands, even when it looks like an option.
  ASSERT_EQ(parse({"--root", "--select"}, o, error), 0);
  EXPECT_EQ(o.startup.root, std::optional<std::string>("--select"));
  EXPECT_FALSE(o.select);
}

using StartSelection = DemoTest;

TEST_F(StartSelection, TheNamedApplicationBecomesCurrent) {
  buildDemo();
  if (HasFatalFailure() || IsSkipped()) return;
  ProgramOptions o;
  o.select = "Cruise";
  term.endWhenEmpty = false;  // extraction pumps the terminal
  EXPECT_TRUE(applyStartSelection(*window, o));
  term.endWhenEmpty = true;
  EXPECT_TRUE(has(host.picture(), "Current Application: Cruise "));
  std::string stored;
  ASSERT_TRUE(platform::getAppSetting("CurAppName", stored, 302));
  EXPECT_EQ(stored, "Cruise");
  EXPECT_TRUE(platform::fileExists(base::joinPath(base::joinPath(v.appPath, "Cruise", platform::kSep), "app.ctl", platform::kSep)));
}

TEST_F(StartSelection, AFailureIsShownAndTheProgramGoesOn) {
  // No package installed: the selection says so; the main window carries on.
  ProgramOptions o;
  o.select = "Cruise";
  bool told = false;
  term.onRead = [&] { told = told || has(host.picture(), "No Applications Available."); };
  term.input = {"\r"};
  term.endWhenEmpty = false;
  EXPECT_FALSE(applyStartSelection(*window, o));
  term.endWhenEmpty = true;
  EXPECT_TRUE(told);
  EXPECT_TRUE(term.input.empty());  // the message was answered
  term.onRead = nullptr;
  EXPECT_TRUE(has(host.picture(), "Current Application: None"));
  term.input = {kAltE, "", "y"};
  EXPECT_EQ(loop->run(), shell::MainAction::Destroy);
}

TEST_F(StartSelection, WithoutTheOptionNothingHappens) {
  buildDemo();
  if (HasFatalFailure() || IsSkipped()) return;
  ProgramOptions o;
  term.input = {"\r"};
  EXPECT_TRUE(applyStartSelection(*window, o));
  EXPECT_EQ(term.input.size(), 1u);  // nothing was asked
  EXPECT_TRUE(has(host.picture(), "Current Application: None"));
}

}  // namespace
