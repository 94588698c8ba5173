#pragma once
// The key queue: at most 5 waiting keys under one lock. Filled by the front
// ends and by parts that inject keys (touch buttons, sensors); emptied by the
// field editors and every prompt of the engine.
#include <array>
#include <mutex>

#include "ui/keys.hpp"

namespace ui {

class KeyQueue {
 public:
  static constexpr int kCapacity = 5;

  // Appends a key; a key pushed while 5 are waiting is dropped (returns false).
  bool push(KeyCode key);
  // Takes the next key, or 0 when none waits. Ctrl+E (5) comes out as Escape.
  KeyCode take();
  // The next key without taking it, or 0; Ctrl+E shows as Escape.
  KeyCode peek() const;
  int count() const;
  void clear();

 private:
  mutable std::mutex lock_;
  std::array<KeyCode, kCapacity + 1> ring_{};  // one slot always free
  int head_ = 0, tail_ = 0, count_ = 0;
};

}  // namespace ui
