#include "editor/later_commands.hpp"
#include "ui/host.hpp"

namespace editor {

void searchColumn(Engine& e) { e.host.beep(); }

}  // namespace editor
