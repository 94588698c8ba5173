#include "gps/tsip.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace gps {

void TsipAssembler::reset() {
  state_ = State::Idle;
  building_.clear();
  data_.clear();
  id_ = 0;
}

bool TsipAssembler::feed(std::uint8_t byte) {
  switch (state_) {
    case State::Idle:
      if (byte == kDle) state_ = State::AfterDle;
      return false;  // bytes outside a packet are dropped
    case State::AfterDle:
      // DLE DLE is a stuffed data byte and DLE ETX the end of a packet whose
      // start was missed; any other byte after a DLE is a packet id.
      if (byte == kDle || byte == kEtx) {
        state_ = State::Idle;
      } else {
        building_.clear();
        building_.push_back(byte);
        state_ = State::InPacket;
      }
      return false;
    case State::InPacket:
      if (byte == kDle) {
        state_ = State::InPacketDle;
        return false;
      }
      break;
    case State::InPacketDle:
      if (byte == kEtx) {
        id_ = building_.front();
        data_.assign(building_.begin() + 1, building_.end());
        building_.clear();
        state_ = State::Idle;
        return true;
      }
      if (byte != kDle) {
        // A lone DLE inside the data: the packet was broken and this byte
        // starts the next one.
        building_.clear();
        building_.push_back(byte);
        state_ = State::InPacket;
        return false;
      }
      state_ = State::InPacket;
      break;  // a doubled DLE stands for one
  }
  building_.push_back(byte);
  if (building_.size() >= kTsipBufferLimit) {
    // The id and data filled the buffer: the packet is dropped and assembly
    // waits for the next DLE.
    building_.clear();
    state_ = State::Idle;
  }
  return false;
}

std::string tsipFrame(std::uint8_t id, const std::vector<std::uint8_t>& data) {
  std::string out;
  out.reserve(data.size() + 8);
  out.push_back(static_cast<char>(kDle));
  out.push_back(static_cast<char>(id));
  for (std::uint8_t b : data) {
    out.push_back(static_cast<char>(b));
    if (b == kDle) out.push_back(static_cast<char>(kDle));
  }
  out.push_back(static_cast<char>(kDle));
  out.push_back(static_cast<char>(kEtx));
  return out;
}

std::string tsipIoOptionsPacket() { return tsipFrame(0x35, {0x32, 0x02, 0x01, 0x00}); }

}  // namespace gps
