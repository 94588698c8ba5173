#include "serial/sensor_values.hpp"

#include <algorithm>

#include "apps/level_records.hpp"

namespace serial {

namespace {

bool asciiDigit(char c) { return c >= '0' && c <= '9'; }
bool asciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool isDelim(char c, std::string_view delims) { return delims.find(c) != std::string_view::npos; }

std::string cut(std::string_view text, std::size_t n) { return std::string(text.substr(0, n)); }

}  // namespace

bool linePasses(int kind, int pos, std::string_view text, std::string_view line) {
  if (kind == kMatchLength) return pos >= 0 && line.size() == static_cast<std::size_t>(pos);
  if (kind < kMatchStarts || kind > kMatchLetter) return true;
  if (pos < 0 || static_cast<std::size_t>(pos) > line.size()) return false;
  const std::string_view rest = line.substr(static_cast<std::size_t>(pos));
  if (kind == kMatchStarts) {
    if (rest.size() < text.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
      if (upper(rest[i]) != upper(text[i])) return false;
    return true;
  }
  // The other kinds look at the one character at pos.
  if (rest.empty()) return false;
  switch (kind) {
    case kMatchChar: return !text.empty() && rest[0] == text[0];
    case kMatchDigit: return asciiDigit(rest[0]);
    default: return asciiLetter(rest[0]);
  }
}

std::vector<std::string> splitTokens(std::string_view line, std::string_view delims) {
  std::vector<std::string> out;
  std::size_t i = 0;
  while (i < line.size() && out.size() < kMaxTokens) {
    while (i < line.size() && isDelim(line[i], delims)) ++i;
    const std::size_t begin = i;
    while (i < line.size() && !isDelim(line[i], delims)) ++i;
    if (i > begin) out.emplace_back(line.substr(begin, i - begin));
  }
  return out;
}

std::vector<std::string> splitFields(std::string_view line, std::string_view delims) {
  std::vector<std::string> out;
  std::size_t begin = 0;
  for (std::size_t i = 0; i <= line.size() && out.size() < kMaxTokens; ++i) {
    if (i == line.size() || isDelim(line[i], delims)) {
      out.emplace_back(line.substr(begin, i - begin));
      begin = i + 1;
    }
  }
  return out;
}

const std::string* tokenAt(const std::vector<std::string>& tokens, int n) {
  if (n < 1 || static_cast<std::size_t>(n) > tokens.size()) return nullptr;
  return &tokens[static_cast<std::size_t>(n - 1)];
}

CutRules cutRulesOf(const apps::SerialDef& def) {
  CutRules r;
  r.source = def.source();
  r.start = def.start();
  r.length = def.length();
  r.delims = def.delims();
  r.valueToken = def.valueToken();
  for (int i = 0; i < kMaxShowTokens; ++i) r.showTokens[static_cast<std::size_t>(i)] = def.showToken(i);
  r.showCount = def.showCount();
  r.showSep = def.showSep();
  return r;
}

CutValue cutValue(const CutRules& rules, std::string_view line) {
  CutValue out;
  switch (rules.source) {
    case kSourceFixed: {
      if (rules.start < 0 || static_cast<std::size_t>(rules.start) >= line.size()) break;
      const std::size_t n = rules.length < 1 || static_cast<std::size_t>(rules.length) > kValueChars
                                ? kValueChars
                                : static_cast<std::size_t>(rules.length);
      out.value = cut(line.substr(static_cast<std::size_t>(rules.start)), n);
      break;
    }
    case kSourceTokens:
    case kSourceFields: {
      out.tokens = rules.source == kSourceTokens ? splitTokens(line, rules.delims) : splitFields(line, rules.delims);
      if (const std::string* t = tokenAt(out.tokens, rules.valueToken)) out.value = cut(*t, kValueChars);
      const int count = std::clamp(rules.showCount, 0, kMaxShowTokens);
      bool any = false;
      for (int i = 0; i < count; ++i) {
        const std::string* t = tokenAt(out.tokens, rules.showTokens[static_cast<std::size_t>(i)]);
        if (!t) continue;
        out.shown += rules.showSep;
        out.shown += cut(*t, kShowTokenChars);
        any = true;
      }
      if (!any) out.shown = out.value;
      return out;
    }
    default:
      out.value = cut(line, kValueChars);
      break;
  }
  out.shown = out.value;
  return out;
}

std::string upperAscii(std::string_view line) {
  std::string out(line);
  for (char& c : out) c = upper(c);
  return out;
}

char parityLetter(int index) {
  constexpr std::string_view kLetters = "NEOMS";
  return index >= 0 && static_cast<std::size_t>(index) < kLetters.size() ? kLetters[static_cast<std::size_t>(index)]
                                                                          : 'N';
}

int terminatorOf(int value) { return value < 1 || value > 255 ? 13 : value; }

int targetCountOf(int count) { return std::clamp(count, 0, kMaxTargets); }

std::string targetText(const std::vector<std::string>& tokens, int token, std::string_view join, int suffix) {
  std::string out;
  if (const std::string* t = tokenAt(tokens, token)) out = *t;
  if (suffix != 0) {
    if (const std::string* s = tokenAt(tokens, suffix)) {
      out += join;
      out += *s;
    }
  }
  return out;
}

std::string shownInField(std::string_view value, int width) {
  const std::size_t limit =
      width < 1 ? kShownFieldChars : std::min(static_cast<std::size_t>(width), kShownFieldChars);
  if (value.size() <= limit) return std::string(value);
  return std::string(value.substr(0, limit - 1)) + '>';
}

}  // namespace serial
