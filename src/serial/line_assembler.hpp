#pragma once
// Turns the bytes a serial instrument sends into lines, by the rules of the
// general reader: a line ends at the terminator byte; other control bytes
// (below 32) are dropped; a terminator that is a control character is not
// part of the line, a printable one is its last character; a line that grows
// past kLineLimit characters is thrown away whole, up to and including its
// terminator. Pure: no threads, no device, so tests and a fuzz target can
// drive it with any bytes.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "serial/port_layer.hpp"

namespace serial {

class LineAssembler {
 public:
  // terminator: the byte that ends a line (the port layer has already turned
  // an out-of-range terminator into 13).
  explicit LineAssembler(std::uint8_t terminator = kDefaultTerminator) : terminator_(terminator) {}

  // Takes one received byte. Returns the finished line when this byte ended
  // one that is kept; nothing otherwise (the line goes on, the byte was
  // dropped, the line was too long, or it was empty: a terminator alone gives
  // no line).
  std::optional<std::string> push(std::uint8_t byte);

  // Forgets the line being assembled (after a purge or a switch of mode).
  void reset();

  // Characters of the line being assembled.
  std::size_t pending() const { return line_.size(); }

 private:
  std::uint8_t terminator_;
  std::string line_;
  bool overflowed_ = false;  // the current line passed the limit: skip to its end
};

// Whether the terminator byte is left out of the line (a control character).
bool terminatorIsControl(std::uint8_t terminator);

}  // namespace serial
