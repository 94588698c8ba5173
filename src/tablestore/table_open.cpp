#include "tablestore/table_open.hpp"

#include <algorithm>
#include <vector>

#include "tablestore/errors.hpp"

namespace tablestore {

namespace {

// Counts how many of the records after the first `from` carry a deletion flag,
// stopping at the first that does not (a zero-filled or foreign tail).
int countFlaggedTail(TableFile& file, const TableLayout& layout, std::int64_t from,
                     std::int64_t whole, std::int64_t& count, int& systemError) {
  const std::int64_t r = layout.recordLength;
  BlockBuffer block(static_cast<std::size_t>(r));
  if (block.empty()) return kErrMemory;
  count = from;
  while (count < whole) {
    std::int64_t n =
        std::min<std::int64_t>(static_cast<std::int64_t>(block.records()), whole - count);
    std::size_t got = 0;
    std::int64_t at = layout.headerLength + count * r;
    if (int rc = file.readAt(at, block.data(), static_cast<std::size_t>(n * r), got)) {
      systemError = rc;
      return kErrRead;
    }
    if (got != static_cast<std::size_t>(n * r)) return kErrRead;
    for (std::int64_t i = 0; i < n; ++i) {
      std::uint8_t flag = block.data()[i * r];
      if (flag != kLive && flag != kDeleted) return kOk;
      ++count;
    }
  }
  return kOk;
}

}  // namespace

int readTable(TableFile& file, OpenedTable& out, int& systemError) {
  systemError = 0;
  std::int64_t size = file.size();
  if (size < 0) return kErrLength;
  std::uint8_t fixed[kHeaderSize];
  std::size_t got = 0;
  if (int rc = file.readAt(0, fixed, sizeof fixed, got)) {
    systemError = rc;
    return kErrRead;
  }
  TableLayout& layout = out.layout;
  if (int rc = readFixedHeader(fixed, got, size, layout)) return rc;
  std::vector<std::uint8_t> header(static_cast<std::size_t>(layout.headerLength));
  if (int rc = file.readAt(0, header.data(), header.size(), got)) {
    systemError = rc;
    return kErrRead;
  }
  if (got != header.size()) return kErrData;
  if (int rc = readDescriptors(header.data(), layout)) return rc;

  const std::int64_t r = layout.recordLength;
  const std::int64_t whole = (size - layout.headerLength) / r;
  const std::int64_t stored = layout.storedCount;
  out.count = std::min(stored, whole);
  if (whole > stored) {
    if (int rc = countFlaggedTail(file, layout, stored, whole, out.count, systemError)) return rc;
  }
  out.headerStale = out.count != stored;
  out.untidyTail = size > layout.headerLength + out.count * r + 1;
  return kOk;
}

}  // namespace tablestore
