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

bool KeyQueue::pushMouse(KeyCode key, int row, int col) {
  {
    std::lock_guard<std::mutex> guard(lock_);
    click_ = {row, col};
  }
  return push(key);
}

KeyCode KeyQueue::take() {
  std::lock_guard<std::mutex> guard(lock_);
  if (aborted_) return key::kAbort;
  if (count_ == 0) return 0;
  KeyCode k = ring_[head_];
  head_ = (head_ + 1) % static_cast<int>(ring_.size());
  --count_;
  return deliver(k);
}

KeyCode KeyQueue::peek() const {
  std::lock_guard<std::mutex> guard(lock_);
  if (aborted_) return key::kAbort;
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

void KeyQueue::abort() {
  std::lock_guard<std::mutex> guard(lock_);
  aborted_ = true;
}

bool KeyQueue::aborted() const {
  std::lock_guard<std::mutex> guard(lock_);
  return aborted_;
}

void KeyQueue::reset() {
  std::lock_guard<std::mutex> guard(lock_);
  head_ = tail_ = count_ = 0;
  aborted_ = false;
  click_ = {};
}

KeyQueue::Cell KeyQueue::lastClick() const {
  std::lock_guard<std::mutex> guard(lock_);
  return click_;
}

}  // namespace ui
