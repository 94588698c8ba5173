#include "serial/line_assembler.hpp"

namespace serial {

bool terminatorIsControl(std::uint8_t terminator) { return terminator < 32 || terminator == 127; }

std::optional<std::string> LineAssembler::push(std::uint8_t byte) {
  if (byte == terminator_) {
    const bool wasOverflowed = overflowed_;
    overflowed_ = false;
    if (wasOverflowed) {
      line_.clear();
      return std::nullopt;
    }
    if (!terminatorIsControl(byte)) {
      if (line_.size() + 1 > kLineLimit) {
        line_.clear();
        return std::nullopt;
      }
      line_.push_back(static_cast<char>(byte));
    }
    if (line_.empty()) return std::nullopt;
    std::string done;
    done.swap(line_);
    return done;
  }
  if (byte < 32) return std::nullopt;
  if (overflowed_) return std::nullopt;
  if (line_.size() + 1 > kLineLimit) {
    // Keeping the tail would hand the caller a fragment as if it were a line.
    overflowed_ = true;
    line_.clear();
    line_.shrink_to_fit();
    return std::nullopt;
  }
  line_.push_back(static_cast<char>(byte));
  return std::nullopt;
}

void LineAssembler::reset() {
  line_.clear();
  overflowed_ = false;
}

}  // namespace serial
