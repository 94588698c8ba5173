#include "editor/random_values.hpp"

#include <algorithm>
#include <cmath>

#include "apps/level_definition.hpp"

namespace editor {

namespace {

constexpr int kLowFromColumn = 4, kHighFromColumn = 5, kBothFromColumns = 6;
constexpr std::int32_t kRandomMax = 32767;

// The value of a column of an open level as a whole number; false when the
// level is not open or has no such column.
bool boundFrom(const Engine& e, int level, int col, std::int32_t& out) {
  if (level < 1 || level > 5) return false;
  const LevelState& from = e.levels[static_cast<std::size_t>(level)];
  if (!from.open() || col < 1 || col > from.columnCount()) return false;
  const double v = from.header().columnValue(col);
  if (!std::isfinite(v)) return false;
  out = static_cast<std::int32_t>(std::clamp(v, -2147483648.0, 2147483647.0));
  return true;
}

// v kept at least lo and at most hi, lo winning when the two cross (a
// definition may hold any numbers).
std::int32_t atLeastAtMost(std::int32_t v, std::int32_t lo, std::int32_t hi) {
  return std::max(std::min(v, hi), lo);
}

}  // namespace

int nextRandom(std::uint32_t& state) {
  state = state * 214013u + 2531011u;
  return static_cast<int>((state >> 16) & 0x7FFFu);
}

bool drawRandom(Engine& e, int k, std::int32_t& value) {
  LevelState& s = e.level();
  if (!s.def) return false;
  const apps::ColumnCheck* c = s.def->check(k);
  const apps::RndEntry* r = c ? s.def->rndEntry(c->randomIndex()) : nullptr;
  if (!r) return false;
  const std::int32_t fixedLow = r->low(), fixedHigh = r->high();
  std::int32_t low = fixedLow, high = fixedHigh, from = 0;
  switch (r->mode()) {
    case kLowFromColumn:
      if (!boundFrom(e, r->lowLevel(), r->lowColumn(), from)) return false;
      low = std::min(std::max(from, fixedLow), fixedHigh > INT32_MIN ? fixedHigh - 1 : fixedHigh);
      break;
    case kHighFromColumn:
      if (!boundFrom(e, r->highLevel(), r->highColumn(), from)) return false;
      high = std::max(std::min(from, fixedHigh), fixedLow < INT32_MAX ? fixedLow + 1 : fixedLow);
      break;
    case kBothFromColumns: {
      std::int32_t to = 0;
      if (!boundFrom(e, r->lowLevel(), r->lowColumn(), from) || !boundFrom(e, r->highLevel(), r->highColumn(), to))
        return false;
      low = atLeastAtMost(from, fixedLow, fixedHigh);
      high = atLeastAtMost(to, fixedLow, fixedHigh);
      break;
    }
    default:
      break;
  }
  if (low <= 0) low = 1;
  if (low > kRandomMax - 1) low = kRandomMax;
  if (high > kRandomMax - 1) high = kRandomMax;
  const int span = std::max(low, high) - low + 1;
  value = low + nextRandom(e.randomState) % span;
  s.header().setLineModified(true);
  return true;
}

}  // namespace editor
