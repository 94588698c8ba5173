#pragma once
// "GPS Warning Filters": the limits a fix must meet before the status line
// stops warning (and, with the application's leave, before it is logged).
#include <string>

#include "gps/parms.hpp"

namespace ui { class Host; }

namespace gps {

inline constexpr int kWarningFiltersDialog = 254;
inline constexpr int kRequireDgpsCheck = 2541, kRequire3dCheck = 2542, kMinSatellitesEntry = 2543,
                     kMaxPdopEntry = 2544, kMaxHdopEntry = 2545;

// Reads GPS_Parms.dft into a copy of parms and shows the dialog (the DOP
// limits as whole numbers, rounded). OK: every field must hold a whole
// number, else the field is named in a message and the dialog stays; then
// parms takes the record and GPS_Parms.dft is written; returns 1. Cancel:
// parms is left as it was; returns 0.
int warningFiltersDialog(ui::Host& host, const std::string& installRoot, char sep, GpsParms& parms);

}  // namespace gps
