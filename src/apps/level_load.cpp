#include "apps/level_load.hpp"

#include <algorithm>
#include <new>
#include <type_traits>

#include "apps/whole_read.hpp"
#include "base/paths.hpp"
#include "platform/codepage.hpp"
#include "platform/files.hpp"

namespace apps {

namespace {

static_assert(sizeof(ColumnField) == layout::kColumnFieldSize);
static_assert(std::is_trivially_copyable_v<ColumnField>);

LevelLoad fail(int status, int phase) { return LevelLoad{0, status, phase}; }

bool usableTableName(const std::string& name) {
  if (name.empty()) return false;
  return name.find_first_of("\\/:*?") == std::string::npos;
}

// The status of an open-and-size step, by the file's phases.
LevelLoad openFailure(WholeRead r, int missingPhase, int openPhase, int sizePhase, int readPhase) {
  switch (r) {
    case WholeRead::Missing: return fail(kLevelMissing, missingPhase);
    case WholeRead::Open: return fail(kLevelOpen, openPhase);
    case WholeRead::Size: return fail(kLevelCorrupt, sizePhase);
    default: return fail(kLevelRead, readPhase);
  }
}

bool bctCountsFit(const LevelBct& bct) {
  int c = bct.lastColumn();
  if (c < 0 || c > layout::kMaxLastColumn) return false;
  if (bct.serCount() < 0 || bct.rndCount() < 0 || bct.jptCount() < 0 || bct.bcfCount() < 0) return false;
  int children = bct.childCount(), siblings = bct.siblingCount();
  int most = static_cast<int>(layout::level_bct::kMaxChildren);
  return children >= 0 && children <= most && siblings >= 0 && siblings <= most;
}

// Reads count records of Entry from file: one read for the whole array.
template <class Entry>
WholeRead readArray(platform::File& file, std::vector<Entry>& out, std::size_t count) {
  std::vector<std::uint8_t> buffer(count * Entry::kSize);
  WholeRead r = readPart(file, buffer.data(), buffer.size());
  if (r != WholeRead::Ok) return r;
  for (std::size_t i = 0; i < count; ++i) {
    std::copy_n(buffer.begin() + static_cast<std::ptrdiff_t>(i * Entry::kSize), Entry::kSize,
                out[i].bytes().begin());
  }
  return WholeRead::Ok;
}

// One optional file: entries records, allocated to exactly that number.
template <class Entry>
LevelLoad readOptional(const std::string& path, std::size_t entries, int missingPhase, int phase,
                       std::vector<Entry>& out) {
  platform::File file;
  WholeRead r = openExact(path, static_cast<std::int64_t>(entries * Entry::kSize), file);
  if (r != WholeRead::Ok) return openFailure(r, missingPhase, phase, phase, 3);
  try {
    out.assign(entries, Entry{});
  } catch (const std::bad_alloc&) {
    return fail(kLevelMemory, phase);
  }
  r = readArray(file, out, entries);
  file.close();
  if (r != WholeRead::Ok) {
    out.clear();
    return fail(kLevelRead, 3);
  }
  return LevelLoad{1, 0, 0};
}

// The .ctl after its length was checked: header, LevelInfo, the ColumnField
// array in one read, then one read per ColumnDef and per ColumnCheck entry.
LevelLoad readCtl(platform::File& file, int c, LevelDefinition& def) {
  if (readPart(file, def.header.bytes().data(), def.header.bytes().size()) != WholeRead::Ok) return fail(kLevelRead, 1);
  if (readPart(file, def.info.bytes().data(), def.info.bytes().size()) != WholeRead::Ok) return fail(kLevelRead, 2);
  std::size_t columns = static_cast<std::size_t>(c) + 1;
  try {
    def.fields.assign(columns, ColumnField{});
  } catch (const std::bad_alloc&) {
    return fail(kLevelMemory, 3);
  }
  if (readArray(file, def.fields, columns) != WholeRead::Ok) return fail(kLevelRead, 3);
  for (std::size_t k = 0; k < columns; ++k) {
    if (readPart(file, def.defs[k].bytes().data(), ColumnDef::kSize) != WholeRead::Ok) return fail(kLevelRead, 4);
  }
  for (std::size_t k = 0; k < columns; ++k) {
    if (readPart(file, def.checks[k].bytes().data(), ColumnCheck::kSize) != WholeRead::Ok) return fail(kLevelRead, 5);
  }
  return LevelLoad{1, 0, 0};
}

}  // namespace

LevelLoad readLevel(const std::string& appFolder, const std::string& tableName8,
                    std::unique_ptr<LevelDefinition>& out, std::string& nameOut) {
  out.reset();
  std::string base = base::joinPath(appFolder, platform::toWide(tableName8), platform::kSep);
  nameOut = base + ".bct";
  if (!usableTableName(tableName8)) return fail(kLevelMissing, 10);

  LevelBct bct;
  {
    platform::File file;
    WholeRead r = openExact(nameOut, static_cast<std::int64_t>(LevelBct::kSize), file);
    if (r != WholeRead::Ok) return openFailure(r, 10, 0, 12, 13);
    std::size_t done = 0;
    if (file.read(bct.bytes().data(), LevelBct::kSize, done) != 0) return fail(kLevelRead, 13);
    if (done != LevelBct::kSize) return fail(kLevelRead, 0);
  }
  if (!bctCountsFit(bct)) return fail(kLevelCorrupt, 12);

  nameOut = base + ".ctl";
  std::unique_ptr<LevelDefinition> def;
  LevelLoad step;
  {
    platform::File file;
    WholeRead r = openExact(nameOut, static_cast<std::int64_t>(layout::ctlSize(bct.lastColumn())), file);
    if (r != WholeRead::Ok) return openFailure(r, 20, 21, 22, 1);
    try {
      def = std::make_unique<LevelDefinition>();
    } catch (const std::bad_alloc&) {
      return fail(kLevelMemory, 1);
    }
    def->bct = bct;
    step = readCtl(file, bct.lastColumn(), *def);
    if (!step.ok) return step;
  }

  if (bct.serCount() > 0) {
    nameOut = base + ".ser";
    step = readOptional(nameOut, static_cast<std::size_t>(bct.serCount()) + 1, 10, 6, def->serial);
    if (!step.ok) return step;
  }
  if (bct.rndCount() > 0) {
    nameOut = base + ".rnd";
    step = readOptional(nameOut, static_cast<std::size_t>(bct.rndCount()) + 1, 7, 7, def->random);
    if (!step.ok) return step;
  }
  if (bct.jptCount() > 0) {
    nameOut = base + ".jpt";
    step = readOptional(nameOut, static_cast<std::size_t>(bct.jptCount()) + 1, 7, 7, def->jumps);
    if (!step.ok) return step;
  }
  if (bct.bcfCount() > 0) {
    nameOut = base + ".bcf";
    step = readOptional(nameOut, static_cast<std::size_t>(bct.bcfCount()), 8, 8, def->conditions);
    if (!step.ok) return step;
  }
  def->fieldList = buildFieldList(def->fields);
  out = std::move(def);
  return LevelLoad{1, 0, 0};
}

}  // namespace apps
