#include "datasets/level_codes.hpp"

#include "base/text.hpp"

namespace datasets {

namespace {
bool isUpper(char c) { return c >= 'A' && c <= 'Z'; }
}  // namespace

std::string normalLevelCode(std::string_view code) {
  std::string out = base::trim(code);
  if (out.size() > static_cast<std::size_t>(kLevelCodeLength)) out.resize(kLevelCodeLength);
  out.append(static_cast<std::size_t>(kLevelCodeLength) - out.size(), '_');
  return out;
}

int levelOfCode(std::string_view code) {
  if (code.size() != static_cast<std::size_t>(kLevelCodeLength)) return 0;
  int letters = 0;
  while (letters < kLevelCodeLength && isUpper(code[static_cast<std::size_t>(letters)])) ++letters;
  for (int i = letters; i < kLevelCodeLength; ++i)
    if (code[static_cast<std::size_t>(i)] != '_') return 0;
  return letters;
}

int letterNumberAt(std::string_view code, int position) {
  if (position < 1 || static_cast<std::size_t>(position) > code.size()) return 0;
  const char c = code[static_cast<std::size_t>(position - 1)];
  return isUpper(c) ? c - 'A' + 1 : 0;
}

std::string childCode(std::string_view parentCode, int childNumber) {
  const int level = levelOfCode(parentCode);
  if (level < 1 || level >= kMaxLevel || childNumber < 1 || childNumber > kMaxChildren) return {};
  std::string out(parentCode);
  out[static_cast<std::size_t>(level)] = static_cast<char>('A' + childNumber - 1);
  return out;
}

}  // namespace datasets
