// The built-ins of the machine itself: the number format and display colour
// settings, the clock, the system command, the status code and its text, the
// string list for pick lists, and the four numbers that do nothing.
#include <string>

#include "platform/clock.hpp"
#include "runtime/array_index.hpp"
#include "runtime/builtin_table.hpp"
#include "runtime/run_errors.hpp"
#include "runtime/string_array.hpp"
#include "runtime/system_command.hpp"
#include "runtime/utc_seconds.hpp"

namespace runtime {

namespace {

constexpr std::size_t kStatusTextWidth = 25;
constexpr int kColours = 16;

// The settings give back the value they set.
void setWidth(Call& c) {
  c.m.format.width = c.integer(0);
  c.setNumber(c.m.format.width);
}
void setDecimals(Call& c) {
  c.m.format.decimals = c.integer(0);
  c.setNumber(c.m.format.decimals);
}
void setFormatFlag(Call& c) {
  c.m.format.flag = c.integer(0);
  c.setNumber(c.m.format.flag);
}

// The text colour the screen built-ins write in: a palette index 0-15 (taken
// modulo 16), or any negative value for the engine's own colours again.
void setColours(Call& c) {
  const int x = c.integer(0);
  c.m.textColour = x < 0 ? -1 : x % kColours;
  c.setNumber(c.m.textColour);
}

void ticks(Call& c) { c.setNumber(static_cast<double>(static_cast<std::uint32_t>(platform::clock().ticks()))); }

void utcSeconds(Call& c) { c.setNumber(static_cast<double>(systemSeconds(platform::clock().systemTime()))); }

void status(Call& c) { c.setNumber(c.m.status); }

// The text padded with blanks or cut to exactly 25 characters.
void statusText(Call& c) {
  std::string s = runErrorText(c.m.status);
  s.resize(kStatusTextWidth, ' ');
  c.setText(s);
}

// Leaves the result register as it was.
void noOperation(Call&) {}

// The list keeps copies (at most 500); a full list gives status 22 and −1.
// Result: the 0-based index of the added item.
void addToList(Call& c, const std::string& text) {
  auto& list = c.m.stringList;
  if (list.size() >= static_cast<std::size_t>(kStringListSize)) {
    c.setStatus(kErrIndexRange);
    c.setNumber(-1);
    return;
  }
  list.push_back(text.substr(0, kResultTextMax));
  c.setNumber(static_cast<double>(list.size() - 1));
}

void addItem(Call& c) { addToList(c, c.text(0)); }

// The entry indexes follow the array rule: outside them the run stops with error 22.
void addArrayItem(Call& c) {
  int i;
  if (arrayIndex(c, 0, kArraySize, i)) addToList(c, stringEntry(c.m, i));
}

void addHalfItem(Call& c) {
  int i;
  if (arrayIndex(c, 0, 2 * kArraySize, i)) addToList(c, stringHalf(c.m, i));
}

void clearItems(Call& c) {
  c.m.stringList.clear();
  c.setNumber(0);
}

}  // namespace

void addMachineBuiltins(BuiltinTable& t) {
  t[54] = setWidth;
  t[55] = setDecimals;
  t[56] = setFormatFlag;
  t[57] = setColours;
  t[114] = ticks;
  t[115] = utcSeconds;
  t[116] = runSystemCommand;
  t[124] = status;
  t[140] = addItem;
  t[141] = addArrayItem;
  t[142] = clearItems;
  for (int n = 145; n <= 148; ++n) t[static_cast<std::size_t>(n)] = noOperation;
  t[149] = statusText;
  t[160] = addHalfItem;
}

}  // namespace runtime
