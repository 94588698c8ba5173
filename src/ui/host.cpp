#include "ui/host.hpp"

#include "platform/clock.hpp"

namespace ui {

void Host::showProgress(const ProgressSpec&, Progress& progress) {
  while (!progress.snapshot().finished) {
    pump();
    platform::clock().sleep(10);
  }
}

}  // namespace ui
