#pragma once
// Installing an application's files from its package, behind the progress
// window.
#include <string>

#include "apps/tfa_header.hpp"

namespace ui {
class Host;
}

namespace apps {

// Results of extractApplication besides the member codes (PackageCode).
enum InstallResult : int {
  kInstallOk = 0,
  kInstallCannotOpen = -1,         // the package cannot be opened
  kInstallNotValid = -2,           // the header names another file
  kInstallNoRequiredFiles = -100,  // "ReqFiles.dbf" is missing, cannot be extracted, unreadable or empty
  kInstallPackageMissing = -120,   // there is no package file
};

// Extracts the application in the package at packagePath into appFolder
// (UTF-8 paths; the folder is made when missing). On the UI thread:
//  - no package file: the path (caption "Can't Find Error"), then "TFA_Extract
//    Can't Find TFA File" (caption "Error"); kInstallPackageMissing;
//  - it cannot be opened or its header read: the path (caption "Can't Open
//    TFA File"); kInstallCannotOpen;
//  - its file name is not the header's APP_NAME (without regard to case):
//    "\"<file name>\" File is Not Valid\n  Can't Open Application!!" (caption
//    "App Not Valid!!"); kInstallNotValid;
//  - the header copy "_tfa_app_hdr.dft" in appFolder is read when it exists,
//    else written from the package header (readHeaderCopy / writeHeaderCopy
//    report their own failures, which do not stop the installation);
//    appHeader, when given, receives the copy in force.
// Then, behind the progress window (resource 230), a worker extracts
// "ReqFiles.dbf" and each member it lists, in order, reporting per cent and
// member name. No list, one that cannot be extracted, an unreadable one or an
// empty one:
// kInstallNoRequiredFiles and nothing more is extracted. A member that fails
// (a listed member the package lacks is kPkgBadIndex) is told once the window
// has closed, "Can't Extract:<member>" (caption "TFA_Extract Error"), and its
// code is the result; the members extracted before it stay. 0 when all are in.
int extractApplication(ui::Host& host, const std::string& packagePath, const std::string& appFolder,
                       TfaHeader* appHeader = nullptr);

// Copies the package file from to to (retrying as all file operations do)
// through a temporary file beside the target (to + ".new"), which then takes
// the target's place in one step: a copy that fails or is cut short leaves
// the package under that name as it was, and no temporary file. 0 or the
// error code of the step that failed.
int copyPackage(const std::string& from, const std::string& to);

}  // namespace apps
