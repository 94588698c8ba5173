#pragma once
// Deleting the files a wildcard pattern names: behind a progress window, or
// quietly; and removing a folder with everything under it. A pattern is a
// folder, a separator (platform::kSep) and a last part with the Windows
// wildcard rules; only files of that one folder are ever deleted.
#include <string>
#include <vector>

namespace ui {
class Host;
}

namespace datasets {

inline constexpr const char* kErasingDataFiles = "Erasing Data Files";
inline constexpr const char* kErasingApplication = "Erasing Application";

// The pattern's folder and last part; false when it has no folder part or
// no last part (such a pattern matches nothing here).
struct PatternParts {
  std::string folder;
  std::string wildcard;
};
bool splitPattern(const std::string& pattern, PatternParts& out);

// The names of the files (not folders) of the pattern's folder that its
// last part matches. A name that is empty, "." or "..", or holds a
// separator is passed over: joined to the folder it would name a file
// elsewhere.
std::vector<std::string> matchingFiles(const std::string& pattern);

struct EraseCount {
  int matched = 0;  // files the pattern named
  int failed = 0;   // of those, the ones still there (all, when no worker could start)
};
// Deletes every matching file on a worker behind a progress window titled
// caption, showing the folder and each file name while it goes. No window
// when nothing matches.
EraseCount eraseMatching(ui::Host& host, const std::string& pattern, const std::string& caption);

// The erase with progress: 1 when every match was deleted or nothing
// matched, 0 when some file stayed.
[[nodiscard]] int eraseFilesWithProgress(ui::Host& host, const std::string& pattern, const std::string& caption);

// The erase with progress and its second try. When a file stays, question
// (caption "Error"; Abort, Retry, Ignore) is asked: Retry erases once more
// and shows secondTryFailed (caption "Error") when a file stays again.
// Returns kErasedAll (at the first or second try), kErasedPart (Ignore, or
// the second try failed) or kEraseAborted (Abort).
inline constexpr int kErasedAll = 1, kErasedPart = 0, kEraseAborted = -1;
[[nodiscard]] int eraseWithSecondTry(ui::Host& host, const std::string& pattern, const std::string& caption,
                                     const std::string& question, const std::string& secondTryFailed);

// Deletes every match without a window. Nothing matching: the two-line
// warning "Files" / "Cannot be Erased" and 0. Some file that stayed: 0.
// Every match deleted: 1.
[[nodiscard]] int eraseFilesQuietly(ui::Host& host, const std::string& pattern);

// Removes folder and everything under it: files, and folders walked in
// turn. A link (to a file or a folder) is removed itself and never walked,
// so nothing outside folder goes; when folder itself is a link only the
// removal of folder is tried. What cannot be deleted stays and keeps its
// folders. Returns 0 when folder is gone, else the error of its removal
// (kErrDirNotEmpty when something stayed inside).
[[nodiscard]] int removeFolderTree(const std::string& folder);

}  // namespace datasets
