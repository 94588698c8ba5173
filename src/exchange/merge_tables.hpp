#pragma once
// Merging the raw tables of one branch into a bundle table: every record of
// every listed table appended to the target, whole record buffer by whole
// record buffer, in list order.
#include <functional>
#include <string>
#include <vector>

namespace tablestore {
class TableStore;
}

namespace exchange {

// One merge takes at most this many names.
inline constexpr std::size_t kMaxMergeNames = 1001;

// Results of mergeTables.
inline constexpr int kMergeDone = 1;
inline constexpr int kMergeFirstMissing = -1;  // the first table could not be opened: nothing merged
inline constexpr int kMergeTargetFailed = 0;   // the target could not be opened, created or closed

// Called before each listed table is taken: its 1-based position, the list
// size and its name.
using MergeStep = std::function<void(int position, int count, const std::string& name)>;

// Opens dataFolder/target, or creates it with the first table's field list
// when it does not exist, and appends every record (those marked deleted
// too, as they are) of each table in names, in order; the target is flushed
// to the storage device and closed before returning. Sources are read only:
// marking them is the caller's (markMergedSources), once the target is
// whole.
// The coordinate flag says which files the list may hold: coordinate files
// (".GPF", or ".gel" once marked) or tables (".dbf", or ".del").
// Returns kMergeDone; kMergeFirstMissing when the first table cannot be
// opened; minus the 1-based list position of a further table that cannot be
// opened, carries the wrong extension, has another field list than the
// target (its records would not fit) or whose records could not all be
// appended; -(kMaxMergeNames + 1) for a longer list (nothing merged);
// kMergeTargetFailed as above. On a failure the target may hold part of the
// records: callers merge into a temporary target.
[[nodiscard]] int mergeTables(tablestore::TableStore& store, const std::string& dataFolder,
                              const std::string& target, const std::vector<std::string>& names,
                              bool coordinates, const MergeStep& onStep = {});

// Marks each name of names that still carries ".dbf" or ".GPF" as merged
// (".del", ".gel"). 0, or the first rename error (the other names are still
// tried). The tables' ".db$" twins are left to the run's final sweep, which
// deletes them all at once.
[[nodiscard]] int markMergedSources(const std::string& dataFolder,
                                    const std::vector<std::string>& names);

}  // namespace exchange
