#pragma once
// "Position Logging Parameters": how often positions are recorded, whether
// warnings stop logging, and the averaging of point positions.
#include <string>

#include "gps/parms.hpp"

namespace ui { class Host; }

namespace gps {

inline constexpr int kLoggingDialog = 255;
inline constexpr int kRecordingIntervalEntry = 2551, kLogDuringWarningsCheck = 2552,
                     kAveragePointsCheck = 2553, kPositionsToAverageEntry = 2554;

// Reads GPS_Parms.dft into a copy of parms and shows the dialog. OK: the
// recording interval must be a whole number (negative: a distance in feet)
// and the positions to average one of 0 or more, else the field is named in
// a message and the dialog stays; then parms takes the record and
// GPS_Parms.dft is written; returns 1. Cancel: parms is left as it was;
// returns 0.
int loggingParametersDialog(ui::Host& host, const std::string& installRoot, char sep, GpsParms& parms);

}  // namespace gps
