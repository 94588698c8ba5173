#include "config/auto_transfer.hpp"

#include "platform/registry.hpp"
#include "ui/host.hpp"

namespace config {

bool clearAutoTransfer(ui::Host& host) {
  if (platform::putAppSetting(kAutoTransferValue, "")) return true;
  ui::inform(host, "Registry Access Error.", "Error");
  return false;
}

}  // namespace config
