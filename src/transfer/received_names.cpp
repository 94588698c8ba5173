#include "transfer/received_names.hpp"

#include "base/device_names.hpp"
#include "base/text.hpp"
#include "config/settings.hpp"
#include "datasets/data_names.hpp"
#include "gps/parms.hpp"
#include "gps/port_settings.hpp"

namespace transfer {

namespace {

constexpr std::size_t kMaxNameBytes = 259;
// Named where they are used (the registry's file store, the main window's
// update watch); repeated here because those layers sit beside or above this one.
constexpr const char* kRegistryStoreName = "registry";
constexpr const char* kAbortFileName = "abort.dat";

}  // namespace

bool plainReceivedName(std::string_view name) {
  if (name.empty() || name.size() > kMaxNameBytes) return false;
  // fileNameSafe refuses control characters, separators, the colon and the wildcards.
  if (!datasets::fileNameSafe(name) || name.find('\x7F') != std::string_view::npos) return false;
  if (name.back() == '.' || name.back() == ' ') return false;  // also "." and ".."
  return !base::isDeviceName(name);
}

bool updateMayReplace(std::string_view name) {
  if (!plainReceivedName(name)) return false;
  const char* kept[] = {config::kSettingsFileName, config::kTransferPortFileName,
                        gps::kParmsFileName,       gps::kPortFileName,
                        kRegistryStoreName,        kAbortFileName};
  for (const char* file : kept)
    if (base::equalsNoCase(name, file)) return false;
  return true;
}

}  // namespace transfer
