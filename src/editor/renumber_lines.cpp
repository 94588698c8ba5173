#include "editor/renumber_lines.hpp"

#include <algorithm>
#include <optional>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "base/text.hpp"
#include "config/prompts.hpp"
#include "datasets/data_session.hpp"
#include "datasets/level_codes.hpp"
#include "datasets/line_children.hpp"
#include "datasets/parent_links.hpp"
#include "editor/auto_fill.hpp"
#include "editor/column_values.hpp"
#include "editor/popup_box.hpp"
#include "apps/app_open.hpp"
#include "tablestore/table.hpp"
#include "tablestore/table_store.hpp"
#include "ui/host.hpp"

namespace editor {

namespace {

constexpr const char* kRenamingTitle = "< Renaming Children >";
constexpr const char* kPercentLeft = "Percent Left:  0";
constexpr const char* kPleaseWait = "< Please Wait >";

// The text a line-number value is written as: a numeric field formats the
// number itself; a character field gets it right-aligned in its width.
std::string numberText(const FieldDesc& f, double value) {
  std::string text = base::format("%.*f", std::max(0, f.decimals), value);
  if (f.type != 'N' && static_cast<int>(text.size()) < f.width)
    text.insert(0, static_cast<std::size_t>(f.width) - text.size(), ' ');
  return text;
}

// The "< Renaming Children >" box, its percentage written in place.
class RenameBox {
 public:
  RenameBox(ui::Screen& screen, std::int32_t total)
      : screen_(screen), box_(screen, {kRenamingTitle, kPercentLeft, kPleaseWait}), total_(std::max(total, 1)) {}
  void done(std::int32_t count) {
    const int left = static_cast<int>(100 - (static_cast<std::int64_t>(count) * 100) / total_);
    if (!box_.shown() || left == shown_) return;
    shown_ = left;
    screen_.gotoCell(box_.top() + 1, box_.left());
    screen_.putText(base::format("Percent Left:%3d", left));
  }

 private:
  ui::Screen& screen_;
  PopupBox box_;
  std::int32_t total_;
  int shown_ = -1;
};

}  // namespace

std::vector<std::string> lineKeys(LevelState& s) {
  std::vector<std::string> keys;
  for (int j = 1; j <= s.level; ++j) {
    tablestore::TableField* f = s.table->fieldByNumber(j);
    keys.emplace_back(f ? std::string(f->text()) : std::string());
  }
  return keys;
}

datasets::LineOwner lineOwner(const Engine& e, const std::vector<std::string>& keys) {
  datasets::LineOwner owner;
  owner.datasetNumber = e.session.datasetNumber;
  owner.datasetName = e.session.datasetName;
  owner.unitCode = e.session.unitCode;
  owner.level = e.current;
  if (const datasets::LevelSlot* slot = e.session.level(e.current)) owner.levelCode = slot->code;
  owner.keys = keys;
  return owner;
}

void relinkChildFields(LevelState& s, const std::vector<std::pair<std::string, std::string>>& moved) {
  for (int c = 1; c <= 26; ++c) {
    tablestore::TableField* f = s.table->fieldByName(datasets::childFieldName(c));
    if (!f) continue;
    const std::string now = base::trim(f->text());
    for (const auto& [from, to] : moved) {
      if (now.empty() || !base::equalsNoCase(now, from)) continue;
      if (f->assignText(to) == 0) (void)s.table->changed(1);
      break;
    }
  }
}

bool levelHasChildren(const Engine& e) {
  const LevelState& s = e.levels[static_cast<std::size_t>(e.current)];
  return s.open() && e.current < datasets::kMaxLevel && s.def->bct.childCount() > 0;
}

int renumberLines(Engine& e, RenumberOrder order) {
  LevelState& s = e.level();
  if (!s.open()) return 0;
  std::vector<int> numbered;
  for (int k = 1; k <= s.columnCount(); ++k) {
    const apps::ColumnCheck* c = s.def->check(k);
    if (c && c->fillKind() == kFillLineNumber) numbered.push_back(k);
  }
  const std::int32_t count = s.lineCount();
  if (numbered.empty() || count < 1) return 0;

  const bool children = levelHasChildren(e);
  datasets::DatasetFiles files;
  if (children && files.read(e.session.dataFolder, e.session.datasetNumber, e.session.datasetName,
                             e.session.unitCode) != 0)
    return count;  // without the listing no key may move
  const std::int32_t current = s.line();
  std::optional<RenameBox> box;
  if (children) box.emplace(e.screen, count);

  int kept = 0;
  std::vector<std::pair<std::string, std::string>> moved;
  for (std::int32_t i = 0; i < count; ++i) {
    const std::int32_t n = order == RenumberOrder::FromLast ? count - i : i + 1;
    if (box) box->done(i);
    if (s.table->recordNumber() != n && s.table->goRecord(n) != 0) {
      ++kept;
      continue;
    }
    const std::vector<std::string> before = lineKeys(s);
    for (int k : numbered) {
      const FieldDesc& f = s.fields[static_cast<std::size_t>(k)];
      const std::string text = numberText(f, lineNumberValue(*s.def->check(k), n));
      if (currentText(s, k) != text) (void)writeColumnText(s, k, text);
    }
    if (s.table->changed() <= 0) continue;
    const std::vector<std::string> after = lineKeys(s);
    if (children && after != before) {
      datasets::LineOwner owner = lineOwner(e, before);
      datasets::ChildFileResult r = datasets::moveLineChildren(e.ctx.tables, files, owner, after, moved);
      if (r.refused || (r.found > 0 && r.done == 0)) {
        // Nothing moved: the line keeps the number its children still carry.
        (void)s.table->changed(0);
        (void)s.table->goRecord(n);
        ++kept;
        continue;
      }
      if (r.failed > 0) ++kept;  // some files stayed under the old key
      relinkChildFields(s, moved);
      if (s.table->writeRecord(n) != 0 || s.table->flush() != 0) ++kept;
      continue;
    }
    if (s.table->writeRecord(n) != 0) ++kept;
  }
  if (box) box->done(count);
  (void)s.table->flush();
  if (current >= 1 && current <= count) (void)s.table->goRecord(current);
  s.header().setLineModified(false);
  refreshColumnValues(s);
  if (kept > 0) config::warn(e.host, "Child Files Kept", "Numbers Not Changed", 250, false, false);
  return kept;
}

}  // namespace editor
