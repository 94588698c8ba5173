#include "app_fixture.hpp"

#include "base/paths.hpp"
#include "base/text.hpp"
#include "platform/files.hpp"
#include "tfabuild/build.hpp"

namespace apps_test {

std::string treesApp(const std::string& columns, const std::string& levelExtras, const std::string& topExtras) {
  return R"({ "application": { "name": "Trees" }, "levels": [ { "code": "A____", "table": "TREES", "columns": )" +
         columns + levelExtras + " } ]" + topExtras + " }";
}

std::string AppTest::path(const std::string& name) const { return base::joinPath(folder(), name, platform::kSep); }

void AppTest::build(const std::string& json) {
  tfabuild::Diagnostics diag;
  tfabuild::BuildOptions options;
  options.appFolder = folder();
  ASSERT_EQ(tfabuild::buildFromText(json, dir.path(), options, diag), 0) << diag.text();
}

std::string AppTest::readFile(const std::string& name) const { return testing_support::readBytes(path(name)); }

void AppTest::writeFile(const std::string& name, const std::string& bytes) const {
  testing_support::writeBytes(path(name), bytes);
}

apps::LevelLoad AppTest::loadRoot(std::string& nameOut) {
  EXPECT_EQ(app.loadAppCtl(folder()), 0);
  return app.loadLevel(folder(), 1, nameOut);
}

}  // namespace apps_test
