// Removable drives on POSIX: the mounted file systems whose block device the
// kernel flags removable, then the registry's folders.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "platform/errors.hpp"
#include "platform/files.hpp"
#include "platform/removable.hpp"

namespace platform {

namespace {

// Kernel files report no size: read until the end, at most limit bytes.
int readText(const std::string& path, std::string& out, std::size_t limit = 1 << 20) {
  out.clear();
  std::unique_ptr<FileHandle> file;
  if (int rc = nativeFileSystem().open(path, Access::Read, Disposition::OpenExisting, file)) return rc;
  char buffer[4096];
  while (out.size() < limit) {
    std::size_t done = 0;
    if (int rc = file->read(buffer, sizeof buffer, done)) return rc;
    if (done == 0) break;
    out.append(buffer, std::min(done, limit - out.size()));
  }
  return 0;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The mounts file writes space, tab, newline and backslash as \ooo.
std::string decodeOctal(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size()) {
      const char a = text[i + 1], b = text[i + 2], c = text[i + 3];
      if (a >= '0' && a <= '3' && b >= '0' && b <= '7' && c >= '0' && c <= '7') {
        out.push_back(static_cast<char>((a - '0') * 64 + (b - '0') * 8 + (c - '0')));
        i += 3;
        continue;
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

// Label links name their label with \xHH for bytes a file name cannot hold.
std::string decodeHex(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x') {
      const int hi = hexValue(text[i + 2]), lo = hexValue(text[i + 3]);
      if (hi >= 0 && lo >= 0) {
        out.push_back(static_cast<char>(hi * 16 + lo));
        i += 3;
        continue;
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

std::string baseName(std::string_view path) {
  while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  std::size_t cut = path.rfind('/');
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

bool isFolder(const std::string& path) {
  struct stat st{};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<std::string> folderNames(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return names;
  while (struct dirent* e = ::readdir(dir)) {
    std::string name = e->d_name;
    if (name != "." && name != "..") names.push_back(std::move(name));
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

// The kernel's name of the block device behind a mount's device path: a
// link (/dev/disk/by-uuid/..., /dev/mapper/...) is followed first.
std::string deviceName(const std::string& device) {
  struct stat st{};
  if (::lstat(device.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    char resolved[PATH_MAX];
    if (::realpath(device.c_str(), resolved) != nullptr) return baseName(resolved);
  }
  return baseName(device);
}

bool flaggedRemovable(const std::string& disk, const MountRoots& roots) {
  std::string text;
  if (readText(roots.sysBlock + "/" + disk + "/removable", text, 64) != 0) return false;
  return !text.empty() && text[0] == '1';
}

// A whole disk carries the flag itself; a partition is a folder of its disk.
bool removableDevice(const std::string& name, const MountRoots& roots) {
  if (name.empty() || name == "." || name == "..") return false;
  if (isFolder(roots.sysBlock + "/" + name)) return flaggedRemovable(name, roots);
  for (const std::string& disk : folderNames(roots.sysBlock))
    if (isFolder(roots.sysBlock + "/" + disk + "/" + name)) return flaggedRemovable(disk, roots);
  return false;
}

std::string labelOf(const std::string& name, const std::string& mountPoint, const MountRoots& roots) {
  for (const std::string& link : folderNames(roots.byLabel)) {
    char target[PATH_MAX];
    ssize_t n = ::readlink((roots.byLabel + "/" + link).c_str(), target, sizeof target - 1);
    if (n <= 0) continue;
    if (baseName(std::string_view(target, static_cast<std::size_t>(n))) == name) return decodeHex(link);
  }
  std::string last = baseName(mountPoint);
  return last.empty() ? mountPoint : last;
}

}  // namespace

std::vector<MountEntry> parseMounts(std::string_view text) {
  std::vector<MountEntry> out;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    std::string_view fields[3];
    int count = 0;
    std::size_t i = 0;
    while (count < 3 && i < line.size()) {
      while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
      std::size_t from = i;
      while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
      if (i > from) fields[count++] = line.substr(from, i - from);
    }
    if (count < 3) continue;
    out.push_back({decodeOctal(fields[0]), decodeOctal(fields[1]), decodeOctal(fields[2])});
  }
  return out;
}

int listRemovableMounts(const MountRoots& roots, std::vector<std::string>& out) {
  std::string text;
  if (int rc = readText(roots.mounts, text)) return rc;
  std::vector<std::string> seen;
  for (const MountEntry& m : parseMounts(text)) {
    if (out.size() >= kMaxRemovableEntries) break;
    if (m.device.rfind("/dev/", 0) != 0 || m.mountPoint.empty()) continue;
    if (m.mountPoint.find('\0') != std::string::npos) continue;
    if (std::find(seen.begin(), seen.end(), m.mountPoint) != seen.end()) continue;
    const std::string name = deviceName(m.device);
    if (!removableDevice(name, roots)) continue;
    std::string entry = removableEntry(m.mountPoint, labelOf(name, m.mountPoint, roots));
    if (entry.size() > kMaxRemovableEntryChars) continue;
    seen.push_back(m.mountPoint);
    out.push_back(std::move(entry));
  }
  return 0;
}

int listRemovableDrives(std::vector<std::string>& out) {
  out.clear();
  int rc = listRemovableMounts(MountRoots{}, out);
  addRegistryFolders(out);
  return rc;
}

}  // namespace platform
