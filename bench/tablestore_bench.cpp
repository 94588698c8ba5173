// Table storage on 100,000 records of a level-like table (12 fields: C, N
// with decimals, D), side by side with shapelib doing the same work, and
// openGap at record 1 beside one pread + pwrite of the same bytes in the same
// file (the least the kernel must copy) and beside an in-memory memmove.
// scripts/bench runs this and prints the ratios (ours / peer).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <shapefil.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/fileops.hpp"
#include "tablestore/day_number.hpp"
#include "tablestore/table_store.hpp"

namespace {

using namespace tablestore;
namespace fs = std::filesystem;

constexpr int kRecords = 100000;

struct Column {
  const char* name;
  char type;
  int length, decimals;
};
// A GPS coordinate level with a visit date: 12 fields, 99-byte records.
const Column kColumns[] = {
    {"L1_KEY", 'C', 15, 0},    {"GPSKEY", 'C', 10, 0},   {"F_TYPE", 'C', 5, 0},
    {"UTC_DOF", 'C', 10, 0},   {"UTC_TOF", 'C', 8, 0},   {"LATITUDE", 'N', 14, 9},
    {"LONGITUDE", 'N', 14, 9}, {"ELEVATION", 'N', 6, 1}, {"FIX", 'C', 1, 0},
    {"SV", 'N', 2, 0},         {"DOP", 'N', 5, 1},       {"VISIT", 'D', 8, 0}};
constexpr int kFields = 12;
const int kRecordWidth = [] {
  int w = 1;
  for (const Column& c : kColumns) w += c.length;
  return w;
}();

// The values of record i, the same for both sides.
struct Row {
  char key[16], gps[11], type[6], dof[11], tof[9], fix[2], date[9];
  double lat, lon, elev, sv, dop;
  std::int64_t day;
};
Row row(int i) {
  Row r{};
  std::snprintf(r.key, sizeof r.key, "K%08d", i / 10);
  std::snprintf(r.gps, sizeof r.gps, "G%06d", i);
  std::snprintf(r.type, sizeof r.type, "%s", i % 3 ? "POINT" : "LINE");
  std::snprintf(r.dof, sizeof r.dof, "%02d/%02d/2024", 1 + i % 12, 1 + i % 28);
  std::snprintf(r.tof, sizeof r.tof, "%02d:%02d:%02d", i % 24, i % 60, (i * 7) % 60);
  std::snprintf(r.fix, sizeof r.fix, "%d", i % 4);
  r.lat = 45.0 + (i % 100000) * 1e-6;
  r.lon = -122.5 - (i % 77777) * 1e-6;
  r.elev = 100.0 + (i % 5000) / 10.0;
  r.sv = i % 13;
  r.dop = 0.8 + (i % 40) / 10.0;
  r.day = dayNumber(2024, 1 + i % 12, 1 + i % 28);
  std::snprintf(r.date, sizeof r.date, "2024%02d%02d", 1 + i % 12, 1 + i % 28);
  return r;
}

// A folder for the benchmark's tables, removed at exit.
class Scratch {
 public:
  Scratch()
      : dir_(fs::temp_directory_path() /
             ("tallyfin-bench-" + std::to_string(std::random_device{}()))) {
    fs::create_directories(dir_);
  }
  ~Scratch() {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  std::string file(const char* name) const { return (dir_ / name).string(); }

 private:
  fs::path dir_;
};

Scratch& scratch() {
  static Scratch s;
  return s;
}

// ---- ours --------------------------------------------------------------------

std::vector<FieldSpec> ourFields() {
  std::vector<FieldSpec> out;
  for (const Column& c : kColumns) out.push_back({c.name, c.type, c.length, c.decimals});
  return out;
}

void appendOurs(Table* t, int count) {
  TableField* f[kFields];
  for (int j = 0; j < kFields; ++j) f[j] = t->fieldByNumber(j + 1);
  for (int i = 0; i < count; ++i) {
    Row r = row(i);
    t->appendStart();
    f[0]->assignText(r.key);
    f[1]->assignText(r.gps);
    f[2]->assignText(r.type);
    f[3]->assignText(r.dof);
    f[4]->assignText(r.tof);
    f[5]->assignNumber(r.lat);
    f[6]->assignNumber(r.lon);
    f[7]->assignNumber(r.elev);
    f[8]->assignText(r.fix);
    f[9]->assignNumber(r.sv);
    f[10]->assignNumber(r.dop);
    f[11]->assignNumber(static_cast<double>(r.day));
    t->append();
  }
}

// A 100k-record table of ours at path, made once.
const std::string& ourTable() {
  static const std::string path = [] {
    std::string p = scratch().file("ours_master.dbf");
    platform::deleteFile(p);
    TableStore store;
    Table* t = store.createTable(p, ourFields());
    appendOurs(t, kRecords);
    store.closeAll();
    return p;
  }();
  return path;
}

void copyFile(const std::string& from, const std::string& to) {
  fs::copy_file(from, to, fs::copy_options::overwrite_existing);
}

void BM_Append_Ours(benchmark::State& state) {
  std::string p = scratch().file("ours_append.dbf");
  for (auto _ : state) {
    platform::deleteFile(p);
    TableStore store;
    Table* t = store.createTable(p, ourFields());
    appendOurs(t, kRecords);
    store.closeAll();
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_Read_Ours(benchmark::State& state) {
  const std::string& p = ourTable();
  double sum = 0;
  for (auto _ : state) {
    TableStore store;
    Table* t = store.openTable(p);
    TableField* f[kFields];
    for (int j = 0; j < kFields; ++j) f[j] = t->fieldByNumber(j + 1);
    for (std::int64_t n = 1; n <= t->recordCount(); ++n) {
      t->goRecord(n);
      for (int j = 0; j < kFields; ++j) {
        if (f[j]->type() == 'C')
          sum += static_cast<double>(f[j]->text().size());
        else
          sum += f[j]->number();
      }
    }
    store.closeAll();
  }
  benchmark::DoNotOptimize(sum);
  state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_Update_Ours(benchmark::State& state) {
  std::string p = scratch().file("ours_update.dbf");
  copyFile(ourTable(), p);
  int pass = 0;
  for (auto _ : state) {
    TableStore store;
    Table* t = store.openTable(p);
    TableField* elev = t->fieldByName("ELEVATION");
    TableField* fix = t->fieldByName("FIX");
    for (std::int64_t n = 1; n <= t->recordCount(); ++n) {
      t->goRecord(n);
      elev->assignNumber(static_cast<double>((n + pass) % 9000) / 10.0);
      fix->assignText(pass % 2 ? "D" : "3");
    }
    store.closeAll();
    ++pass;
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_OpenGap_Ours(benchmark::State& state) {
  std::string p = scratch().file("ours_gap.dbf");
  copyFile(ourTable(), p);
  TableStore store;
  Table* t = store.openTable(p);
  for (auto _ : state) t->openGap(1);
  store.closeAll();
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kRecords) * kRecordWidth);
}

void BM_OpenGap_Memmove(benchmark::State& state) {
  std::vector<char> bytes(
      static_cast<std::size_t>(kRecords + 1) * static_cast<std::size_t>(kRecordWidth) + 512, ' ');
  for (auto _ : state) {
    std::memmove(bytes.data() + 512 + kRecordWidth, bytes.data() + 512,
                 static_cast<std::size_t>(kRecords) * static_cast<std::size_t>(kRecordWidth));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kRecords) * kRecordWidth);
}

// The peer of openGap on a file: every record read with one pread and written
// back one record further on with one pwrite. Like openGap it moves one more
// record each time round, since each move leaves the file a record longer.
void BM_OpenGap_PreadPwrite(benchmark::State& state) {
  std::string p = scratch().file("peer_gap.dbf");
  copyFile(ourTable(), p);
  int fd = ::open(p.c_str(), O_RDWR);
  unsigned char head[12] = {};
  if (fd < 0 || ::pread(fd, head, sizeof head, 0) != static_cast<ssize_t>(sizeof head)) {
    state.SkipWithError("cannot open the peer's copy of the table");
    if (fd >= 0) ::close(fd);
    return;
  }
  const off_t headerLength = head[8] | (head[9] << 8);
  std::size_t records = kRecords;
  std::vector<char> buffer;
  for (auto _ : state) {
    const std::size_t bytes = records * static_cast<std::size_t>(kRecordWidth);
    buffer.resize(bytes);
    if (::pread(fd, buffer.data(), bytes, headerLength) != static_cast<ssize_t>(bytes) ||
        ::pwrite(fd, buffer.data(), bytes, headerLength + kRecordWidth) != static_cast<ssize_t>(bytes)) {
      state.SkipWithError("pread or pwrite moved fewer bytes than asked");
      break;
    }
    ++records;
  }
  ::close(fd);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kRecords) * kRecordWidth);
}

void BM_Pack_Ours(benchmark::State& state) {
  // Every tenth record deleted, then packed.
  std::string marked = scratch().file("ours_marked.dbf");
  {
    copyFile(ourTable(), marked);
    TableStore store;
    Table* t = store.openTable(marked);
    for (std::int64_t n = 10; n <= t->recordCount(); n += 10) {
      t->goRecord(n);
      t->deleteRecord();
    }
    store.closeAll();
  }
  std::string p = scratch().file("ours_pack.dbf");
  for (auto _ : state) {
    state.PauseTiming();
    copyFile(marked, p);
    state.ResumeTiming();
    TableStore store;
    Table* t = store.openTable(p);
    t->pack();
    store.closeAll();
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}

// ---- shapelib ----------------------------------------------------------------

DBFHandle shapelibCreate(const std::string& path) {
  DBFHandle h = DBFCreate(path.c_str());
  for (const Column& c : kColumns) {
    if (c.type == 'D')
      DBFAddNativeFieldType(h, c.name, 'D', c.length, 0);
    else
      DBFAddField(h, c.name, c.type == 'C' ? FTString : FTDouble, c.length, c.decimals);
  }
  return h;
}

void appendShapelib(DBFHandle h, int count) {
  for (int i = 0; i < count; ++i) {
    Row r = row(i);
    DBFWriteStringAttribute(h, i, 0, r.key);
    DBFWriteStringAttribute(h, i, 1, r.gps);
    DBFWriteStringAttribute(h, i, 2, r.type);
    DBFWriteStringAttribute(h, i, 3, r.dof);
    DBFWriteStringAttribute(h, i, 4, r.tof);
    DBFWriteDoubleAttribute(h, i, 5, r.lat);
    DBFWriteDoubleAttribute(h, i, 6, r.lon);
    DBFWriteDoubleAttribute(h, i, 7, r.elev);
    DBFWriteStringAttribute(h, i, 8, r.fix);
    DBFWriteDoubleAttribute(h, i, 9, r.sv);
    DBFWriteDoubleAttribute(h, i, 10, r.dop);
    DBFWriteStringAttribute(h, i, 11, r.date);
  }
}

const std::string& shapelibTable() {
  static const std::string path = [] {
    std::string p = scratch().file("shp_master.dbf");
    DBFHandle h = shapelibCreate(p);
    appendShapelib(h, kRecords);
    DBFClose(h);
    return p;
  }();
  return path;
}

void BM_Append_Shapelib(benchmark::State& state) {
  std::string p = scratch().file("shp_append.dbf");
  for (auto _ : state) {
    DBFHandle h = shapelibCreate(p);
    appendShapelib(h, kRecords);
    DBFClose(h);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_Read_Shapelib(benchmark::State& state) {
  const std::string& p = shapelibTable();
  double sum = 0;
  for (auto _ : state) {
    DBFHandle h = DBFOpen(p.c_str(), "rb");
    int records = DBFGetRecordCount(h);
    for (int i = 0; i < records; ++i) {
      for (int j = 0; j < kFields; ++j) {
        if (kColumns[j].type == 'N')
          sum += DBFReadDoubleAttribute(h, i, j);
        else
          sum += static_cast<double>(std::strlen(DBFReadStringAttribute(h, i, j)));
      }
    }
    DBFClose(h);
  }
  benchmark::DoNotOptimize(sum);
  state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_Update_Shapelib(benchmark::State& state) {
  std::string p = scratch().file("shp_update.dbf");
  copyFile(shapelibTable(), p);
  int pass = 0;
  for (auto _ : state) {
    DBFHandle h = DBFOpen(p.c_str(), "rb+");
    int records = DBFGetRecordCount(h);
    for (int i = 0; i < records; ++i) {
      DBFWriteDoubleAttribute(h, i, 7, static_cast<double>((i + 1 + pass) % 9000) / 10.0);
      DBFWriteStringAttribute(h, i, 8, pass % 2 ? "D" : "3");
    }
    DBFClose(h);
    ++pass;
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_Pack_Shapelib(benchmark::State& state) {
  // shapelib has no pack: its users copy the live records into a clone.
  std::string marked = scratch().file("shp_marked.dbf");
  copyFile(shapelibTable(), marked);
  {
    DBFHandle h = DBFOpen(marked.c_str(), "rb+");
    for (int i = 9; i < kRecords; i += 10) DBFMarkRecordDeleted(h, i, 1);
    DBFClose(h);
  }
  std::string p = scratch().file("shp_pack.dbf");
  for (auto _ : state) {
    DBFHandle in = DBFOpen(marked.c_str(), "rb");
    DBFHandle out = DBFCloneEmpty(in, p.c_str());
    int records = DBFGetRecordCount(in), kept = 0;
    for (int i = 0; i < records; ++i) {
      if (DBFIsRecordDeleted(in, i)) continue;
      DBFWriteTuple(out, kept++, const_cast<char*>(DBFReadTuple(in, i)));
    }
    DBFClose(out);
    DBFClose(in);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}

}  // namespace

BENCHMARK(BM_Append_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Append_Shapelib)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Read_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Read_Shapelib)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Update_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Update_Shapelib)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenGap_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenGap_PreadPwrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenGap_Memmove)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pack_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pack_Shapelib)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
