#include "editor/line_checks.hpp"

namespace editor {

bool checkLine(Engine& e, bool missing, bool leaving) {
  (void)e;
  (void)missing;
  (void)leaving;
  return true;
}

bool checkLevel(Engine& e) {
  (void)e;
  return true;
}

}  // namespace editor
