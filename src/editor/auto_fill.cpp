#include "editor/auto_fill.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "apps/level_records.hpp"
#include "datasets/data_session.hpp"
#include "datasets/record_key.hpp"
#include "editor/column_values.hpp"
#include "editor/field_formats.hpp"
#include "editor/random_values.hpp"
#include "platform/clock.hpp"
#include "tablestore/number_text.hpp"
#include "tablestore/table.hpp"

namespace editor {

namespace {

enum FillKind : int {
  kBlank = 0,
  kCopy = 1,
  kIncrement = 2,
  kLineNumber = 3,
  kDateMdy = 4,
  kDateYmd = 5,
  kTime = 6,
  kRandom = 7,
  kStepped = 8,
  kDefaultText = 9,
  kDateMdyyyy = 10,
  kDateYyyymd = 11,
  kParentValue = 15,
  kDateDmyyyy = 20,
  kDateDmy = 21,
  kRecordKey = 22,
};

constexpr int kKeyWithUnitWidth = 15;  // a generated key with the unit code in front

// The line before the new one, when there is one to read.
struct Previous {
  bool present = false;
  std::string record;
};

double stepOf(const apps::ColumnCheck& c) { return c.step() == 0 ? 1.0 : c.step(); }

void writeBlank(LevelState& s, int k) { (void)writeColumnText(s, k, std::string_view()); }

// The clock texts of the date and time kinds; empty for other kinds.
std::string clockText(int kind, const FieldDesc& f) {
  const platform::DateTime now = platform::clock().localTime();
  const bool numeric = f.type == 'N';
  char out[32];
  switch (kind) {
    case kDateMdy: return formatDate(now, kTypeDateMdy, numeric);
    case kDateYmd: return formatDate(now, kTypeDateYmd, numeric);
    case kDateMdyyyy: return formatDate(now, kTypeDateMdyyyy, numeric);
    case kDateYyyymd: return formatDate(now, kTypeDateYyyymd, numeric);
    case kTime: return formatTime(now, kTypeTime, numeric, f.width);
    case kDateDmyyyy:
      std::snprintf(out, sizeof out, numeric ? "%02d%02d%04d" : "%02d/%02d/%04d", now.day, now.month, now.year);
      return out;
    case kDateDmy:
      std::snprintf(out, sizeof out, numeric ? "%02d%02d%02d" : "%02d/%02d/%02d", now.day, now.month,
                    now.year % 100);
      return out;
    default:
      return {};
  }
}

bool isClockKind(int kind) {
  switch (kind) {
    case kDateMdy: case kDateYmd: case kTime: case kDateMdyyyy: case kDateYyyymd: case kDateDmyyyy:
    case kDateDmy:
      return true;
    default:
      return false;
  }
}

// The stepped value: previous + step, or with a cycle count the offset from
// the start kept within the cycle, starting again at one step past it.
double steppedValue(const apps::ColumnCheck& c, const Previous& prev, double previous) {
  const double step = stepOf(c);
  const int cycle = c.cycleCount();
  if (cycle <= 0) return (prev.present ? previous : 0.0) + step;
  if (!prev.present) return c.startValue() + step;
  double offset = previous - c.startValue() + step;
  if (std::fabs(offset) > cycle) offset = step;
  return c.startValue() + offset;
}

// The text of column col on the current line of the parent level; false when
// that level is not open above this one or has no such column.
bool parentText(const Engine& e, int level, int col, std::string& out) {
  if (level < 1 || level >= e.current) return false;
  const LevelState& from = e.levels[static_cast<std::size_t>(level)];
  if (!from.open() || col < 1 || col > from.columnCount()) return false;
  out = currentText(from, col);
  if (from.fields[static_cast<std::size_t>(col)].type == 'N') {
    // A number stands right-aligned in its field; a character column takes it from its first digit.
    const std::size_t first = out.find_first_not_of(' ');
    out = first == std::string::npos ? std::string() : out.substr(first);
  }
  return true;
}

void fillColumn(Engine& e, LevelState& s, int k, const Previous& prev, bool appending) {
  const apps::ColumnCheck* c = s.def->check(k);
  const int kind = c ? c->fillKind() : kBlank;
  const FieldDesc& f = s.fields[static_cast<std::size_t>(k)];
  const std::string before = prev.present ? fieldText(s, k, prev.record) : std::string();
  const double previous = prev.present ? tablestore::parseNumber(before) : 0.0;
  switch (kind) {
    case kCopy:
      // An appended line already holds the copy; an inserted one takes it here.
      if (!prev.present) writeBlank(s, k);
      else if (!appending) (void)writeColumnText(s, k, before);
      break;
    case kIncrement:
      (void)writeColumnNumber(s, k, prev.present ? previous + 1 : 1);
      break;
    case kLineNumber:
      (void)writeColumnNumber(s, k, lineNumberValue(*c, s.line()));
      break;
    case kRandom: {
      const apps::RndEntry* r = s.def->rndEntry(c->randomIndex());
      std::int32_t value = 0;
      // A deferred value is drawn when the cell is entered; until then it reads 0.
      if (r && !r->deferred() && drawRandom(e, k, value)) (void)writeColumnNumber(s, k, value);
      else writeBlank(s, k);
      break;
    }
    case kStepped:
      (void)writeColumnNumber(s, k, steppedValue(*c, prev, previous));
      break;
    case kDefaultText:
      if (!writeColumnText(s, k, c->text())) writeBlank(s, k);
      break;
    case kParentValue: {
      std::string text;
      if (!parentText(e, c->parentLevel(), c->parentColumn(), text) || !writeColumnText(s, k, text))
        writeBlank(s, k);
      break;
    }
    case kRecordKey:
      if (f.type == 'N') {
        writeBlank(s, k);  // a key is letters and digits: no number holds it
      } else {
        const datasets::DataSession& d = e.session;
        (void)writeColumnText(s, k, datasets::makeRecordKey(f.width >= kKeyWithUnitWidth, d.unitCode));
      }
      break;
    default:
      if (isClockKind(kind) && !c->fillOnEntry()) {
        if (!writeColumnText(s, k, clockText(kind, f))) writeBlank(s, k);
      } else {
        // A numeric field left blank reads 0 and keeps an untouched line empty.
        writeBlank(s, k);
      }
      break;
  }
}

}  // namespace

double lineNumberValue(const apps::ColumnCheck& c, std::int32_t n) {
  return c.startValue() + static_cast<double>(n) * stepOf(c);
}

bool writeColumnNumber(LevelState& s, int k, double value) {
  if (k < 1 || k > s.columnCount()) return false;
  char text[40];
  std::snprintf(text, sizeof text, "%.15g", std::isfinite(value) ? value : 0.0);
  if (writeColumnText(s, k, text)) return true;
  writeBlank(s, k);
  return false;
}

bool storeLineNow(LevelState& s) {
  if (!s.open() || s.line() < 1 || s.line() > s.lineCount()) return false;
  if (s.table->changed() <= 0) return true;
  return s.table->writeRecord(s.line()) == 0 && s.table->flush() == 0;
}

void initNewLine(Engine& e, bool firstLine, bool appending) {
  LevelState& s = e.level();
  if (!s.open() || s.line() < 1) return;
  Previous prev;
  if (!firstLine && s.line() > 1) prev.present = s.table->peekRecord(s.line() - 1, prev.record) == 0;
  if (appending && prev.present) {
    // Byte 0 is the deletion flag: the new record stays live.
    const auto width = std::min(prev.record.size(), static_cast<std::size_t>(s.table->recordWidth()));
    char* buffer = s.table->recordBuffer();
    if (width > 1 && !std::equal(prev.record.begin() + 1, prev.record.begin() + static_cast<long>(width), buffer + 1)) {
      std::copy(prev.record.begin() + 1, prev.record.begin() + static_cast<long>(width), buffer + 1);
      (void)s.table->changed(1);
    }
  }
  for (int k = 1; k <= s.columnCount(); ++k) fillColumn(e, s, k, prev, appending);
  refreshColumnValues(s);
}

}  // namespace editor
