#include "config/auto_transfer.hpp"

#include <algorithm>

#include "base/text.hpp"
#include "platform/codepage.hpp"
#include "platform/registry.hpp"
#include "ui/host.hpp"

namespace config {

bool clearAutoTransfer(ui::Host& host) {
  if (platform::putAppSetting(kAutoTransferValue, "")) return true;
  ui::inform(host, "Registry Access Error.", "Error");
  return false;
}

std::vector<std::string> splitAutoTransfer(std::string_view text) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t comma = text.find(',', start);
    if (comma == std::string_view::npos) comma = text.size();
    std::string name = base::trimRight(base::trimLeft(std::string(text.substr(start, comma - start))));
    if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    start = comma + 1;
  }
  return names;
}

std::string joinAutoTransfer(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& n : names) {
    if (!text.empty()) text += ',';
    text += n;
  }
  return text;
}

bool autoTransferFits(const std::vector<std::string>& names) {
  // The buffer holds UTF-16 units of two bytes and the closing NUL.
  return platform::utf8ToUtf16(joinAutoTransfer(names)).size() <= kAutoTransferMaxBytes / 2 - 1;
}

bool autoTransferNameUsable(std::string_view name) {
  return name.find(',') == std::string_view::npos && !base::trimRight(base::trimLeft(std::string(name))).empty();
}

bool readAutoTransfer(ui::Host& host, std::vector<std::string>& names) {
  names.clear();
  if (!platform::regValueExists(platform::RegRoot::CurrentUser, platform::kAppKey, kAutoTransferValue)) return true;
  std::string text;
  if (!platform::getAppSetting(kAutoTransferValue, text, kAutoTransferMaxBytes)) {
    ui::inform(host, "AutoXfer Registry Read Error.", "Error");
    return false;
  }
  names = splitAutoTransfer(text);
  return true;
}

bool writeAutoTransfer(ui::Host& host, const std::vector<std::string>& names) {
  if (!autoTransferFits(names)) return false;
  if (!std::all_of(names.begin(), names.end(), [](const std::string& n) { return autoTransferNameUsable(n); }))
    return false;
  if (platform::putAppSetting(kAutoTransferValue, joinAutoTransfer(names))) return true;
  ui::inform(host, "AutoXfer Registry Write Error.", "Error");
  return false;
}

}  // namespace config
