#include "ui/progress.hpp"

#include <algorithm>
#include <system_error>
#include <thread>

#include "ui/host.hpp"

namespace ui {

void Progress::report(int percent, std::string_view line) {
  {
    std::lock_guard<std::mutex> guard(lock_);
    state_.percent = std::clamp(percent, 0, 100);
    state_.line = std::string(line);
    ++state_.serial;
  }
  if (onReport) onReport();
}

void Progress::finish(int result) {
  {
    std::lock_guard<std::mutex> guard(lock_);
    state_.finished = true;
    state_.result = result;
    ++state_.serial;
  }
  if (onReport) onReport();
}

Progress::Snapshot Progress::snapshot() const {
  std::lock_guard<std::mutex> guard(lock_);
  return state_;
}

int runWithProgress(Host& host, const ProgressSpec& desc, std::function<int(Progress&)> worker) {
  Progress progress;
  // Set before the worker starts, so the window is woken by every report
  // without racing the worker for this field.
  progress.onReport = [&host] { host.post([] {}); };
  std::thread thread;
  try {
    thread = std::thread([&] { progress.finish(worker(progress)); });
  } catch (const std::system_error&) {
    inform(host, "Can't Launch DlgMsg Thread!", "Error");
    return -1;
  }
  host.showProgress(desc, progress);
  thread.join();
  return progress.snapshot().result;
}

}  // namespace ui
