#pragma once
// The copy loop every dataset transfer shares, run on a worker thread behind
// a progress window (the crews must see that files are being copied). The
// worker only copies and deletes; what went wrong is handed back to the UI
// thread, which reports it once the window has closed.
#include <cstdint>
#include <string>
#include <vector>

#include "ui/progress.hpp"

namespace ui {
class Host;
}

namespace exchange {

struct CopyStep {
  std::string from, to;  // full paths
  std::uint64_t size = 0;  // the source's size as listed
};

enum class SourcePolicy {
  Keep,            // copy only
  DeleteEach,      // delete each source right after its own copy succeeded
  DeleteAllAfter,  // delete every source only when every copy succeeded
};

struct CopyRun {
  // One entry per step: 0 copied, the error code of a failed copy, or
  // kNotTried for steps after a stop.
  std::vector<int> errors;
  int copied = 0;
  bool allCopied() const { return copied == static_cast<int>(errors.size()); }
};
inline constexpr int kNotTried = -1;

// Copies the steps in order with copyWholeFile, reporting "%d of %d" and the
// file name after each. With stopAtFirstFailure the steps after a failed copy
// are not tried. Source deletion follows policy; a source that cannot be
// deleted stays where it was (its copy stands).
CopyRun runCopies(const std::vector<CopyStep>& steps, SourcePolicy policy, bool stopAtFirstFailure,
                  ui::Progress* progress);

// The same behind the host's progress window titled title, with line1 naming
// the dataset.
CopyRun runCopiesWithProgress(ui::Host& host, const std::string& title, const std::string& datasetEntry,
                              const std::vector<CopyStep>& steps, SourcePolicy policy, bool stopAtFirstFailure);

}  // namespace exchange
