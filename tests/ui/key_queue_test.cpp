// The key queue's abort code and the cell of the last click (its order and
// Ctrl+E are tested with the forms).
#include "ui/key_queue.hpp"

#include <gtest/gtest.h>

namespace {

TEST(KeyQueue, AbortEndsEveryTakeUntilReset) {
  ui::KeyQueue q;
  q.push('x');
  q.abort();
  EXPECT_EQ(q.take(), ui::key::kAbort);
  EXPECT_EQ(q.take(), ui::key::kAbort);
  q.reset();
  EXPECT_EQ(q.take(), 0);  // the waiting key went with the reset
}

TEST(KeyQueue, AMouseCodeRecordsItsCellEvenWhenTheQueueIsFull) {
  ui::KeyQueue q;
  for (int i = 0; i < 5; ++i) q.push('k');
  EXPECT_FALSE(q.pushMouse(ui::key::kMouseClick, 7, 12));
  EXPECT_EQ(q.lastClick().row, 7);
  EXPECT_EQ(q.lastClick().col, 12);
}

}  // namespace
