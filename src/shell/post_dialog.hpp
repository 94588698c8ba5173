#pragma once
// The post dialog: the applications of the pending-data folder (one folder
// each, filled by the host transfer), the datasets waiting in the chosen
// one, and the Post button, which checks the dataset's data version against
// the installed application and moves it into that application's data
// folder.
namespace ui {
class Host;
}

namespace shell {

struct StartupValues;

inline constexpr int kPostDialog = 174;
inline constexpr int kPendingAppList = 1741, kPendingDatasetList = 1742, kPostButton = 1743;

}  // namespace shell
