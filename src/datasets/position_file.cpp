#include "datasets/position_file.hpp"

#include <algorithm>

#include "apps/level_records.hpp"
#include "platform/codepage.hpp"
#include "platform/fileops.hpp"

namespace datasets {

namespace lh = apps::layout::level_header;

std::string positionPath(const std::string& tablePath8) {
  if (tablePath8.empty()) return {};
  std::string out = tablePath8;
  out.back() = '$';
  return out;
}

int readPositionFile(const std::string& tablePath8, PositionRecord& out) {
  const std::string path = platform::toWide(positionPath(tablePath8));
  if (path.empty()) return 0;
  platform::File f = platform::openFile(path, platform::Access::Read, platform::Disposition::OpenExisting);
  if (!f.isOpen() || f.size() != static_cast<std::int64_t>(kPositionFileSize)) return 0;
  PositionRecord record;
  if (f.readExact(record.bytes().data(), kPositionFileSize) != 0) return 0;
  out = record;
  return 1;
}

int writePositionFile(const std::string& tablePath8, const PositionRecord& record) {
  const std::string path = platform::toWide(positionPath(tablePath8));
  if (path.empty()) return 0;
  if (platform::writeWholeFile(path, record.bytes().data(), kPositionFileSize) == 0) return 1;
  // A part of a position would put the user somewhere he never was.
  platform::deleteFile(path);
  return 0;
}

PositionRecord capturePosition(const apps::LevelHeader& h) {
  PositionRecord r;
  r.setWord(PositionRecord::kColumn, h.curColumn());
  r.setWord(PositionRecord::kLine, h.curLine());
  r.setWord(PositionRecord::kEditPosition, h.i32(lh::kEditPosition));
  r.setWord(PositionRecord::kPage, h.page());
  r.setWord(PositionRecord::kFirstShown, h.topLine());
  r.setWord(PositionRecord::kLastShown, h.bottomLine());
  for (int i = 0; i < 3; ++i)
    r.setWord(PositionRecord::kDisplay1 + i, h.i32(lh::kDisplayState + 4 * static_cast<std::size_t>(i)));
  for (int i = 0; i < 2; ++i)
    r.setWord(PositionRecord::kExtra1 + i, h.i32(lh::kPositionExtra + 4 * static_cast<std::size_t>(i)));
  return r;
}

void restorePosition(apps::LevelHeader& h, const PositionRecord& r, std::int32_t lineCount, int lastColumn) {
  const std::int32_t firstLine = lineCount > 0 ? 1 : 0;
  const std::int32_t lastLine = std::max<std::int32_t>(lineCount, 0);
  auto line = [&](int w) { return std::clamp(r.word(w), firstLine, lastLine); };
  h.setCurColumn(std::clamp(r.word(PositionRecord::kColumn), 1, std::max(lastColumn, 1)));
  h.setCurLine(line(PositionRecord::kLine));
  h.setI32(lh::kEditPosition, r.word(PositionRecord::kEditPosition));
  h.setPage(std::max(r.word(PositionRecord::kPage), 0));
  h.setTopLine(line(PositionRecord::kFirstShown));
  h.setBottomLine(line(PositionRecord::kLastShown));
  for (int i = 0; i < 3; ++i)
    h.setI32(lh::kDisplayState + 4 * static_cast<std::size_t>(i), r.word(PositionRecord::kDisplay1 + i));
  for (int i = 0; i < 2; ++i)
    h.setI32(lh::kPositionExtra + 4 * static_cast<std::size_t>(i), r.word(PositionRecord::kExtra1 + i));
}

}  // namespace datasets
