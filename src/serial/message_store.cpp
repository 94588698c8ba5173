#include "serial/message_store.hpp"

#include <algorithm>

namespace serial {

void MessageStore::store(const std::string& line) {
  if (line.empty()) return;
  Slot* target = nullptr;
  for (Slot& s : slots_) {
    if (!s.ready) {
      target = &s;
      break;
    }
  }
  if (target == nullptr) {
    clear();
    target = &slots_[0];
  }
  target->text.assign(line, 0, std::min(line.size(), kMessageText));
  target->ready = true;
  target->order = next_++;
}

bool MessageStore::take(std::string& out, std::size_t maxLength) {
  out.clear();
  if (maxLength == 0) return false;
  Slot* oldest = nullptr;
  for (Slot& s : slots_) {
    if (s.ready && (oldest == nullptr || s.order < oldest->order)) oldest = &s;
  }
  if (oldest == nullptr) return false;
  out.assign(oldest->text, 0, std::min(oldest->text.size(), maxLength));
  oldest->ready = false;
  oldest->text.clear();
  return true;
}

void MessageStore::clear() {
  for (Slot& s : slots_) {
    s.ready = false;
    s.text.clear();
  }
}

std::size_t MessageStore::count() const {
  return static_cast<std::size_t>(std::count_if(slots_.begin(), slots_.end(), [](const Slot& s) { return s.ready; }));
}

}  // namespace serial
