#include "datasets/data_names.hpp"

#include "base/text.hpp"
#include "datasets/level_codes.hpp"

namespace datasets {

namespace {

bool has(std::string_view text, std::string_view chars) {
  return text.find_first_of(chars) != std::string_view::npos;
}

bool datasetNameFits(std::string_view name) {
  return !name.empty() && fileNameSafe(name) && !has(name, "[]~");
}

bool unitCodeFits(std::string_view unit) { return !unit.empty() && fileNameSafe(unit) && !has(unit, "~[]+^"); }

bool gpsSuffixFits(std::string_view gps) {
  return gps.empty() || (gps.front() == '^' && fileNameSafe(gps) && !has(gps, "~"));
}

bool extensionFits(std::string_view ext) { return !ext.empty() && fileNameSafe(ext) && !has(ext, "."); }

bool codeFits(int level, std::string_view code) { return level >= 1 && level <= kMaxLevel && levelOfCode(code) == level; }

// "1A____": the level digit and the code.
std::string levelPart(int level, std::string_view code) {
  std::string out(1, static_cast<char>('0' + level));
  out.append(code);
  return out;
}

// Reads the level digit and five-character code at text[at..at+6); false
// when they are not a level and its code.
bool readLevel(std::string_view text, std::size_t at, int& level, std::string& code) {
  if (text.size() < at + 1 + kLevelCodeLength) return false;
  const char digit = text[at];
  if (digit < '1' || digit > '5') return false;
  level = digit - '0';
  code = std::string(text.substr(at + 1, kLevelCodeLength));
  return levelOfCode(code) == level;
}

// Splits "table^gps" at its first "^".
void splitTail(std::string_view tail, std::string& table, std::string& gps) {
  const std::size_t caret = tail.find('^');
  table = std::string(tail.substr(0, caret));
  gps = caret == std::string_view::npos ? std::string() : std::string(tail.substr(caret));
}

}  // namespace

std::string joinKeys(const std::vector<std::string>& keys) {
  std::string out;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (i > 0) out += '-';
    out += keys[i];
  }
  return out;
}

bool fileNameSafe(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) < 0x20) return false;
  return !has(text, "\\/:*?\"<>|");
}

bool buildRawName(const RawName& p, std::string& out) {
  if (p.datasetNumber < 0 || p.datasetNumber > 99 || !codeFits(p.level, p.levelCode)) return false;
  if (!datasetNameFits(p.datasetName) || !unitCodeFits(p.unitCode)) return false;
  if (!fileNameSafe(p.keyPath) || has(p.keyPath, "~")) return false;
  if (!gpsSuffixFits(p.gpsSuffix) || !extensionFits(p.extension) || has(p.tableName, "~^")) return false;
  // Trailing blanks go before the extension is added.
  const std::string tail = base::trimRight(p.tableName + p.gpsSuffix);
  std::string table, gps;
  splitTail(tail, table, gps);
  if (table.empty() || !fileNameSafe(table)) return false;
  out = base::format("%02d ", p.datasetNumber) + levelPart(p.level, p.levelCode) + "[" + p.datasetName + "]" +
        p.unitCode + "~" + p.keyPath + "~" + tail + "." + p.extension;
  return true;
}

bool parseRawName(std::string_view name, RawName& out) {
  // "NN " + level digit + code + "[" come first.
  if (name.size() < 10) return false;
  if (name[0] < '0' || name[0] > '9' || name[1] < '0' || name[1] > '9' || name[2] != ' ') return false;
  RawName p;
  p.datasetNumber = (name[0] - '0') * 10 + (name[1] - '0');
  if (!readLevel(name, 3, p.level, p.levelCode) || name[9] != '[') return false;
  const std::size_t close = name.find(']', 10);
  const std::size_t dot = name.rfind('.');
  if (close == std::string_view::npos || dot == std::string_view::npos || dot < close) return false;
  p.datasetName = std::string(name.substr(10, close - 10));
  p.extension = std::string(name.substr(dot + 1));
  const std::string_view stem = name.substr(close + 1, dot - close - 1);
  const std::size_t first = stem.find('~');
  const std::size_t last = stem.rfind('~');
  if (first == std::string_view::npos || last == first) return false;
  p.unitCode = std::string(stem.substr(0, first));
  p.keyPath = std::string(stem.substr(first + 1, last - first - 1));
  splitTail(stem.substr(last + 1), p.tableName, p.gpsSuffix);
  // Only a name the builder makes of these parts is one.
  std::string again;
  if (!buildRawName(p, again) || again != name) return false;
  out = std::move(p);
  return true;
}

