// The string built-ins: copying, appending, cutting, searching, trimming and
// comparing texts, reading and formatting numbers, the date and time texts
// and single characters. The built-ins that change a text work in place on a
// string variable argument and never write past its capacity; given anything
// else they set status 13 ("Bad Data Source") and return 0.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/clock.hpp"
#include "runtime/builtin_table.hpp"
#include "runtime/run_errors.hpp"

namespace runtime {

namespace {

constexpr std::size_t kSubstringMax = 512;
constexpr int kFormatWidthMax = 100;  // a formatted number stays within a string result
constexpr int kFormatDecimalsMax = 30;

// The string variable of argument i: its offset, capacity and current text.
struct StringVar {
  std::size_t offset = 0, capacity = 0;
  std::string text;
};

// False (status 13 set, result 0) when argument i is not a string variable.
bool stringVariable(Call& c, int i, StringVar& v) {
  if (!c.stringVar(i, v.offset, v.capacity)) {
    c.setStatus(kErrBadDataSource);
    c.setNumber(0);
    return false;
  }
  v.text = c.m.textOf(c.arg(i));
  return true;
}

// Writes text into the variable (cut to its capacity); the result is the
// length the variable holds afterwards.
void store(Call& c, const StringVar& v, const std::string& text) {
  if (!c.m.writeString(v.offset, v.capacity, text)) {
    c.setNumber(0);
    return;
  }
  c.setNumber(static_cast<double>(c.m.stringAt(v.offset, v.capacity == 0 ? 0 : v.capacity - 1).size()));
}

bool isBlank(char ch) { return static_cast<unsigned char>(ch) <= 32; }

int sign(int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

char foldCase(char ch) {
  return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}

// Byte-wise comparison as unsigned characters (the C library's order),
// folding the letters A-Z when ignoring case.
int compareTexts(const std::string& a, const std::string& b, bool ignoreCase) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    char x = a[i], y = b[i];
    if (ignoreCase) x = foldCase(x), y = foldCase(y);
    if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
  }
  return sign(static_cast<int>(a.size() > b.size()) - static_cast<int>(a.size() < b.size()));
}

// Result: the length copied into the variable.
void copyInto(Call& c) {
  StringVar v;
  if (!stringVariable(c, 0, v)) return;
  store(c, v, c.text(1));
}

void appendTo(Call& c) {
  StringVar v;
  if (!stringVariable(c, 0, v)) return;
  store(c, v, v.text + c.text(1));
}

// A start past the end or below 0, or a length of 0 or less, gives the empty text.
void substring(Call& c) {
  const std::string x = c.text(0);
  const double start = c.num(1);
  const std::int64_t length = std::min<std::int64_t>(toInt64(c.num(2)), kSubstringMax);
  if (start < 0 || length <= 0 || toInt64(start) >= static_cast<std::int64_t>(x.size())) {
    c.setText("");
    return;
  }
  c.setText(x.substr(static_cast<std::size_t>(toInt64(start)), static_cast<std::size_t>(length)));
}

void length(Call& c) { c.setNumber(static_cast<double>(c.text(0).size())); }

void position(Call& c) {
  const std::size_t at = c.text(0).find(c.text(1));
  c.setNumber(at == std::string::npos ? -1.0 : static_cast<double>(at));
}

void trimRight(Call& c) {
  StringVar v;
  if (!stringVariable(c, 0, v)) return;
  std::string s = v.text;
  while (!s.empty() && isBlank(s.back())) s.pop_back();
  store(c, v, s);
}

void trimLeft(Call& c) {
  StringVar v;
  if (!stringVariable(c, 0, v)) return;
  std::size_t first = 0;
  while (first < v.text.size() && isBlank(v.text[first])) ++first;
  store(c, v, v.text.substr(first));
}

// Only a-z change: the letters of the 8-bit code page above 127 stay as they are.
// Result: the variable's length.
void upper(Call& c) {
  StringVar v;
  if (!stringVariable(c, 0, v)) return;
  std::string s = v.text;
  for (char& ch : s)
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  store(c, v, s);
}

void compareExact(Call& c) { c.setNumber(compareTexts(c.text(0), c.text(1), false)); }
void compareIgnoringCase(Call& c) { c.setNumber(compareTexts(c.text(0), c.text(1), true)); }

// The first z characters; z of 0 or less compares nothing (equal).
void compareFirst(Call& c, bool ignoreCase) {
  const std::int64_t z = toInt64(c.num(2));
  if (z <= 0) {
    c.setNumber(0);
    return;
  }
  const auto n = static_cast<std::size_t>(z);
  c.setNumber(compareTexts(c.text(0).substr(0, n), c.text(1).substr(0, n), ignoreCase));
}
void compareFirstExact(Call& c) { compareFirst(c, false); }
void compareFirstIgnoringCase(Call& c) { compareFirst(c, true); }

// Leading blanks, a sign, digits with at most one decimal point and an
// exponent, as the C library's atof reads them; anything else ends the
// number, and a text without digits is 0. Hexadecimal, "inf" and "nan" are
// not decimal numbers and read as 0.
double readDecimal(const std::string& s) {
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  const std::size_t begin = i;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
  }
  if (digits == 0) return 0;
  std::size_t end = i;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) {
      while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j;
      end = j;
    }
  }
  return std::strtod(s.substr(begin, end - begin).c_str(), nullptr);
}

