#include "progress_dialog.hpp"

#include "form_dialog.hpp"
#include "ui/form.hpp"

namespace frontend {

namespace {

constexpr int kLine1 = kProgressLine1, kLine2 = kProgressLine2, kBar = kProgressBar;
constexpr int kRefreshTimer = 1;
constexpr int kRefreshMs = 50;

ui::Form progressForm(const ui::ProgressSpec& desc) {
  ui::Form f;
  f.resource = desc.resource;
  f.caption = desc.title;
  f.size = {0, 0, 200, 62};
  f.controls.push_back({kLine1, ui::ControlKind::Static, desc.line1, {8, 6, 184, 10}});
  f.controls.push_back({kLine2, ui::ControlKind::Static, desc.line2, {8, 20, 184, 10}});
  f.controls.push_back({kBar, ui::ControlKind::Progress, "", {8, 38, 184, 12}});
  return f;
}

// Follows the shared progress record; the worker cannot be cancelled, so
// Escape and the close box do nothing.
class ProgressController final : public ui::FormController {
 public:
  explicit ProgressController(ui::Progress& progress) : progress_(progress) {}

  void onInit(ui::FormView& view) override {
    view.startTimer(kRefreshTimer, kRefreshMs);
    refresh(view);
  }
  void onCommand(ui::FormView&, int) override {}
  void onTimer(ui::FormView& view, int) override { refresh(view); }

 private:
  void refresh(ui::FormView& view) {
    ui::Progress::Snapshot s = progress_.snapshot();
    if (s.serial != shown_) {
      shown_ = s.serial;
      view.setProgress(kBar, s.percent);
      if (!s.line.empty()) view.setText(kLine2, s.line);
    }
    if (s.finished) {
      view.stopTimer(kRefreshTimer);
      view.end(s.result);
    }
  }

  ui::Progress& progress_;
  unsigned shown_ = ~0u;
};

}  // namespace

void runProgressDialog(HINSTANCE instance, HWND owner, const ui::ProgressSpec& desc,
                       ui::Progress& progress) {
  ProgressController controller(progress);
  runFormDialog(instance, owner, progressForm(desc), controller);
}

}  // namespace frontend
