#pragma once
// The application a bench works on: built from its description by the
// package builder under root/Apps and opened, with root/Data as the data
// folder. A bench has nobody to tell of a failure: it aborts.
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "apps/app_open.hpp"
#include "config/process_values.hpp"
#include "tfabuild/build.hpp"
#include "ui/host.hpp"

namespace bench {

// A host that shows nothing: every message box gets the one answer, forms
// are cancelled, there is no scroll window.
class QuietHost : public ui::Host {
 public:
  explicit QuietHost(int answer) : answer_(answer) {}
  int messageBox(std::string_view, std::string_view, unsigned) override { return answer_; }
  void pump() override {}
  void post(std::function<void()> fn) override { fn(); }
  void beep() override {}
  int runForm(const ui::Form&, ui::FormController&) override { return 0; }
  bool toggleScrollWindow(const std::string&, const std::vector<std::string>&) override { return false; }
  int scrollWindowColumns() override { return 80; }
  bool mainWindowHasFocus() override { return false; }

 private:
  int answer_;
};

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
