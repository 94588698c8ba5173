#pragma once
// Extracting a bundled dataset: every bundle table of the dataset is split
// back into raw tables under a new dataset number, the bundles are marked
// extracted (".dbf" -> ".del", ".GPF" -> ".gel") and this dataset's marked
// files are deleted. The worker shows no dialog: what the user should see
// comes back in ExtractResult.
//
// A run may be killed at any moment without losing or doubling a record; the
// next run completes it. The run keeps a note in the data folder,
// "[name]#$$Extract.run", holding the new dataset number and, once a
// bundle's split is whole, that bundle's name:
//   1. Each bundle is split into staged raw tables (extension "db~"/"GP~"),
//      invisible as data. A staged table left by a killed split is removed
//      before the bundle is split again.
//   2. The bundle's name is added to the note (written safely): its staged
//      tables are now complete.
//   3. Its staged tables are renamed to their live names; then the bundle is
//      marked. A bundle in the note is never split again: a later run only
//      finishes its renames and marks it.
// A later run takes the number from the note while any of that number's
// files belong to this dataset, or no dataset uses the number; otherwise it
// takes a free one. The note is removed when the run ends well.
//
// A table matching the dataset's bundles whose name is no bundle name (or
// makes no raw name) is left as it is, with a message.
// A bundle with records whose keys cannot name a file is not marked but
// kept as ".ref" (coordinate bundles ".grf"), so the refused records stay
// on the unit; everything else in it is extracted.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tablestore {
class TableStore;
}
namespace ui {
class Progress;
struct ProgressSpec;
}

namespace exchange {

inline constexpr const char* kExtractTitle = "***** Dataset Extract *****";
inline constexpr const char* kExtractDatasetLine = "      Dataset:";
inline constexpr const char* kExtractingLine = "  Extracting:%d of %d";
inline constexpr const char* kExtractNoteSuffix = "#$$Extract.run";
inline constexpr const char* kRefusedTableExtension = "ref";
inline constexpr const char* kRefusedCoordinateExtension = "grf";

inline constexpr const char* kNoBundlesText = "No Bundled Tables Found for Dataset";
inline constexpr const char* kNoFreeNumberText = "All 99 Dataset Numbers Are In Use\nDataset Not Extracted";

struct ExtractRequest {
  std::string folder;        // the application's data folder, without a trailing separator
  std::string datasetName;   // the bundled dataset's name
  std::string thisUnitCode;  // this unit's unit code (config::unitCodeFrom)
  // Tests: called at each step a kill could fall between (after each record,
  // after each commit and rename); returning true ends the run there, leaving
  // the files as a killed run would.
  std::function<bool()> stopHere;
};

struct ExtractResult {
  int datasetNumber = 0;               // the new dataset number (0 when none was taken)
  int bundles = 0;                     // bundle tables extracted
  int records = 0;                     // records written to raw tables
  std::vector<std::string> messages;   // refused records, kept bundles, a version table not renamed
  std::string failure;                 // the message to show when the run failed
};

enum class ExtractOutcome { kDone, kFailed, kStopped };

// Runs the extraction; progress (may be null) gets "  Extracting:%d of %d"
// per bundle and per record. kDone when every bundle was split and marked
// (messages may still say what was refused), kFailed with failure set when the
// dataset has no bundle tables, no dataset number is free, or a table cannot
// be split or renamed; the files are then left for a later run to complete.
[[nodiscard]] ExtractOutcome extractDataset(tablestore::TableStore& store, const ExtractRequest& request,
                                            ExtractResult& result, ui::Progress* progress);

// The progress window's texts for extracting the dataset.
ui::ProgressSpec extractProgressTexts(std::string_view datasetName);

}  // namespace exchange
