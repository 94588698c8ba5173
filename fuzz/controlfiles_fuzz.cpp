// libFuzzer target for the control-file loader: the input is cut into the
// files of one application (app.ctl, T.bct, T.ctl, T.ser, T.rnd, T.jpt,
// T.bcf) at each "\xFF\xFE\xFD"; bit i of the first byte pads or cuts file
// i to the length its counts ask for, so that the fuzzer reaches past the
// length checks. Then app.ctl and the level are loaded and every record of
// the definition is walked through its accessors.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "apps/app_definition.hpp"
#include "base/le.hpp"
#include "base/paths.hpp"
#include "platform/fileops.hpp"

namespace {

const std::string& folder() {
  static const std::string path = [] {
    auto p = std::filesystem::temp_directory_path() / ("tallyfin-ctl-fuzz-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(p);
    return p.string();
  }();
  return path;
}

const char* const kNames[] = {"app.ctl", "T.bct", "T.ctl", "T.ser", "T.rnd", "T.jpt", "T.bcf"};

int count(const std::string& bct, std::size_t offset) {
  if (bct.size() < offset + 2) return 0;
  int v = base::getI16(reinterpret_cast<const std::uint8_t*>(bct.data() + offset));
  return v < 0 ? 0 : (v > 64 ? 64 : v);  // keeps padded files small
}

}  // namespace

// Larger inputs add time, not paths: skipped (fuzz/targets, -max_len).
constexpr std::size_t kMaxInput = 16384;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  if (size == 0) return 0;
  unsigned pad = data[0];
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  std::vector<std::string> files;
  while (files.size() < 7) {
    std::size_t cut = rest.find("\xFF\xFE\xFD");
    files.emplace_back(rest.substr(0, cut));
    if (cut == std::string_view::npos) break;
    rest.remove_prefix(cut + 3);
  }
  files.resize(7);

  namespace L = apps::layout;
  std::string& bct = files[1];
  if (pad & 2) bct.resize(L::kLevelBctSize, '\0');
  int c = count(bct, L::level_bct::kLastColumn);
  std::size_t expected[7] = {L::kAppCtlSize,
                             L::kLevelBctSize,
                             L::ctlSize(c > L::kMaxLastColumn ? 0 : c),
                             (count(bct, L::level_bct::kSerCount) + 1) * L::kSerialDefSize,
                             (count(bct, L::level_bct::kRndCount) + 1) * L::kRndEntrySize,
                             (count(bct, L::level_bct::kJptCount) + 1) * L::kJumpEntrySize,
                             count(bct, L::level_bct::kBcfCount) * L::kBcfEntrySize};
  for (int i = 0; i < 7; ++i) {
    if (pad & (1u << i)) files[static_cast<std::size_t>(i)].resize(expected[i], '\0');
    std::string path = base::joinPath(folder(), kNames[i], platform::kSep);
    if (files[static_cast<std::size_t>(i)].empty() && !(pad & 0x80)) {
      platform::deleteFile(path);
    } else {
      const std::string& f = files[static_cast<std::size_t>(i)];
      platform::writeWholeFile(path, f.data(), f.size());
    }
  }

  apps::AppDefinition app;
  app.loadAppCtl(folder());
  app.appCtl().setTableName("T");
  std::string name;
  if (app.loadLevel(folder(), 1, name).ok != 1) return 0;

  const apps::LevelDefinition& level = *app.level(1);
  volatile long sink = 0;
  for (const auto& f : level.fieldList) sink = sink + f.length + f.decimals + static_cast<long>(f.name.size());
  for (int k = 0; k <= level.lastColumn() + 1; ++k) {
    if (const apps::ColumnCheck* check = level.check(k)) {
      sink = sink + check->fieldType() + check->checkType() + static_cast<long>(check->text().size());
      for (int m = 0; m < 5; ++m) sink = sink + check->moveColumns(m);
      if (level.serialDef(check->serialIndex())) sink = sink + 1;
      if (level.rndEntry(check->randomIndex())) sink = sink + 1;
      if (level.jumpEntry(check->jumpIndex())) sink = sink + 1;
    }
  }
  for (int s = 0; s < 8; ++s) sink = sink + level.header.screen(s).heading(s).width;
  for (int i = 0; i <= level.bct.childCount(); ++i) sink = sink + static_cast<long>(level.bct.childName(i).size());
  for (const auto& row : level.conditions) sink = sink + row.action(level.info.conditionColumn(0));
  sink = sink + level.columnNamed(level.bct.levelName());
  return 0;
}
