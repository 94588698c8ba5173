#pragma once
// The application a bench works on: built from its description by the
// package builder under root/Apps and opened, with root/Data as the data
// folder. A bench has nobody to tell of a failure: it aborts.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "apps/app_open.hpp"
#include "config/process_values.hpp"
#include "tfabuild/build.hpp"

namespace bench {

inline void openBenchApp(config::ProcessValues& values, apps::AppContext& ctx, const std::filesystem::path& root,
                         const std::string& name, const std::string& json) {
  values.style = config::nativePathStyle();
  values.installRoot = root.string();
  values.appPath = (root / "Apps").string();
  values.dataPath = (root / "Data").string();
  tfabuild::Diagnostics diag;
  tfabuild::BuildOptions options;
  options.appFolder = (root / "Apps" / name).string();
  options.packagePath = (root / "Apps" / (name + ".tfa")).string();
  if (tfabuild::buildFromText(json, root.string(), options, diag) != 0) std::abort();
  if (apps::openApplication(ctx, name, false) != apps::kOpenOk) std::abort();
}

}  // namespace bench
