#include "apps/package_gzip.hpp"

#include <zlib.h>

#include <cstring>

#include "apps/package_format.hpp"

namespace apps {

namespace {

constexpr std::uint8_t kMagic1 = 0x1f;
constexpr std::uint8_t kMagic2 = 0x8b;
constexpr std::uint8_t kMethodDeflate = 8;
constexpr std::uint8_t kFlagHcrc = 0x02;
constexpr std::uint8_t kFlagExtra = 0x04;
constexpr std::uint8_t kFlagName = 0x08;
constexpr std::uint8_t kFlagComment = 0x10;
constexpr std::uint8_t kFlagReserved = 0xE0;
// FTEXT (0x01) only hints that the data is text; it changes nothing here.

}  // namespace

struct GzipReader::Inflater {
  z_stream s{};
  bool started = false;
};

GzipReader::GzipReader(platform::File& file, std::uint64_t limit, std::size_t inputBlock)
    : file_(file),
      limit_(limit),
      in_(inputBlock ? inputBlock : 1),
      z_(std::make_unique<Inflater>()) {}

GzipReader::~GzipReader() {
  if (z_->started) inflateEnd(&z_->s);
}

int GzipReader::open() {
  z_->s = z_stream{};
  if (inflateInit2(&z_->s, -MAX_WBITS) != Z_OK) return kPkgGzipOpen;
  z_->started = true;
  stage_ = Stage::Header;
  return kPkgOk;
}

int GzipReader::close() {
  if (!z_->started) return kPkgOk;
  z_->started = false;
  return inflateEnd(&z_->s) == Z_OK ? kPkgOk : kPkgGzipClose;
}

int GzipReader::fill() {
  // Keeps bytes not yet used at the front, then reads behind them.
  if (inPos_ > 0) {
    std::memmove(in_.data(), in_.data() + inPos_, inEnd_ - inPos_);
    inEnd_ -= inPos_;
    inPos_ = 0;
  }
  if (inputEnded_ || inEnd_ == in_.size()) return kPkgOk;
  std::size_t done = 0;
  if (file_.read(in_.data() + inEnd_, in_.size() - inEnd_, done) != 0) {
    readError_ = inputEnded_ = true;
    return kPkgBadData;
  }
  if (done == 0) inputEnded_ = true;
  inEnd_ += done;
  return kPkgOk;
}

bool GzipReader::nextByte(std::uint8_t& b) {
  if (inPos_ == inEnd_ && (fill() != 0 || inPos_ == inEnd_)) return false;
  b = in_[inPos_++];
  return true;
}

int GzipReader::fail() {
  stage_ = Stage::Failed;
  return kPkgBadData;
}

int GzipReader::readHeader() {
  uLong hcrc = crc32(0L, Z_NULL, 0);
  auto take = [&](std::uint8_t& b) {
    if (!nextByte(b)) return false;
    hcrc = crc32(hcrc, &b, 1);
    return true;
  };
  auto skipText = [&] {  // a NUL-terminated field
    std::uint8_t b = 0;
    do {
      if (!take(b)) return false;
    } while (b != 0);
    return true;
  };

  std::uint8_t h[10];
  for (auto& b : h)
    if (!take(b)) return fail();
  if (h[0] != kMagic1 || h[1] != kMagic2 || h[2] != kMethodDeflate) return fail();
  const std::uint8_t flags = h[3];
  if (flags & kFlagReserved) return fail();
  // h[4..7] modification time, h[8] extra flags, h[9] operating system: unused.
  if (flags & kFlagExtra) {
    std::uint8_t lo = 0, hi = 0;
    if (!take(lo) || !take(hi)) return fail();
    for (unsigned n = lo | (hi << 8); n > 0; --n) {
      std::uint8_t b;
      if (!take(b)) return fail();
    }
  }
  if ((flags & kFlagName) && !skipText()) return fail();
  if ((flags & kFlagComment) && !skipText()) return fail();
  if (flags & kFlagHcrc) {
    std::uint8_t lo = 0, hi = 0;
    if (!nextByte(lo) || !nextByte(hi)) return fail();
    if (static_cast<uLong>(lo | (hi << 8)) != (hcrc & 0xFFFFu)) return fail();
  }
  if (inflateReset(&z_->s) != Z_OK) return fail();
  crc_ = static_cast<std::uint32_t>(crc32(0L, Z_NULL, 0));
  memberOut_ = 0;
  stage_ = Stage::Body;
  return kPkgOk;
}

int GzipReader::readTrailer() {
  std::uint8_t t[8];
  for (auto& b : t)
    if (!nextByte(b)) return fail();
  std::uint32_t storedCrc = t[0] | (t[1] << 8) | (t[2] << 16) | (std::uint32_t{t[3]} << 24);
  std::uint32_t storedSize = t[4] | (t[5] << 8) | (t[6] << 16) | (std::uint32_t{t[7]} << 24);
  if (storedCrc != crc_ || storedSize != memberOut_) return fail();
  stage_ = Stage::Next;
  return kPkgOk;
}

int GzipReader::lookForNextMember() {
  if (inEnd_ - inPos_ < 2 && fill() != 0) return fail();
  if (inEnd_ - inPos_ >= 2 && in_[inPos_] == kMagic1 && in_[inPos_ + 1] == kMagic2) {
    stage_ = Stage::Header;
  } else {
    // Anything else after a whole member is ignored, as zlib's reader does.
    stage_ = Stage::Done;
  }
  return kPkgOk;
}

int GzipReader::read(std::uint8_t* out, std::size_t capacity, std::size_t& done) {
  done = 0;
  if (!z_->started) return stage_ == Stage::Done ? kPkgOk : fail();
  z_stream& s = z_->s;
  while (done < capacity) {
    switch (stage_) {
      case Stage::Header:
        if (int rc = readHeader()) return rc;
        break;
      case Stage::Body: {
        if (inPos_ == inEnd_ && fill() != 0) return fail();
        const std::size_t room = capacity - done;
        s.next_in = in_.data() + inPos_;
        s.avail_in = static_cast<uInt>(inEnd_ - inPos_);
        s.next_out = out + done;
        s.avail_out = static_cast<uInt>(room);
        int zr = inflate(&s, Z_NO_FLUSH);
        const std::size_t produced = room - s.avail_out;
        inPos_ = inEnd_ - s.avail_in;
        if (produced > 0) {
          crc_ = static_cast<std::uint32_t>(crc32(crc_, out + done, static_cast<uInt>(produced)));
          memberOut_ += static_cast<std::uint32_t>(produced);
          totalOut_ += produced;
          done += produced;
          if (totalOut_ > limit_) return fail();
        }
        if (zr == Z_STREAM_END) {
          stage_ = Stage::Trailer;
        } else if (zr == Z_BUF_ERROR) {
          // No progress with room to spare: inflate wants input there is not.
          if (inPos_ == inEnd_ && inputEnded_) return fail();
        } else if (zr != Z_OK) {
          return fail();
        }
        break;
      }
      case Stage::Trailer:
        if (int rc = readTrailer()) return rc;
        break;
      case Stage::Next:
        if (int rc = lookForNextMember()) return rc;
        break;
      case Stage::Done:
        return kPkgOk;
      case Stage::Failed:
        return kPkgBadData;
    }
  }
  return kPkgOk;
}

}  // namespace apps
