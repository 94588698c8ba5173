#include "gps/view_dialog.hpp"

#include <vector>

#include "gps/settings_form.hpp"
#include "ui/host.hpp"

namespace gps {

namespace {

namespace sf = settings_form;

// In the order of the coordinate format numbers.
const std::vector<std::string> kFormatTexts = {"Raw Dec Deg", "Decimal Deg", "Deg Minutes",
                                               "Deg Min Sec", "UTM",         "UTM+Zone"};
const std::vector<std::string> kUnitTexts = {"Standard", "Metric", "Nautical"};
const std::vector<std::string> kElevationTexts = {"HAE", "MSL"};

constexpr int kWidth = 176, kLabelWidth = 64, kFieldX = 80, kFieldWidth = 84;
constexpr int kNoteFirst = 2524, kNoteSecond = 2525;

ui::Form viewForm() {
  ui::Form f;
  f.resource = kViewDialog;
  f.caption = "View Properties";
  f.size = {0, 0, kWidth, 98};
  f.controls.push_back(sf::label(kPositionViewList + 10, "Position View", 0, kLabelWidth));
  f.controls.push_back(sf::dropDown(kPositionViewList, 0, kFieldX, kFieldWidth, 6));
  f.controls.push_back(sf::label(kUnitOfMeasureList + 10, "Unit of Measure", 1, kLabelWidth));
  f.controls.push_back(sf::dropDown(kUnitOfMeasureList, 1, kFieldX, kFieldWidth, 3));
  f.controls.push_back(sf::label(kElevationList + 10, "Elevation", 2, kLabelWidth));
  f.controls.push_back(sf::dropDown(kElevationList, 2, kFieldX, kFieldWidth, 2));
  // Two lines of 8 units under the elevation: mean sea level needs GGA.
  f.controls.push_back({kNoteFirst, ui::ControlKind::Static, "For MSL (Mean Sea Level)",
                        {sf::kMargin, sf::rowY(3), kWidth - 2 * sf::kMargin, 8}});
  f.controls.push_back({kNoteSecond, ui::ControlKind::Static, "Requires NMEA $GGA Sentences",
                        {sf::kMargin, sf::rowY(3) + 8, kWidth - 2 * sf::kMargin, 8}});
  sf::addOkCancel(f, kWidth, 78);
  f.firstFocus = kPositionViewList;
  return f;
}

class ViewController : public ui::FormController {
 public:
  explicit ViewController(GpsParms& work) : work_(work) {}

  void onInit(ui::FormView& view) override {
    view.setItems(kPositionViewList, kFormatTexts);
    view.setSelection(kPositionViewList, work_.coordinateFormat());
    view.setItems(kUnitOfMeasureList, kUnitTexts);
    const int unit = work_.unitOfMeasure();
    view.setSelection(kUnitOfMeasureList, unit >= kStandard && unit <= kNautical ? unit - 1 : -1);
    view.setItems(kElevationList, kElevationTexts);
    view.setSelection(kElevationList, work_.elevationMsl() ? 1 : 0);
  }

  void onCommand(ui::FormView& view, int id) override {
    if (id == ui::kIdCancelButton) return view.end(0);
    if (id != ui::kIdOkButton) return;
    if (const int format = view.selection(kPositionViewList); format >= kRawDecDeg && format <= kUtmZone)
      work_.setCoordinateFormat(format);
    if (const int unit = view.selection(kUnitOfMeasureList) + 1; unit >= kStandard && unit <= kNautical) {
      // Only a new unit of measure resets the velocity and distance: a
      // "Kilometer" chosen under Metric survives a visit to this dialog.
      if (unit != work_.unitOfMeasure()) applyUnitOfMeasure(work_, unit);
    }
    if (const int elevation = view.selection(kElevationList); elevation >= 0)
      work_.setElevationRef(elevation == 1 ? kMsl : kHae);
    view.end(1);
  }

 private:
  GpsParms& work_;
};

}  // namespace

void applyUnitOfMeasure(GpsParms& parms, int unitOfMeasure) {
  parms.setUnitOfMeasure(unitOfMeasure);
  switch (unitOfMeasure) {
    case kMetric:
      parms.setVelocityUnit(kKph);
      parms.setDistanceUnit(kMeters);
      break;
    case kNautical:
      parms.setVelocityUnit(kKnots);
      parms.setDistanceUnit(kFeet);
      break;
    default:
      parms.setVelocityUnit(kMph);
      parms.setDistanceUnit(kFeet);
      break;
  }
}

int viewPropertiesDialog(ui::Host& host, const std::string& installRoot, char sep, GpsParms& parms) {
  return sf::editParms(host, installRoot, sep, parms, viewForm(), [&](GpsParms& work) { return ViewController(work); });
}

}  // namespace gps
