#include "tablestore/table_file.hpp"

#include <new>

#include "platform/errors.hpp"

namespace tablestore {

int TableFile::open(const std::string& path, platform::Disposition disposition) {
  file_ = platform::openFile(path, platform::Access::ReadWrite, disposition);
  position_ = file_.isOpen() ? 0 : -1;
  return file_.isOpen() ? 0 : file_.error();
}

int TableFile::seekTo(std::int64_t offset) {
  if (position_ == offset) return 0;
  std::int64_t at = 0;
  int rc = file_.seek(offset, platform::SeekFrom::Begin, at);
  position_ = (rc == 0 && at == offset) ? offset : -1;
  if (rc == 0 && at != offset) rc = platform::kErrInvalidParameter;
  return rc;
}

int TableFile::readAt(std::int64_t offset, void* buffer, std::size_t count, std::size_t& got) {
  got = 0;
  if (int rc = seekTo(offset)) return rc;
  auto* out = static_cast<std::uint8_t*>(buffer);
  while (got < count) {
    std::size_t done = 0;
    int rc = file_.read(out + got, count - got, done);
    if (rc != 0) {
      position_ = -1;
      return rc;
    }
    if (done == 0) break;
    got += done;
  }
  position_ = offset + static_cast<std::int64_t>(got);
  return 0;
}

int TableFile::writeAt(std::int64_t offset, const void* buffer, std::size_t count) {
  if (int rc = seekTo(offset)) return rc;
  int rc = file_.writeExact(buffer, count);
  position_ = rc == 0 ? offset + static_cast<std::int64_t>(count) : -1;
  return rc;
}

std::int64_t TableFile::size() { return file_.size(); }

int TableFile::setSize(std::int64_t bytes) {
  int rc = file_.setSize(bytes);
  position_ = rc == 0 ? bytes : -1;  // the layer leaves the position at the new end
  return rc;
}

int TableFile::flush() { return file_.flush(); }

int TableFile::close() {
  position_ = -1;
  return file_.close();
}

BlockBuffer::BlockBuffer(std::size_t recordLength, std::size_t preferred) {
  std::size_t size = preferred;
  for (;;) {
    if (size < recordLength) size = recordLength;
    data_.reset(new (std::nothrow) std::uint8_t[size]);
    if (data_) break;
    if (size == recordLength) return;
    size = size > kStep ? size - kStep : recordLength;
  }
  records_ = size / recordLength;
}

}  // namespace tablestore
