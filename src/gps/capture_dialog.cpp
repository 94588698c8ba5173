#include "gps/capture_dialog.hpp"

#include <algorithm>
#include <optional>

#include "base/text.hpp"
#include "gps/coordinate_text.hpp"
#include "gps/settings_form.hpp"
#include "platform/codepage.hpp"
#include "tablestore/number_text.hpp"
#include "ui/form.hpp"
#include "ui/host.hpp"

namespace gps {

namespace {

namespace sf = settings_form;

constexpr const char* kCaption = "Capture Waypoint";
constexpr const char* kUseAnywayText = "WayPoint Not\nFinished Averaging !\nUse Anyway?";
constexpr const char* kNameRequiredText = "WayPoint Name Required !";
constexpr int kWidth = 200, kLabelWidth = 24, kFieldX = 40;

ui::Form captureForm(CaptureMode mode) {
  const bool browser = mode == CaptureMode::kBrowser;
  ui::Form f;
  f.resource = kCaptureDialog;
  f.caption = kCaption;
  f.size = {0, 0, kWidth, sf::rowY(6) + sf::kButtonHeight + sf::kMargin};
  const int wide = kWidth - 2 * sf::kMargin;
  f.controls.push_back(sf::label(kWaypointNameEntry + 10, "Edit Waypoint Name", 0, wide));
  ui::Control name = sf::entry(kWaypointNameEntry, 1, sf::kMargin, wide, kWaypointNameChars, false);
  f.controls.push_back(name);
  f.controls.push_back({kWaypointPositionGroup, ui::ControlKind::Group, "Waypoint Position",
                        {sf::kMargin - 4, sf::rowY(2) - 4, wide + 8, 3 * sf::kRowStep}});
  const int fieldWidth = kWidth - kFieldX - 2 * sf::kMargin;
  // Half a row up, so both lines stand inside the group's frame.
  auto lifted = [](ui::Control c) {
    c.rect.y -= sf::kRowStep / 2;
    return c;
  };
  f.controls.push_back(lifted(sf::label(kWaypointLatitudeText + 10, "Lat:", 3, kLabelWidth)));
  f.controls.push_back(lifted(sf::label(kWaypointLongitudeText + 10, "Lon:", 4, kLabelWidth)));
  for (int id : {kWaypointLatitudeText, kWaypointLongitudeText}) {
    const int row = id == kWaypointLatitudeText ? 3 : 4;
    if (browser) {
      f.controls.push_back(lifted(sf::entry(id, row, kFieldX, fieldWidth, 20, false)));
    } else {
      f.controls.push_back(lifted({id, ui::ControlKind::Static, "", {kFieldX, sf::rowY(row), fieldWidth, 10}}));
    }
  }
  const int y = sf::rowY(5);
  f.controls.push_back({kRecaptureButton, ui::ControlKind::Button, browser ? "Capture GPS" : "Re-Capture",
                        {sf::kMargin, y, 60, sf::kButtonHeight}});
  f.controls.push_back({kAverageToggle, ui::ControlKind::CheckBox, "&Avg", {80, y, 32, 10}});
  f.controls.push_back(sf::entry(kPositionsLeftEntry, 5, 116, 28, 5, false));
  sf::addOkCancel(f, kWidth, sf::rowY(6));
  f.firstFocus = kWaypointNameEntry;
  return f;
}

struct LatLon {
  double latitude, longitude;
};

class CaptureController : public ui::FormController {
 public:
  CaptureController(ui::Host& host, GpsState& gps, const CaptureSetup& setup, WaypointRecord& waypoint)
      : host_(host), gps_(gps), setup_(setup), waypoint_(waypoint),
        shown_{waypoint.latitude, waypoint.longitude} {
    format_ = gps_.withLock([](GpsData& d) { return d.parms.coordinateFormat(); });
  }

  void onInit(ui::FormView& view) override {
    const std::string name = platform::toWide(waypoint_.name);
    view.setText(kWaypointNameEntry, base::firstCharacters(name, kWaypointNameChars));
    view.setFocus(kWaypointNameEntry);
    show(view, shown_);
    sum_ = shown_;
    count_ = 1;
    left_ = kDefaultPositionsLeft;
    view.setText(kPositionsLeftEntry, std::to_string(left_));
    view.setChecked(kAverageToggle, false);
    view.startTimer(kCaptureTimer, kCaptureTickMs);
  }

