#pragma once
// The values a new line starts with, by each column's automatic-fill kind.
#include <cstdint>

#include "editor/engine.hpp"

namespace apps {
class ColumnCheck;
}

namespace editor {

// The value a line-number column holds on line n: start + n × step (step 0
// counts as 1). The fill of a new line and the renumbering of a level use it.
double lineNumberValue(const apps::ColumnCheck& c, std::int32_t n);

// Fills every column of the new current record by its kind; firstLine when it
// is line 1, appending when it was added at the end.
void initNewLine(Engine& e, bool firstLine, bool appending);

}  // namespace editor
