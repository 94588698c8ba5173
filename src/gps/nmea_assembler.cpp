#include "gps/nmea.hpp"

namespace gps {

bool SentenceAssembler::feed(std::uint8_t byte) {
  if (byte == '$') {  // a new sentence; a partial one is discarded
    building_.assign(1, '$');
    inSentence_ = true;
    tooLong_ = false;
    return false;
  }
  if (!inSentence_) return false;  // before the first '$'
  if (byte == '\r') {
    inSentence_ = false;
    if (tooLong_) return false;
    done_.swap(building_);
    building_.clear();
    return true;
  }
  if (byte < 0x20) return false;
  // Past the limit the rest is not kept: the sentence is dropped at its end.
  if (building_.size() >= kSentenceLimit) {
    tooLong_ = true;
    return false;
  }
  building_.push_back(static_cast<char>(byte));
  return false;
}

void SentenceAssembler::reset() {
  building_.clear();
  done_.clear();
  inSentence_ = false;
  tooLong_ = false;
}

bool keptSentence(std::string_view sentence) {
  if (sentence.size() < 7 || sentence[0] != '$' || sentence[1] != 'G') return false;
  const char talker = sentence[2];
  if (talker != 'L' && talker != 'N' && talker != 'P') return false;
  const std::string_view type = sentence.substr(3, 4);
  return type == "GGA," || type == "VTG," || type == "GSA," || type == "ZDA," || type == "RMC,";
}

bool SentenceQueue::put(std::string_view sentence) {
  // A slot is in use while its first byte is set, so an empty text has no slot.
  if (count_ == kQueueSlots || sentence.empty()) return false;
  slots_[(first_ + count_) % kQueueSlots].assign(sentence.substr(0, kSlotText));
  ++count_;
  return true;
}

bool SentenceQueue::take(std::string& out) {
  if (count_ == 0) return false;
  out.swap(slots_[first_]);
  slots_[first_].clear();
  first_ = (first_ + 1) % kQueueSlots;
  --count_;
  return true;
}

void SentenceQueue::clear() {
  for (auto& slot : slots_) slot.clear();
  first_ = 0;
  count_ = 0;
}

}  // namespace gps
