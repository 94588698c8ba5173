#pragma once
// "Navigation Presentation": the bearing reference, the magnetic variation
// and the distance and velocity units the unit of measure offers.
#include <string>
#include <vector>

#include "gps/parms.hpp"

namespace ui { class Host; }

namespace gps {

inline constexpr int kPresentationDialog = 253;
inline constexpr int kUnitOfMeasureText = 2531, kChangeUnitsButton = 2532, kBearingList = 2533,
                     kMagVarEntry = 2534, kDistanceList = 2535, kVelocityList = 2536;

// One entry of a unit list: its text and the unit number it stores.
struct UnitChoice {
  const char* text;
  int unit;
};
// The two distance and the two velocity units a unit of measure offers
// (an unknown unit of measure offers Standard's).
std::vector<UnitChoice> distanceChoices(int unitOfMeasure);
std::vector<UnitChoice> velocityChoices(int unitOfMeasure);
// The entry of unit in choices; the first entry when unit is not offered.
int choiceIndex(const std::vector<UnitChoice>& choices, int unit);

// Reads GPS_Parms.dft into a copy of parms and shows the dialog. "Change
// Units" runs viewPropertiesDialog on the copy; what it stores stands even
// when this dialog is cancelled afterwards. OK: the bearing reference (magnetic
// for a choice beginning "Mag"), the magnetic variation (a text that is not
// a number between -180 and 180 is refused, the old value shown again and
// the dialog stays), the distance and velocity units; parms takes the record
// and GPS_Parms.dft is written. Returns 1 when parms changed (OK, or Cancel
// after units were changed), 0 when nothing changed. The caller then resets
// the zero speed texts (resetSpeedTexts) in the new unit.
int presentationDialog(ui::Host& host, const std::string& installRoot, char sep, GpsParms& parms);

}  // namespace gps
