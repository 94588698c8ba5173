#pragma once
// The "Data" command: check the storage folders, let the user choose or
// create the dataset, clear the temporary coordinate files when the dataset
// changes, open the level-1 table and check the dataset against the
// application's version. The edit window itself is the front end's: it is
// opened from the EditSessionStart that openData hands back.
#include <cstdint>
#include <string>

namespace apps {
struct AppContext;
}
namespace tablestore {
class Table;
}

namespace datasets {

struct DataSession;

// What the front end needs to open the edit window on level 1.
struct EditSessionStart {
  std::string title;         // "TFMobile   ~App\"%s\"  ~Dataset\"%s\"" filled in (UTF-8)
  tablestore::Table* level1 = nullptr;  // the open level-1 table (the table store owns it)
  std::string tableName;     // the level-1 table's name, RootTableName (UTF-8)
  std::string dataFileName;  // its data file name (UTF-8)
  std::int64_t lineCount = 0;
};

// The edit window's title for an application and dataset name (UTF-8).
std::string editWindowTitle(const std::string& appName, const std::string& datasetName);

// Runs the command, step by step:
//  1 every table is closed and table storage restarted; the session forgets
//    its levels, CurLevel := 0, the level definitions 5 to 1 are released;
//    a 100 ms wait; the settings file is read again.
//  2 no open application: "Must Select Valid Application First" (caption
//    "Error"); stop.
//  3 the applications folder cannot be made: "Application Storage
//    Location\nNot Available.\nSelect New Location. a" (caption "Error"),
//    "AutoXfer" cleared ("Registry Access Error." when that fails); stop.
//  4 the application's data folder cannot be made: "Selected Data
//    Storage\nLocation Not Available.\nSelect New Location. b" (caption
//    "Error"), "AutoXfer" cleared; stop.
//  5 CurLevel := 1, DatasetNumber := LastDatasetNumber held to 1-99,
//    DatasetName := "Level1", the level codes := "___".
//  6 with UseDatasets the dataset dialog (chooseDataset); no choice: stop.
//    CurDatasetNumber := DatasetNumber.
//  7 with UseDatasets, a dataset number other than LastDatasetNumber and
//    ClearCoordFiles (settings) or the application's clean-up option: the
//    temporary coordinate files go (clearTemporaryFiles); a failed second
//    try stops.
//  8 LastDatasetNumber := the dataset number; the settings file is written.
//  9 level 1: TableName := RootTableName, its control files are loaded (a
//    failure is reported with the load-error message) and its table opened
//    or created; failure: "Can't Open Level 1 Files" (caption "Error"); stop.
// 10 the version check (checkDatasetVersion); a different structure or a
//    missing header stops, with the tables of this run closed.
// The dataset's files are named with the unit code its level-1 file already
// carries (data collected on another unit stays reachable); a new dataset
// gets this unit's code. Returns 1 with out filled when the edit window may
// open; 0 when a step stopped (each stop has been shown).
int openData(apps::AppContext& ctx, DataSession& session, EditSessionStart& out);

}  // namespace datasets
