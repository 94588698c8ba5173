#pragma once
// The names a host gives the files it sends are outside input: a file is
// created under a received name only when it is a plain file name, so a
// host can never write outside the receive folder or open a device.
#include <string_view>

namespace transfer {

// True when name is a plain file name: 1-259 bytes; no control character
// (below the blank, or DEL); none of / \ : * ? " < > | (so no folder, no
// drive letter "C:", no stream); not "." or ".." and no trailing dot or
// blank (Windows would drop them and name another file); not a device name
// (CON, PRN, AUX, NUL, COM1-9, LPT1-9 and the others of base::isDeviceName,
// with or without an extension, in any case).
bool plainReceivedName(std::string_view name);

// True when a program update file of this name may be placed in the install
// folder: a plain received name that is none of the program's own state
// files, compared in any case — the settings files "tfp_mobilePC.dft" and
// "xsu.dft", the GPS files "GPS_Parms.dft" and "GPS_Port.dft", the registry
// store "registry" and the update starter's abort file "abort.dat".
bool updateMayReplace(std::string_view name);

}  // namespace transfer
