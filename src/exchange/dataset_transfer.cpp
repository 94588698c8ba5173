#include "exchange/dataset_transfer.hpp"

#include "base/paths.hpp"
#include "base/text.hpp"
#include "exchange/copy_run.hpp"
#include "exchange/dataset_files.hpp"
#include "platform/clock.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"
#include "platform/removable.hpp"
#include "ui/host.hpp"

namespace exchange {

namespace {

std::string join(const std::string& folder, const std::string& name) {
  return base::joinPath(folder, name, platform::kSep);
}

std::vector<CopyStep> stepsFor(const FileSelection& sel, const std::string& from, const std::string& to) {
  std::vector<CopyStep> steps;
  for (const auto& f : sel.files) steps.push_back({join(from, f.name), join(to, f.name), f.size});
  return steps;
}

// Each failed copy of the run, in order, as the message form gives it.
void reportFailures(ui::Host& host, const CopyRun& run, const char* form, const char* caption) {
  for (int rc : run.errors)
    if (rc != 0 && rc != kNotTried) ui::inform(host, base::format(form, rc), caption);
}

}  // namespace

std::string removableAppFolder(const std::string& driveEntry, const std::string& appName) {
  const std::string root = platform::removableEntryPath(driveEntry, platform::kSep) + kRemovableRootFolder;
  return join(join(root, kRemovableDataFolder), appName);
}

bool ensureFolder(ui::Host& host, const std::string& folder) {
  if (platform::folderExists(folder)) return true;
  const int rc = platform::makeFolderOnce(folder);
  if (rc == 0 || (rc == platform::kErrAlreadyExists && platform::folderExists(folder))) return true;
  ui::inform(host, base::format("%s\nCreateDirectory Failed:%d\n", folder.c_str(), rc), "Error !");
  return false;
}

int copyDatasetToFolder(ui::Host& host, const std::string& driveEntry, const std::string& appName,
                        const std::string& dataFolder, const DatasetRef& ref, bool move) {
  const std::string root = platform::removableEntryPath(driveEntry, platform::kSep) + kRemovableRootFolder;
  const std::string data = join(root, kRemovableDataFolder);
  const std::string target = join(data, appName);
  for (const std::string* level : {&root, &data, &target}) (void)ensureFolder(host, *level);

  const FileSelection sel = selectDatasetFiles(dataFolder, ref);
  if (!sel.matchedAny) {
    ui::inform(host, "No Datasets Found !", "Dataset Error");
    return 0;
  }
  if (sel.files.empty()) {
    ui::inform(host, driveEntry, "Drive Not Found!");
    return 0;
  }
  const CopyRun run =
      runCopiesWithProgress(host, move ? "***** Move Dataset *****" : "***** Backup Dataset *****",
                            datasetEntryText(ref), stepsFor(sel, dataFolder, target),
                            move ? SourcePolicy::DeleteEach : SourcePolicy::Keep, false);
  reportFailures(host, run, "CopyFile failed with code:%d\n", "CopyFileError !");
  return run.allCopied() ? run.copied : 0;
}

int copyDatasetIntoApplication(ui::Host& host, const std::string& targetFolder, const std::string& sourceFolder,
                               const DatasetRef& ref, bool move) {
  if (!selectDatasetFiles(targetFolder, ref).files.empty()) {
    const char* name = ref.name.c_str();
    if (ui::askYesNo(host,
                     base::format("Dataset:%s\nIs Already Present!!\n OVERWRITE the Existing DataSet??\n", name),
                     "Overwrite Warning a !") != ui::kIdYes)
      return kCopyDeclined;
    if (ui::askYesNo(host, base::format("Are You Sure That You Want to OVERWRITE the Existing DataSet:%s??\n", name),
                     "Overwrite Warning b !") != ui::kIdYes)
      return kCopyDeclined;
  }
  (void)ensureFolder(host, targetFolder);
  const FileSelection sel = selectDatasetFiles(sourceFolder, ref);
  if (sel.files.empty()) {
    ui::inform(host, "Datasets Not Found", "Error");
    return 0;
  }
  const CopyRun run =
      runCopiesWithProgress(host, move ? "***** Post Dataset *****" : "***** Copy Dataset *****",
                            datasetEntryText(ref), stepsFor(sel, sourceFolder, targetFolder),
                            move ? SourcePolicy::DeleteAllAfter : SourcePolicy::Keep, true);
  if (!run.allCopied()) {
    int rc = platform::kErrInvalidParameter;  // no worker ran
    for (int e : run.errors)
      if (e != 0 && e != kNotTried) rc = e;
    ui::inform(host, base::format("CopyFile failed with code:%d\nNot All Dataset Files Posted", rc), "Error !");
    return 0;
  }
  return run.copied;
}

std::string archiveFolder(const std::string& dataFolder, int year, int month, int day) {
  return join(join(dataFolder, kArchivesFolder), base::format("%04d%02d%02d", year, month, day));
}

int archiveDataset(ui::Host& host, const std::string& dataFolder, const DatasetRef& ref, bool move) {
  const platform::DateTime now = platform::clock().localTime();
  const std::string archives = join(dataFolder, kArchivesFolder);
  const std::string today = archiveFolder(dataFolder, now.year, now.month, now.day);
  (void)ensureFolder(host, archives);
  (void)ensureFolder(host, today);

  const FileSelection sel = selectDatasetFiles(dataFolder, ref);
  if (sel.files.empty()) return 0;
  const CopyRun run = runCopiesWithProgress(host, "***** Archive Dataset *****", datasetEntryText(ref),
                                            stepsFor(sel, dataFolder, today),
                                            move ? SourcePolicy::DeleteEach : SourcePolicy::Keep, false);
  reportFailures(host, run, "Archive Dataset failed with code:%d\n", "CopyFileError!");
  return run.allCopied() ? run.copied : 0;
}

}  // namespace exchange
