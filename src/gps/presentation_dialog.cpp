#include "gps/presentation_dialog.hpp"

#include <cmath>
#include <cstdlib>

#include "base/text.hpp"
#include "gps/settings_form.hpp"
#include "gps/view_dialog.hpp"
#include "ui/host.hpp"

namespace gps {

namespace {

namespace sf = settings_form;

const std::vector<std::string> kBearingTexts = {"True", "Mag"};
const char* const kUnitNames[] = {"Standard", "Metric", "Nautical"};
constexpr double kMaxMagVar = 180.0;

constexpr int kWidth = 188, kLabelWidth = 64, kFieldX = 80, kFieldWidth = 84;

ui::Form presentationForm() {
  ui::Form f;
  f.resource = kPresentationDialog;
  f.caption = "Navigation Presentation";
  f.size = {0, 0, kWidth, 104};
  f.controls.push_back(sf::label(kUnitOfMeasureText + 10, "Unit of Measure", 0, kLabelWidth));
  f.controls.push_back({kUnitOfMeasureText, ui::ControlKind::Static, "", {kFieldX, sf::rowY(0), 36, 10}});
  f.controls.push_back(
      {kChangeUnitsButton, ui::ControlKind::Button, "Change Units", {kFieldX + 36, sf::rowY(0) - 2, 64, 14}});
  f.controls.push_back(sf::label(kBearingList + 10, "Bearing:", 1, kLabelWidth));
  f.controls.push_back(sf::dropDown(kBearingList, 1, kFieldX, kFieldWidth, 2));
  f.controls.push_back(sf::label(kMagVarEntry + 10, "Mag Var:", 2, kLabelWidth));
  f.controls.push_back(sf::entry(kMagVarEntry, 2, kFieldX, 40, 10, false));
  f.controls.push_back(sf::label(kDistanceList + 10, "Distance:", 3, kLabelWidth));
  f.controls.push_back(sf::dropDown(kDistanceList, 3, kFieldX, kFieldWidth, 2));
  f.controls.push_back(sf::label(kVelocityList + 10, "Velocity:", 4, kLabelWidth));
  f.controls.push_back(sf::dropDown(kVelocityList, 4, kFieldX, kFieldWidth, 2));
  sf::addOkCancel(f, kWidth, 84);
  f.firstFocus = kBearingList;
  return f;
}

std::vector<std::string> textsOf(const std::vector<UnitChoice>& choices) {
  std::vector<std::string> t;
  for (const UnitChoice& c : choices) t.emplace_back(c.text);
  return t;
}

// A decimal number of degrees the whole text makes, or nothing.
bool parseDegrees(const std::string& text, double& out) {
  const std::string t = base::trim(text);
  if (t.empty()) return false;
  char* end = nullptr;
  const double v = std::strtod(t.c_str(), &end);
  if (end != t.c_str() + t.size() || !std::isfinite(v) || std::fabs(v) > kMaxMagVar) return false;
  out = v;
  return true;
}

std::string magVarText(double degrees) { return base::format("%4d", static_cast<int>(degrees)); }

class PresentationController : public ui::FormController {
 public:
  PresentationController(ui::Host& host, const std::string& installRoot, char sep, GpsParms& work, bool& unitsChanged)
      : host_(host), root_(installRoot), sep_(sep), work_(work), unitsChanged_(unitsChanged) {}

  void onInit(ui::FormView& view) override {
    view.setItems(kBearingList, kBearingTexts);
    view.setSelection(kBearingList, work_.magneticBearing() ? 1 : 0);
    view.setText(kMagVarEntry, magVarText(work_.magneticVariation()));
    showUnits(view);
  }

  void onCommand(ui::FormView& view, int id) override {
    switch (id) {
      case kChangeUnitsButton:
        if (viewPropertiesDialog(host_, root_, sep_, work_) == 1) {
          unitsChanged_ = true;
          showUnits(view);
        }
        return;
      case ui::kIdOkButton:
        return store(view);
      case ui::kIdCancelButton:
        return view.end(0);
      default:
        return;
    }
  }

