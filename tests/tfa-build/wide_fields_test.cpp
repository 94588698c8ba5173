// Character fields wider than 254: the table format holds them (a two-byte
// width), so the builder accepts them, but warns that GIS tools and other
// dBase III readers, which read one byte of the width, cannot read the table.
#include <gtest/gtest.h>

#include "support/temp_dir.hpp"
#include "platform/files.hpp"
#include "tfabuild/build.hpp"
#include "tfabuild/read_description.hpp"

namespace tfabuild_test {
namespace {

std::string withColumn(int width, const std::string& tables = "") {
  return R"({ "application": { "name": "Trees" }, "levels": [ { "code": "A____", "table": "TREES", "columns": [
             { "field": "PLOT", "type": "N", "width": 4 },
             { "field": "NOTES", "width": )" +
         std::to_string(width) + " } ] } ]" + tables + " }";
}

std::string withTable(const std::string& fields) {
  return withColumn(10, R"(, "tables": [ { "name": "REMARKS.dbf", "fields": [ )" + fields + R"( ], "rows": [] } ])");
}

constexpr const char* kUnreadable = "GIS tools";

TEST(WideFields, AColumnUpTo254IsReadWithoutAWarning) {
  tfabuild::AppModel app;
  tfabuild::Diagnostics diag;
  EXPECT_TRUE(tfabuild::readDescription(withColumn(254), ".", app, diag)) << diag.text();
  EXPECT_TRUE(diag.warnings().empty()) << diag.text();
}

TEST(WideFields, AColumnOf255IsAcceptedWithAWarning) {
  tfabuild::AppModel app;
  tfabuild::Diagnostics diag;
  EXPECT_TRUE(tfabuild::readDescription(withColumn(255), ".", app, diag)) << diag.text();
  ASSERT_EQ(app.levels.size(), 1u);
  EXPECT_EQ(app.levels[0].columns[1].width, 255);
  EXPECT_TRUE(diag.hasWarning("levels[0].columns[1].width", kUnreadable)) << diag.text();
  // The warning is in the text tfa-build prints, and is no mistake.
  EXPECT_NE(diag.text().find("warning"), std::string::npos) << diag.text();
  EXPECT_TRUE(diag.ok());
}

TEST(WideFields, AColumnWiderThanTheEditBufferIsRefused) {
  tfabuild::AppModel app;
  tfabuild::Diagnostics diag;
  EXPECT_FALSE(tfabuild::readDescription(withColumn(256), ".", app, diag));
  EXPECT_TRUE(diag.has("levels[0].columns[1].width")) << diag.text();
}

TEST(WideFields, ATableFieldUpToTheFormatsLimitIsAcceptedWithAWarning) {
  tfabuild::AppModel app;
  tfabuild::Diagnostics diag;
  EXPECT_TRUE(tfabuild::readDescription(withTable(R"({ "name": "CODE", "width": 2 }, { "name": "TEXT", "width": 300 })"),
                                        ".", app, diag))
      << diag.text();
  EXPECT_TRUE(diag.hasWarning("tables[0].fields[1].width", kUnreadable)) << diag.text();
  EXPECT_FALSE(diag.hasWarning("tables[0].fields[0].width")) << diag.text();
  // A numeric field keeps its own limit.
  tfabuild::Diagnostics numeric;
  EXPECT_FALSE(tfabuild::readDescription(withTable(R"({ "name": "N", "type": "N", "width": 300 })"), ".", app, numeric));
}

TEST(WideFields, ATableWhoseRecordOutgrowsTheFormatIsRefused) {
  tfabuild::AppModel app;
  tfabuild::Diagnostics diag;
  // 1 + 40000 + 25534 = 65535 bytes, one more than a record can hold.
  EXPECT_FALSE(tfabuild::readDescription(withTable(R"({ "name": "A", "width": 40000 }, { "name": "B", "width": 25534 })"),
                                         ".", app, diag));
  EXPECT_TRUE(diag.has("tables[0].fields", "65534")) << diag.text();
  tfabuild::Diagnostics fits;
  EXPECT_TRUE(tfabuild::readDescription(withTable(R"({ "name": "A", "width": 40000 }, { "name": "B", "width": 25533 })"),
                                        ".", app, fits))
      << fits.text();
}

TEST(WideFields, TheBuiltTableKeepsTheTwoByteWidth) {
  testing_support::TempDir dir;
  tfabuild::BuildOptions options;
  options.appFolder = dir.file("Trees");
  tfabuild::Diagnostics diag;
  ASSERT_EQ(tfabuild::buildFromText(withTable(R"({ "name": "TEXT", "width": 300 })"), dir.path(), options, diag), 0)
      << diag.text();
  std::string bytes = testing_support::readBytes(dir.file("Trees") + platform::kSep + "REMARKS.dbf");
  ASSERT_GE(bytes.size(), 64u + 2);
  EXPECT_EQ(static_cast<unsigned char>(bytes[32 + 16]), 300 % 256);
  EXPECT_EQ(static_cast<unsigned char>(bytes[32 + 17]), 300 / 256);
  EXPECT_EQ(bytes[29], '\0');  // the code page mark stays 0
}

}  // namespace
}  // namespace tfabuild_test
