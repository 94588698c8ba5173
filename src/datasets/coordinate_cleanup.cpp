#include "datasets/coordinate_cleanup.hpp"

#include <vector>

#include "base/paths.hpp"
#include "base/text.hpp"
#include "platform/fileops.hpp"
#include "ui/host.hpp"
#include "ui/progress.hpp"

namespace datasets {

int deleteTemporaryFiles(ui::Host& host, const std::string& dataFolder, char sep) {
  const std::string folder = base::trimRight(dataFolder);
  std::vector<platform::FindEntry> found;
  platform::findFiles(base::joinPath(folder, kTemporaryFilesPattern, sep), found);
  std::vector<std::string> names;
  for (const auto& f : found)
    if (!f.isFolder) names.push_back(f.name);
  if (names.empty()) return 0;

  ui::ProgressSpec desc;
  desc.title = "Deleting Coordinate Files";
  const int failed = ui::runWithProgress(host, desc, [&](ui::Progress& progress) {
    int left = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
      progress.report(static_cast<int>(100 * i / names.size()), names[i]);
      if (platform::deleteFile(base::joinPath(folder, names[i], sep)) != 0) ++left;
    }
    progress.report(100, "");
    return left;
  });
  // No worker: nothing was deleted.
  return failed < 0 ? static_cast<int>(names.size()) : failed;
}

int clearTemporaryFiles(ui::Host& host, const std::string& dataFolder, char sep) {
  if (deleteTemporaryFiles(host, dataFolder, sep) == 0) return 1;
  const int answer = host.messageBox("All Coordinate\nFiles Can Not be Erased !", "Error",
                                     ui::kMbRetryCancel | ui::kMbIconQuestion | ui::kMbTopmost);
  if (answer != ui::kIdRetry) return 1;
  if (deleteTemporaryFiles(host, dataFolder, sep) == 0) return 1;
  ui::inform(host, "Second Try for\nErase Coordinate Files Failed !", "Error");
  return 0;
}

}  // namespace datasets