 private:
  void showUnits(ui::FormView& view) {
    const int unit = work_.unitOfMeasure();
    view.setText(kUnitOfMeasureText, kUnitNames[(unit >= kStandard && unit <= kNautical ? unit : kStandard) - 1]);
    const auto distances = distanceChoices(unit);
    view.setItems(kDistanceList, textsOf(distances));
    view.setSelection(kDistanceList, choiceIndex(distances, work_.distanceUnit()));
    const auto velocities = velocityChoices(unit);
    view.setItems(kVelocityList, textsOf(velocities));
    view.setSelection(kVelocityList, choiceIndex(velocities, work_.velocityUnit()));
  }

  void store(ui::FormView& view) {
    double magVar = 0;
    const std::string typed = view.text(kMagVarEntry);
    if (!parseDegrees(typed, magVar)) {
      ui::inform(host_,
                 base::format("Mag Var: \"%s\" Is Not a Number of Degrees (-180 to 180).\nKeeping %s.",
                              base::trim(typed).c_str(), base::trim(magVarText(work_.magneticVariation())).c_str()),
                 "Navigation Presentation");
      view.setText(kMagVarEntry, magVarText(work_.magneticVariation()));
      view.setFocus(kMagVarEntry);
      return;
    }
    // "%4d" shows whole degrees: a text left as shown keeps the stored
    // fraction instead of cutting it off.
    if (typed != magVarText(work_.magneticVariation())) work_.setMagneticVariation(magVar);
    const std::vector<std::string> bearings = view.items(kBearingList);
    const int b = view.selection(kBearingList);
    if (b >= 0 && b < static_cast<int>(bearings.size()))
      work_.setBearingRef(bearings[static_cast<std::size_t>(b)].rfind("Mag", 0) == 0 ? kMagneticBearing : kTrueBearing);
    const int unit = work_.unitOfMeasure();
    const auto distances = distanceChoices(unit);
    const int d = view.selection(kDistanceList);
    work_.setDistanceUnit(distances[static_cast<std::size_t>(d >= 0 && d < 2 ? d : 0)].unit);
    const auto velocities = velocityChoices(unit);
    const int v = view.selection(kVelocityList);
    work_.setVelocityUnit(velocities[static_cast<std::size_t>(v >= 0 && v < 2 ? v : 0)].unit);
    view.end(1);
  }

  ui::Host& host_;
  const std::string& root_;
  char sep_;
  GpsParms& work_;
  bool& unitsChanged_;
};

}  // namespace

std::vector<UnitChoice> distanceChoices(int unitOfMeasure) {
  switch (unitOfMeasure) {
    case kMetric: return {{"Meters", kMeters}, {"Kilometer", kKilometer}};
    case kNautical: return {{"Feet", kFeet}, {"Naut Miles", kNautMile}};
    default: return {{"Feet", kFeet}, {"Miles", kMiles}};
  }
}

std::vector<UnitChoice> velocityChoices(int unitOfMeasure) {
  switch (unitOfMeasure) {
    case kMetric: return {{"kph", kKph}, {"mps", kMps}};
    case kNautical: return {{"knot", kKnots}, {"fps", kFps}};
    default: return {{"mph", kMph}, {"fps", kFps}};
  }
}

int choiceIndex(const std::vector<UnitChoice>& choices, int unit) {
  for (std::size_t i = 0; i < choices.size(); ++i)
    if (choices[i].unit == unit) return static_cast<int>(i);
  return 0;
}

int presentationDialog(ui::Host& host, const std::string& installRoot, char sep, GpsParms& parms) {
  GpsParms work = parms;
  (void)readGpsParms(host, installRoot, work, sep);
  bool unitsChanged = false;
  PresentationController controller(host, installRoot, sep, work, unitsChanged);
  const int result = host.runForm(presentationForm(), controller);
  if (result == 1) {
    parms = work;
    (void)writeGpsParms(host, installRoot, parms, sep);
    return 1;
  }
  if (!unitsChanged) return 0;
  // Cancelled after "Change Units" stored new units: the file has them, and
  // so does parms. Nothing else of this dialog reached the copy: OK changes
  // it only once every field has been read.
  parms = work;
  return 1;
}

}  // namespace gps
