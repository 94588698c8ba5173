#pragma once
// The key queue: at most 5 waiting keys under one lock. Filled by the front
// ends and by parts that inject keys (touch buttons, sensors, timers); emptied
// by the field editors and every prompt of the engine. It also carries the
// cell of the last mouse click and the abort request that ends every editing
// loop while data collection is being shut down.
#include <array>
#include <mutex>

#include "ui/keys.hpp"

namespace ui {

class KeyQueue {
 public:
  static constexpr int kCapacity = 5;

  // Appends a key; a key pushed while 5 are waiting is dropped (returns false).
  bool push(KeyCode key);
  // A mouse code (513 click, 515 double click, 512 release) with its cell
  // (row and column from 1); the cell is recorded even when the key is dropped.
  bool pushMouse(KeyCode key, int row, int col);
  // Takes the next key, or 0 when none waits. Ctrl+E (5) comes out as Escape.
  // After abort() every take returns key::kAbort until reset().
  KeyCode take();
  // The next key without taking it, or 0; Ctrl+E shows as Escape.
  KeyCode peek() const;
  int count() const;
  // Throws away the waiting keys (not the abort request).
  void clear();

  // Asks every loop that takes keys to end: take() returns key::kAbort.
  void abort();
  bool aborted() const;
  // Clears the abort request and the waiting keys (a new edit session).
  void reset();

  // The cell of the last mouse code pushed, {0, 0} before any.
  struct Cell {
    int row = 0, col = 0;
  };
  Cell lastClick() const;

 private:
  mutable std::mutex lock_;
  std::array<KeyCode, kCapacity + 1> ring_{};  // one slot always free
  int head_ = 0, tail_ = 0, count_ = 0;
  bool aborted_ = false;
  Cell click_;
};

}  // namespace ui