void value(Call& c) { c.setNumber(readDecimal(c.text(0))); }

// Right-aligned in width y with z decimals (printf's "%*.*f"); a width below
// the number's own takes the number's, negative widths and decimals count as 0.
void format(Call& c) {
  const int width = std::clamp(c.integer(1), 0, kFormatWidthMax);
  const int decimals = std::clamp(c.integer(2), 0, kFormatDecimalsMax);
  char buf[512];
  std::snprintf(buf, sizeof buf, "%*.*f", width, decimals, c.num(0));
  c.setText(buf);
}

std::string twoDigits(int a, int b, int cc, char separator) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d%c%02d%c%02d", a % 100, separator, b % 100, separator, cc % 100);
  return buf;
}

void dateText(Call& c) {
  const platform::DateTime t = platform::clock().localTime();
  c.setText(twoDigits(t.month, t.day, t.year % 100, '/'));
}

void timeText(Call& c) {
  const platform::DateTime t = platform::clock().localTime();
  c.setText(twoDigits(t.hour, t.minute, t.second, ':'));
}

// Codes are 0-255. A position outside the text (0 to length − 1) gives 0 and
// status 22 ("Index Over Range"), so a program can tell it from a character.
void characterAt(Call& c) {
  const std::string x = c.text(0);
  const double y = c.num(1);
  if (y < 0 || toInt64(y) >= static_cast<std::int64_t>(x.size())) {
    c.setStatus(kErrIndexRange);
    c.setNumber(0);
    return;
  }
  c.setNumber(static_cast<unsigned char>(x[static_cast<std::size_t>(toInt64(y))]));
}

// The character at position y of the variable becomes code z (its low 8
// bits). y may lie past the text but within the capacity (0 to capacity − 2):
// the gap fills with blanks, so the text stays one terminated string. A code
// of 0 ends the text at y. Other positions: status 22 and 0. Result: the
// variable's length.
void setCharacterAt(Call& c) {
  StringVar v;
  if (!stringVariable(c, 0, v)) return;
  const double y = c.num(1);
  if (y < 0 || v.capacity < 2 || toInt64(y) > static_cast<std::int64_t>(v.capacity) - 2) {
    c.setStatus(kErrIndexRange);
    c.setNumber(0);
    return;
  }
  const auto at = static_cast<std::size_t>(toInt64(y));
  std::string s = v.text;
  if (s.size() <= at) s.resize(at + 1, ' ');
  s[at] = static_cast<char>(static_cast<unsigned char>(toInt64(c.num(2)) & 0xFF));
  if (s[at] == 0) s.resize(at);
  store(c, v, s);
}

}  // namespace

void addStringBuiltins(BuiltinTable& t) {
  t[58] = copyInto;
  t[59] = appendTo;
  t[60] = substring;
  t[61] = length;
  t[62] = position;
  t[63] = trimRight;
  t[64] = trimLeft;
  t[65] = upper;
  t[66] = compareExact;
  t[67] = compareIgnoringCase;
  t[68] = compareFirstExact;
  t[69] = compareFirstIgnoringCase;
  t[70] = value;
  t[71] = format;
  t[72] = dateText;
  t[73] = timeText;
  t[126] = characterAt;
  t[127] = setCharacterAt;
}

}  // namespace runtime
