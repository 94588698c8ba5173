#include "gps/averaging_dialog.hpp"

#include <optional>

#include "base/text.hpp"
#include "gps/coordinate_text.hpp"
#include "gps/fix_quality.hpp"
#include "gps/parms.hpp"
#include "gps/settings_form.hpp"
#include "ui/form.hpp"
#include "ui/host.hpp"

namespace gps {

namespace {

namespace sf = settings_form;

constexpr const char* kCaption = "Averaging Points";
constexpr const char* kAveragingText = "Please Wait - Averaging Points";
constexpr const char* kCompleteText = "Averaging Complete - Press OK to Store";
constexpr const char* kMustWaitText = "WayPoint Not\nFinished Averaging !\nMust Wait Until Finished.";
constexpr const char* kUseAnywayText = "WayPoint Not\nFinished Averaging !\nUse Anyway?";
constexpr const char* kNoFixesText = "No Fixes Averaged Yet\nWait For A Fix Or Cancel.";
constexpr int kWidth = 200, kLabelWidth = 56, kFieldX = 72;

ui::Control text(int id, int row, int x, int width) {
  return {id, ui::ControlKind::Static, "", {x, sf::rowY(row), width, 10}};
}

ui::Form averagingForm() {
  ui::Form f;
  f.resource = kAveragingDialog;
  f.caption = kCaption;
  f.size = {0, 0, kWidth, sf::rowY(9) + sf::kButtonHeight + sf::kMargin};  // the buttons on the last row
  const int fieldWidth = kWidth - kFieldX - sf::kMargin;
  const int wide = kWidth - 2 * sf::kMargin;
  f.controls.push_back(sf::label(kAverageLatitudeText + 10, "Latitude:", 0, kLabelWidth));
  f.controls.push_back(text(kAverageLatitudeText, 0, kFieldX, fieldWidth));
  f.controls.push_back(sf::label(kAverageLongitudeText + 10, "Longitude:", 1, kLabelWidth));
  f.controls.push_back(text(kAverageLongitudeText, 1, kFieldX, fieldWidth));
  f.controls.push_back(sf::label(kAverageElevationText + 10, "Elevation:", 2, kLabelWidth));
  f.controls.push_back(text(kAverageElevationText, 2, kFieldX, fieldWidth));
  // The label's two lines stand beside the count.
  f.controls.push_back({kPointsLeftEntry + 10, ui::ControlKind::Static, "Points Left To",
                        {sf::kMargin, sf::rowY(3), kLabelWidth, 8}});
  f.controls.push_back({kPointsLeftEntry + 11, ui::ControlKind::Static, "Average",
                        {sf::kMargin, sf::rowY(3) + 8, kLabelWidth, 8}});
  f.controls.push_back(sf::entry(kPointsLeftEntry, 3, kFieldX, 28, 5, false));
  f.controls.push_back(text(kAverageStatusText, 5, sf::kMargin, wide));
  f.controls.push_back(text(kAverageFixText, 6, sf::kMargin, wide));
  f.controls.push_back(text(kAverageMessageText, 7, sf::kMargin, wide));
  f.controls.push_back(sf::checkBox(kAutoStoreCheck, "Auto Store After Averaging", 8, 130));
  const int y = sf::rowY(9);
  const int w = sf::kButtonWidth, gap = 6, left = (kWidth - 3 * w - 2 * gap) / 2;
  f.controls.push_back(ui::defaultButton(ui::kIdOkButton, "OK", {left, y, w, sf::kButtonHeight}));
  f.controls.push_back({kRestartButton, ui::ControlKind::Button, "&Restart", {left + w + gap, y, w, sf::kButtonHeight}});
  f.controls.push_back(ui::cancelButton(ui::kIdCancelButton, "Cancel", {left + 2 * (w + gap), y, w, sf::kButtonHeight}));
  f.firstFocus = ui::kIdOkButton;
  return f;
}

struct Here {
  double latitude, longitude, height;
};

Here currentPosition(GpsState& gps) {
  return gps.withLock([](GpsData& d) {
    return Here{d.position.latitude, d.position.longitude, d.position.heightEllipsoid};
  });
}

// Sets the live elevation reference and remakes a current position's texts
// in it, so the status line shows the height the dialog averages.
void useElevationRef(GpsState& gps, int ref) {
  gps.withLock([ref](GpsData& d) {
    d.parms.setElevationRef(ref);
    if (d.position.valid) formatPosition(d.position, d.parms);
  });
}

class AveragingController : public ui::FormController {
 public:
  AveragingController(ui::Host& host, const std::string& installRoot, char sep, GpsState& gps,
                      const apps::AppCtl& app, GpsParms& parms, int positions, bool allowUnfinished,
                      AveragedPoint& out)
      : host_(host), root_(installRoot), sep_(sep), gps_(gps), app_(app), parms_(parms), positions_(positions),
        allowUnfinished_(allowUnfinished), out_(out) {
    shown_ = parms_;
    shown_.setElevationRef(kHae);
  }

