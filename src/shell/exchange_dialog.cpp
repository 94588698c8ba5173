#include "shell/exchange_dialog.hpp"

#include "shell/backup_move_dialog.hpp"
#include "shell/copy_from_storage_dialog.hpp"
#include "shell/startup.hpp"
#include "shell/transfer_commands.hpp"
#include "ui/host.hpp"

namespace shell {

namespace {

class ExchangeController : public ui::FormController {
 public:
  ExchangeController(ui::Host& host, StartupValues& values) : host_(host), values_(values) {}

  void onInit(ui::FormView& view) override { view.enable(kExchangeHostButton, false); }
  void onCommand(ui::FormView& view, int id) override {
    switch (id) {
      case kExchangeStorageButton: (void)backupMoveDialog(host_, values_); break;
      case kExchangeCopyButton: (void)copyFromStorageDialog(host_, values_); break;
      case ui::kIdCancelButton:
      case ui::kIdOkButton: view.end(0); break;
      default: break;  // the host button stays disabled
    }
  }

 private:
  ui::Host& host_;
  StartupValues& values_;
};

}  // namespace

ui::Form exchangeForm() {
  ui::Form f;
  f.resource = kExchangeDialog;
  f.caption = "Transfer Data";
  f.size = {0, 0, 200, 104};
  ui::Control host{kExchangeHostButton, ui::ControlKind::Button, "&Host Transfer", {16, 52, 168, 18}};
  host.enabled = false;
  f.controls = {{kExchangeStorageButton, ui::ControlKind::Button, "&Removable Storage (Backup / Move)", {16, 8, 168, 18}},
                {kExchangeCopyButton, ui::ControlKind::Button, "&Copy From Removable Storage", {16, 30, 168, 18}},
                host,
                ui::cancelButton(ui::kIdCancelButton, "Close", {72, 80, 56, 16})};
  f.firstFocus = kExchangeStorageButton;
  return f;
}

int transferDataCommand(ui::Host& host, StartupValues& values) {
  (void)values.tables.closeAll();
  ExchangeController controller(host, values);
  const int result = host.runForm(exchangeForm(), controller);
  (void)values.tables.closeAll();
  // Only a host transfer ends the dialog with 1; it is not offered yet.
  return result == 1 ? 1 : 0;
}

}  // namespace shell
