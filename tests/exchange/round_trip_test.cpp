// A whole dataset through bundling and extraction: five levels, 200 plots
// with 20 trees each, a regeneration branch and coordinate files. Every table
// comes back under its own name with every record, in order.
#include <gtest/gtest.h>

#include "exchange/bundle.hpp"
#include "exchange/bundle_fixture.hpp"
#include "exchange/extract.hpp"
#include "support/generated_dataset.hpp"

namespace {

using testing_support::TempDir;

// A coordinate file comes back with its level's table name where it had the
// level's own name: the bundle's name carries only the table name.
std::map<std::string, std::vector<std::string>> withTableNames(std::map<std::string, std::vector<std::string>> tables) {
  std::map<std::string, std::vector<std::string>> out;
  for (auto& [name, rows] : tables) {
    std::string key = name;
    if (const auto at = key.find("~Plot^"); at != std::string::npos) key.replace(at, 6, "~PLOTS^");
    out[key] = std::move(rows);
  }
  return out;
}

TEST(RoundTrip, FiveLevelsOf200PlotsComeBackTableForTableRecordForRecord) {
  TempDir dir;
  testing_support::GeneratedDataset d;
  d.folder = dir.path();
  ASSERT_GT(testing_support::writeGeneratedDataset(d), 800);
  tablestore::TableStore store;
  const auto before = withTableNames(exchange_test::liveTables(store, dir));

  exchange::BundleJob job;
  job.dataFolder = dir.path();
  job.hierarchy = testing_support::generatedHierarchy(d);
  job.datasetNumber = 1;
  const exchange::BundleOutcome bundled = exchange::bundleDataset(store, job);
  ASSERT_EQ(bundled.result, 1) << bundled.text;
  const auto bundles = exchange_test::liveTables(store, dir);
  std::size_t records = 0;
  for (const auto& [name, rows] : bundles) {
    EXPECT_EQ(name.rfind("[Generated]", 0), 0u) << name;
    records += rows.size();
  }
  std::size_t rawRecords = 0;
  for (const auto& [name, rows] : before) rawRecords += rows.size();
  EXPECT_EQ(records, rawRecords);
  EXPECT_EQ(bundles.size(), 7u);  // five levels, the regeneration and one coordinate bundle
  EXPECT_EQ(bundles.at("[Generated]2AA___ABC___TREES+.dbf").size(), 4000u);

  exchange::ExtractRequest request{dir.path(), "Generated", "HERE01", {}};
  exchange::ExtractResult extracted;
  ASSERT_EQ(exchange::extractDataset(store, request, extracted, nullptr), exchange::ExtractOutcome::kDone)
      << extracted.failure;
  EXPECT_TRUE(extracted.messages.empty());
  EXPECT_EQ(exchange_test::liveTables(store, dir), before);
}

}  // namespace
