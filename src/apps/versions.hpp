#pragma once
// Application versions: comparing two package headers, reading a package's
// header, and the header copy kept beside an installed application.
#include <string>

#include "apps/tfa_header.hpp"

namespace ui {
class Host;
}

namespace apps {

// Results of compareHeaders(a, b), tested in this order.
enum HeaderCompare : int {
  kHdrOtherName = -99,  // APP_NAME differs (exact comparison)
  kHdrNewerStructure = 10,
  kHdrOlderStructure = -10,
  kHdrNewerMajor = 5,
  kHdrOlderMajor = -5,
  kHdrNewerMinor = 4,
  kHdrOlderMinor = -4,
  kHdrNewerBuild = 3,
  kHdrOlderBuild = -3,
  kHdrSame = 0,
};

// -99 when APP_NAME differs (letter case counts); else +10/-10 when a's
// HIER_VER is greater/smaller than b's; then +5/-5 APP_VMAJOR, +4/-4
// APP_VMINOR, +3/-3 APP_BUILD; 0 when all are equal.
int compareHeaders(const TfaHeader& a, const TfaHeader& b);

// True when both describe the same data structure: APP_NAME equal without
// regard to case, HIER_VER equal, HIER_DATE and HIER_TIME equal without regard
// to case.
bool sameDataStructure(const TfaHeader& a, const TfaHeader& b);

// Codes of the header reads.
enum HeaderRead : int {
  kHeaderOk = 0,
  kHeaderCannotOpen = -1,
  kHeaderReadFailed = -2,
  kHeaderShort = -3,  // fewer than 1560 bytes came
};

// The package file of name in folder: ".tfa" is added when the name does not
// already end in it (letter case ignored).
std::string packagePath(const std::string& folder, const std::string& name, char sep);

// Reads the first 1560 bytes of the package at path into header, showing
// nothing: kHeaderOk, kHeaderCannotOpen, kHeaderReadFailed or kHeaderShort.
// header is written only on kHeaderOk.
int readPackageHeader(const std::string& path, TfaHeader& header);

// readPackageHeader of packagePath(folder, name); when the package cannot be
// opened a box shows the path (caption "Can't Open App for Read").
int getPackageHeader(ui::Host& host, const std::string& folder, const std::string& name, char sep,
                     TfaHeader& header);

// Whether a header belongs to the package file fileName: its APP_NAME names
// that file (letter case ignored), the rule extraction applies. A header of
// garbage bytes, or of a package that was renamed, fails it.
bool headerNamesPackage(const TfaHeader& header, const std::string& fileName);

// The header copy "_tfa_app_hdr.dft" in an application folder.
std::string headerCopyPath(const std::string& appFolder, char sep);
bool headerCopyExists(const std::string& appFolder, char sep);
// Writes the header copy, only when the application folder exists:
// writeHeaderCopy's codes (0, -1, -2, -3, each reported), or -4 (nothing
// written, nothing shown) when the folder is missing.
int storeHeaderCopy(ui::Host& host, const std::string& appFolder, char sep, const TfaHeader& header);

// Makes the header copy match the package header it was extracted from: when
// the copy is missing, unreadable or differs in any byte it is written anew.
// A copy left from an earlier package would stamp new datasets with the old
// header and let old datasets pass the structure check against a changed
// structure. Returns 0 when the copy matches (already or now), else the code
// of the failed write.
int refreshHeaderCopy(ui::Host& host, const std::string& appFolder, char sep,
                      const TfaHeader& packageHeader);

}  // namespace apps
