#include "apps/level_load_error.hpp"

#include "base/text.hpp"
#include "config/prompts.hpp"
#include "ui/host.hpp"

namespace apps {

std::string levelLoadErrorCaption(std::string_view appName, int level, int status, int phase) {
  return base::format("%.*s-Error:%d%d%d", static_cast<int>(appName.size()), appName.data(), level, status,
                      phase);
}

std::string levelLoadErrorText(int status, std::string_view path) {
  const char* form = "Unknown for %.*s";
  switch (status) {
    case 1: form = "Can't Find:%.*s"; break;
    case 2: form = "Opening %.*s"; break;
    case 3: form = "%.*s is Corrupt"; break;
    case 4: form = "Reading %.*s"; break;
    case 5: form = "Malloc for %.*s"; break;
    default: break;
  }
  return base::format(form, static_cast<int>(path.size()), path.data());
}

void reportLevelLoadError(ui::Host& host, std::string_view appName, int level, int status, int phase,
                          std::string_view path) {
  std::string caption = levelLoadErrorCaption(appName, level, status, phase);
  std::string text = levelLoadErrorText(status, path);
  if (host.editScreen() != nullptr) {
    config::warn(host, caption, text, 0, false, false);
  } else {
    ui::inform(host, caption + "\n" + text, "Load Application Error");
  }
}

}  // namespace apps
