#include "editor/column_lists.hpp"

#include "apps/app_open.hpp"
#include "base/text.hpp"
#include "config/prompts.hpp"
#include "editor/check_files.hpp"
#include "editor/column_check_file.hpp"
#include "editor/dispatch.hpp"
#include "editor/key_in_from_list.hpp"
#include "editor/pick_from_check_file.hpp"
#include "editor/value_checks.hpp"
#include "tablestore/table.hpp"
#include "ui/host.hpp"

namespace editor {

namespace k = ui::key;

namespace {

constexpr int kCodeList = 3;

bool hasCodeList(const Engine& e, int col) {
  const apps::ColumnCheck* c = e.levels[static_cast<std::size_t>(e.current)].def->check(col);
  return c && c->checkType() == kCodeList;
}

// Opens the current column's check file; unless quiet, says why it cannot.
bool openForList(Engine& e, int col, CheckFile& file, bool quiet) {
  const apps::ColumnCheck* c = e.level().def->check(col);
  if (!c) return false;
  if (!quiet) return openColumnCheckFileOrSay(e, *c, file);
  std::string name;
  return openColumnCheckFile(e, *c, file, name) == ColumnFileOpen::kOpen;
}

// A value chosen from a list: checked and stored as a typed one, then the
// cursor moves on as after Enter (so a list-entry column does not open its
// list again at once).
bool takeAsEntered(Engine& e, int col, const std::string& text) {
  if (!acceptValue(e, col, text)) {
    e.host.beep();
    return false;
  }
  e.level().header().setExitKey(k::kEnter);
  dispatchExitKey(e);
  return true;
}

}  // namespace

bool keyedThroughList(const Engine& e, int col) {
  const apps::ColumnCheck* c = e.levels[static_cast<std::size_t>(e.current)].def->check(col);
  return c && c->listEntry() && c->checkType() == kCodeList;
}

bool pickFromColumnList(Engine& e) {
  const int col = e.level().column();
  CheckFile file(e.ctx.tables);
  if (!openForList(e, col, file, false)) return false;
  const std::int64_t n = pickFromCheckFile(e, *file.table());
  if (n <= 0 || e.aborted) return false;
  const std::string code = fieldTextOf(*file.table(), n, 1);
  file.close();
  return takeAsEntered(e, col, code);
}

void keyInColumnList(Engine& e) {
  const int col = e.level().column();
  if (!hasCodeList(e, col)) {
    e.host.beep();  // nothing to choose from
    return;
  }
  CheckFile file(e.ctx.tables);
  if (!openForList(e, col, file, false)) return;
  const ui::KeyCode key = keyInFromList(e, col, *file.table());
  file.close();
  if (key == k::kAbort) {
    e.aborted = true;
    return;
  }
  if (key == k::kEnter) (void)takeAsEntered(e, col, e.level().editBuffer);
}

ui::KeyCode listEntryEditor(Engine& e, int col, std::string& text, bool& changed, bool& has) {
  has = false;
  CheckFile file(e.ctx.tables);
  // A file that cannot be had is said by the checks when the value is stored.
  if (!openForList(e, col, file, true)) return 0;
  const ui::KeyCode key = keyInFromList(e, col, *file.table());
  if (key == 0) return 0;  // no records: keyed as usual
  has = true;
  if (key == k::kEnter) {
    text = e.level().editBuffer;
    changed = true;
  }
  return key;
}

}  // namespace editor
