// Package extraction against zlib's own gunzip on the same members: four
// members of 8 MiB each (table records and control-file text), extracted
// member by member through the program's reader (scratch copy, inflate in
// 32768-byte chunks from 16384-byte input blocks, stored time, rename), and
// gunzipped by gzopen/gzread into a file with the same chunk and buffer
// sizes. The goal: extraction within 1.2 times the gunzip time.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "apps/package_extract.hpp"
#include "apps/package_reader.hpp"
#include "apps/package_writer.hpp"
#include "base/text.hpp"
#include "platform/fileops.hpp"

namespace {

namespace fs = std::filesystem;

constexpr int kMembers = 4;
constexpr std::size_t kMemberBytes = 8u << 20;

// dBase-style records: fixed-width codes, names and numbers, as the tables
// an application carries hold them.
std::string tableBytes(std::size_t bytes, unsigned seed) {
  static const char* species[] = {"QUERCUS ALBA        ", "PINUS STROBUS       ",
                                  "ACER RUBRUM         ", "BETULA PAPYRIFERA   ",
                                  "FAGUS GRANDIFOLIA   ", "TSUGA CANADENSIS    "};
  std::mt19937 rng(seed);
  std::string out;
  out.reserve(bytes + 128);
  while (out.size() < bytes) {
    out += base::format(" %05u%03u%s%7.2f%6.1f%c%04u%02u%02u", static_cast<unsigned>(rng() % 400),
                        static_cast<unsigned>(rng() % 60), species[rng() % 6],
                        (rng() % 9000) / 100.0, (rng() % 400) / 10.0, (rng() % 4) ? 'Y' : 'N',
                        2015u + rng() % 6, 1u + rng() % 12, 1u + rng() % 28);
  }
  out.resize(bytes);
  return out;
}

struct Fixture {
  fs::path folder;
  std::string package;
  std::vector<std::string> gzFiles;  // each member's stored gzip stream alone

  Fixture() {
    // Memory-backed when the system has it, so that the disk's write-back
    // does not drown the difference being measured.
    std::error_code ec;
    const fs::path base =
        fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
    folder = base / ("tallyfin-pkgbench-" + std::to_string(std::random_device{}()));
    fs::create_directories(folder / "out");
    std::vector<apps::PackageMember> members;
    for (int i = 0; i < kMembers; ++i) {
      members.push_back({"member" + std::to_string(i) + ".dbf", tableBytes(kMemberBytes, 17 + i),
                         132458564960000000ull});
    }
    package = (folder / "Bench.tfa").string();
    apps::TfaHeader header;
    header.setAppName("Bench.tfa");
    if (apps::writePackage(package, header, members) != 0) std::abort();

    apps::Package p = apps::openPackage(package, header);
    for (int i = 0; i < kMembers; ++i) {
      apps::PackageEntry e;
      if (apps::memberEntry(p, i, e) != 0) std::abort();
      std::string stored(static_cast<std::size_t>(e.dataSize()), '\0');
      p.file().seek(e.dataOffset());
      p.file().readExact(stored.data(), stored.size());
      gzFiles.push_back((folder / (e.name + ".gz")).string());
      platform::writeWholeFile(gzFiles.back(), stored.data(), stored.size());
    }
  }
  ~Fixture() {
    std::error_code ec;
    fs::remove_all(folder, ec);
  }
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

void BM_ExtractMembers(benchmark::State& state) {
  Fixture& f = fixture();
  apps::TfaHeader header;
  apps::Package package = apps::openPackage(f.package, header);
  const std::string out = (f.folder / "out").string();
  for (auto _ : state) {
    for (int i = 0; i < kMembers; ++i)
      if (apps::extractMember(package, i, out) != 0) state.SkipWithError("extraction failed");
  }
  state.SetBytesProcessed(state.iterations() * kMembers * static_cast<std::int64_t>(kMemberBytes));
}

void BM_ZlibGunzip(benchmark::State& state) {
  Fixture& f = fixture();
  std::vector<char> chunk(apps::kCopyChunk);
  for (auto _ : state) {
    for (int i = 0; i < kMembers; ++i) {
      gzFile in = gzopen(f.gzFiles[i].c_str(), "rb");
      gzbuffer(in, static_cast<unsigned>(apps::kGzipInputBlock));
      const std::string outPath = (f.folder / "out" / ("gunzip" + std::to_string(i))).string();
      std::FILE* out = std::fopen(outPath.c_str(), "wb");
      int n = 0;
      while ((n = gzread(in, chunk.data(), static_cast<unsigned>(chunk.size()))) > 0)
        std::fwrite(chunk.data(), 1, static_cast<std::size_t>(n), out);
      if (n < 0) state.SkipWithError("gzread failed");
      std::fclose(out);
      gzclose(in);
    }
  }
  state.SetBytesProcessed(state.iterations() * kMembers * static_cast<std::int64_t>(kMemberBytes));
}

BENCHMARK(BM_ExtractMembers)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_ZlibGunzip)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
