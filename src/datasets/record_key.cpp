#include "datasets/record_key.hpp"

#include <algorithm>
#include <cstdlib>

#include "apps/app_ctl.hpp"

namespace datasets {

std::string toBase36(std::uint32_t value, int width) {
  static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::string reversed;
  do {
    reversed += kDigits[value % 36];
    value /= 36;
  } while (value != 0);
  while (static_cast<int>(reversed.size()) < width) reversed += '0';
  return std::string(reversed.rbegin(), reversed.rend());
}

std::uint32_t keyDayNumber(int year, int month, int day) {
  static constexpr int kBefore[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  static constexpr int kBeforeLeap[12] = {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335};
  const int m = std::clamp(month, 1, 12) - 1;
  // Integer division truncates towards zero, as the rule asks.
  const long long years = static_cast<long long>(year - 2005) * 36525 / 100;
  const long long before = (year % 4 == 0) ? kBeforeLeap[m] : kBefore[m];
  return static_cast<std::uint32_t>(std::llabs(years) + before + day);
}

std::string recordKeyAt(const platform::DateTime& local, std::uint64_t tick, bool withUnit,
                        std::string_view unitCode) {
  const auto second = static_cast<std::uint32_t>(local.hour * 3600 + local.minute * 60 + local.second);
  std::string key = withUnit ? std::string(unitCode) : std::string();
  key += toBase36(keyDayNumber(local.year, local.month, local.day), 3);
  key += toBase36(second, 4);
  key += toBase36(static_cast<std::uint32_t>(tick % 1000), 2);
  return key;
}

std::string makeRecordKey(bool withUnit, std::string_view unitCode) {
  platform::Clock& clock = platform::clock();
  return recordKeyAt(clock.localTime(), clock.ticks(), withUnit, unitCode);
}

std::string codeLetters(std::string_view code) {
  const std::string normal = normalLevelCode(code);
  return normal.substr(0, static_cast<std::size_t>(levelOfCode(normal)));
}

std::string makeRecordKey(bool withUnit, std::string_view unitCode, const apps::AppCtl& app, KeyLetters& letters) {
  letters = KeyLetters{};
  for (int level = 1; level <= kMaxLevel; ++level)
    letters.level[static_cast<std::size_t>(level)] = codeLetters(app.levelCode(level));
  letters.current = codeLetters(app.curLevelCode());
  return makeRecordKey(withUnit, unitCode);
}

}  // namespace datasets
