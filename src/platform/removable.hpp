#pragma once
// Removable drives: the storage cards and sticks data and applications are
// exchanged on. Each drive is one entry "<place>(<label>)": on Windows the
// drive letter and colon ("E:(CARD)"), on POSIX the mount point
// ("/media/ann/CARD(CARD)"). Besides the drives the system flags as
// removable, every existing folder named in the registry value "Removable
// Storage Folders" (REG_SZ under the program's key, entries separated by ';')
// counts as one: card readers the kernel does not flag, and tests.
#include <string>
#include <string_view>
#include <vector>

namespace platform {

inline constexpr const char* kRemovableFoldersValue = "Removable Storage Folders";
// The drive list holds at most this many entries, each under 260 characters.
inline constexpr std::size_t kMaxRemovableEntries = 64;
inline constexpr std::size_t kMaxRemovableEntryChars = 259;

// Fills out (cleared first) with the removable drives, then the registry's
// folders. Returns 0, or the system's error code when it cannot report its
// drives (out then holds the registry's folders only).
int listRemovableDrives(std::vector<std::string>& out);

// The entry of a place and its label. A label's parentheses become brackets,
// so that the entry's own last "(" always starts the label.
std::string removableEntry(std::string_view place, std::string_view label);

// The path of an entry: the trailing "(LABEL)" dropped and a separator added
// ("E:(CARD)" gives "E:\").
std::string removableEntryPath(std::string_view entry, char sep);

// Appends the entries of the registry's folders (each one that exists, with
// the folder's last component as its label), up to the list's capacity.
void addRegistryFolders(std::vector<std::string>& out);

#ifndef _WIN32
// Where the POSIX reader looks; tests point these into a folder of their own.
struct MountRoots {
  std::string mounts = "/proc/self/mounts";
  std::string sysBlock = "/sys/block";
  std::string byLabel = "/dev/disk/by-label";
};

struct MountEntry {
  std::string device;      // e.g. "/dev/sdb1"
  std::string mountPoint;  // octal escapes (\040 ...) decoded
  std::string type;
};
// Parses the text of a mounts file; lines with fewer than three fields are skipped.
std::vector<MountEntry> parseMounts(std::string_view text);

// The mounted file systems whose block device the kernel flags removable
// (<sysBlock>/<disk>/removable is 1; a partition is found under its disk),
// each mount point once, labelled from byLabel or else by the mount point's
// last component. Returns 0, or the error code when the mounts file cannot be
// read.
int listRemovableMounts(const MountRoots& roots, std::vector<std::string>& out);
#endif

}  // namespace platform
