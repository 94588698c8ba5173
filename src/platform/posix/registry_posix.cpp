#include <sys/stat.h>

#include "platform/registry.hpp"
#include "platform/system.hpp"

namespace platform {

// The store lives in the user's configuration folder; the machine's family
// name comes from the firmware tables the kernel exposes.
Registry& nativeRegistry() {
  static std::unique_ptr<Registry> store = [] {
    std::string folder = userConfigFolder() + "tallyfin";
    ::mkdir(userConfigFolder().c_str(), 0700);
    ::mkdir(folder.c_str(), 0700);
    return makeFileRegistry(folder + "/registry", "/sys/class/dmi/id/product_family");
  }();
  return *store;
}

}  // namespace platform
