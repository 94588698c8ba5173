#include "support/generated_dataset.hpp"

#include <cstdio>

#include "base/paths.hpp"
#include "base/text.hpp"
#include "datasets/data_names.hpp"
#include "gps/coordinate_file.hpp"
#include "platform/fileops.hpp"
#include "platform/files.hpp"
#include "tablestore/table.hpp"
#include "tablestore/table_store.hpp"

namespace testing_support {

namespace {

constexpr const char* kLevelTables[] = {"PLOTS", "TREES", "LOGS", "SEGS", "PARTS"};
constexpr const char* kKeyNames[] = {"PLOT", "TREE", "LOG", "SEG", "PART"};
constexpr const char* kSpecies[] = {"DF", "WH", "RA", "RC", "BM", "GF"};

std::string levelCode(int level, char branch) {
  std::string code(5, '_');
  for (int k = 0; k < level; ++k) code[static_cast<std::size_t>(k)] = 'A';
  if (level >= 2) code[1] = branch;
  return code;
}

std::vector<tablestore::FieldSpec> levelFields(int level) {
  std::vector<tablestore::FieldSpec> out;
  for (int k = 0; k < level; ++k) out.push_back({kKeyNames[k], 'C', 4, 0});
  out.push_back({"SPECIES", 'C', 2, 0});
  out.push_back({"DBH", 'N', 5, 1});
  out.push_back({"NOTE", 'C', 12, 0});
  return out;
}

class Writer {
 public:
  explicit Writer(const GeneratedDataset& d) : d_(d) {}

  // One table of `count` records below the key path `keys`.
  bool table(int level, char branch, const std::vector<std::string>& keys, int count, unsigned seed) {
    datasets::RawName raw;
    raw.datasetNumber = d_.datasetNumber;
    raw.level = level;
    raw.levelCode = levelCode(level, branch);
    raw.datasetName = d_.datasetName;
    raw.unitCode = d_.unitCode;
    for (std::size_t k = 0; k < keys.size(); ++k) raw.keyPath += (k ? "-" : "") + keys[k];
    raw.tableName = branch == 'B' && level == 2 ? "REGEN" : kLevelTables[level - 1];
    raw.extension = "dbf";
    std::string name;
    if (!datasets::buildRawName(raw, name)) return fail("no raw name for " + raw.keyPath);
    store_.clearError();
    tablestore::Table* t = store_.createTable(base::joinPath(d_.folder, name, platform::kSep), levelFields(level));
    if (t == nullptr) return fail("cannot create " + name);
    bool ok = true;
    for (int n = 1; ok && n <= count; ++n) {
      ok = t->appendStart() == 0;
      int field = 1;
      for (const std::string& key : keys) ok = ok && t->fieldByNumber(field++)->assignText(key) == 0;
      ok = ok && t->fieldByNumber(field++)->assignText(base::format("%4d", n)) == 0;
      ok = ok && t->fieldByNumber(field++)->assignText(kSpecies[(seed + n) % 6]) == 0;
      ok = ok && t->fieldByNumber(field++)->assignText(base::format("%.1f", 5.0 + (seed * 7 + n) % 900 / 10.0)) == 0;
      ok = ok && t->fieldByNumber(field++)->assignText(base::format("r%u-%d", seed, n)) == 0;
      ok = ok && t->append() == 0;
    }
    if (store_.closeTable(t) != 0 || !ok) return fail("cannot write " + name);
    ++tables_;
    return true;
  }

  bool coordinates(const std::string& plotKey, int points) {
    datasets::RawName level1;
    level1.datasetNumber = d_.datasetNumber;
    level1.level = 1;
    level1.levelCode = levelCode(1, 'A');
    level1.datasetName = d_.datasetName;
    level1.unitCode = d_.unitCode;
    level1.tableName = kLevelTables[0];
    level1.extension = "dbf";
    std::string name;
    if (!gps::coordinateFileName(level1, {plotKey}, "Plot", gps::LogShape::kLine, name))
      return fail("no coordinate file name for " + plotKey);
    store_.clearError();
    tablestore::Table* t = store_.createTable(base::joinPath(d_.folder, name, platform::kSep), gps::coordinateFields(1));
    if (t == nullptr) return fail("cannot create " + name);
    bool ok = true;
    for (int n = 1; ok && n <= points; ++n) {
      ok = t->appendStart() == 0 && t->fieldByNumber(1)->assignText(plotKey) == 0 &&
           t->fieldByNumber(2)->assignText(base::format("%d", n)) == 0 &&
           t->fieldByNumber(3)->assignText("Line") == 0 &&
           t->fieldByNumber(6)->assignText(base::format("%.9f", 45.5 + n * 1e-5)) == 0 &&
           t->fieldByNumber(7)->assignText(base::format("%.9f", -122.6 - n * 1e-5)) == 0 && t->append() == 0;
    }
    if (store_.closeTable(t) != 0 || !ok) return fail("cannot write " + name);
    ++tables_;
    return true;
  }

  // The records below keys (a record of `level`), down to the last level.
  bool below(int level, const std::vector<std::string>& keys, unsigned seed) {
    if (level >= d_.levels) return true;
    const int count = level == 1 ? d_.perParent : d_.deeperPerParent;
    if (!table(level + 1, 'A', keys, count, seed)) return false;
    for (int n = 1; n <= count && n <= d_.deeperParents; ++n) {
      std::vector<std::string> deeper = keys;
      deeper.push_back(base::format("%4d", n));
      if (!below(level + 1, deeper, seed * 31 + static_cast<unsigned>(n))) return false;
    }
    return true;
  }

  int tables() const { return tables_; }

 private:
  bool fail(const std::string& why) {
    std::fprintf(stderr, "generated dataset: %s\n", why.c_str());
    return false;
  }
  const GeneratedDataset& d_;
  tablestore::TableStore store_;
  int tables_ = 0;
};

}  // namespace

std::vector<apps::HierarchyEntry> generatedHierarchy(const GeneratedDataset& d) {
  std::vector<apps::HierarchyEntry> out;
  for (int level = 1; level <= d.levels; ++level) out.push_back({levelCode(level, 'A'), kLevelTables[level - 1]});
  if (d.regeneration && d.levels >= 2) out.push_back({levelCode(2, 'B'), "REGEN"});
  return out;
}

int writeGeneratedDataset(const GeneratedDataset& d) {
  if (d.levels < 1 || d.levels > 5 || d.plots < 1) return -1;
  (void)platform::makeFolder(d.folder);
  Writer w(d);
  if (!w.table(1, 'A', {}, d.plots, 1)) return -1;
  for (int plot = 1; plot <= d.plots; ++plot) {
    const std::string key = base::format("%4d", plot);
    if (!w.below(1, {key}, static_cast<unsigned>(plot))) return -1;
    if (d.regeneration && d.levels >= 2 && plot % 5 == 0 && !w.table(2, 'B', {key}, 3, static_cast<unsigned>(plot)))
      return -1;
    if (d.coordinateEvery > 0 && plot % d.coordinateEvery == 0 && !w.coordinates(key, 5)) return -1;
  }
  return w.tables();
}

}  // namespace testing_support
