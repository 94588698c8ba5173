#include "datasets/coordinate_cleanup.hpp"

#include "base/paths.hpp"
#include "base/text.hpp"
#include "datasets/erase_files.hpp"
#include "ui/host.hpp"

namespace datasets {

int deleteTemporaryFiles(ui::Host& host, const std::string& dataFolder, char sep) {
  const std::string pattern = base::joinPath(base::trimRight(dataFolder), kTemporaryFilesPattern, sep);
  return eraseMatching(host, pattern, "Deleting Coordinate Files").failed;
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
