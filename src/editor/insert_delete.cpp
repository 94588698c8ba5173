#include "editor/later_commands.hpp"
#include "ui/host.hpp"

namespace editor {

void insertLine(Engine& e) { e.host.beep(); }
void deleteLine(Engine& e) { e.host.beep(); }

}  // namespace editor
