#pragma once
// "View Properties": the coordinate format of the position texts, the unit
// of measure and the elevation reference of GPS_Parms.dft.
#include <string>

#include "gps/parms.hpp"

namespace ui { class Host; }

namespace gps {

inline constexpr int kViewDialog = 252;
inline constexpr int kPositionViewList = 2521, kUnitOfMeasureList = 2522, kElevationList = 2523;

// The velocity and distance units that go with a unit of measure: Standard
// mph and feet, Metric kph and metres, Nautical knots and feet.
void applyUnitOfMeasure(GpsParms& parms, int unitOfMeasure);

// Reads GPS_Parms.dft into a copy of parms and shows the dialog. OK: the
// coordinate format, the unit of measure (a changed one brings its velocity
// and distance units) and the elevation reference; parms takes the record
// and GPS_Parms.dft is written; returns 1. Cancel: parms is left as it was;
// returns 0.
int viewPropertiesDialog(ui::Host& host, const std::string& installRoot, char sep, GpsParms& parms);

}  // namespace gps
