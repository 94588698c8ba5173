#pragma once
// Packages for the version, installation and opening tests, built by the
// package builder from a small description with the version header asked for.
#include <string>

#include "apps/tfa_header.hpp"

namespace install_test {

struct Version {
  bool present = true;  // false: the header carries no version data
  int major = 1, minor = 0, build = 0, structure = 1;
  std::string date = "01/02/2021", structureDate = "01/01/2021", structureTime = "10:00:00";
  std::string password;
};

// A version with these numbers and the default texts.
inline Version v(int structure, int major, int minor, int build) {
  Version out;
  out.structure = structure;
  out.major = major;
  out.minor = minor;
  out.build = build;
  return out;
}

// A one-level application (table TREES, one column) named name.
std::string appDescription(const std::string& name, const Version& version, bool compiled = true);

// Builds the package of that application at packagePath; its folder is made
// in a fresh folder under scratch. The running test fails on a builder error.
void buildPackage(const std::string& scratch, const std::string& name, const Version& version,
                  const std::string& packagePath, bool compiled = true);

// The first 1560 bytes of a file, as a header.
apps::TfaHeader headerOf(const std::string& path);
// Replaces the first 1560 bytes of a file with header.
void putHeader(const std::string& path, const apps::TfaHeader& header);

}  // namespace install_test
