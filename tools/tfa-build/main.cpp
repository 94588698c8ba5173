// tfa-build: application packages from readable JSON descriptions.
//
//   tfa-build build DESCRIPTION.json --out FOLDER [--package FILE.tfa]
//   tfa-build check DESCRIPTION.json
//   tfa-build inspect FILE.tfa
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "apps/package_describe.hpp"
#include "tfabuild/build.hpp"
#include "tfabuild/read_description.hpp"

namespace {

int usage() {
  std::fputs(
      "usage: tfa-build build DESCRIPTION.json --out FOLDER [--package FILE.tfa]\n"
      "       tfa-build check DESCRIPTION.json\n"
      "       tfa-build inspect FILE.tfa\n",
      stderr);
  return 2;
}

int report(const tfabuild::Diagnostics& diag) {
  std::fputs(diag.text().c_str(), stderr);
  return diag.ok() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() < 2) return usage();
  const std::string& command = args[0];
  if (command == "inspect" && args.size() == 2) {
    std::string text;
    int rc = apps::describePackage(args[1], text);
    std::fputs(text.c_str(), stdout);
    if (rc != 0) std::fprintf(stderr, "tfa-build: %s: cannot read the package (code %d)\n", args[1].c_str(), rc);
    return rc == 0 ? 0 : 1;
  }
  if (command == "check" && args.size() == 2) {
    tfabuild::AppModel app;
    tfabuild::Diagnostics diag;
    tfabuild::readDescriptionFile(args[1], app, diag);
    return report(diag);
  }
  if (command == "build") {
    tfabuild::BuildOptions options;
    std::string description;
    for (std::size_t i = 1; i < args.size(); ++i) {
      if (args[i] == "--out" && i + 1 < args.size()) {
        options.appFolder = args[++i];
      } else if (args[i] == "--package" && i + 1 < args.size()) {
        options.packagePath = args[++i];
      } else if (description.empty() && args[i].rfind("--", 0) != 0) {
        description = args[i];
      } else {
        return usage();
      }
    }
    if (description.empty() || options.appFolder.empty()) return usage();
    // Reproducible packages: a fixed member time when the build asks for one.
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) {
      options.memberTime = static_cast<platform::FileTime>(std::strtoull(epoch, nullptr, 10)) * 10000000ull +
                           116444736000000000ull;
    }
    tfabuild::Diagnostics diag;
    tfabuild::buildFromFile(description, options, diag);
    return report(diag);
  }
  return usage();
}
