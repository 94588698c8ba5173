// NMEA decoding: a generated log of 100k sentences (GGA, VTG, GSA, RMC and
// ZDA in turn, valid checksums, positions moving over the globe) is written
// once to a temporary file. BM_NmeaDecode reads the file and runs every byte
// through our sentence assembler, the queue and the handlers, as the
// receiver's reader thread does; BM_GpsdecodePeer runs gpsd's `gpsdecode` on
// the same file as a process. Both are timed in processor time (ours: this
// process; the peer: its children), since the machine is often shared.
// Counter: sentences_per_s (in processor time). scripts/bench prints the ratio (goal: at most
// 0.5, twice gpsdecode's rate).
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "gps/nmea.hpp"
#include "support/nmea_sentence.hpp"

namespace {

constexpr long kSentences = 100000;

// A sentence as a receiver sends it, ended by CR LF.
std::string withChecksum(const char* body) { return gpstest::nmea(body) + "\r\n"; }

std::string generatedLog() {
  std::string log;
  char body[160];
  for (long i = 0; i < kSentences / 5; ++i) {
    const double lat = -80 + std::fmod(i * 0.0137, 160.0), lon = -179 + std::fmod(i * 0.0291, 358.0);
    const int s = static_cast<int>(i % 86400);
    const int h = s / 3600, m = s / 60 % 60, sec = s % 60;
    const std::string la = gpstest::nmeaAngle(lat, 2, 'N', 'S'), lo = gpstest::nmeaAngle(lon, 3, 'E', 'W');
    std::snprintf(body, sizeof body, "GPGGA,%02d%02d%02d.00,%s,%s,%d,%02d,%.1f,%.1f,M,%.1f,M,,", h, m, sec, la.c_str(),
                  lo.c_str(), 1 + static_cast<int>(i % 2), 5 + static_cast<int>(i % 7), 0.8 + (i % 9) * 0.1,
                  100 + (i % 500) * 0.7, -30 + (i % 60) * 1.0);
    log += withChecksum(body);
    std::snprintf(body, sizeof body, "GPVTG,%.1f,T,,M,%.1f,N,%.1f,K,A", std::fmod(i * 3.7, 360.0), (i % 40) * 0.5,
                  (i % 40) * 0.926);
    log += withChecksum(body);
    std::snprintf(body, sizeof body, "GPGSA,A,3,04,05,,09,12,,,24,,,,,%.1f,%.1f,2.1", 1.5 + (i % 5) * 0.2,
                  0.8 + (i % 9) * 0.1);
    log += withChecksum(body);
    std::snprintf(body, sizeof body, "GPRMC,%02d%02d%02d.00,A,%s,%s,%.1f,%.1f,050324,%.1f,%c", h, m, sec, la.c_str(),
                  lo.c_str(), (i % 40) * 0.5, std::fmod(i * 3.7, 360.0), (i % 20) * 0.5, i % 2 ? 'E' : 'W');
    log += withChecksum(body);
    std::snprintf(body, sizeof body, "GPZDA,%02d%02d%02d.00,05,03,2024,00,00", h, m, sec);
    log += withChecksum(body);
  }
  return log;
}

// The log's file, written once for the whole run and removed at its end.
struct LogFile {
  std::string path;
  LogFile() {
    char name[] = "/tmp/tallyfin-nmea-bench-XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0) return;
    close(fd);
    std::ofstream(name, std::ios::binary) << generatedLog();
    path = name;
  }
  ~LogFile() {
    if (!path.empty()) std::remove(path.c_str());
  }
};
const LogFile& logFile() {
  static LogFile f;
  return f;
}

double processSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}
double childSeconds() {
  rusage u{};
  getrusage(RUSAGE_CHILDREN, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Reads the file and decodes it; the number of sentences handled.
long decodeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  const std::string log = bytes.str();
  gps::GpsData d;
  gps::DecodeInput in;
  in.utcNow = {2024, 3, 5, 10, 20, 30, 0, 2};
  gps::SentenceAssembler assembler;
  gps::SentenceQueue queue;
  std::string taken;
  long handled = 0;
  for (unsigned char c : log) {
    if (!assembler.feed(c) || !gps::keptSentence(assembler.sentence())) continue;
    if (!queue.put(assembler.sentence())) continue;
    while (queue.take(taken)) handled += gps::handleSentence(d, taken, in).handled ? 1 : 0;
  }
  benchmark::DoNotOptimize(d.position.latitude);
  return handled;
}

void BM_NmeaDecode(benchmark::State& state) {
  const LogFile& f = logFile();
  if (f.path.empty()) return state.SkipWithError("the log file could not be written");
  double seconds = 0;
  long total = 0;
  for (auto _ : state) {
    const double start = processSeconds();
    const long handled = decodeFile(f.path);
    const double spent = processSeconds() - start;
    state.SetIterationTime(spent);
    if (handled != kSentences) return state.SkipWithError("not every sentence was handled");
    seconds += spent;
    total += handled;
  }
  state.counters["sentences_per_s"] = static_cast<double>(total) / seconds;
}
BENCHMARK(BM_NmeaDecode)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_GpsdecodePeer(benchmark::State& state) {
  const LogFile& f = logFile();
  if (f.path.empty()) return state.SkipWithError("the log file could not be written");
  if (std::system("command -v gpsdecode >/dev/null 2>&1") != 0)
    return state.SkipWithError("gpsdecode is not installed (gpsd-clients; scripts/setup installs it)");
  const std::string command = "gpsdecode < " + f.path + " > /dev/null";
  double seconds = 0;
  long total = 0;
  for (auto _ : state) {
    const double start = childSeconds();
    if (std::system(command.c_str()) != 0) return state.SkipWithError("gpsdecode failed");
    const double spent = childSeconds() - start;
    state.SetIterationTime(spent);
    seconds += spent;
    total += kSentences;
  }
  state.counters["sentences_per_s"] = static_cast<double>(total) / seconds;
}
BENCHMARK(BM_GpsdecodePeer)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
