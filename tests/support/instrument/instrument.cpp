// test_instrument: plays a serial instrument on a tty (one end of a socat
// pseudo-terminal pair) through the program's own serial device, so tests
// of sensors, the terminal and the printer have a real peer. See usage().
#include <atomic>
#include <chrono>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/serial.hpp"

namespace {

const char* const kUsage =
    "usage: test_instrument DEVICE [options]\n"
    "Acts as a serial instrument on the tty DEVICE until --exit-after, a signal\n"
    "or the line hanging up. Lines it sends end in CR.\n"
    "  --baud N          line rate (default 9600; 8 data bits, no parity, 1 stop bit)\n"
    "  --values A,B,...  readings to send, in turn, cycling (default 12.5)\n"
    "  --rangefinder     answer each request line \"R\" or \"H\" with \"H,<value>,M\"\n"
    "  --caliper         send \"<value>\" every --every ms\n"
    "  --every MS        caliper interval (default 500)\n"
    "  --echo            send each received line back\n"
    "  --garbage N       send N random bytes (controls, 0x00 and 0xFF included) once\n"
    "  --long N          send one line of N characters once\n"
    "  --burst N         send N lines \"B,<i>,<value>\" once, as fast as the line takes them\n"
    "  --seed N          seed of --garbage (default 1)\n"
    "  --delay MS        wait this long before the one-time output (default 0)\n"
    "  --capture FILE    write every byte received to FILE\n"
    "  --exit-after MS   close the device and end after MS (the instrument vanishes)\n"
    "Exit status: 0 done, 1 usage, 2 the device did not open, 3 the device failed.\n";

struct Options {
  std::string device;
  std::uint32_t baud = 9600;
  std::vector<std::string> values{"12.5"};
  bool rangefinder = false, caliper = false, echo = false;
  long every = 500, garbage = -1, longLine = -1, burst = -1, delay = 0, exitAfter = -1;
  unsigned seed = 1;
  std::string capture;
};

std::atomic<bool> stopRequested{false};
void onSignal(int) { stopRequested = true; }

// A whole non-negative decimal number, or false.
bool parseCount(const char* text, long& out) {
  if (!text || !*text) return false;
  char* end = nullptr;
  errno = 0;
  long v = std::strtol(text, &end, 10);
  if (errno != 0 || *end != '\0' || v < 0 || v > 100000000) return false;
  out = v;
  return true;
}

std::vector<std::string> splitValues(const std::string& text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (;;) {
    std::size_t comma = text.find(',', start);
    out.push_back(text.substr(start, comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return out;
}

// 0 when the options are usable; prints why not otherwise.
int parseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
    long n = 0;
    auto count = [&](long& into) {
      if (!parseCount(next, n)) return false;
      into = n;
      ++i;
      return true;
    };
    bool ok = true;
    if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      std::exit(0);
    } else if (a == "--rangefinder") {
      o.rangefinder = true;
    } else if (a == "--caliper") {
      o.caliper = true;
    } else if (a == "--echo") {
      o.echo = true;
    } else if (a == "--baud") {
      long b = 0;
      ok = count(b) && b > 0;
      o.baud = static_cast<std::uint32_t>(b);
    } else if (a == "--values") {
      ok = next && *next;
      if (ok) o.values = splitValues(argv[++i]);
    } else if (a == "--capture") {
      ok = next && *next;
      if (ok) o.capture = argv[++i];
    } else if (a == "--seed") {
      long s = 0;
      ok = count(s);
      o.seed = static_cast<unsigned>(s);
    } else if (a == "--every") {
      ok = count(o.every) && o.every > 0;
    } else if (a == "--garbage") {
      ok = count(o.garbage);
    } else if (a == "--long") {
      ok = count(o.longLine);
    } else if (a == "--burst") {
      ok = count(o.burst);
    } else if (a == "--delay") {
      ok = count(o.delay);
    } else if (a == "--exit-after") {
      ok = count(o.exitAfter);
    } else if (!a.empty() && a[0] != '-' && o.device.empty()) {
      o.device = a;
    } else {
      ok = false;
    }
    if (!ok) {
      std::fprintf(stderr, "test_instrument: bad option %s\n%s", a.c_str(), kUsage);
      return 1;
    }
  }
  if (o.device.empty()) {
    std::fprintf(stderr, "test_instrument: no device\n%s", kUsage);
    return 1;
  }
  return 0;
}

class Instrument {
 public:
  Instrument(const Options& o, platform::SerialDevice& d) : o_(o), dev_(d) {
    if (!o.capture.empty()) capture_.open(o.capture, std::ios::binary | std::ios::trunc);
  }
  bool captureOpen() const { return o_.capture.empty() || capture_.is_open(); }

