#pragma once
// Bundling a dataset: the raw tables of one dataset (one table per parent
// record and branch) become one bundle table per branch, every record
// carrying its ancestors' keys. The work runs on a progress worker; it opens
// no dialog: what is to be shown is returned, and the UI thread shows it.
//
// Order of the work, so that a run killed at any moment loses no record
// (every record is always in the raw tables or in a whole bundle):
//  1. Temporary bundles ("<bundle name>.tmp") left by a killed run are
//     deleted.
//  2. Levels 2-5, branch by branch (each level-2 letter, below it the
//     level-3 letters, and so on below each branch that had tables). A
//     branch's sources are its raw tables still named ".dbf" and those a
//     killed run marked ".del" already (they are swept only at the very
//     end), so a branch is always rebuilt whole. For each bundle of the
//     branch (the tables, and one per kind of coordinate file):
//       a. merge every source into the temporary bundle, flush, close;
//       b. set the previous bundle aside as "<bundle name>.~~~" (an older
//          copy deleted first): bundling again replaces a bundle;
//       c. rename the temporary bundle to the bundle name;
//       d. mark the sources ".del" / ".gel" and delete their ".db$" twins.
//  3. Level 1: the level-1 coordinate files the same way; the raw version
//     table renamed to its bundled name (replacing an older one); last the
//     level-1 raw table, whose previous bundle is set aside under the raw
//     name with ".~~~", renamed to the level-1 bundle name. Until this
//     rename the dataset is still listed as raw, so a stopped or killed run
//     is simply run again.
//  4. The sweep deletes this dataset's ".del", ".gel" and ".db$" files
//     (and no other dataset's).
// A killed run between 2b/2c and 2d leaves a whole new bundle with sources
// not yet marked: the next run rebuilds it from them and the bundle set
// aside is then that new one.
#include <functional>
#include <string>
#include <vector>

#include "apps/hierarchy.hpp"
#include "ui/progress.hpp"

namespace tablestore {
class TableStore;
}

namespace exchange {

// Error codes of a failed bundling.
inline constexpr int kBundleLevel1Failed = 1000;   // level-1 table or coordinate file not bundled
inline constexpr int kBundleVersionFailed = 1001;  // data-version table not bundled (the run goes on)
inline constexpr int kBundleSetAsideFailed = 1500; // previous bundle not set aside

inline constexpr const char* kBundleTitle = "***** Tallyfin Mobile Dataset Bundle *****";
inline constexpr const char* kBundleDatasetLine = "      Dataset:";

// A message box the caller shows on the UI thread (information icon).
struct BundleMessage {
  std::string text;
  std::string caption;
};

struct BundleOutcome {
  int result = 0;       // 1 bundled, 0 failed
  int code = 0;         // 0 or one of the codes above (1001 also with result 1)
  std::string text;     // the short text of the code
  std::vector<BundleMessage> messages;
  std::vector<std::string> unerased;  // marked files the sweep could not delete
};

// Points of the work where a test may stop the run as if it were killed.
enum class BundleStep {
  kBranchBuilt,     // a temporary bundle is whole, nothing set aside yet
  kBranchSetAside,  // the previous bundle is set aside, the new one not yet renamed
  kBranchRenamed,   // the new bundle carries its name, sources not yet marked
  kSourceMarked,    // one source has been marked
  kLevel1Renamed,   // the level-1 table is bundled, nothing swept yet
};
// Returns true to stop the run there (the outcome is then result 0, code 0).
using BundleStopHook = std::function<bool(BundleStep)>;

struct BundleJob {
  std::string dataFolder;                       // the application's data folder (UTF-8)
  std::vector<apps::HierarchyEntry> hierarchy;  // loaded on the UI thread
  int datasetNumber = 0;                        // clamped to 1-99
  ui::Progress* progress = nullptr;             // may be null
  BundleStopHook stopAt;                        // tests only; may be empty
};

// Bundles the dataset. A hierarchy of 0 nodes gives result 0. A dataset
// without a level-1 raw table only has its marked files swept (result 1).
// Any merge that fails stops the run before level 1 is bundled (result 0,
// a message), leaving every source as it was.
BundleOutcome bundleDataset(tablestore::TableStore& store, const BundleJob& job);

// The progress window of a bundling: title and dataset line (the list
// entry, e.g. "03 [North Block]", after "      Dataset:").
ui::ProgressSpec bundleProgressTexts(const std::string& datasetEntry);

}  // namespace exchange
