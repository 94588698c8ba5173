#pragma once
// The main window's Bundle Dataset and Extract Dataset commands: the
// dataset is picked from the "Extracted (Raw) Datasets" or the "Bundled
// Datasets" list of the current application's data folder, and the work
// runs behind its progress window. What the work has to say is shown once
// the window has closed.
#include <string>
#include <vector>

#include "ui/form.hpp"

namespace ui { class Host; }

namespace shell {

struct StartupValues;

inline constexpr int kRawDatasetsDialog = 160, kBundledDatasetsDialog = 161;
inline constexpr int kExchangeDatasetList = 1601;

// Returns 1 when the dataset was bundled (or extracted), 0 when the user
// ended without a choice, nothing could be chosen, or the work failed
// (the reason has been shown).
int bundleDatasetCommand(ui::Host& host, StartupValues& values);
int extractDatasetCommand(ui::Host& host, StartupValues& values);

// The list dialog both commands choose from: list kExchangeDatasetList, OK
// (the default) and Cancel.
ui::Form datasetListForm(int resource, const char* caption);

// The names of the bundled datasets in dataFolder (level-1 bundles), sorted.
std::vector<std::string> bundledDatasetNames(const std::string& dataFolder);

}  // namespace shell
