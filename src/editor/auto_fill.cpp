#include "editor/auto_fill.hpp"

#include "apps/level_records.hpp"

namespace editor {

double lineNumberValue(const apps::ColumnCheck& c, std::int32_t n) {
  const double step = c.step() == 0 ? 1.0 : c.step();
  return c.startValue() + static_cast<double>(n) * step;
}

void initNewLine(Engine& e, bool firstLine, bool appending) {
  (void)e;
  (void)firstLine;
  (void)appending;
}

}  // namespace editor
