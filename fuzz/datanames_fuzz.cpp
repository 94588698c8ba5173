// Data file names are found on disk and position files read from it: any
// bytes must be taken apart, or refused, without faults, and what the
// parsers accept must build back into the very same name.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "apps/level_records.hpp"
#include "datasets/data_names.hpp"
#include "datasets/dataset_list.hpp"
#include "datasets/level_codes.hpp"
#include "datasets/position_file.hpp"

namespace {

void check(bool ok) {
  if (!ok) __builtin_trap();
}

void names(const std::string& text) {
  datasets::RawName raw;
  if (datasets::parseRawName(text, raw)) {
    std::string again;
    check(datasets::buildRawName(raw, again) && again == text);
    datasets::RawName back;
    check(datasets::parseRawName(again, back) && back == raw);
    std::string version;
    if (datasets::rawVersionTableName(raw, version)) check(raw.level == 1 && raw.keyPath.empty());
  }
  // The hint is the text after the last NUL, the name what stands before it.
  const std::size_t cut = text.rfind('\0');
  const std::string name = cut == std::string::npos ? text : text.substr(0, cut);
  const std::string hint = cut == std::string::npos ? std::string() : text.substr(cut + 1);
  datasets::BundleName bundle;
  if (datasets::parseBundleName(name, bundle, hint)) {
    std::string again;
    check(datasets::buildBundleName(bundle, again) && again == name);
  }
  const int level = datasets::levelOfCode(text);
  check(level >= 0 && level <= datasets::kMaxLevel);
  check(datasets::normalLevelCode(text).size() == static_cast<std::size_t>(datasets::kLevelCodeLength));
  datasets::validDatasetName(text);
}

void positionFile(const std::uint8_t* data, std::size_t size) {
  char path[] = "/tmp/tallyfin-position-fuzz-XXXXXX";
  const int fd = ::mkstemp(path);
  if (fd < 0) return;
  const bool written = ::write(fd, data, size) == static_cast<ssize_t>(size);
  ::close(fd);
  // The reader looks for the table's path with its last character a "$":
  // the made-up file name already ends in a character to replace.
  std::string table(path);
  const std::string positionPath = datasets::positionPath(table);
  if (written && ::rename(path, positionPath.c_str()) == 0) {
    datasets::PositionRecord r;
    const int got = datasets::readPositionFile(table, r);
    check(got == 0 || size == datasets::kPositionFileSize);
    if (got) {
      const std::int32_t lines = static_cast<std::int32_t>(size > 0 ? data[0] : 0);
      apps::LevelHeader h;
      datasets::restorePosition(h, r, lines, 12);
      check(h.curLine() >= 0 && h.curLine() <= lines && h.curColumn() >= 1 && h.curColumn() <= 12);
      check(h.topLine() <= lines && h.bottomLine() <= lines && h.page() >= 0);
    }
    ::unlink(positionPath.c_str());
  }
  ::unlink(path);
}

}  // namespace

// Larger inputs add time, not paths: skipped (fuzz/targets, -max_len).
constexpr std::size_t kMaxInput = 256;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  names(std::string(reinterpret_cast<const char*>(data), size));
  if (size <= 64) positionFile(data, size);
  return 0;
}
