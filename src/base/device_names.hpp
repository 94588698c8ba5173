#pragma once
// The names Windows keeps for devices in every folder. A file given one of
// these names opens the device instead, so no name read from outside input
// may be one.
#include <string_view>

namespace base {

// True when name is a device name: CON, PRN, AUX, NUL, CONIN$, CONOUT$,
// COM1-9, LPT1-9 and COM/LPT with a superscript 1-3 (8-bit or UTF-8), with or
// without an extension, in any case, with blanks around the name or before
// the extension ignored ("con", "Prn.dbf", " aux ", "LPT1 .txt").
bool isDeviceName(std::string_view name);

}  // namespace base
