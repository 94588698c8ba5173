#pragma once
// The exchange dialog of "Transfer Data": three buttons, storage (the backup
// / move dialog), copy (the copy-from-storage dialog) and host (a host
// transfer behind the status window).
#include "shell/host_transfer_window.hpp"
#include "ui/form.hpp"

namespace shell {

struct StartupValues;

inline constexpr int kExchangeDialog = 170;
inline constexpr int kExchangeStorageButton = 1701, kExchangeCopyButton = 1702, kExchangeHostButton = 1703;

ui::Form exchangeForm();

// transferDataCommand with the session run by runner (empty: the real one).
int runExchangeDialog(ui::Host& host, StartupValues& values, const SessionRunner& runner);

}  // namespace shell
