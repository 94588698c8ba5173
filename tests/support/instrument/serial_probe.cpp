// serial_probe: opens a serial port through the program's own device code,
// sends a text and checks the line that comes back. Built for both systems:
// under Wine it shows that a COM port mapped to a pseudo-terminal works.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/serial.hpp"

namespace {

const char* const kUsage =
    "usage: serial_probe PORT [--send TEXT | --listen] [--expect TEXT] [--timeout MS] [--baud N]\n"
    "PORT is a COM port number (opened by its name, COM5: or \\\\.\\COM12, through\n"
    "the port mapping) or a device path. Sends TEXT (default \"PING\") and a CR,\n"
    "then reads one line ended by CR and compares it with --expect (default: the\n"
    "text sent). --listen sends nothing and keeps what is already waiting: it\n"
    "reads the next line. Prints each step. Exit status: 0 the reply matched, 1 usage,\n"
    "2 open, 3 configure, 4 write, 5 read failed or timed out, 6 wrong reply.\n";

bool parseNumber(const char* text, long low, long high, long& out) {
  if (!text || !*text) return false;
  char* end = nullptr;
  errno = 0;
  long v = std::strtol(text, &end, 10);
  if (errno != 0 || *end != '\0' || v < low || v > high) return false;
  out = v;
  return true;
}

// Sends text and a CR; 0, or the exit status for a failed write.
int sendLine(platform::SerialDevice& device, const std::string& text, long timeout) {
  std::string out = text + "\r";
  std::size_t written = 0;
  if (int rc = device.write(out.data(), out.size(), static_cast<std::uint32_t>(timeout), written);
      rc != platform::kSerialOk) {
    std::printf("write failed: result %d after %zu bytes\n", rc, written);
    return 4;
  }
  std::printf("sent %zu bytes\n", written);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0) {
    std::fputs(kUsage, argc < 2 ? stderr : stdout);
    return argc < 2 ? 1 : 0;
  }
  std::string target = argv[1], send = "PING", expect;
  bool expectGiven = false, listen = false;
  long timeout = 3000, baud = 9600;
  for (int i = 2; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--listen") {
      listen = true;
      continue;
    }
    const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
    bool ok = next != nullptr;
    if (ok && a == "--send") send = next;
    else if (ok && a == "--expect") expect = next, expectGiven = true;
    else if (ok && a == "--timeout") ok = parseNumber(next, 0, 600000, timeout);
    else if (ok && a == "--baud") ok = parseNumber(next, 1, 4000000, baud);
    else ok = false;
    if (!ok) {
      std::fprintf(stderr, "serial_probe: bad option %s\n%s", a.c_str(), kUsage);
      return 1;
    }
    ++i;
  }
  if (!expectGiven) expect = send;

  int error = 0;
  long port = -1;
  std::unique_ptr<platform::SerialDevice> device;
  if (parseNumber(target.c_str(), 0, 30, port)) {
    std::printf("open COM%ld as %s (%s)\n", port, platform::comPortName(static_cast<int>(port)).c_str(),
                platform::comDevicePath(static_cast<int>(port)).c_str());
    device = platform::nativeSerialOpener()(static_cast<int>(port), error);
  } else {
    std::printf("open %s\n", target.c_str());
    device = platform::openSerialDevice(target, error);
  }
  if (!device) {
    std::printf("open failed: error %d\n", error);
    return 2;
  }
  platform::SerialSettings settings;
  settings.baud = static_cast<std::uint32_t>(baud);
  if (int rc = device->configure(settings); rc != 0) {
    std::printf("configure failed: error %d\n", rc);
    return 3;
  }
  device->setDtr(true);
  device->setRts(true);
  if (listen) {
    std::printf("listening\n");
  } else {
    device->purge();
    if (int rc = sendLine(*device, send, timeout); rc != 0) return rc;
  }

  std::string reply;
  for (;;) {
    std::uint8_t b = 0;
    int rc = device->readByte(b, static_cast<std::uint32_t>(timeout));
    if (rc != platform::kSerialOk) {
      std::printf("read %s: result %d after \"%s\"\n", rc == platform::kSerialTimeout ? "timed out" : "failed",
                  rc, reply.c_str());
      return 5;
    }
    if (b == '\r') break;
    if (reply.size() < 4096) reply.push_back(static_cast<char>(b));
  }
  std::printf("reply \"%s\"\n", reply.c_str());
  if (reply != expect) {
    std::printf("expected \"%s\"\n", expect.c_str());
    return 6;
  }
  return 0;
}