bool buildBundleName(const BundleName& p, std::string& out) {
  if (!codeFits(p.level, p.levelCode) || !datasetNameFits(p.datasetName) || !unitCodeFits(p.unitCode)) return false;
  if (!gpsSuffixFits(p.gpsSuffix) || !extensionFits(p.extension)) return false;
  const std::string table = base::trimRight(p.tableName);
  if (table.empty() || !fileNameSafe(table) || has(table, "~^")) return false;
  std::string text = "[" + p.datasetName + "]" + levelPart(p.level, p.levelCode) + p.unitCode;
  if (p.level == 1) {
    text += "+" + table;
  } else {
    // The table name runs into the "+" that parsing looks for.
    if (has(table, "+")) return false;
    text += table + "+";
  }
  out = text + p.gpsSuffix + "." + p.extension;
  return true;
}

bool parseBundleName(std::string_view name, BundleName& out, std::string_view tableHint) {
  if (name.empty() || name[0] != '[') return false;
  const std::size_t close = name.find(']', 1);
  if (close == std::string_view::npos) return false;
  BundleName p;
  p.datasetName = std::string(name.substr(1, close - 1));
  if (!readLevel(name, close + 1, p.level, p.levelCode)) return false;
  const std::size_t rest = close + 2 + kLevelCodeLength;
  const std::size_t plus = name.find('+', rest);
  const std::size_t dot = name.rfind('.');
  if (plus == std::string_view::npos || dot == std::string_view::npos || dot < plus) return false;
  p.extension = std::string(name.substr(dot + 1));
  const std::string_view mid = name.substr(rest, plus - rest);
  const std::string_view after = name.substr(plus + 1, dot - plus - 1);
  if (p.level == 1) {
    p.unitCode = std::string(mid);
    splitTail(after, p.tableName, p.gpsSuffix);
  } else {
    std::size_t unitLength = 6;
    if (!tableHint.empty() && mid.size() > tableHint.size() &&
        base::equalsNoCase(mid.substr(mid.size() - tableHint.size()), tableHint))
      unitLength = mid.size() - tableHint.size();
    if (mid.size() <= unitLength) return false;
    p.unitCode = std::string(mid.substr(0, unitLength));
    p.tableName = std::string(mid.substr(unitLength));
    p.gpsSuffix = std::string(after);
  }
  std::string again;
  if (!buildBundleName(p, again) || again != name) return false;
  out = std::move(p);
  return true;
}

bool rawVersionTableName(const RawName& level1, std::string& out) {
  std::string name;
  if (level1.level != 1 || !level1.keyPath.empty() || !buildRawName(level1, name)) return false;
  // Everything from "~~" on gives way to the suffix; no part before it holds a "~".
  out = name.substr(0, name.find('~')) + kVersionTableSuffix;
  return true;
}

bool rawVersionTableNameOf(std::string_view level1Name, std::string& out) {
  RawName parts;
  return parseRawName(level1Name, parts) && rawVersionTableName(parts, out);
}

bool bundledVersionTableName(std::string_view datasetName, std::string_view unitCode, std::string& out) {
  if (!datasetNameFits(datasetName) || !unitCodeFits(unitCode)) return false;
  std::string name = "[";
  name.append(datasetName).append("]1").append(kLevel1Code).append(unitCode).append(kVersionTableSuffix);
  out = std::move(name);
  return true;
}

std::string rawBranchPattern(int datasetNumber, std::string_view levelCode, std::string_view extension) {
  const int level = levelOfCode(levelCode);
  return base::format("%02d %d", datasetNumber, level) + std::string(levelCode) + "[*." + std::string(extension);
}

}  // namespace datasets
