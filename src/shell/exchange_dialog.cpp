#include "shell/exchange_dialog.hpp"

#include "shell/backup_move_dialog.hpp"
#include "shell/copy_from_storage_dialog.hpp"
#include "shell/host_transfer_start.hpp"
#include "shell/startup.hpp"
#include "shell/transfer_commands.hpp"
#include "ui/host.hpp"

namespace shell {

namespace {

class ExchangeController : public ui::FormController {
 public:
  ExchangeController(ui::Host& host, StartupValues& values, const SessionRunner& runner)
      : host_(host), values_(values), runner_(runner) {}

  void onCommand(ui::FormView& view, int id) override {
    switch (id) {
      case kExchangeStorageButton: (void)backupMoveDialog(host_, values_); break;
      case kExchangeCopyButton: (void)copyFromStorageDialog(host_, values_); break;
      case kExchangeHostButton: hostTransfer(view); break;
      case ui::kIdCancelButton:
      case ui::kIdOkButton: view.end(0); break;
      default: break;
    }
  }

 private:
  void hostTransfer(ui::FormView& view) {
    if (transferRunning_) return;  // a press that reaches the dialog meanwhile
    transferRunning_ = true;
    const HostTransferOutcome outcome = startHostTransfer(host_, values_, runner_);
    transferRunning_ = false;
    if (outcome == HostTransferOutcome::kCancelled) view.end(0);
    if (outcome == HostTransferOutcome::kCompleted) view.end(1);
  }

  ui::Host& host_;
  StartupValues& values_;
  const SessionRunner& runner_;
  bool transferRunning_ = false;
};

}  // namespace

ui::Form exchangeForm() {
  ui::Form f;
  f.resource = kExchangeDialog;
  f.caption = "Transfer Data";
  f.size = {0, 0, 200, 104};
  f.controls = {{kExchangeStorageButton, ui::ControlKind::Button, "&Removable Storage (Backup / Move)", {16, 8, 168, 18}},
                {kExchangeCopyButton, ui::ControlKind::Button, "&Copy From Removable Storage", {16, 30, 168, 18}},
                {kExchangeHostButton, ui::ControlKind::Button, "&Host Transfer", {16, 52, 168, 18}},
                ui::cancelButton(ui::kIdCancelButton, "Close", {72, 80, 56, 16})};
  f.firstFocus = kExchangeStorageButton;
  return f;
}

int runExchangeDialog(ui::Host& host, StartupValues& values, const SessionRunner& runner) {
  (void)values.tables.closeAll();
  ExchangeController controller(host, values, runner);
  const int result = host.runForm(exchangeForm(), controller);
  (void)values.tables.closeAll();
  return result == 1 ? 1 : 0;
}

int transferDataCommand(ui::Host& host, StartupValues& values) { return runExchangeDialog(host, values, {}); }

}  // namespace shell
