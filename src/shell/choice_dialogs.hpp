#pragma once
// The five choice dialogs of the command bar (Data, Apps, Setups, GPS,
// Helps). Each ends with the number of the button pressed, 0 for Cancel.
#include "ui/form.hpp"

namespace ui { class Host; }

namespace shell {

enum class Choice { Data, Apps, Setups, Gps, Helps };

// The dialog's form; buttons whose command is not available are disabled.
ui::Form choiceForm(Choice which, bool portrait);
// The command a choice-dialog button stands for (0 when none).
int commandOfChoiceButton(int button);
// Shows the dialog; returns the button pressed or 0.
int runChoice(ui::Host& host, Choice which, bool portrait);

}  // namespace shell
