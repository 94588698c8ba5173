#pragma once
// The navigation display's two choice dialogs: the start and destination
// ("From Waypoint", "To Waypoint") and the background points ("Select
// Background Reference").
#include <string>
#include <vector>

#include "gps/waypoint_table.hpp"

namespace ui { class Host; }

namespace gps {

inline constexpr int kFromToDialog = 262;
inline constexpr int kFromList = 2621, kToList = 2622;
inline constexpr int kBackgroundDialog = 263;
inline constexpr int kAvailableList = 2631, kSelectedList = 2632, kAddButton = 2633, kAddAllButton = 2634,
                     kRemoveButton = 2635, kRemoveAllButton = 2636, kIncludeTrackCheck = 2637;

// The index held within a list of count entries (0 when it is empty).
int clampIndex(int index, std::size_t count);

// Shows both lists of list (entry 0 the current position) with start and
// destination selected (each first held within the list). OK stores the
// selections there (1); Cancel leaves them (0).
[[nodiscard]] int fromToDialog(ui::Host& host, const std::vector<WaypointEntry>& list, int& start,
                               int& destination);

// The background points: chosen among the waypoints of list (entry 0 is not
// offered), and whether the track is drawn. OK stores both (1); Cancel
// leaves them (0). Chosen points no longer in list are dropped at opening.
[[nodiscard]] int backgroundDialog(ui::Host& host, const std::vector<WaypointEntry>& list,
                                   std::vector<WaypointEntry>& background, bool& includeTrack);

}  // namespace gps
