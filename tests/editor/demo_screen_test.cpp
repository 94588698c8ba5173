// The first screen of the demo cruise as the engine draws it on the scripted
// host: titles, values and prompt row in their places. The rendering is also
// written beside the test programs (demo_level1_screen.txt), where the
// terminal end-to-end test compares it with what tmux shows of the real
// program on the same dataset.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "base/paths.hpp"
#include "engine_fixture.hpp"
#include "support/screen_text.hpp"
#include "tfabuild/build.hpp"

namespace {

using editor_test::EngineTest;

class DemoScreen : public EngineTest {
 protected:
  void buildDemo() {
    tfabuild::Diagnostics diag;
    tfabuild::BuildOptions options;
    options.appFolder = base::joinPath(v.appPath, "Cruise", platform::kSep);
    options.packagePath = base::joinPath(v.appPath, "Cruise.tfa", platform::kSep);
    ASSERT_EQ(tfabuild::buildFromFile(std::string(TALLYFIN_EXAMPLES_DIR) + "/cruise/cruise.json", options, diag), 0)
        << diag.text();
    ASSERT_EQ(apps::openApplication(ctx, "Cruise", false), apps::kOpenOk);
  }
};

TEST_F(DemoScreen, LevelOneOfTheCruiseAsTheCrewFirstSeesIt) {
  buildDemo();
  openDataset(false, "North Block");
  std::vector<std::string> text;
  host.onPump = [&] {
    if (!edit || !edit->running()) return;
    if (text.empty()) text = testing_support::screenText(edit->screen(), true);
    // The new plot already holds its number and date: leaving would ask for
    // its crew first. The picture is all this test wants.
    edit->abort();
  };
  edit = std::make_unique<editor::EditSession>(host, ctx, session);
  ASSERT_EQ(edit->run(start.title), editor::EditSession::End::Aborted);
  host.onPump = nullptr;
  ASSERT_GE(text.size(), 24u);
  auto rowOf = [&](const std::string& what) {
    for (std::size_t r = 0; r < text.size(); ++r)
      if (text[r].find(what) != std::string::npos) return static_cast<int>(r) + 1;
    return 0;
  };
  // The line screen: titles one under the other from the first grid row,
  // the line label and number on row 1, the first column's prompt on row 24.
  EXPECT_EQ(rowOf("Plot number"), 2);
  EXPECT_EQ(rowOf("Date"), 3);
  EXPECT_EQ(rowOf("Notes"), 12);
  EXPECT_EQ(text[0].substr(text[0].size() - 9), "Plot    1");
  EXPECT_EQ(rowOf("Plot number (filled in)"), 24);
  if (const char* bin = std::getenv("TALLYFIN_TEST_BIN")) {
    std::ofstream out(std::string(bin) + "/demo_level1_screen.txt", std::ios::binary);
    for (const std::string& line : text) out << line << '\n';
  }
}

}  // namespace
