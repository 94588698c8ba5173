#pragma once
// Waiting in real time for what another thread does.
#include <chrono>
#include <thread>

namespace testing_support {

// Polls cond until it holds; false when it still does not after a few
// seconds (the guard of a test that would otherwise hang, not a timing).
template <class Cond>
bool eventually(Cond cond) {
  for (int i = 0; i < 5000; ++i) {
    if (cond()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return cond();
}

}  // namespace testing_support
