#pragma once
// The dataset dialog (resource 111): the datasets of the application's data
// folder as "NN [name]" entries, Open (command 1024), New and Cancel. Enter,
// Open or a double click take the selected entry; the list keys are the
// shared ones (Up and Down stop at the ends, a typed character selects the
// next entry beginning with it, the wheel moves by one); Escape and Cancel
// end without a choice.
#include <string>
#include <vector>

#include "ui/form.hpp"

namespace apps {
struct AppContext;
}

namespace datasets {

inline constexpr int kChooseDatasetResource = 111;
inline constexpr int kDatasetListControl = 1110;
inline constexpr int kOpenDatasetButton = 1024;
inline constexpr int kNewDatasetButton = 1025;

struct DatasetChoice {
  int number = 0;
  std::string name;      // 8-bit, trimmed
  std::string unitCode;  // the unit code its file names carry
  bool created = false;  // named just now with the create dialog
};

ui::Form chooseDatasetForm(const std::vector<std::string>& entries);

// Lets the user choose or create the dataset of the open application in
// dataFolder (UTF-8). The entry whose name equals the settings record's
// CurDatasetName is preselected (else the first). When the folder holds no
// dataset the create dialog opens at once. A dataset taken from the list
// keeps the unit code its files carry; a new one gets unitCode.
//
// On a choice: DatasetNumber and DatasetName of the application record, the
// dataset-chosen flag, CurDatasetName of the settings record (the settings
// file is written) and out are set; returns 1. Returns 0 when the user
// ended without a choice (nothing is changed).
int chooseDataset(apps::AppContext& ctx, const std::string& dataFolder, const std::string& unitCode,
                  DatasetChoice& out);

}  // namespace datasets
