#pragma once
// Copying a dataset's files between the current application's data folder,
// removable storage, the pending-data folder and the dated archive. None of
// these opens a table; each is a file copy behind a progress window, and
// every failure is told in a message box (information icon, topmost) once
// the window has closed.
//
// Folder layouts:
//   removable:  <drive>Tallyfin Mobile<sep>Data<sep><application name>
//   pending:    <pending-data folder><sep><application name>
//   archive:    <application data folder><sep>Archives<sep>YYYYMMDD (local date)
#include <string>

#include "exchange/transfer_selection.hpp"

namespace ui {
class Host;
}

namespace exchange {

inline constexpr const char* kRemovableRootFolder = "Tallyfin Mobile";
inline constexpr const char* kRemovableDataFolder = "Data";
inline constexpr const char* kArchivesFolder = "Archives";

// The application's folder in the removable layout of a drive entry
// ("E:(CARD)" gives E:\Tallyfin Mobile\Data\<appName>).
std::string removableAppFolder(const std::string& driveEntry, const std::string& appName);

// Makes folder when it is missing; a failure shows "%s\nCreateDirectory
// Failed:%d\n" (the path, the system error; caption "Error !") and returns
// false. The caller's copy goes on either way.
bool ensureFolder(ui::Host& host, const std::string& folder);

// Backup (move false) and move (move true) to removable storage: copies every
// file of ref from dataFolder into removableAppFolder(driveEntry, appName),
// creating each missing folder level. Returns the number of files copied
// when every one of them was copied; 0 otherwise:
//  - nothing matched: "No Datasets Found !" (caption "Dataset Error");
//  - matches, but none survived the filters: the drive entry as the text,
//    caption "Drive Not Found!";
//  - a copy failed: "CopyFile failed with code:%d\n" (caption "CopyFileError
//    !") for each failed file; the others are still copied.
// With move, a source file is deleted only after its own copy stands whole
// under its name on the card; a failed copy keeps its source.
int copyDatasetToFolder(ui::Host& host, const std::string& driveEntry, const std::string& appName,
                        const std::string& dataFolder, const DatasetRef& ref, bool move);

inline constexpr int kCopyDeclined = -1;

// Posting (move true, from the pending folder) and copying from removable
// storage (move false): copies every file of ref from sourceFolder into
// targetFolder (the application's data folder). When files of the dataset
// already stand in the target, two Yes/No questions must both be answered
// Yes ("Dataset:%s\nIs Already Present!!\n OVERWRITE the Existing
// DataSet??\n", caption "Overwrite Warning a !", then "Are You Sure That You
// Want to OVERWRITE the Existing DataSet:%s??\n", caption "Overwrite Warning
// b !"), else kCopyDeclined and nothing is copied. No source files:
// "Datasets Not Found" (caption "Error"), 0. The first failed copy shows
// "CopyFile failed with code:%d\nNot All Dataset Files Posted" (caption
// "Error !") and ends with 0, every source left in place. Otherwise the
// number copied; with move the sources are deleted only after every copy
// succeeded.
int copyDatasetIntoApplication(ui::Host& host, const std::string& targetFolder, const std::string& sourceFolder,
                               const DatasetRef& ref, bool move);

// Copies ref's files from dataFolder into today's archive folder, creating
// "Archives" and the date folder when missing; a second archive on the same
// day overwrites files of the same name. A failed copy shows "Archive Dataset
// failed with code:%d\n" (caption "CopyFileError!"). With move a source is
// deleted after its own copy succeeded. Returns the number of files when
// every one was copied, 0 when none were found or any copy failed (so a move
// that archives first never goes on after a partial archive).
int archiveDataset(ui::Host& host, const std::string& dataFolder, const DatasetRef& ref, bool move);

// The archive folder of a date: dataFolder + "Archives" + "%04d%02d%02d".
std::string archiveFolder(const std::string& dataFolder, int year, int month, int day);

}  // namespace exchange
