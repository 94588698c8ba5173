#include "hostlib/host_options.hpp"

#include <charconv>

#include "platform/ipv4_text.hpp"

namespace host {

namespace {

bool readNumber(const std::string& text, std::uint64_t lo, std::uint64_t hi, std::uint64_t& out) {
  std::uint64_t v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return false;
  if (v < lo || v > hi) return false;
  out = v;
  return true;
}

}  // namespace

OptionsResult parseHostOptions(const std::vector<std::string>& args, HostOptions& out,
                               std::string& error) {
  HostOptions o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") return OptionsResult::kHelp;
    if (a == "--send-clock") {
      o.sendClock = true;
      continue;
    }
    if (a == "--once") {
      o.once = true;
      continue;
    }
    const bool takesValue = a == "--root" || a == "--port" || a == "--listen" ||
                            a == "--max-connections" || a == "--idle-timeout" ||
                            a == "--max-file-bytes";
    if (!takesValue) {
      error = "unknown option: " + a;
      return OptionsResult::kError;
    }
    if (i + 1 >= args.size()) {
      error = a + " needs a value";
      return OptionsResult::kError;
    }
    const std::string& v = args[++i];
    std::uint64_t n = 0;
    if (a == "--root") {
      if (v.empty()) {
        error = "--root needs a folder";
        return OptionsResult::kError;
      }
      o.root = v;
    } else if (a == "--listen") {
      std::uint32_t address = 0;
      if (!platform::parseDottedIpv4(v, address)) {
        error = "--listen needs a dotted IPv4 address: " + v;
        return OptionsResult::kError;
      }
      o.listen = v;
    } else if (a == "--port") {
      if (!readNumber(v, 0, 65535, n)) {
        error = "--port needs a number 0-65535: " + v;
        return OptionsResult::kError;
      }
      o.port = static_cast<std::uint16_t>(n);
    } else if (a == "--max-connections") {
      if (!readNumber(v, 1, 100000, n)) {
        error = "--max-connections needs a number 1-100000: " + v;
        return OptionsResult::kError;
      }
      o.maxConnections = static_cast<int>(n);
    } else if (a == "--idle-timeout") {
      if (!readNumber(v, 1, 86400, n)) {
        error = "--idle-timeout needs seconds 1-86400: " + v;
        return OptionsResult::kError;
      }
      o.idleSeconds = static_cast<std::uint32_t>(n);
    } else {
      if (!readNumber(v, 1, 0xFFFFFFFFull, n)) {
        error = "--max-file-bytes needs a number 1-4294967295: " + v;
        return OptionsResult::kError;
      }
      o.maxFileBytes = n;
    }
  }
  if (o.root.empty()) {
    error = "--root DIR is required";
    return OptionsResult::kError;
  }
  out = o;
  return OptionsResult::kRun;
}

std::string hostUsage() {
  return "Usage: tallyfin-host --root DIR [options]\n"
         "The office's host for the units' TCP/IP transfer.\n"
         "\n"
         "  --root DIR            folder holding inbox/, outbox/ and log/ (required)\n"
         "  --port N              TCP port to listen on (default 50000)\n"
         "  --listen ADDR         dotted IPv4 address to listen on (default 0.0.0.0)\n"
         "  --max-connections N   units served at once; more are closed at once (default 256)\n"
         "  --idle-timeout S      drop a unit silent this many seconds (default 60)\n"
         "  --max-file-bytes N    refuse files above N bytes (default 1073741824)\n"
         "  --send-clock          send this machine's local time to set the units' clocks\n"
         "  --once                serve one session, then exit\n"
         "  --help                this text\n";
}

}  // namespace host
