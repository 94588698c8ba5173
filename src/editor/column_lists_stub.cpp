// Stands in for the pick list until it is written: nothing is picked.
#include "editor/column_lists.hpp"

#include "ui/host.hpp"

namespace editor {

bool pickFromColumnList(Engine& e) {
  e.host.beep();
  return false;
}

}  // namespace editor