  // Runs until told to stop; the exit status.
  int run() {
    using Clock = std::chrono::steady_clock;
    Clock::time_point start = Clock::now();
    Clock::time_point nextReading = start;
    bool oneTimeDone = false;
    while (!stopRequested) {
      Clock::time_point now = Clock::now();
      long elapsed = static_cast<long>(
          std::chrono::duration_cast<std::chrono::milliseconds>(now - start).count());
      if (o_.exitAfter >= 0 && elapsed >= o_.exitAfter) return 0;
      if (!oneTimeDone && elapsed >= o_.delay) {
        oneTimeDone = true;
        if (!sendOneTimeOutput()) return 3;
      }
      if (o_.caliper && now >= nextReading) {
        nextReading = now + std::chrono::milliseconds(o_.every);
        if (!send(nextValue() + "\r")) return 3;
      }
      std::uint8_t b = 0;
      int rc = dev_.readByte(b, 10);
      if (rc == platform::kSerialTimeout) continue;
      if (rc != platform::kSerialOk) {
        std::fprintf(stderr, "test_instrument: read error %d\n", rc);
        return 3;
      }
      if (capture_.is_open()) capture_.put(static_cast<char>(b)).flush();
      if (b != '\r') {
        // A line longer than any request is noise: keep only its start.
        if (line_.size() < 4096) line_.push_back(static_cast<char>(b));
        continue;
      }
      if (!answer(line_)) return 3;
      line_.clear();
    }
    return 0;
  }

 private:
  std::string nextValue() { return o_.values[next_++ % o_.values.size()]; }

  bool send(const std::string& bytes) {
    std::size_t written = 0;
    int rc = dev_.write(bytes.data(), bytes.size(), 5000, written);
    if (rc != platform::kSerialOk) std::fprintf(stderr, "test_instrument: write error %d\n", rc);
    return rc == platform::kSerialOk;
  }

  bool answer(std::string request) {
    // A LF left over from a CR LF sender belongs to no request.
    while (!request.empty() && (request.front() == '\n' || request.front() == ' '))
      request.erase(0, 1);
    while (!request.empty() && request.back() == ' ') request.pop_back();
    if (o_.echo && !send(request + "\r")) return false;
    if (o_.rangefinder && (request == "R" || request == "H"))
      return send("H," + nextValue() + ",M\r");
    return true;
  }

  bool sendOneTimeOutput() {
    if (o_.garbage >= 0) {
      std::mt19937 random(o_.seed);
      std::string bytes(static_cast<std::size_t>(o_.garbage), '\0');
      for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
      // Make sure the awkward bytes are in there whatever the seed gives.
      const char awkward[] = {'\0', '\x03', '\x11', '\x13', '\x1b', '\x7f', '\xff', '\r', '\n'};
      for (std::size_t i = 0; i < bytes.size() && i < sizeof awkward; ++i)
        bytes[i * 7 % bytes.size()] = awkward[i];
      if (!send(bytes)) return false;
    }
    if (o_.longLine >= 0) {
      std::string line;
      for (long i = 0; i < o_.longLine; ++i) line.push_back(static_cast<char>('A' + i % 26));
      if (!send(line + "\r")) return false;
    }
    for (long i = 0; i < o_.burst; ++i)
      if (!send("B," + std::to_string(i + 1) + "," + nextValue() + "\r")) return false;
    return true;
  }

  const Options& o_;
  platform::SerialDevice& dev_;
  std::ofstream capture_;
  std::string line_;
  std::size_t next_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (int rc = parseOptions(argc, argv, o); rc != 0) return rc;
  std::signal(SIGTERM, onSignal);
  std::signal(SIGINT, onSignal);

  int error = 0;
  auto device = platform::openSerialDevice(o.device, error);
  if (!device) {
    std::fprintf(stderr, "test_instrument: cannot open %s: error %d\n", o.device.c_str(), error);
    return 2;
  }
  platform::SerialSettings settings;
  settings.baud = o.baud;
  if (int rc = device->configure(settings); rc != 0) {
    std::fprintf(stderr, "test_instrument: cannot configure %s: error %d\n", o.device.c_str(), rc);
    return 2;
  }
  device->setDtr(true);
  device->setRts(true);
  Instrument instrument(o, *device);
  if (!instrument.captureOpen()) {
    std::fprintf(stderr, "test_instrument: cannot write %s\n", o.capture.c_str());
    return 2;
  }
  return instrument.run();
}
