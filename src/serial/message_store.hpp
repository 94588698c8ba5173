#pragma once
// The received lines a port keeps until a caller reads them: kMessageSlots
// slots of at most kMessageText characters. A line goes into the first empty
// slot; when all are full they are all emptied and the new line takes the
// first (an instrument that talks faster than it is read loses the older
// lines, never the newest). Each slot has its own ready mark, so a line
// stored while another is read is never lost. Not thread-safe: the port
// instance guards it with its lock.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "serial/port_layer.hpp"

namespace serial {

class MessageStore {
 public:
  // Stores a line (cut to kMessageText characters). Empty lines are not kept.
  void store(const std::string& line);
  // Takes the oldest stored line, at most maxLength characters of it, into
  // out and empties its slot: true, or false (out empty) when no line is
  // stored or maxLength is 0 (the line then stays).
  bool take(std::string& out, std::size_t maxLength);
  // Empties every slot.
  void clear();
  std::size_t count() const;

 private:
  struct Slot {
    std::string text;
    bool ready = false;
    std::uint64_t order = 0;  // arrival number: the oldest line is read first
  };
  std::array<Slot, kMessageSlots> slots_{};
  std::uint64_t next_ = 0;
};

}  // namespace serial
