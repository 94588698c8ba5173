#pragma once
namespace ui { class Host; }

namespace shell {

// The question before the program ends: "An Edit Session\nis Open\nExit
// Tallyfin?" while an edit session is open, else "Exit Tallyfin?" (empty
// caption, question icon, Yes and No). True when the answer is Yes.
bool confirmExit(ui::Host& host, bool editSessionOpen);

}  // namespace shell
