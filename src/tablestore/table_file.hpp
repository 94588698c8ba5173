#pragma once
// A table's file: reads and writes at absolute offsets through the program's
// retrying file operations, seeking only when the file position is not
// already where the transfer starts (sequential appends and updates then cost
// one system call each).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/fileops.hpp"

namespace tablestore {

class TableFile {
 public:
  // Opens path (UTF-8) read/write. 0 or the system error code.
  int open(const std::string& path, platform::Disposition disposition);
  bool isOpen() const { return file_.isOpen(); }

  // Reads up to count bytes at offset; got is how many arrived (fewer only at
  // the end of the file). 0 or the system error code.
  int readAt(std::int64_t offset, void* buffer, std::size_t count, std::size_t& got);
  // Writes all count bytes at offset. 0 or the system error code.
  int writeAt(std::int64_t offset, const void* buffer, std::size_t count);
  // The size in bytes, or -1 on failure.
  std::int64_t size();
  int setSize(std::int64_t bytes);
  int flush();
  int close();

 private:
  int seekTo(std::int64_t offset);
  platform::File file_;
  std::int64_t position_ = -1;  // -1: unknown (after an error)
};

// A buffer for moving records in blocks: preferred bytes, less in steps of 2048
// bytes while memory cannot be had, never less than one record. Empty when not
// even one record could be had.
class BlockBuffer {
 public:
  static constexpr std::size_t kPreferred = 32768;
  static constexpr std::size_t kStep = 2048;
  BlockBuffer(std::size_t recordLength, std::size_t preferred = kPreferred);
  bool empty() const { return !data_; }
  std::uint8_t* data() { return data_.get(); }
  // How many whole records the buffer holds.
  std::size_t records() const { return records_; }

 private:
  std::unique_ptr<std::uint8_t[]> data_;
  std::size_t records_ = 0;
};

}  // namespace tablestore
