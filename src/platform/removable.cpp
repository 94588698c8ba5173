// The parts of the removable drive list both platforms share: entries, their
// paths and the folders named in the registry.
#include "platform/removable.hpp"

#include <algorithm>

#include "base/text.hpp"
#include "platform/fileops.hpp"
#include "platform/registry.hpp"

namespace platform {

namespace {

bool isSeparator(char c) { return c == '/' || c == '\\'; }

std::string lastComponent(std::string_view folder) {
  std::size_t cut = folder.find_last_of("/\\");
  return std::string(cut == std::string_view::npos ? folder : folder.substr(cut + 1));
}

}  // namespace

std::string removableEntry(std::string_view place, std::string_view label) {
  std::string out(place);
  out.push_back('(');
  for (char c : label) out.push_back(c == '(' ? '[' : (c == ')' ? ']' : c));
  out.push_back(')');
  return out;
}

std::string removableEntryPath(std::string_view entry, char sep) {
  std::string_view place = entry;
  std::size_t open = entry.rfind('(');
  if (!entry.empty() && entry.back() == ')' && open != std::string_view::npos) place = entry.substr(0, open);
  std::string out(place);
  if (out.empty() || !isSeparator(out.back())) out.push_back(sep);
  return out;
}

void addRegistryFolders(std::vector<std::string>& out) {
  std::string value;
  if (!getAppSetting(kRemovableFoldersValue, value, 1 << 16)) return;
  std::vector<std::string> pieces;
  base::splitTokens(value, ";", pieces, 1 << 12);
  for (const std::string& piece : pieces) {
    if (out.size() >= kMaxRemovableEntries) return;
    std::string folder = base::trim(piece);
    // A root ("/", "E:\") keeps its separator; others lose a trailing one.
    while (folder.size() > 1 && isSeparator(folder.back()) && folder[folder.size() - 2] != ':') folder.pop_back();
    if (folder.empty() || !folderExists(folder)) continue;
    std::string label = lastComponent(folder);
    if (label.empty()) label = folder;
    std::string entry = removableEntry(folder, label);
    if (entry.size() > kMaxRemovableEntryChars) continue;
    if (std::find(out.begin(), out.end(), entry) == out.end()) out.push_back(std::move(entry));
  }
}

}  // namespace platform
