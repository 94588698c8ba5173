#include "support/install_root.hpp"

#include "config/settings.hpp"
#include "platform/fileops.hpp"

namespace testing_support {

void makeInstallRoot(config::ProcessValues& v, const TempDir& dir) {
  v.style = config::nativePathStyle();
  v.installRoot = dir.path();
  v.appPath = dir.file("Apps");
  v.dataPath = dir.file("Data");
  platform::makeFolder(v.appPath);
  platform::makeFolder(v.dataPath);
  v.settings.setUnitIdText("ABC");
  v.settings.setUnitCode("ABC___");
}

}  // namespace testing_support
