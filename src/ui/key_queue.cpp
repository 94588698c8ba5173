#include "ui/key_queue.hpp"

namespace ui {

namespace {
KeyCode deliver(KeyCode k) { return k == 5 ? key::kEscape : k; }
}  // namespace

bool KeyQueue::push(KeyCode key) {
  std::lock_guard<std::mutex> guard(lock_);
  if (count_ >= kCapacity) return false;
  ring_[tail_] = key;
  tail_ = (tail_ + 1) % static_cast<int>(ring_.size());
  ++count_;
  return true;
}

KeyCode KeyQueue::take() {
  std::lock_guard<std::mutex> guard(lock_);
  if (count_ == 0) return 0;
  KeyCode k = ring_[head_];
  head_ = (head_ + 1) % static_cast<int>(ring_.size());
  --count_;
  return deliver(k);
}

KeyCode KeyQueue::peek() const {
  std::lock_guard<std::mutex> guard(lock_);
  return count_ == 0 ? 0 : deliver(ring_[head_]);
}

int KeyQueue::count() const {
  std::lock_guard<std::mutex> guard(lock_);
  return count_;
}

void KeyQueue::clear() {
  std::lock_guard<std::mutex> guard(lock_);
  head_ = tail_ = count_ = 0;
}

}  // namespace ui