  void onInit(ui::FormView& view) override {
    const Here h = currentPosition(gps_);
    average_.start(h.latitude, h.longitude, h.height, positions_);
    showAverage(view);
    showLeft(view);
    view.setText(kAverageMessageText, kAveragingText);
    view.setChecked(kAutoStoreCheck, parms_.autoStore());
    view.startTimer(kAveragingTimer, kAveragingTickMs);
  }

  void onTimer(ui::FormView& view, int timerId) override {
    if (timerId != kAveragingTimer) return;
    const std::string status = gps_.withLock([](GpsData& d) { return d.position.statusText; });
    if (status.find_first_not_of(' ') != std::string::npos) view.setText(kAverageStatusText, status);
    GpsData fix;
    if (!average_.wantsFix() || !gps_.takeNewFix(kAveragingFix, &fix)) return;
    const std::string verdict = averagingCheck(app_, parms_, fix);
    view.setText(kAverageFixText, verdict);
    if (verdict != kCollectingFixes) return;  // a failing fix is skipped; averaging waits for good ones
    (void)average_.add(fix.position.latitude, fix.position.longitude, fix.position.heightEllipsoid);
    showAverage(view);
    showLeft(view);
    if (!average_.finished()) return;
    if (view.checked(kAutoStoreCheck)) return store(view);
    view.setText(kAverageMessageText, kCompleteText);
  }

  void onCommand(ui::FormView& view, int id) override {
    if (id == kRestartButton) return restart(view);
    if (id == ui::kIdCancelButton) {
      view.stopTimer(kAveragingTimer);
      return view.end(0);
    }
    if (id != ui::kIdOkButton) return;
    if (average_.running()) {
      if (!allowUnfinished_) {
        (void)host_.messageBox(kMustWaitText, kCaption, ui::kMbOk | ui::kMbIconStop | ui::kMbTopmost);
        return;
      }
      if (ui::askYesNo(host_, kUseAnywayText, kCaption) != ui::kIdYes) return;
    }
    if (average_.accepted() == 0) {
      // The start position alone is no measurement: it may be the receiver's
      // fixed start-up position or one long gone.
      ui::inform(host_, kNoFixesText, kCaption);
      return;
    }
    store(view);
  }

 private:
  // The count comes from the points-left field when the user typed one
  // there, else from the level's own count.
  void restart(ui::FormView& view) {
    const Here h = currentPosition(gps_);
    const std::string typed = view.text(kPointsLeftEntry);
    std::optional<std::int32_t> requested = positions_;
    if (typed != leftShown_) requested = sf::wholeNumber(base::trim(typed), false);
    average_.restart(h.latitude, h.longitude, h.height, requested ? *requested : positions_);
    showAverage(view);
    if (!requested) {
      average_.stop();
      view.setText(kAverageMessageText, "");
      ui::inform(host_, "Can't Read Requested Times", "Error");
      return;
    }
    showLeft(view);
    view.setText(kAverageMessageText, kAveragingText);
  }

  void showAverage(ui::FormView& view) {
    Position p;
    p.latitude = average_.latitude();
    p.longitude = average_.longitude();
    p.heightEllipsoid = average_.height();
    formatPosition(p, shown_);
    view.setText(kAverageLatitudeText, p.latitudeText);
    view.setText(kAverageLongitudeText, p.longitudeText);
    view.setText(kAverageElevationText, p.elevationText);
    texts_ = p;
  }

  void showLeft(ui::FormView& view) {
    leftShown_ = std::to_string(average_.positionsLeft());
    view.setText(kPointsLeftEntry, leftShown_);
  }

  void store(ui::FormView& view) {
    view.stopTimer(kAveragingTimer);
    average_.stop();
    out_.latitude = average_.latitude();
    out_.longitude = average_.longitude();
    out_.heightEllipsoid = average_.height();
    out_.latitudeText = texts_.latitudeText;
    out_.longitudeText = texts_.longitudeText;
    out_.elevationText = texts_.elevationText;
    parms_.setAutoStore(view.checked(kAutoStoreCheck));
    (void)writeGpsParms(host_, root_, parms_, sep_);
    view.end(1);
  }

  ui::Host& host_;
  const std::string& root_;
  char sep_;
  GpsState& gps_;
  const apps::AppCtl& app_;
  GpsParms& parms_;  // as read from GPS_Parms.dft
  GpsParms shown_;   // the same, with heights above the ellipsoid
  int positions_;
  bool allowUnfinished_;
  AveragedPoint& out_;
  PointAverage average_;
  Position texts_;
  std::string leftShown_;  // what the points-left field was last given
};

}  // namespace

int averagingDialog(ui::Host& host, const std::string& installRoot, char sep, GpsState& gps,
                    const apps::AppCtl& app, int positionsToAverage, bool allowUnfinished, AveragedPoint& out) {
  GpsParms parms = gps.withLock([](GpsData& d) { return d.parms; });
  (void)readGpsParms(host, installRoot, parms, sep);
  const int savedRef = gps.withLock([](GpsData& d) { return d.parms.elevationRef(); });
  useElevationRef(gps, kHae);
  AveragingController controller(host, installRoot, sep, gps, app, parms, positionsToAverage, allowUnfinished,
                                 out);
  const int result = host.runForm(averagingForm(), controller) == 1 ? 1 : 0;
  useElevationRef(gps, savedRef);
  return result;
}

}  // namespace gps
