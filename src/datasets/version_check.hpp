#pragma once
// The dataset's version check when data is opened: a dataset is stamped
// with the header of the application that collected it (its version table,
// "...#$$DataAppVer.dbf"), and is opened only by an application whose data
// structure is the same.
#include <string>

namespace apps {
struct AppContext;
class TfaHeader;
}  // namespace apps

namespace datasets {

enum DatasetVersionCheck : int {
  kDatasetVersionOk = 0,          // same structure, or a new dataset stamped now
  kDatasetVersionNotNamed = 1,    // the version table could not be named; nothing was checked
  kDatasetVersionNotStamped = 2,  // a new dataset whose stamp could not be written; it opens unstamped
  kDatasetVersionDifferent = -1,  // "Data Collected With a different App Version." (caption "Debug Error")
  kDatasetVersionNoHeader = -2,   // "tfa_source_file doesn't exist." (caption "Debug Error")
  kDatasetVersionNoTable = -3,    // the table store could not open or create the table (it has said why)
};

// The installed application's header: the header copy in the application
// folder; when that is missing or unreadable, the package (applications
// folder + name + ".tfa"), from which the header copy is then written. 0,
// or kDatasetVersionNoHeader after its box when neither can be read.
int installedHeader(apps::AppContext& ctx, apps::TfaHeader& out);

// The header as the version table gives it back: texts cut to their field
// widths and trimmed. A stamp is compared against this form of the
// installed header, so a long package name still matches its own stamp.
apps::TfaHeader asStamped(const apps::TfaHeader& header);

// Checks the dataset whose level-1 table is level1FileName (8-bit) in
// dataFolder (UTF-8). A name that gives no version table name shows
// "!build_tfa_data_app_header_fname" (caption "debug") and gives
// kDatasetVersionNotNamed. A version table that exists and holds its record
// must describe the installed application's data structure
// (sameDataStructure); one that cannot be read counts as different. A new
// (or empty) version table is stamped from the installed header. The
// version table is closed again in every case.
int checkDatasetVersion(apps::AppContext& ctx, const std::string& dataFolder, const std::string& level1FileName);

}  // namespace datasets
