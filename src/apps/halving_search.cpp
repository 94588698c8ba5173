#include "apps/halving_search.hpp"

#include "tablestore/table.hpp"

namespace apps {

namespace {

// compare(n) < 0: the key sorts before record n; 0: equal; > 0: after.
template <class Compare>
std::int64_t halve(tablestore::Table& table, Compare compare) {
  std::int64_t low = 0, high = table.recordCount() + 1;
  while (high - low >= 2) {
    std::int64_t mid = low + (high - low) / 2;
    if (table.goRecord(mid) != 0) return 0;
    int c = compare();
    if (c == 0) return mid;
    if (c < 0) {
      high = mid;
    } else {
      low = mid;
    }
  }
  return 0;
}

}  // namespace

std::int64_t findTextByHalving(tablestore::Table& table, int field, std::string_view key) {
  tablestore::TableField* f = table.fieldByNumber(field);
  if (f == nullptr) return 0;
  return halve(table, [&] { return key.compare(f->text()); });
}

std::int64_t findNumberByHalving(tablestore::Table& table, int field, double key) {
  tablestore::TableField* f = table.fieldByNumber(field);
  if (f == nullptr) return 0;
  return halve(table, [&] {
    double d = key - f->number();
    return d < 0 ? -1 : (d > 0 ? 1 : 0);
  });
}

}  // namespace apps
