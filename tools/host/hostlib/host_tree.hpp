#pragma once
// The host's folder tree under its root (docs/host.md):
//   inbox/<unit>/<session>/           what a unit sent in one good session
//   inbox/<unit>/.partial-<session>/  the same while the session runs
//   outbox/all/<kind>/                waiting for every unit (kept after sending)
//   outbox/<unit>/<kind>/             waiting for one unit (moved once sent)
//   outbox/<unit>/sent/<session>/     what a good session delivered
//   log/host.log                      one line per session
// <kind> is apps, datasets (with optional datasets/<application>/), messages, updates.
#include <string>
#include <string_view>

namespace host {

inline constexpr const char* kSharedOutbox = "all";
inline constexpr const char* kPartialPrefix = ".partial-";

struct HostTree {
  std::string root;  // without a trailing separator

  std::string inbox() const;
  std::string unitInbox(std::string_view unit) const;
  std::string outbox() const;
  std::string unitOutbox(std::string_view unit) const;  // outbox/all for kSharedOutbox
  std::string log() const;
};

// a + separator + b (platform::kSep).
std::string join(std::string_view a, std::string_view b);

// True when a unit identifier from a login block may name the unit's folders:
// a plain file name (no folder, device or trailing dot; received_names.hpp)
// that is not the shared outbox's "all" (in any case) and does not start
// with the partial prefix's dot.
bool unitFolderAllowed(std::string_view unit);

// Creates each missing folder of path below root's existing part (path must
// lie under root). 0 or the error code.
[[nodiscard]] int makeFolders(const std::string& root, const std::string& path);

// Removes the folder with everything in it; symbolic links are removed, never
// followed. 0, or the first error (removal goes on past it).
int removeTree(const std::string& path);

}  // namespace host
