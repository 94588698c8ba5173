// Receiving sensor lines through the tty device: a writer thread streams N
// lines "H,12.5,M" CR into one end of a socat pseudo-terminal pair set to
// 115200 baud; our device reads the other end a byte at a time, as the port
// layer's reader does, and assembles lines. The peer is `head -c` (cat's
// raw byte rate) reading the same stream from the same end. A pseudo-terminal
// does not pace bytes by the rate, so this times the software path.
// Counters: lines_per_s, cpu_us_per_line. Skips when socat is missing.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/serial.hpp"

namespace {

const std::string kLine = "H,12.5,M\r";

double threadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

double childCpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_CHILDREN, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// One socat pair for the whole run, made by the tests' helper script.
struct Pair {
  std::string dir, a, b;
  bool ok = false;
  Pair() {
    if (std::system("command -v socat >/dev/null 2>&1") != 0) return;
    char tmpl[] = "/tmp/tallyfin-serial-bench-XXXXXX";
    if (!mkdtemp(tmpl)) return;
    dir = tmpl;
    std::string cmd = std::string("bash ") + TALLYFIN_SOURCE_DIR + "/tests/support/serial_pair.sh " + dir;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return;
    char lineBuf[1024] = {};
    if (std::fgets(lineBuf, sizeof lineBuf, p)) {
      std::string line(lineBuf);
      std::size_t space = line.find(' ');
      if (space != std::string::npos) {
        a = line.substr(0, space);
        b = line.substr(space + 1);
        while (!b.empty() && (b.back() == '\n' || b.back() == '\r')) b.pop_back();
      }
    }
    ok = pclose(p) == 0 && !a.empty() && !b.empty();
  }
  ~Pair() {
    if (dir.empty()) return;
    std::string cmd = std::string("bash ") + TALLYFIN_SOURCE_DIR + "/tests/support/serial_pair.sh stop " + dir +
                      "; rm -rf " + dir;
    (void)std::system(cmd.c_str());
  }
};

Pair& pair() {
  static Pair p;
  return p;
}

std::unique_ptr<platform::SerialDevice> openAt115200(const std::string& path) {
  int error = 0;
  auto d = platform::openSerialDevice(path, error);
  platform::SerialSettings s;
  s.baud = 115200;
  if (d && d->configure(s) != 0) d.reset();
  return d;
}

// Streams lines into the device in chunks of 64 lines.
void writeLines(platform::SerialDevice& dev, long lines) {
  std::string chunk;
  for (int i = 0; i < 64; ++i) chunk += kLine;
  for (long sent = 0; sent < lines; sent += 64) {
    long n = lines - sent < 64 ? lines - sent : 64;
    std::size_t written = 0;
    if (dev.write(chunk.data(), static_cast<std::size_t>(n) * kLine.size(), 5000, written) != 0) return;
  }
}

void BM_SerialLines(benchmark::State& state) {
  Pair& p = pair();
  if (!p.ok) return state.SkipWithError("socat is not installed or no pair came up");
  auto writer = openAt115200(p.a);
  auto reader = openAt115200(p.b);
  if (!writer || !reader) return state.SkipWithError("the pair does not open");
  const long lines = state.range(0);
  double cpu = 0;
  long total = 0;
  for (auto _ : state) {
    reader->purge();
    std::thread feed([&] { writeLines(*writer, lines); });
    double start = threadCpuSeconds();
    std::string line;
    long got = 0;
    std::uint8_t b = 0;
    while (got < lines && reader->readByte(b, 2000) == platform::kSerialOk) {
      if (b == '\r') {
        ++got;
        benchmark::DoNotOptimize(line.data());
        line.clear();
      } else if (line.size() < 1020) {
        line.push_back(static_cast<char>(b));
      }
    }
    cpu += threadCpuSeconds() - start;
    feed.join();
    total += got;
    if (got != lines) return state.SkipWithError("lines were lost");
  }
  state.counters["lines_per_s"] = benchmark::Counter(static_cast<double>(total), benchmark::Counter::kIsRate);
  state.counters["cpu_us_per_line"] = total ? cpu * 1e6 / static_cast<double>(total) : 0;
}

void BM_CatPeer(benchmark::State& state) {
  Pair& p = pair();
  if (!p.ok) return state.SkipWithError("socat is not installed or no pair came up");
  auto writer = openAt115200(p.a);
  if (!writer) return state.SkipWithError("the pair does not open");
  const long lines = state.range(0);
  // Blocking reads for head (our device leaves the line at "return what is
  // there", which a plain read takes for the end of the file); wc checks that
  // the whole stream came.
  const std::string bytes = std::to_string(lines * static_cast<long>(kLine.size()));
  const std::string cmd = "stty -F " + p.b + " raw -echo min 1 time 0 && test \"$(timeout 30 head -c " + bytes +
                          " " + p.b + " | wc -c)\" -eq " + bytes;
  double cpu = 0;
  long total = 0;
  for (auto _ : state) {
    double start = childCpuSeconds();
    std::thread peer([&] {
      if (std::system(cmd.c_str()) != 0) state.SkipWithError("head did not read the stream");
    });
    // head opens the end itself; what is written before it does is kept by the pair.
    writeLines(*writer, lines);
    peer.join();
    cpu += childCpuSeconds() - start;
    total += lines;
  }
  state.counters["lines_per_s"] = benchmark::Counter(static_cast<double>(total), benchmark::Counter::kIsRate);
  state.counters["cpu_us_per_line"] = total ? cpu * 1e6 / static_cast<double>(total) : 0;
}

BENCHMARK(BM_SerialLines)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CatPeer)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
