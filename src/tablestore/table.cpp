#include "tablestore/table.hpp"

#include <algorithm>
#include <cstring>

#include "base/text.hpp"
#include "platform/clock.hpp"
#include "platform/codepage.hpp"
#include "platform/errors.hpp"
#include "tablestore/table_store.hpp"

namespace tablestore {

Table::Table(TableStore& store, std::string path, TableFile file, const TableLayout& layout,
             std::int64_t count, bool headerStale, bool untidyTail)
    : store_(store),
      path_(std::move(path)),
      file_(std::move(file)),
      layout_(layout),
      count_(count),
      headerStale_(headerStale),
      untidyTail_(untidyTail) {
  fields_.reserve(layout_.fields.size());
  int longest = 0;
  for (const FieldLayout& f : layout_.fields) {
    fields_.push_back(TableField(*this, f));
    longest = std::max(longest, f.length);
  }
  layout_.fields.clear();  // the fields own their layouts now
  buffer_.assign(static_cast<std::size_t>(layout_.recordLength), ' ');
  scratch_.reserve(static_cast<std::size_t>(longest));
}

int Table::fail(int code, Where where, int systemError) {
  std::string a = platform::toWide(path_);
  std::string b = systemError != 0 ? platform::errorText(systemError) : std::string();
  return store_.raise(code, where, a, b);
}

void Table::blankBuffer() {
  std::memset(buffer_.data(), ' ', static_cast<std::size_t>(layout_.recordLength));
}

void Table::forgetReadAhead() {
  aheadCount_ = 0;
  lastRead_ = -1;
}

void Table::noteWritten(std::int64_t n, const std::uint8_t* record) {
  if (n >= aheadFirst_ && n < aheadFirst_ + aheadCount_) {
    std::memcpy(&ahead_[static_cast<std::size_t>((n - aheadFirst_) * layout_.recordLength)], record,
                static_cast<std::size_t>(layout_.recordLength));
  }
}

int Table::writeBufferAt(std::int64_t offset) {
  // Every record on disk starts with ' ' or '*' (whatever a caller put into
  // byte 0): an open after a crash relies on it to tell records from junk.
  if (buffer_[0] != kDeleted) buffer_[0] = kLive;
  return file_.writeAt(offset, buffer_.data(), buffer_.size());
}

int Table::writeBack(Where where) {
  if (!changed_) return kOk;
  changed_ = false;
  if (current_ < 1) return kOk;  // a buffer no record owns (after appendStart) waits for append
  if (int rc = writeBufferAt(offsetOf(current_))) {
    changed_ = true;
    return fail(kErrWrite, where, rc);
  }
  noteWritten(current_, buffer_.data());
  headerStale_ = true;
  return kOk;
}

int Table::writeHeader(Where where) {
  std::uint8_t bytes[7];
  putDateAndCount(bytes, platform::clock().localTime(), static_cast<std::uint32_t>(count_));
  if (int rc = file_.writeAt(kAtDate, bytes, sizeof bytes)) return fail(kErrWrite, where, rc);
  headerStale_ = false;
  return kOk;
}

int Table::writeEnd(Where where) {
  if (!endPending_) return kOk;
  if (int rc = file_.writeAt(offsetOf(count_ + 1), &kFileEnd, 1)) return fail(kErrWrite, where, rc);
  endPending_ = false;
  return kOk;
}

int Table::readInto(std::int64_t n, std::uint8_t* dest) {
  const std::int64_t r = layout_.recordLength;
  if (n < aheadFirst_ || n >= aheadFirst_ + aheadCount_) {
    const bool forwards = n == lastRead_ + 1;
    const bool backwards = n == lastRead_ - 1;
    std::int64_t first = n, last = n;
    if (forwards || backwards) {
      if (ahead_.empty()) {
        std::size_t records =
            std::max<std::size_t>(1, BlockBuffer::kPreferred / static_cast<std::size_t>(r));
        ahead_.resize(records * static_cast<std::size_t>(r));
      }
      const std::int64_t k = static_cast<std::int64_t>(ahead_.size()) / r;
      first = forwards ? n : std::max<std::int64_t>(1, n - k + 1);
      last = std::min(count_, first + k - 1);
    }
    if (first == last) {
      // A jump: read just this record, straight into the buffer.
      aheadCount_ = 0;
      std::size_t got = 0;
      int rc = file_.readAt(offsetOf(n), dest, static_cast<std::size_t>(r), got);
      if (rc != 0 || got != static_cast<std::size_t>(r)) return fail(kErrRead, kAtGoRead, rc);
      lastRead_ = n;
      return kOk;
    }
    std::size_t want = static_cast<std::size_t>((last - first + 1) * r);
    std::size_t got = 0;
    int rc = file_.readAt(offsetOf(first), ahead_.data(), want, got);
    aheadFirst_ = first;
    aheadCount_ = rc == 0 ? static_cast<std::int64_t>(got) / r : 0;
    if (n >= aheadFirst_ + aheadCount_) {
      aheadCount_ = 0;
      return fail(kErrRead, kAtGoRead, rc);
    }
  }
  std::memcpy(dest, &ahead_[static_cast<std::size_t>((n - aheadFirst_) * r)],
              static_cast<std::size_t>(r));
  lastRead_ = n;
  return kOk;
}

int Table::readRecord(std::int64_t n) { return readInto(n, buffer_.data()); }

int Table::peekRecord(std::int64_t n, std::string& out) {
  if (int e = store_.blocked()) return e;
  if (n < 1 || n > count_) return kErrRead;
  // The current record's bytes may be ahead of the file: give the buffer.
  if (n == current_) {
    out.assign(reinterpret_cast<const char*>(buffer_.data()), buffer_.size());
    return kOk;
  }
  out.resize(static_cast<std::size_t>(layout_.recordLength));
  return readInto(n, reinterpret_cast<std::uint8_t*>(out.data()));
}

int Table::goRecord(std::int64_t n) {
  if (int e = store_.blocked()) return e;
  if (int rc = writeBack(kAtWriteBack)) return rc;
  if (n < 1 || n > count_) {
    blankBuffer();
    current_ = -1;
    return fail(kErrRead, kAtGo);
  }
  if (int rc = readRecord(n)) {
    blankBuffer();
    current_ = -1;
    return rc;
  }
  current_ = n;
  return kOk;
}

int Table::appendStart() {
  if (int e = store_.blocked()) return e;
  if (int rc = writeBack(kAtWriteBack)) return rc;
  blankBuffer();
  current_ = -1;
  changed_ = false;
  return kOk;
}

int Table::appendBuffer(Where where) {
  if (count_ >= static_cast<std::int64_t>(UINT32_MAX)) return fail(kErrAppendPastEnd, where);
  const std::int64_t at = offsetOf(count_ + 1);
  if (untidyTail_) {
    // A torn record or foreign bytes past the last record: cut them first, so
    // that nothing of them can follow the new record.
    if (int rc = file_.setSize(at)) return fail(kErrSetLength, where, rc);
    untidyTail_ = false;
  }
  // One write of the record alone, where the previous append left the file
  // position (no seek): once it returns the record is in the file, and the
  // file's length alone tells a later open that it is whole. The end marker
  // and the header count follow at the next flush, pack or close.
  if (int rc = writeBufferAt(at)) {
    // Leave no part of a record that was not stored.
    std::int64_t size = file_.size();
    if (size < 0 || (size > at + 1 && file_.setSize(at) != 0)) {
      untidyTail_ = true;
    } else if (size > at + 1) {
      endPending_ = true;
    }
    return fail(kErrWrite, where, rc);
  }
  ++count_;
  current_ = count_;
  changed_ = false;
  headerStale_ = true;
  endPending_ = true;
  return kOk;
}

int Table::append() {
  if (int e = store_.blocked()) return e;
  return appendBuffer(kAtAppend);
}

int Table::appendRecords(const std::string& records, std::int64_t count) {
  if (int e = store_.blocked()) return e;
  const auto width = static_cast<std::size_t>(layout_.recordLength);
  if (count < 0 || records.size() != static_cast<std::size_t>(count) * width) return fail(kErrParameter, kAtAppend);
  if (count == 0) return kOk;
  if (count_ + count > static_cast<std::int64_t>(UINT32_MAX)) return fail(kErrAppendPastEnd, kAtAppend);
  if (int rc = writeBack(kAtAppend)) return rc;
  const std::int64_t at = offsetOf(count_ + 1);
  if (untidyTail_) {
    if (int rc = file_.setSize(at)) return fail(kErrSetLength, kAtAppend, rc);
    untidyTail_ = false;
  }
  // The same rule as one record: byte 0 of each is ' ' or '*'.
  std::string bytes = records;
  for (std::size_t i = 0; i < bytes.size(); i += width)
    if (bytes[i] != static_cast<char>(kDeleted)) bytes[i] = static_cast<char>(kLive);
  if (int rc = file_.writeAt(at, bytes.data(), bytes.size())) {
    std::int64_t size = file_.size();
    if (size < 0 || (size > at + 1 && file_.setSize(at) != 0)) {
      untidyTail_ = true;
    } else if (size > at + 1) {
      endPending_ = true;
    }
    return fail(kErrWrite, kAtAppend, rc);
  }
  count_ += count;
  current_ = count_;
  std::memcpy(buffer_.data(), bytes.data() + bytes.size() - width, width);
  changed_ = false;
  headerStale_ = true;
  endPending_ = true;
  return kOk;
}

int Table::writeRecord(std::int64_t n) {
  if (int e = store_.blocked()) return e;
  if (n < 1) return fail(kErrParameter, kAtWriteRecord);
  if (n > count_) return fail(kErrAppendPastEnd, kAtWriteRecord);
  if (int rc = writeBufferAt(offsetOf(n))) return fail(kErrWrite, kAtWriteRecord, rc);
  noteWritten(n, buffer_.data());
  current_ = n;
  changed_ = false;
  headerStale_ = true;
  return kOk;
}

int Table::deleteRecord() {
  if (int e = store_.blocked()) return e;
  buffer_[0] = kDeleted;
  changed_ = true;
  return kOk;
}

int Table::changed(int flag) {
  int previous = changed_ ? 1 : 0;
  if (flag < 0) return previous;
  if (int e = store_.blocked()) return e;
  changed_ = flag != 0;
  return previous;
}

int Table::flush() {
  if (int e = store_.blocked()) return e;
  if (int rc = writeBack(kAtFlush)) return rc;
  if (int rc = writeEnd(kAtFlush)) return rc;
  if (headerStale_) {
    if (int rc = writeHeader(kAtFlush)) return rc;
  }
  if (int rc = file_.flush()) return fail(kErrWrite, kAtFlush, rc);
  return kOk;
}

int Table::close() {
  int first = writeBack(kAtClose);
  int end = writeEnd(kAtClose);
  if (first == 0) first = end;
  if (headerStale_) {
    int rc = writeHeader(kAtClose);
    if (first == 0) first = rc;
  }
  if (int rc = file_.close()) {
    int code = fail(kErrClose, kAtClose, rc);
    if (first == 0) first = code;
  }
  return first;
}

TableField* Table::fieldByName(std::string_view name) {
  int j = fieldNumber(name);
  return j > 0 ? &fields_[static_cast<std::size_t>(j - 1)] : nullptr;
}

TableField* Table::fieldByNumber(int j) {
  if (j < 1 || j > fieldCount()) return nullptr;
  return &fields_[static_cast<std::size_t>(j - 1)];
}

int Table::fieldNumber(std::string_view name) const {
  std::string_view want = name.substr(0, 10);
  while (!want.empty() && want.back() == ' ') want.remove_suffix(1);
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    std::string_view have = std::string_view(fields_[i].name()).substr(0, 10);
    if (base::equalsNoCase(want, have)) return static_cast<int>(i + 1);
  }
  return kErrFieldName;
}

std::vector<FieldSpec> Table::fieldInfo() const {
  std::vector<FieldSpec> out;
  out.reserve(fields_.size());
  for (const TableField& f : fields_) out.push_back({f.name(), f.type(), f.length(), f.decimals()});
  return out;
}

}  // namespace tablestore
