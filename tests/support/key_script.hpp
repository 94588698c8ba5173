#pragma once
// Keys for a loop that waits on a KeyQueue and pumps the host: given one at a
// time whenever the queue is empty at a pump, as a crew types them, with
// looks at the screen in between. When the script is used up the queue is
// aborted, so a loop that does not end where the test expects returns.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string_view>

#include "support/scripted_host.hpp"
#include "ui/key_queue.hpp"

namespace testing_support {

class KeyScript {
 public:
  KeyScript(ScriptedHost& host, ui::KeyQueue& keys) : host_(host), keys_(keys) {
    host_.onPump = [this] { feed(); };
  }
  ~KeyScript() {
    host_.onPump = nullptr;
    for (const Step& s : steps_)
      if (s.look) ADD_FAILURE() << "a scripted look at the screen never ran";
  }
  KeyScript(const KeyScript&) = delete;
  KeyScript& operator=(const KeyScript&) = delete;

  KeyScript& key(ui::KeyCode code) {
    steps_.push_back({code, 0, 0, {}});
    return *this;
  }
  KeyScript& type(std::string_view text) {
    for (char c : text) key(static_cast<unsigned char>(c));
    return *this;
  }
  // A mouse code (click 513 by default) on a cell.
  KeyScript& mouse(int row, int col, ui::KeyCode code = ui::key::kMouseClick) {
    steps_.push_back({code, row, col, {}});
    return *this;
  }
  // Runs once every key before it has been taken.
  KeyScript& then(std::function<void()> look) {
    steps_.push_back({0, 0, 0, std::move(look)});
    return *this;
  }
  // Steps not yet given (keys and looks).
  std::size_t left() const { return steps_.size(); }

 private:
  struct Step {
    ui::KeyCode code;
    int row, col;
    std::function<void()> look;
  };
  void feed() {
    if (keys_.count() > 0) return;
    while (!steps_.empty() && steps_.front().look) {
      auto look = std::move(steps_.front().look);
      steps_.pop_front();
      look();
    }
    if (steps_.empty()) {
      keys_.abort();
      return;
    }
    const Step s = steps_.front();
    steps_.pop_front();
    if (s.row > 0) keys_.pushMouse(s.code, s.row, s.col);
    else keys_.push(s.code);
  }

  ScriptedHost& host_;
  ui::KeyQueue& keys_;
  std::deque<Step> steps_;
};

}  // namespace testing_support
