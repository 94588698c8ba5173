#include "ui/host.hpp"

#include "platform/clock.hpp"

namespace ui {

void Host::showProgress(const ProgressSpec&, Progress& progress) {
  while (!progress.snapshot().finished) {
    pump();
    platform::clock().sleep(10);
  }
}

std::unique_ptr<EditWindow> Host::openEditWindow(Screen& screen, KeyQueue& keys, const EditWindowSetup& setup) {
  if (editScreen_) return nullptr;
  std::unique_ptr<EditWindow> window = createEditWindow(screen, keys, setup);
  if (!window) return nullptr;
  editScreen_ = &screen;
  editKeys_ = &keys;
  return window;
}

std::unique_ptr<EditWindow> Host::createEditWindow(Screen&, KeyQueue&, const EditWindowSetup&) { return nullptr; }

EditWindow::~EditWindow() {
  host_.editScreen_ = nullptr;
  host_.editKeys_ = nullptr;
}

}  // namespace ui
