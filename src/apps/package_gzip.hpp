#pragma once
// A gzip (RFC 1952) reader over an open file, for package members: it parses
// each gzip header itself (FTEXT, FEXTRA, FNAME, FCOMMENT; FHCRC checked
// against the low 16 bits of the header's CRC-32), inflates the raw deflate
// body through zlib and checks each trailer's CRC-32 and ISIZE. Like zlib's
// own gzip reader it reads gzip members written one after another, and
// ignores bytes after the last one that do not begin another.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/fileops.hpp"

namespace apps {

class GzipReader {
 public:
  // Reads file from its current position in blocks of inputBlock bytes;
  // refuses output past limit bytes. The file must outlive the reader.
  GzipReader(platform::File& file, std::uint64_t limit, std::size_t inputBlock);
  ~GzipReader();
  GzipReader(const GzipReader&) = delete;
  GzipReader& operator=(const GzipReader&) = delete;

  // Starts the inflater: 0, or kPkgGzipOpen (-2) when zlib cannot start.
  int open();
  // Fills out with up to capacity bytes; done is how many came, 0 once the
  // stream has ended. 0, or kPkgBadData (-3) for a read failure, a bad or
  // truncated stream, a CRC or size mismatch, or output past the limit.
  int read(std::uint8_t* out, std::size_t capacity, std::size_t& done);
  // Ends the inflater: 0, or kPkgGzipClose (-5) when zlib reports an error.
  int close();

  std::uint64_t totalOut() const { return totalOut_; }

 private:
  enum class Stage { Header, Body, Trailer, Next, Done, Failed };
  struct Inflater;

  int fill();
  // The next input byte; false at the end of the input (or on a read error,
  // which is kept in readError_).
  bool nextByte(std::uint8_t& b);
  int fail();
  int readHeader();
  int readTrailer();
  int lookForNextMember();

  platform::File& file_;
  std::uint64_t limit_;
  std::vector<std::uint8_t> in_;
  std::size_t inPos_ = 0, inEnd_ = 0;
  bool inputEnded_ = false;
  bool readError_ = false;
  std::unique_ptr<Inflater> z_;
  Stage stage_ = Stage::Header;
  std::uint32_t crc_ = 0;        // of this gzip member's output
  std::uint32_t memberOut_ = 0;  // this member's output, modulo 2^32
  std::uint64_t totalOut_ = 0;
};

}  // namespace apps