  void onTimer(ui::FormView& view, int timerId) override {
    if (timerId != kCaptureTimer || !averaging_) return;
    GpsData fix;
    if (!gps_.takeNewFix(kWaypointFix, &fix)) return;
    // The flag is cleared either way; only a real fix joins the mean.
    if (!setup_.gpsEnabled || !fix.position.valid) return;
    if (left_ > 0) {
      sum_.latitude += fix.position.latitude;
      sum_.longitude += fix.position.longitude;
      count_ += 1;
      --left_;
      show(view, {sum_.latitude / count_, sum_.longitude / count_});
      view.setText(kPositionsLeftEntry, std::to_string(left_));
    }
    if (left_ <= 0) stopAveraging(view);
  }

  void onCommand(ui::FormView& view, int id) override {
    switch (id) {
      case kRecaptureButton: return recapture(view);
      case kAverageToggle: return view.checked(kAverageToggle) ? startAveraging(view) : stopAveraging(view);
      case ui::kIdOkButton: return ok(view);
      case ui::kIdCancelButton: return finish(view, 0);
      default: return;
    }
  }

 private:
  std::optional<LatLon> currentFix() {
    if (!setup_.gpsEnabled) return std::nullopt;
    return gps_.withLock([](GpsData& d) -> std::optional<LatLon> {
      if (!d.position.valid) return std::nullopt;
      return LatLon{d.position.latitude, d.position.longitude};
    });
  }

  void show(ui::FormView& view, LatLon p) {
    shown_ = p;
    if (setup_.mode == CaptureMode::kBrowser) {
      view.setText(kWaypointLatitudeText, base::format("%14.8f", p.latitude));
      view.setText(kWaypointLongitudeText, base::format("%14.8f", p.longitude));
    } else {
      const CoordinateTexts t = coordinateTexts(p.latitude, p.longitude, format_);
      view.setText(kWaypointLatitudeText, t.latitude);
      view.setText(kWaypointLongitudeText, t.longitude);
    }
  }

  void recapture(ui::FormView& view) {
    stopAveraging(view);
    if (const auto p = currentFix()) return show(view, *p);
    host_.beep();
  }

  void startAveraging(ui::FormView& view) {
    const auto requested = sf::wholeNumber(base::trim(view.text(kPositionsLeftEntry)), false);
    if (!requested) {
      view.setChecked(kAverageToggle, false);
      ui::inform(host_, "Can't Read Requested Times", "Error");
      return;
    }
    const auto p = currentFix();
    if (!p) {
      view.setChecked(kAverageToggle, false);
      host_.beep();
      return;
    }
    left_ = std::clamp<std::int32_t>(*requested, 1, kMostPositionsLeft);
    view.setText(kPositionsLeftEntry, std::to_string(left_));
    sum_ = *p;
    count_ = 1;
    show(view, *p);
    // A fix handled before averaging began is the start position itself.
    (void)gps_.takeNewFix(kWaypointFix);
    averaging_ = true;
  }

  void stopAveraging(ui::FormView& view) {
    averaging_ = false;
    view.setChecked(kAverageToggle, false);
  }

  void ok(ui::FormView& view) {
    if (averaging_) {
      if (ui::askYesNo(host_, kUseAnywayText, kCaption) != ui::kIdYes) return;
      stopAveraging(view);
    }
    const std::string name = view.text(kWaypointNameEntry);
    if (base::trim(name).empty()) {
      ui::inform(host_, kNameRequiredText, kCaption);
      view.setFocus(kWaypointNameEntry);
      return;
    }
    waypoint_.name = platform::toNarrow(base::firstCharacters(name, kWaypointNameChars));
    if (setup_.mode == CaptureMode::kBrowser) {
      waypoint_.latitude = tablestore::parseNumber(view.text(kWaypointLatitudeText));
      waypoint_.longitude = tablestore::parseNumber(view.text(kWaypointLongitudeText));
    } else {
      waypoint_.latitude = shown_.latitude;
      waypoint_.longitude = shown_.longitude;
    }
    finish(view, 1);
  }

  void finish(ui::FormView& view, int result) {
    view.stopTimer(kCaptureTimer);
    averaging_ = false;
    if (setup_.redraw) setup_.redraw();
    view.end(result);
  }

  ui::Host& host_;
  GpsState& gps_;
  const CaptureSetup& setup_;
  WaypointRecord& waypoint_;
  int format_ = 0;
  LatLon shown_;
  LatLon sum_{0, 0};
  double count_ = 1;
  std::int32_t left_ = kDefaultPositionsLeft;
  bool averaging_ = false;
};

}  // namespace

int captureWaypoint(ui::Host& host, GpsState& gps, const CaptureSetup& setup, WaypointRecord& waypoint) {
  WaypointRecord working = waypoint;
  CaptureController controller(host, gps, setup, working);
  const int result = host.runForm(captureForm(setup.mode), controller);
  if (result == 1) waypoint = working;
  return result;
}

}  // namespace gps
