#include "data_fixture.hpp"

#include "base/paths.hpp"
#include "datasets/create_dataset.hpp"
#include "platform/fileops.hpp"
#include "support/install_root.hpp"
#include "tfabuild/build.hpp"

namespace datasets_test {

using Path = config::SettingsRecord::Path;

void DataTest::SetUp() {
  testing_support::makeInstallRoot(v, dir);
  v.tables.setHost(&host);
}

void DataTest::buildDemo() {
  tfabuild::Diagnostics diag;
  tfabuild::BuildOptions options;
  options.appFolder = base::joinPath(v.appPath, "Cruise", platform::kSep);
  options.packagePath = base::joinPath(v.appPath, "Cruise.tfa", platform::kSep);
  ASSERT_EQ(tfabuild::buildFromFile(std::string(TALLYFIN_EXAMPLES_DIR) + "/cruise/cruise.json", options, diag), 0)
      << diag.text();
}

void DataTest::buildSmall(const std::string& name, bool useDatasets) {
  const std::string json = R"({ "application": { "name": ")" + name + R"(", "useDatasets": )" +
                           (useDatasets ? "true" : "false") +
                           R"( }, "version": { "major": 1, "minor": 0, "build": 2, "structure": 5,
      "date": "01/02/2021", "structureDate": "01/01/2021", "structureTime": "10:00:00" },
    "levels": [ { "code": "A____", "table": "TREES",
                  "columns": [ { "field": "PLOT", "type": "N", "width": 4 } ] } ] })";
  tfabuild::Diagnostics diag;
  tfabuild::BuildOptions options;
  options.appFolder = base::joinPath(v.appPath, name, platform::kSep);
  options.packagePath = base::joinPath(v.appPath, name + ".tfa", platform::kSep);
  ASSERT_EQ(tfabuild::buildFromText(json, dir.path(), options, diag), 0) << diag.text();
}

void DataTest::open(const std::string& name) { ASSERT_EQ(apps::openApplication(ctx, name, false), apps::kOpenOk); }

void DataTest::nameNewDataset(const std::string& name) {
  host.onForm(datasets::kCreateDatasetResource, [name](ui::FormState& f) {
    f.type(datasets::kDatasetNameControl, name);
    f.press(ui::kIdOkButton);
  });
}

int DataTest::openData() { return datasets::openData(ctx, session, edit); }

std::string DataTest::dataFile(const std::string& name) const {
  return base::joinPath(v.settings.path(Path::AppDataFolder), name, platform::kSep);
}

std::string DataTest::appFolder() const { return v.settings.path(Path::AppFolder); }

}  // namespace datasets_test
