#pragma once
// The exchange dialog of "Transfer Data": three buttons, storage (the backup
// / move dialog), copy (the copy-from-storage dialog) and host (the host
// transfer, shown disabled until it is built).
#include "ui/form.hpp"

namespace shell {

inline constexpr int kExchangeDialog = 170;
inline constexpr int kExchangeStorageButton = 1701, kExchangeCopyButton = 1702, kExchangeHostButton = 1703;

ui::Form exchangeForm();

}  // namespace shell
