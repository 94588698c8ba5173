// Runtime programs given as text in a description: assembled into the
// application folder under the name the description gives, carried in the
// package and its required-files list, and their mistakes named by source line.
#include <gtest/gtest.h>

#include "apps/package_reader.hpp"
#include "support/temp_dir.hpp"
#include "tfabuild/assembler.hpp"
#include "tfabuild/build.hpp"
#include "tfabuild/read_description.hpp"

namespace tfabuild_test {
namespace {

const char* const kBasal = "num area\nref area\npush 3.5\nop =\npush 1\nend\n";

std::string description(const std::string& sources) {
  return R"({ "application": { "name": "Basal", "programs": [ "BASAL.RPF" ] },
    "programSources": )" + sources + R"(,
    "levels": [ { "code": "A____", "table": "PLOTS", "columns": [ { "field": "PLOT" } ],
                  "events": { "lineExit": "basal.rpf" } } ] })";
}

TEST(ProgramSources, AssembledIntoTheFolderAndThePackage) {
  testing_support::TempDir dir;
  testing_support::writeBytes(dir.file("basal.tfs"), kBasal);
  tfabuild::Diagnostics diag;
  tfabuild::BuildOptions options;
  options.appFolder = dir.file("Basal");
  options.packagePath = dir.file("Basal.tfa");
  options.memberTime = 133000000000000000ull;
  ASSERT_EQ(tfabuild::buildFromText(description(R"({ "BASAL.RPF": "basal.tfs" })"), dir.path(), options, diag), 0)
      << diag.text();

  tfabuild::AssembleResult expected = tfabuild::assembleProgram(kBasal);
  ASSERT_TRUE(expected.ok());
  std::string inFolder = testing_support::readBytes(dir.file("Basal/BASAL.RPF"));
  EXPECT_EQ(inFolder, std::string(expected.bytes.begin(), expected.bytes.end()));
  EXPECT_NE(testing_support::readBytes(dir.file("Basal/ReqFiles.dbf")).find("BASAL.RPF"), std::string::npos);

  apps::TfaHeader header;
  apps::Package package = apps::openPackage(options.packagePath, header);
  ASSERT_TRUE(package.isOpen());
  apps::PackageEntry entry;
  int index = -1;
  EXPECT_EQ(apps::findMember(package, "BASAL.RPF", entry, index), 0);
}

TEST(ProgramSources, AssemblyMistakesNameTheSourceLine) {
  testing_support::TempDir dir;
  testing_support::writeBytes(dir.file("basal.tfs"), "push 1\ncall foo\njump nowhere\n");
  tfabuild::AppModel app;
  tfabuild::Diagnostics diag;
  EXPECT_FALSE(tfabuild::readDescription(description(R"({ "BASAL.RPF": "basal.tfs" })"), dir.path(), app, diag));
  EXPECT_TRUE(diag.has("programSources.BASAL.RPF", "basal.tfs:2: unknown built-in foo")) << diag.text();
  EXPECT_TRUE(diag.has("programSources.BASAL.RPF", "basal.tfs:3: unknown label nowhere")) << diag.text();
}

TEST(ProgramSources, BadEntriesAreRefused) {
  testing_support::TempDir dir;
  testing_support::writeBytes(dir.file("basal.tfs"), kBasal);
  tfabuild::AppModel app;
  tfabuild::Diagnostics diag;
  EXPECT_FALSE(tfabuild::readDescription(
      description(R"({ "BASAL.RPF": "basal.tfs", "sub/X.RPF": "basal.tfs", "Y.RPF": 4, "Z.RPF": "missing.tfs",
                       "app.ctl": "basal.tfs" })"),
      dir.path(), app, diag));
  EXPECT_TRUE(diag.has("programSources.sub/X.RPF", "cannot be a file name")) << diag.text();
  EXPECT_TRUE(diag.has("programSources.Y.RPF", "expected the path")) << diag.text();
  EXPECT_TRUE(diag.has("programSources.Z.RPF", "cannot read")) << diag.text();
  EXPECT_TRUE(diag.has("programSources.app.ctl", "also made by")) << diag.text();

  tfabuild::Diagnostics notObject;
  EXPECT_FALSE(tfabuild::readDescription(description(R"([ "basal.tfs" ])"), dir.path(), app, notObject));
  EXPECT_TRUE(notObject.has("programSources", "expected an object")) << notObject.text();
  // The key sits among the known ones: a misspelt one is still refused.
  tfabuild::Diagnostics misspelt;
  EXPECT_FALSE(tfabuild::readDescription(
      R"({ "application": { "name": "B" }, "programSource": {}, "levels": [ { "code": "A____", "table": "P",
           "columns": [ { "field": "PLOT" } ] } ] })",
      dir.path(), app, misspelt));
  EXPECT_TRUE(misspelt.has("programSource", "unknown key")) << misspelt.text();
}

}  // namespace
}  // namespace tfabuild_test
