#include "datasets/version_check.hpp"

#include "apps/app_open.hpp"
#include "apps/version_table.hpp"
#include "apps/versions.hpp"
#include "base/paths.hpp"
#include "base/text.hpp"
#include "config/process_values.hpp"
#include "datasets/data_names.hpp"
#include "platform/codepage.hpp"
#include "platform/fileops.hpp"
#include "tablestore/table_store.hpp"
#include "ui/host.hpp"

namespace datasets {

namespace {

using Path = config::SettingsRecord::Path;

std::size_t fieldWidth(const char* name) {
  for (const auto& f : apps::versionTableFields())
    if (f.name == name) return static_cast<std::size_t>(f.length);
  return 0;
}

std::string stamped(const std::string& text, const char* field) {
  return base::trim(std::string_view(text).substr(0, fieldWidth(field)));
}

void differentVersion(ui::Host& host) {
  ui::inform(host, "Data Collected With a different App Version.", "Debug Error");
}

}  // namespace

int installedHeader(apps::AppContext& ctx, apps::TfaHeader& out) {
  const char sep = ctx.values.style.sep;
  const std::string appFolder = ctx.values.settings.path(Path::AppFolder);
  const std::string copy = apps::headerCopyPath(appFolder, sep);
  if (platform::fileExists(copy) && apps::readHeaderCopy(ctx.host, copy, out) == 0) return 0;
  const std::string package =
      apps::packagePath(ctx.values.appPath, ctx.values.settings.path(Path::CurAppName), sep);
  apps::TfaHeader header;
  if (!platform::fileExists(package) || apps::readPackageHeader(package, header) != apps::kHeaderOk) {
    ui::inform(ctx.host, "tfa_source_file doesn't exist.", "Debug Error");
    return kDatasetVersionNoHeader;
  }
  apps::storeHeaderCopy(ctx.host, appFolder, sep, header);
  out = header;
  return 0;
}

apps::TfaHeader asStamped(const apps::TfaHeader& header) {
  apps::TfaHeader out = header;
  out.setAppName(stamped(header.appName(), "APP_NAME"));
  out.setAppDate(stamped(header.appDate(), "APP_DATE"));
  out.setHierDate(stamped(header.hierDate(), "HIER_DATE"));
  out.setHierTime(stamped(header.hierTime(), "HIER_TIME"));
  return out;
}

int checkDatasetVersion(apps::AppContext& ctx, const std::string& dataFolder, const std::string& level1FileName) {
  std::string name;
  if (!rawVersionTableNameOf(level1FileName, name)) {
    ui::inform(ctx.host, "!build_tfa_data_app_header_fname", "debug");
    return kDatasetVersionNotNamed;
  }
  apps::TfaHeader installed;
  if (int rc = installedHeader(ctx, installed)) return rc;

  const std::string path8 =
      base::joinPath(base::trimRight(platform::toNarrow(dataFolder)), name, ctx.values.style.sep);
  apps::VersionTable vt = apps::openVersionTable(ctx.tables, path8);
  if (vt.table == nullptr) {
    ctx.tables.clearError();
    return kDatasetVersionNoTable;
  }
  // A version table without its record has no stamp yet: it takes this one.
  if (vt.table->recordCount() < 1) vt.created = true;

  int result = kDatasetVersionOk;
  if (vt.created) {
    if (apps::writeVersionTable(vt, installed) != apps::kVersionOk) result = kDatasetVersionNotStamped;
  } else {
    apps::TfaHeader stored;
    const std::string copy = apps::headerCopyPath(ctx.values.settings.path(Path::AppFolder), ctx.values.style.sep);
    if (apps::readVersionTable(ctx.host, vt, installed, copy, stored) != apps::kVersionOk ||
        !apps::sameDataStructure(stored, asStamped(installed))) {
      differentVersion(ctx.host);
      result = kDatasetVersionDifferent;
    }
  }
  ctx.tables.clearError();
  ctx.tables.closeTable(vt.table);
  return result;
}

}  // namespace datasets
