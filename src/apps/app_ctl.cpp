#include "apps/app_ctl.hpp"

#include "apps/record_doubles.hpp"
#include "apps/whole_read.hpp"
#include "base/paths.hpp"
#include "base/text.hpp"
#include "config/prompts.hpp"
#include "platform/files.hpp"
#include "ui/host.hpp"

namespace apps {

double AppCtl::storedValue(int i) const {
  return getF64(*this, layout::app_ctl::kStoredValues + 8 * clampIndex(i, 4));
}

void AppCtl::setStoredValue(int i, double v) {
  putF64(*this, layout::app_ctl::kStoredValues + 8 * clampIndex(i, 4), v);
}

int readAppCtl(const std::string& appFolder, AppCtl& out) {
  std::string path = base::joinPath(appFolder, kAppCtlName, platform::kSep);
  AppCtl image;
  switch (readExactImage(path, image.bytes().data(), image.bytes().size())) {
    case WholeRead::Ok: break;
    case WholeRead::Missing: return kAppCtlMissing;
    case WholeRead::Open: return kAppCtlOpen;
    case WholeRead::Size: return kAppCtlSize;
    case WholeRead::Read: return kAppCtlRead;
    case WholeRead::Short: return kAppCtlShort;
  }
  if (!image.compiled()) return kAppCtlNotCompiled;
  out = image;
  return kAppCtlOk;
}

const char* appCtlErrorText(int status) {
  switch (status) {
    case kAppCtlMissing: return "app.ctl Not Found!";
    case kAppCtlOpen: return "Opening app.ctl";
    case kAppCtlSize: return "app.ctl is Corrupt";
    case kAppCtlRead: return "Reading app.ctl";
    case kAppCtlNotCompiled: return "App Not Compiled";
    default: return "Unknown App Error";
  }
}

void reportAppCtlError(ui::Host& host, std::string_view appName, int status) {
  reportAppCtlError(host, appName, status, appCtlErrorText(status));
}

void reportAppCtlError(ui::Host& host, std::string_view appName, int status, std::string_view text) {
  std::string caption = base::format("%.*s:Error:%d", static_cast<int>(appName.size()), appName.data(), status);
  if (host.editScreen() != nullptr) {
    config::warn(host, caption, text, 0, false, false);
  } else {
    ui::inform(host, text, caption);
  }
}

}  // namespace apps
