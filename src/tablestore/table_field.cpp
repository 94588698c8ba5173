#include "tablestore/table_field.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/codepage.hpp"
#include "tablestore/day_number.hpp"
#include "tablestore/number_text.hpp"
#include "tablestore/table.hpp"
#include "tablestore/table_store.hpp"

namespace tablestore {

char* TableField::bytes() { return table_->recordBuffer() + layout_.offset; }

int TableField::refuse() {
  return table_->store_.raise(kErrParameter, kAtAssign, platform::toWide(table_->path()), name());
}

int TableField::assignText(std::string_view text) {
  if (int e = table_->store_.blocked()) return e;
  const std::size_t n = std::min(text.size(), static_cast<std::size_t>(length()));
  std::memcpy(bytes(), text.data(), n);
  std::memset(bytes() + n, ' ', static_cast<std::size_t>(length()) - n);
  table_->changed_ = true;
  return kOk;
}

int TableField::overflow() {
  return table_->store_.raise(kErrOverflow, kAtAssign, platform::toWide(table_->path()), name());
}

int TableField::assignNumber(double value) {
  if (int e = table_->store_.blocked()) return e;
  if (type() == 'D' && length() == 8) {
    // Day numbers are whole; a fraction of a day is dropped.
    bool ok = std::isfinite(value) && std::fabs(value) < 1e15 &&
              writeDate(static_cast<std::int64_t>(std::floor(value)), bytes());
    if (!ok) return overflow();
    table_->changed_ = true;
    return kOk;
  }
  if (!numeric()) return refuse();
  bool fits = formatNumber(value, type() == 'C' ? 0 : decimals(), bytes(), length());
  table_->changed_ = true;
  return fits ? kOk : overflow();
}

int TableField::assignInteger(std::int64_t value) {
  if (int e = table_->store_.blocked()) return e;
  if (!numeric()) return refuse();
  bool fits = (type() != 'C' && decimals() > 0)
                  ? formatNumber(static_cast<double>(value), decimals(), bytes(), length())
                  : formatInteger(value, bytes(), length());
  table_->changed_ = true;
  return fits ? kOk : overflow();
}

int TableField::assignChar(char c) {
  if (int e = table_->store_.blocked()) return e;
  if (type() != 'C' && type() != 'L') return refuse();
  bytes()[0] = c;
  table_->changed_ = true;
  return kOk;
}

std::string_view TableField::text() {
  table_->scratch_.assign(bytes(), static_cast<std::size_t>(length()));
  return table_->scratch_;
}

double TableField::number() {
  std::string_view raw(bytes(), static_cast<std::size_t>(length()));
  if (numeric()) return parseNumber(raw);
  if (type() == 'D' && length() == 8) return static_cast<double>(readDate(raw.data()));
  refuse();
  return 0.0;
}

std::int64_t TableField::integer() {
  if (!numeric()) {
    refuse();
    return 0;
  }
  return parseInteger(std::string_view(bytes(), static_cast<std::size_t>(length())));
}

}  // namespace tablestore
