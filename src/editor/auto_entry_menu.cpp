#include "editor/later_commands.hpp"
#include "ui/host.hpp"

namespace editor {

void autoEntryMenu(Engine& e) { e.host.beep(); }

}  // namespace editor
