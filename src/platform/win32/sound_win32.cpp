#include <windows.h>
#include <mmsystem.h>

#include "platform/sound.hpp"
#include "platform/win32/wide.hpp"

namespace platform {

void playSoundFile(const std::string& path) {
  if (path.empty()) return;
  // SND_NODEFAULT: a missing file stays silent instead of the system's beep.
  (void)::PlaySoundW(win32::toUtf16(path).c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
}

}  // namespace platform
