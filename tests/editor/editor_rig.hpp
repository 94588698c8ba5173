#pragma once
// A field editor on a stage: the scripted host, a Screen, a key queue, the
// copy buffer, the fake clock and a recorder of warnings. Keys are scripted
// ahead; the rig feeds them into the queue (5 at a time) as the editor waits,
// runs a scripted look at the screen when the editor has taken every key
// before it, and aborts the queue when the script runs out, so an editor
// that does not end where the test expects returns the abort code.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "editor/field_context.hpp"
#include "support/fake_clock.hpp"
#include "support/scripted_host.hpp"
#include "ui/key_queue.hpp"
#include "ui/screen.hpp"

namespace editor_tests {

struct Warning {
  std::vector<std::string> lines;
  int ticks = 0;
};

class EditorRig {
 public:
  EditorRig() {
    host.onPump = [this] { feed(); };
  }
  ~EditorRig() {
    for (const Step& step : steps_) {
      if (step.look) ADD_FAILURE() << "a scripted look at the screen never ran";
    }
  }
  EditorRig(const EditorRig&) = delete;
  EditorRig& operator=(const EditorRig&) = delete;

  // --- the script
  EditorRig& key(ui::KeyCode code) {
    steps_.push_back({code, 0, 0, {}});
    return *this;
  }
  EditorRig& type(std::string_view text) {
    for (char c : text) key(static_cast<unsigned char>(c));
    return *this;
  }
  EditorRig& click(int row, int col) {
    steps_.push_back({ui::key::kMouseClick, row, col, {}});
    return *this;
  }
  // Runs look once the editor has taken every key scripted before it.
  EditorRig& then(std::function<void()> look) {
    steps_.push_back({0, 0, 0, std::move(look)});
    return *this;
  }

  // Runs an editor over buffer with the script, returning its exit key.
  using Editor = ui::KeyCode (*)(editor::FieldContext&, const editor::CellSpot&,
                                 const editor::FieldOptions&, std::string&, bool&);
  ui::KeyCode run(Editor edit, const editor::FieldOptions& opts, std::string& buffer) {
    feed();
    return edit(ctx, spot, opts, buffer, changed);
  }

  // The characters drawn in the cell, and the cursor's place in it.
  std::string cellText(int width) const {
    return screen.rowText(spot.row).substr(static_cast<std::size_t>(spot.col - 1),
                                           static_cast<std::size_t>(width));
  }
  int cursorOffset() const { return screen.col() - spot.col; }
  // Keys scripted but not taken by the editor.
  int keysLeft() const {
    int left = keys.count();
    for (const Step& step : steps_) left += step.look ? 0 : 1;
    return left;
  }

  testing_support::FakeClock clock;
  platform::ScopedClock useClock{clock};
  testing_support::ScriptedHost host;
  ui::Screen screen{25, 80};
  ui::KeyQueue keys;
  editor::CopyBuffer copy;
  std::vector<Warning> warnings;
  editor::CellSpot spot{3, 10, 0};
  bool changed = false;
  editor::FieldContext ctx{host, screen, keys, copy,
                           [this](const std::vector<std::string>& lines, int ticks) {
                             warnings.push_back({lines, ticks});
                           }};

 private:
  struct Step {
    ui::KeyCode code;
    int row, col;
    std::function<void()> look;
  };

  void feed() {
    while (!steps_.empty()) {
      Step& step = steps_.front();
      if (step.look) {
        if (keys.count() > 0) return;
        auto look = std::move(step.look);
        steps_.pop_front();
        look();
        continue;
      }
      if (keys.count() >= ui::KeyQueue::kCapacity) return;
      if (step.code == ui::key::kMouseClick) {
        keys.pushMouse(step.code, step.row, step.col);
      } else {
        keys.push(step.code);
      }
      steps_.pop_front();
    }
    if (keys.count() == 0) keys.abort();
  }

  std::deque<Step> steps_;
};

inline editor::FieldOptions textField(int width) {
  editor::FieldOptions opts;
  opts.width = width;
  return opts;
}

inline editor::FieldOptions numberField(int width, int decimals) {
  editor::FieldOptions opts;
  opts.width = width;
  opts.decimals = decimals;
  opts.numericField = true;
  return opts;
}

}  // namespace editor_tests
