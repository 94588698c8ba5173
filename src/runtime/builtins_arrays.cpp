// The array built-ins: the two numeric arrays of 512 doubles and the string
// array of 512 entries (string_array.hpp). They survive between runs.
#include <string>

#include "runtime/array_index.hpp"
#include "runtime/builtin_table.hpp"
#include "runtime/run_errors.hpp"
#include "runtime/string_array.hpp"

namespace runtime {

bool arrayIndex(Call& c, int i, int size, int& index) {
  const double v = c.num(i);
  // NaN fails the first test too, so it never reads as index 0.
  if (!(v >= 0) || v >= size) {
    c.fail(kErrIndexRange);
    return false;
  }
  index = static_cast<int>(v);
  return true;
}

namespace {

// The result of a write: the value written.
void setInArray(Call& c, std::array<double, kArraySize>& a) {
  int i;
  if (!arrayIndex(c, 0, kArraySize, i)) return;
  const double v = c.num(1);
  a[static_cast<std::size_t>(i)] = v;
  c.setNumber(v);
}

void getFromArray(Call& c, const std::array<double, kArraySize>& a) {
  int i;
  if (!arrayIndex(c, 0, kArraySize, i)) return;
  c.setNumber(a[static_cast<std::size_t>(i)]);
}

void setArray1(Call& c) { setInArray(c, c.m.array1); }
void getArray1(Call& c) { getFromArray(c, c.m.array1); }
void setArray2(Call& c) { setInArray(c, c.m.array2); }
void getArray2(Call& c) { getFromArray(c, c.m.array2); }

// The results of the writes: the characters stored.
void setString(Call& c) {
  int i;
  if (!arrayIndex(c, 0, kArraySize, i)) return;
  const std::string text = c.text(1);
  c.setNumber(static_cast<double>(putStringEntry(c.m, i, text)));
}

void getString(Call& c) {
  int i;
  if (!arrayIndex(c, 0, kArraySize, i)) return;
  c.setText(stringEntry(c.m, i));
}

void setHalf(Call& c) {
  int i;
  if (!arrayIndex(c, 0, 2 * kArraySize, i)) return;
  const std::string text = c.text(1);
  c.setNumber(static_cast<double>(putStringHalf(c.m, i, text)));
}

void getHalf(Call& c) {
  int i;
  if (!arrayIndex(c, 0, 2 * kArraySize, i)) return;
  c.setText(stringHalf(c.m, i));
}

}  // namespace

void addArrayBuiltins(BuiltinTable& t) {
  t[98] = setArray1;
  t[99] = getArray1;
  t[100] = setArray2;
  t[101] = getArray2;
  t[102] = setString;
  t[103] = getString;
  t[158] = setHalf;
  t[159] = getHalf;
}

}  // namespace runtime
