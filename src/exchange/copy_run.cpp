#include "exchange/copy_run.hpp"

#include "base/text.hpp"
#include "exchange/whole_copy.hpp"
#include "platform/fileops.hpp"

namespace exchange {

namespace {

std::string nameOf(const std::string& path) {
  const auto cut = path.rfind(platform::kSep);
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace

CopyRun runCopies(const std::vector<CopyStep>& steps, SourcePolicy policy, bool stopAtFirstFailure,
                  ui::Progress* progress) {
  CopyRun run;
  run.errors.assign(steps.size(), kNotTried);
  const int total = static_cast<int>(steps.size());
  for (int i = 0; i < total; ++i) {
    const CopyStep& s = steps[static_cast<std::size_t>(i)];
    if (progress != nullptr)
      progress->report(100 * i / total, base::format("%d of %d  ", i + 1, total) + nameOf(s.from));
    const int rc = copyWholeFile(s.from, s.size, s.to);
    run.errors[static_cast<std::size_t>(i)] = rc;
    if (rc == 0) {
      ++run.copied;
      if (policy == SourcePolicy::DeleteEach) (void)platform::deleteFile(s.from);
    } else if (stopAtFirstFailure) {
      break;
    }
  }
  if (policy == SourcePolicy::DeleteAllAfter && run.allCopied())
    for (const CopyStep& s : steps) (void)platform::deleteFile(s.from);
  if (progress != nullptr) progress->report(100, "");
  return run;
}

CopyRun runCopiesWithProgress(ui::Host& host, const std::string& title, const std::string& datasetEntry,
                              const std::vector<CopyStep>& steps, SourcePolicy policy, bool stopAtFirstFailure) {
  ui::ProgressSpec desc;
  desc.title = title;
  desc.line1 = "      Dataset:" + datasetEntry;
  CopyRun run;
  run.errors.assign(steps.size(), kNotTried);
  const int started = ui::runWithProgress(host, desc, [&](ui::Progress& progress) {
    run = runCopies(steps, policy, stopAtFirstFailure, &progress);
    return run.copied;
  });
  (void)started;  // -1: no worker; run then says nothing was tried
  return run;
}

}  // namespace exchange
