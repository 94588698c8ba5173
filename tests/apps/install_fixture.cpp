#include "install_fixture.hpp"

#include <gtest/gtest.h>

#include <atomic>

#include "base/paths.hpp"
#include "platform/files.hpp"
#include "support/temp_dir.hpp"
#include "tfabuild/build.hpp"

namespace install_test {

std::string appDescription(const std::string& name, const Version& v, bool compiled) {
  std::string json = R"({ "application": { "name": ")" + name + R"(", "compiled": )" +
                     (compiled ? "true" : "false") + " },";
  if (v.present) {
    json += R"( "version": { "major": )" + std::to_string(v.major) + R"(, "minor": )" + std::to_string(v.minor) +
            R"(, "build": )" + std::to_string(v.build) + R"(, "structure": )" + std::to_string(v.structure) +
            R"(, "date": ")" + v.date + R"(", "structureDate": ")" + v.structureDate + R"(", "structureTime": ")" +
            v.structureTime + "\"";
    if (!v.password.empty()) json += R"(, "password": ")" + v.password + "\"";
    json += " },";
  }
  json += R"( "levels": [ { "code": "A____", "table": "TREES",)"
          R"( "columns": [ { "field": "PLOT", "type": "N", "width": 4 } ] } ] })";
  return json;
}

void buildPackage(const std::string& scratch, const std::string& name, const Version& version,
                  const std::string& packagePath, bool compiled) {
  static std::atomic<int> serial{0};
  tfabuild::Diagnostics diag;
  tfabuild::BuildOptions options;
  options.appFolder = base::joinPath(scratch, "build" + std::to_string(++serial), platform::kSep);
  options.packagePath = packagePath;
  ASSERT_EQ(tfabuild::buildFromText(appDescription(name, version, compiled), scratch, options, diag), 0)
      << diag.text();
}

apps::TfaHeader headerOf(const std::string& path) {
  apps::TfaHeader h;
  std::string bytes = testing_support::readBytes(path);
  EXPECT_GE(bytes.size(), h.bytes().size()) << path;
  std::copy_n(bytes.begin(), std::min(bytes.size(), h.bytes().size()), h.bytes().begin());
  return h;
}

void putHeader(const std::string& path, const apps::TfaHeader& header) {
  std::string bytes = testing_support::readBytes(path);
  bytes.replace(0, std::min(bytes.size(), header.bytes().size()),
                std::string(header.bytes().begin(), header.bytes().end()));
  testing_support::writeBytes(path, bytes);
}

}  // namespace install_test
