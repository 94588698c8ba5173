#include "shell/exit_prompt.hpp"

#include "ui/host.hpp"

namespace shell {

bool confirmExit(ui::Host& host, bool editSessionOpen) {
  const char* text = editSessionOpen ? "An Edit Session\nis Open\nExit Tallyfin?" : "Exit Tallyfin?";
  return ui::askYesNo(host, text, "") == ui::kIdYes;
}

}  // namespace shell
