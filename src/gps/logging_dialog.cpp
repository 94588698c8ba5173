#include "gps/logging_dialog.hpp"

#include <cstdint>

#include <optional>

#include "base/text.hpp"
#include "gps/settings_form.hpp"
#include "ui/host.hpp"

namespace gps {

namespace {

namespace sf = settings_form;

constexpr int kWidth = 180, kLabelWidth = 108, kFieldX = 124, kFieldWidth = 40;
constexpr const char* kCaption = "Position Logging Parameters";
constexpr int kIntervalNote = 2555;

ui::Form loggingForm() {
  ui::Form f;
  f.resource = kLoggingDialog;
  f.caption = kCaption;
  f.size = {0, 0, kWidth, 100};
  f.controls.push_back(sf::label(kRecordingIntervalEntry + 10, "Position Recording Interval", 0, kLabelWidth));
  // Seven characters: a minus and six digits.
  f.controls.push_back(sf::entry(kRecordingIntervalEntry, 0, kFieldX, kFieldWidth, 7, false));
  f.controls.push_back({kIntervalNote, ui::ControlKind::Static, "(seconds; below 0: feet apart)",
                        {sf::kMargin + 8, sf::rowY(0) + 8, kWidth - 2 * sf::kMargin - 8, 8}});
  // The rows under the note move down by its height.
  auto belowNote = [](ui::Control c) {
    c.rect.y += 8;
    return c;
  };
  f.controls.push_back(belowNote(sf::checkBox(kLogDuringWarningsCheck, "Log During Active Warnings", 1, 150)));
  f.controls.push_back(belowNote(sf::checkBox(kAveragePointsCheck, "Average Positions for Points", 2, 150)));
  f.controls.push_back(belowNote(sf::label(kPositionsToAverageEntry + 10, "Positions to Average", 3, kLabelWidth)));
  f.controls.push_back(belowNote(sf::entry(kPositionsToAverageEntry, 3, kFieldX, kFieldWidth, 3, true)));
  sf::addOkCancel(f, kWidth, 80);
  f.firstFocus = kRecordingIntervalEntry;
  return f;
}

class LoggingController : public ui::FormController {
 public:
  LoggingController(ui::Host& host, GpsParms& work) : host_(host), work_(work) {}

  void onInit(ui::FormView& view) override {
    view.setText(kRecordingIntervalEntry, std::to_string(work_.recordingInterval()));
    view.setChecked(kLogDuringWarningsCheck, work_.logDuringWarnings());
    view.setChecked(kAveragePointsCheck, work_.averagePoints());
    view.setText(kPositionsToAverageEntry, std::to_string(work_.positionsToAverage()));
  }

  void onCommand(ui::FormView& view, int id) override {
    if (id == ui::kIdCancelButton) return view.end(0);
    if (id != ui::kIdOkButton) return;
    const auto interval = read(view, kRecordingIntervalEntry, true, "Position Recording Interval");
    if (!interval) return;
    const auto positions = read(view, kPositionsToAverageEntry, false, "Positions to Average");
    if (!positions) return;
    work_.setRecordingInterval(*interval);
    work_.setLogDuringWarnings(view.checked(kLogDuringWarningsCheck));
    work_.setAveragePoints(view.checked(kAveragePointsCheck));
    work_.setPositionsToAverage(*positions);
    view.end(1);
  }

 private:
  std::optional<std::int32_t> read(ui::FormView& view, int id, bool allowMinus, const char* name) {
    return sf::readWholeNumber(host_, view, id, allowMinus, INT32_MAX, name, kCaption);
  }

  ui::Host& host_;
  GpsParms& work_;
};

}  // namespace

int loggingParametersDialog(ui::Host& host, const std::string& installRoot, char sep, GpsParms& parms) {
  return sf::editParms(host, installRoot, sep, parms, loggingForm(), [&](GpsParms& work) { return LoggingController(host, work); });
}

}  // namespace gps
