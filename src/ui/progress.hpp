#pragma once
// Long work behind a progress window: a worker thread does the work and
// reports a percentage and a text line under the progress lock; the UI
// thread shows them until the worker ends, and the window's result is the
// worker's result.
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

namespace ui {

class Host;

struct ProgressSpec {
  int resource = 230;     // dialog resource of this kind of progress window
  std::string title;      // the window's title line
  std::string line1;      // first text line
  std::string line2;      // second text line (the worker may replace it)
};

// What worker and window share, under one lock.
class Progress {
 public:
  struct Snapshot {
    int percent = 0;
    std::string line;
    bool finished = false;
    int result = 0;
    unsigned serial = 0;  // changes with every report
  };
  // Worker side: a new percentage (clamped to 0-100) and line.
  void report(int percent, std::string_view line);
  void finish(int result);
  // UI side.
  Snapshot snapshot() const;
  // Called (on the worker's thread) after each report, to wake the window.
  std::function<void()> onReport;

 private:
  mutable std::mutex lock_;
  Snapshot state_;
};

// Runs worker on its own thread while the host shows the progress window;
// returns the worker's result. When the thread cannot be started the user is
// told ("Can't Launch DlgMsg Thread!", caption "Error") and the result is -1.
int runWithProgress(Host& host, const ProgressSpec& desc, std::function<int(Progress&)> worker);

}  // namespace ui
