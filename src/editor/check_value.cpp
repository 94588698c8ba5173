#include "editor/check_value.hpp"

#include <cstdio>

#include "base/text.hpp"
#include "apps/app_open.hpp"
#include "config/process_values.hpp"
#include "config/prompts.hpp"
#include "config/settings.hpp"
#include "editor/check_files.hpp"
#include "editor/check_or_ask.hpp"
#include "editor/column_check_file.hpp"
#include "editor/edit_picture.hpp"
#include "editor/field_formats.hpp"
#include "tablestore/number_text.hpp"
#include "tablestore/table.hpp"
#include "ui/host.hpp"

namespace editor {

namespace {

constexpr const char* kMatchNotFound = "Match Not Found";

bool validLevel(int level) { return level >= 1 && level <= 5; }

std::string columnLine(int column) {
  char line[32];
  std::snprintf(line, sizeof line, "Column:%2d", column);
  return line;
}

// What the checks of one value work with.
struct Checking {
  Engine& e;
  int k;
  const apps::ColumnCheck& c;
  std::string& text;
  bool revalidating;
  double value = 0;

  void tell(std::string_view line1, std::string_view line2) const {
    if (!revalidating) (void)config::warn(e.host, line1, line2, kCheckMessageTime, false, false);
  }
  CheckResult notFound(std::string_view line2) const {
    tell(kMatchNotFound, line2);
    return CheckResult::kRefusedWithoutPrompt;
  }
  CheckResult within(bool inside) const { return inside ? CheckResult::kAccepted : CheckResult::kRefused; }
};

// A file that could not be had: the user decides (nobody is asked while
// revalidating, and stored data is not refused for a missing file).
CheckResult missingFile(const Checking& k, CheckFileOpen outcome, std::string_view name) {
  if (k.revalidating) return CheckResult::kAccepted;
  const char* message = outcome == CheckFileOpen::kNotFound ? "Can't Find Checkfile" : "Can't Open Checkfile";
  return useAnyway(k.e, message, base::trim(name)) ? CheckResult::kAccepted : CheckResult::kRefusedWithoutPrompt;
}

// The number of field j of record n within [field lo, field hi]; a record
// without those fields is a match not found.
CheckResult boundsOfRow(const Checking& k, tablestore::Table& t, std::int64_t n, int lo, int hi,
                        std::string_view missing) {
  double low = 0, high = 0;
  if (!fieldNumberOf(t, n, lo, low) || !fieldNumberOf(t, n, hi, high)) return k.notFound(missing);
  return k.within(k.value >= low && k.value <= high);
}

// The column's text for a second field that replaces the typed value.
bool secondFieldText(const Checking& k, tablestore::Table& t, std::int64_t n, std::string& out) {
  tablestore::TableField* f = t.fieldByNumber(2);
  if (f == nullptr || t.goRecord(n) != 0) return false;
  if (f->type() != 'N' && f->type() != 'F') {
    out = base::trimRight(f->text());
    return true;
  }
  const FieldDesc& d = k.e.level().fields[static_cast<std::size_t>(k.k)];
  const int width = d.width > 0 ? d.width : f->length();
  std::string formatted(static_cast<std::size_t>(width), ' ');
  if (!tablestore::formatNumber(f->number(), d.decimals, formatted.data(), width)) return false;
  out = base::trim(formatted);
  return true;
}

CheckResult codeList(const Checking& k, tablestore::Table& t) {
  const bool replaces = k.c.replaceBySecond();
  if (k.revalidating && replaces) {
    // The stored text is the second field's; the file is sorted on the first.
    return findInCheckFile(t, 2, k.text, true) != 0 ? CheckResult::kAccepted : CheckResult::kRefused;
  }
  const std::int64_t n = findInCheckFile(t, 1, k.text, k.c.sequentialSearch());
  if (n == 0) return CheckResult::kRefused;
  if (!replaces) return CheckResult::kAccepted;
  std::string second;
  if (!secondFieldText(k, t, n, second)) return CheckResult::kRefused;
  k.text = second;
  return CheckResult::kAccepted;
}

CheckResult checkFileSteps(Checking& k) {
  Engine& e = k.e;
  CheckFile file(e.ctx.tables);
  std::string name;
  switch (openColumnCheckFile(e, k.c, file, name)) {
    case ColumnFileOpen::kOpen: break;
    case ColumnFileOpen::kNoRelation: return k.notFound(relationLine(k.c));
    case ColumnFileOpen::kCannotOpen: return missingFile(k, CheckFileOpen::kCannotOpen, name);
    case ColumnFileOpen::kNotFound: return missingFile(k, CheckFileOpen::kNotFound, name);
  }
  tablestore::Table& t = *file.table();

  switch (k.c.checkType()) {
    case 7: {
      const std::int64_t n = findRangeRow(t, relativeLow(e, k.c));
      if (n == 0) return k.notFound(columnLine(k.c.lowColumn()));
      return boundsOfRow(k, t, n, 3, 4, columnLine(k.c.lowColumn()));
    }
    case 8: {
      const double key1 = levelColumnValue(e.levels, k.c.lowLevel(), k.c.lowColumn());
      const double key2 = levelColumnValue(e.levels, k.c.highLevel(), k.c.highColumn());
      const std::int64_t n = findRangeRow(t, key1, key2);
      if (n == 0) return k.notFound("In Range Table");
      return boundsOfRow(k, t, n, 5, 6, "In Range Table");
    }
    case 9: {
      const MatchKey key{levelColumnText(e.levels, k.c.lowLevel(), k.c.lowColumn()), 0};
      const std::int64_t n = findByKind(t, kMatchText, key, true, k.c.sequentialSearch());
      if (n == 0) return k.notFound(columnLine(k.c.lowColumn()));
      return boundsOfRow(k, t, n, 2, 3, columnLine(k.c.lowColumn()));
    }
    default: return codeList(k, t);
  }
}

bool absoluteRange(const Checking& k) { return k.value >= k.c.minimum() && k.value <= k.c.maximum(); }

CheckResult byType(Checking& k, bool blank) {
  const int type = k.c.checkType();
  switch (type) {
    case 0: return CheckResult::kAccepted;
    case 1: return k.within(absoluteRange(k));
    case 2:
      if (!blank || k.c.checkEmpty()) {
        return k.within(static_cast<int>(base::trimmedLength(k.text)) >= k.c.minTextLength());
      }
      return CheckResult::kAccepted;
    case 4:
    case 5:
    case 6: {
      if (!absoluteRange(k)) return CheckResult::kRefused;
      const bool lowOk = type == 5 || k.value >= relativeLow(k.e, k.c);
      const bool highOk = type == 4 || k.value <= relativeHigh(k.e, k.c);
      return k.within(lowOk && highOk);
    }
    case 7:
    case 8:
    case 9:
      if (!absoluteRange(k)) return CheckResult::kRefused;
      return checkFileSteps(k);
    default: return checkFileSteps(k);
  }
}

bool passesWhenEmpty(int type) { return type == 1 || (type >= 4 && type <= 9); }

}  // namespace

double relativeLow(const Engine& e, const apps::ColumnCheck& c) {
  if (!validLevel(c.lowLevel())) return c.minimum();
  const double v = levelColumnValue(e.levels, c.lowLevel(), c.lowColumn());
  return v < c.minimum() ? c.minimum() : v;
}

double relativeHigh(const Engine& e, const apps::ColumnCheck& c) {
  if (!validLevel(c.highLevel())) return c.maximum();
  const double v = levelColumnValue(e.levels, c.highLevel(), c.highColumn());
  return v > c.maximum() ? c.maximum() : v;
}

bool fitsPicture(const std::string& text, const std::string& picture) {
  for (std::size_t i = 0; i < text.size() && i < picture.size(); ++i) {
    const char p = picture[i];
    const bool placeholder = p == '#' || p == '?' || p == '@' || p == '~';
    if (placeholder && !pictureAccepts(p, text[i])) return false;
  }
  return true;
}

CheckResult checkValue(Engine& e, int k, std::string& text, bool revalidating) {
  LevelState& s = e.level();
  const apps::ColumnCheck* c = s.def ? s.def->check(k) : nullptr;
  if (c == nullptr || k > s.columnCount()) return CheckResult::kRefused;
  Checking ck{e, k, *c, text, revalidating};

  // 1. The number the text holds; a blank text is empty.
  const bool blank = base::trim(text).empty();
  ck.value = tablestore::parseNumber(text);
  if (blank) {
    if (c->fieldType() == kTypeNumeric) return c->checkEmpty() ? CheckResult::kRefused : CheckResult::kAccepted;
    ck.value = c->minimum() - 1;
  }
  // 2. A picture column is checked against its picture again.
  if (c->editKind() == 2 && (!blank || c->checkEmpty()) && !fitsPicture(text, c->text())) {
    return CheckResult::kRefused;
  }
  // 3-4. The check of the column's type.
  if (!c->checkEmpty() && passesWhenEmpty(c->checkType()) && (blank || ck.value == 0)) {
    return CheckResult::kAccepted;
  }
  const CheckResult r = byType(ck, blank);
  if (r != CheckResult::kAccepted) return r;

  // 5. The warning range.
  if (c->warnRange() && !revalidating && (ck.value < c->warnMinimum() || ck.value > c->warnMaximum())) {
    const apps::ColumnField* f = s.def->field(k);
    const std::string near = base::trimRight(f ? f->name() : std::string()) + " Near";
    if (config::askLetter(e.host, {near, "Limit,Use Data? Y/N"}, 'Y', 'N') != 1) {
      s.header().setRedrawLines(true);
      return CheckResult::kRefusedWithoutPrompt;
    }
  }
  return CheckResult::kAccepted;
}

}  // namespace editor
