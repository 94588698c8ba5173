#include "gps/navigation.hpp"

#include <algorithm>

#include "base/text.hpp"
#include "gps/nav_dialogs.hpp"
#include "gps/nav_scene.hpp"
#include "ui/canvas.hpp"
#include "ui/host.hpp"

namespace gps {

namespace {

void refuse(ui::Host& host, const char* text) { (void)ui::inform(host, text, "Error"); }

class NavController : public ui::CanvasController {
 public:
  NavController(ui::Host& host, const NavigationContext& context, const std::vector<WaypointEntry>& list,
                int& start, int& destination, std::vector<WaypointEntry>& background, bool& includeTrack)
      : host_(host), context_(context), list_(list), start_(start), destination_(destination),
        background_(background), includeTrack_(includeTrack) {}

  void onOpen(ui::CanvasView& view) override { setUpAnew(view); }
  void onTimer(ui::CanvasView& view) override { update(view); }
  void onResize(ui::CanvasView& view) override { setUpAnew(view); }
  ui::Drawing draw(const ui::CanvasMetrics& m) override { return layoutNavScene(scene_, m); }

  void onCommand(ui::CanvasView& view, int id) override {
    switch (id) {
      case kNavBackgroundCommand:
        (void)backgroundDialog(host_, list_, background_, includeTrack_);
        break;
      case kNavFromToCommand:
        (void)fromToDialog(host_, list_, start_, destination_);
        break;
      case kNavPresentationCommand:
        if (context_.presentation) context_.presentation();
        break;
      default:
        return;
    }
    setUpAnew(view);
  }

 private:
  void setUpAnew(ui::CanvasView& view) {
    track_.clear();
    update(view);
  }

  // The handlers change the state only under the GPS lock, so the copy is
  // never taken mid-update and there is nothing to wait for.
  void update(ui::CanvasView& view) {
    const GpsData now = context_.gps ? context_.gps->snapshot() : GpsData();
    // A position without a fix is not where the crew walked.
    if (now.position.valid) track_.add(now.position.latitude, now.position.longitude);
    NavInputs in;
    in.gps = &now;
    in.list = &list_;
    in.start = clampIndex(start_, list_.size());
    in.destination = clampIndex(destination_, list_.size());
    in.background = &background_;
    in.track = &track_;
    in.includeTrack = includeTrack_;
    in.landscape = context_.landscape;
    scene_ = buildNavScene(in);
    view.redraw();
  }

  ui::Host& host_;
  const NavigationContext& context_;
  const std::vector<WaypointEntry>& list_;
  int& start_;
  int& destination_;
  std::vector<WaypointEntry>& background_;
  bool& includeTrack_;
  TrackLog track_;
  NavScene scene_;
};

}  // namespace

int Navigation::open(ui::Host& host, const NavigationContext& context) {
  if (!context.gpsEnabled) {
    refuse(host, "GPS Not Enabled");
    return 0;
  }
  if (!context.detected) {
    refuse(host, "GPS Not Detected");
    return 0;
  }
  const std::vector<WaypointEntry> list = loadWaypointList(context.waypointTable);
  if (list.size() < 2) {
    refuse(host, "No Waypoints Available\nMust create Waypoints First");
    return 0;
  }
  // The list may have changed since the last time: indexes are held within it.
  start_ = clampIndex(start_, list.size());
  destination_ = clampIndex(destination_, list.size());
  if (start_ == 0 && destination_ == 0) destination_ = 1;
  background_.erase(std::remove_if(background_.begin(), background_.end(),
                                   [&](const WaypointEntry& b) {
                                     return std::find(list.begin() + 1, list.end(), b) == list.end();
                                   }),
                    background_.end());
  if (fromToDialog(host, list, start_, destination_) != 1) return 0;

  ui::CanvasWindowDesc desc;
  desc.windowClass = kNavWindowClass;
  desc.title = kNavWindowTitle;
  desc.menu = {{kNavBackgroundCommand, "&Background Points", true, {}},
               {kNavFromToCommand, "&From / To", true, {}},
               {kNavPresentationCommand, "&Presentation", true, {}}};
  desc.timerMs = kNavRedrawMs;
  NavController controller(host, context, list, start_, destination_, background_, includeTrack_);
  const ui::Host::CanvasOutcome outcome = host.runCanvasWindow(desc, controller);
  if (!outcome.shown) {
    (void)ui::inform(host, base::format("CreateGraphWin error=%d.\r\n", outcome.error), "Error");
    return 0;
  }
  return 1;
}

}  // namespace gps
