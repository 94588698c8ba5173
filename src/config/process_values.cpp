#include "config/process_values.hpp"

#include "platform/system.hpp"

namespace config {

PathStyle windowsPathStyle() {
  return PathStyle{'\\', "Tallyfin PC.exe", "Orvandat\\Tallyfin PC", "C:\\Orvandat\\Tallyfin PC"};
}

PathStyle posixPathStyle(const std::string& userDataFolder) {
  return PathStyle{'/', "tallyfin", "Orvandat/Tallyfin PC", userDataFolder + "Orvandat/Tallyfin PC"};
}

PathStyle nativePathStyle() {
  return platform::nativePathFamily() == platform::PathFamily::Windows
             ? windowsPathStyle()
             : posixPathStyle(platform::userDataFolder());
}

}  // namespace config
