#include "ui/host.hpp"

#include "platform/clock.hpp"
#include "ui/select_list.hpp"

namespace ui {

void Host::showProgress(const ProgressSpec&, Progress& progress) {
  while (!progress.snapshot().finished) {
    pump();
    platform::clock().sleep(10);
  }
}

namespace {

void listCommands(const std::vector<MenuItem>& items, const std::string& prefix, std::vector<std::string>& labels,
                  std::vector<int>& ids) {
  for (const MenuItem& m : items) {
    if (!m.enabled) continue;
    if (!m.items.empty()) {
      listCommands(m.items, prefix + m.label + ": ", labels, ids);
    } else if (m.id > 0) {
      labels.push_back(prefix + m.label);
      ids.push_back(m.id);
    }
  }
}

}  // namespace

Host::CanvasOutcome Host::runCanvasWindow(const CanvasWindowDesc&, CanvasController&) { return {}; }

int Host::popupMenu(const std::vector<MenuItem>& items) {
  if (!editScreen_ || !editKeys_) return 0;
  SelectList list;
  std::vector<int> ids;
  listCommands(items, "", list.items, ids);
  if (ids.empty()) {
    beep();
    return 0;
  }
  list.title = "< Hierarchy >";
  list.footer = "< ESC to Abort >";
  const int chosen = selectFromList(*this, *editScreen_, *editKeys_, list);
  return chosen >= 1 && chosen <= static_cast<int>(ids.size()) ? ids[static_cast<std::size_t>(chosen - 1)] : 0;
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
