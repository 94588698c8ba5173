#include "apps/required_files.hpp"

#include "apps/package_extract.hpp"
#include "apps/package_reader.hpp"
#include "apps/package_required_files.hpp"
#include "base/paths.hpp"
#include "platform/codepage.hpp"
#include "platform/files.hpp"

namespace apps {

int loadRequiredFiles(Package& package, const std::string& folder, std::vector<RequiredFile>& out) {
  out.clear();
  if (extractByName(package, kRequiredFilesName, folder) != 0) return 0;
  std::vector<std::string> names;
  readRequiredFiles(base::joinPath(folder, kRequiredFilesName, platform::kSep), names);
  for (const std::string& n : names) {
    if (static_cast<int>(out.size()) >= kMaxRequiredFiles) break;
    if (n.size() > kRequiredNameChars) continue;
    out.push_back(RequiredFile{n, platform::toWide(n)});
  }
  return static_cast<int>(out.size());
}

}  // namespace apps
