#include "gps/warning_filters_dialog.hpp"

#include <cmath>
#include <optional>

#include "base/text.hpp"
#include "gps/settings_form.hpp"
#include "ui/host.hpp"

namespace gps {

namespace {

namespace sf = settings_form;

constexpr int kWidth = 132, kLabelWidth = 60, kFieldX = 76, kFieldWidth = 24;
constexpr const char* kCaption = "GPS Warning Filters";

ui::Form filtersForm() {
  ui::Form f;
  f.resource = kWarningFiltersDialog;
  f.caption = kCaption;
  f.size = {0, 0, kWidth, 104};
  f.controls.push_back(sf::checkBox(kRequireDgpsCheck, "Require DGPS:", 0, 80));
  f.controls.push_back(sf::checkBox(kRequire3dCheck, "Require 3D:", 1, 80));
  f.controls.push_back(sf::label(kMinSatellitesEntry + 10, "Minimum Sv's:", 2, kLabelWidth));
  f.controls.push_back(sf::entry(kMinSatellitesEntry, 2, kFieldX, kFieldWidth, 2, true));
  f.controls.push_back(sf::label(kMaxPdopEntry + 10, "Max PDOP:", 3, kLabelWidth));
  f.controls.push_back(sf::entry(kMaxPdopEntry, 3, kFieldX, kFieldWidth, 3, true));
  f.controls.push_back(sf::label(kMaxHdopEntry + 10, "Max HDOP:", 4, kLabelWidth));
  f.controls.push_back(sf::entry(kMaxHdopEntry, 4, kFieldX, kFieldWidth, 3, true));
  sf::addOkCancel(f, kWidth, 84);
  f.firstFocus = kRequireDgpsCheck;
  return f;
}

std::string wholeText(double v) { return std::to_string(static_cast<long>(std::lround(v))); }

class FiltersController : public ui::FormController {
 public:
  FiltersController(ui::Host& host, GpsParms& work) : host_(host), work_(work) {}

  void onInit(ui::FormView& view) override {
    view.setChecked(kRequireDgpsCheck, work_.requireDgps());
    view.setChecked(kRequire3dCheck, work_.require3d());
    view.setText(kMinSatellitesEntry, std::to_string(work_.minSatellites()));
    view.setText(kMaxPdopEntry, wholeText(work_.maxPdop()));
    view.setText(kMaxHdopEntry, wholeText(work_.maxHdop()));
  }

  void onCommand(ui::FormView& view, int id) override {
    if (id == ui::kIdCancelButton) return view.end(0);
    if (id != ui::kIdOkButton) return;
    const auto sats = read(view, kMinSatellitesEntry, "Minimum Sv's:");
    if (!sats) return;
    const auto pdop = read(view, kMaxPdopEntry, "Max PDOP:");
    if (!pdop) return;
    const auto hdop = read(view, kMaxHdopEntry, "Max HDOP:");
    if (!hdop) return;
    work_.setRequireDgps(view.checked(kRequireDgpsCheck));
    work_.setRequire3d(view.checked(kRequire3dCheck));
    work_.setMinSatellites(*sats);
    work_.setMaxPdop(*pdop);
    work_.setMaxHdop(*hdop);
    view.end(1);
  }

 private:
  // The field's whole number, or nothing after saying what it needs.
  // The fields take 2 and 3 digits: every value fits the record's fields.
  std::optional<std::int32_t> read(ui::FormView& view, int id, const char* name) {
    return sf::readWholeNumber(host_, view, id, false, 999, name, kCaption);
  }

  ui::Host& host_;
  GpsParms& work_;
};

}  // namespace

int warningFiltersDialog(ui::Host& host, const std::string& installRoot, char sep, GpsParms& parms) {
  return sf::editParms(host, installRoot, sep, parms, filtersForm(), [&](GpsParms& work) { return FiltersController(host, work); });
}

}  // namespace gps
