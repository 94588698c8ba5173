#include "editor/later_commands.hpp"
#include "ui/host.hpp"

namespace editor {

void goToLinePrompt(Engine& e) { e.host.beep(); }

}  // namespace editor
