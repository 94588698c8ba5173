// The operations that move records in blocks: pack and openGap.
#include <algorithm>
#include <cstring>

#include "tablestore/table.hpp"
#include "tablestore/table_store.hpp"

namespace tablestore {

int Table::pack() {
  if (int e = store_.blocked()) return e;
  if (int rc = writeBack(kAtPack)) return rc;
  const std::int64_t r = layout_.recordLength;
  BlockBuffer block(static_cast<std::size_t>(r));
  if (block.empty()) return fail(kErrMemory, kAtBlockBuffer);
  forgetReadAhead();
  blankBuffer();
  current_ = -1;

  // Live records slide down over the deleted ones, block by block. Every live
  // record stays in the file throughout; the count changes only at the end.
  std::int64_t to = 1;
  for (std::int64_t from = 1; from <= count_;) {
    const std::int64_t n =
        std::min<std::int64_t>(static_cast<std::int64_t>(block.records()), count_ - from + 1);
    const std::size_t bytes = static_cast<std::size_t>(n * r);
    std::size_t got = 0;
    int rc = file_.readAt(offsetOf(from), block.data(), bytes, got);
    if (rc != 0 || got != bytes) return fail(kErrRead, kAtPack, rc);
    std::int64_t live = 0;
    for (std::int64_t i = 0; i < n; ++i) {
      std::uint8_t* record = block.data() + i * r;
      if (record[0] == kDeleted) continue;
      if (i != live) std::memmove(block.data() + live * r, record, static_cast<std::size_t>(r));
      ++live;
    }
    if (live > 0 && (to != from || live != n)) {
      if (int wc = file_.writeAt(offsetOf(to), block.data(), static_cast<std::size_t>(live * r)))
        return fail(kErrWrite, kAtPack, wc);
    }
    to += live;
    from += n;
  }
  const std::int64_t kept = to - 1;
  if (kept != count_ || untidyTail_ || endPending_) {
    // Cut the file before the count is lowered: a process ending between the
    // two leaves a count above the records on disk, which an open reads as the
    // records that are there.
    const std::int64_t end = offsetOf(kept + 1);
    if (int rc = file_.setSize(end)) return fail(kErrSetLength, kAtPack, rc);
    untidyTail_ = false;
    endPending_ = true;
    count_ = kept;
    if (int rc = writeEnd(kAtPack)) return rc;
    headerStale_ = true;
  }
  if (headerStale_) return writeHeader(kAtPack);
  return kOk;
}

int Table::openGap(std::int64_t n) {
  if (int e = store_.blocked()) return e;
  if (n < 1 || n > count_ + 1) return fail(kErrParameter, kAtOpenGap);
  if (int rc = writeBack(kAtOpenGap)) return rc;
  const std::int64_t r = layout_.recordLength;
  BlockBuffer block(static_cast<std::size_t>(r));
  if (block.empty()) return fail(kErrMemory, kAtBlockBuffer);

  // A blank record at the end makes the room; then records n .. old last move
  // one place towards it, last block first, so that each record is always
  // somewhere in the file.
  blankBuffer();
  current_ = -1;
  if (int rc = appendBuffer(kAtOpenGap)) return rc;
  const std::int64_t k = static_cast<std::int64_t>(block.records());
  for (std::int64_t last = count_ - 1; last >= n;) {
    const std::int64_t first = std::max(n, last - k + 1);
    const std::size_t bytes = static_cast<std::size_t>((last - first + 1) * r);
    std::size_t got = 0;
    int rc = file_.readAt(offsetOf(first), block.data(), bytes, got);
    if (rc != 0 || got != bytes) {
      forgetReadAhead();
      return fail(kErrRead, kAtOpenGap, rc);
    }
    if (int wc = file_.writeAt(offsetOf(first + 1), block.data(), bytes)) {
      forgetReadAhead();
      return fail(kErrWrite, kAtOpenGap, wc);
    }
    last = first - 1;
  }
  forgetReadAhead();
  if (n == count_) return kOk;  // the new last record is the gap; the buffer is blank already
  if (int rc = readRecord(n)) {
    blankBuffer();
    current_ = -1;
    return rc;
  }
  current_ = n;
  return kOk;
}

}  // namespace tablestore
