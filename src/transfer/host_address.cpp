#include "transfer/host_address.hpp"

#include <vector>

#include "base/paths.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"
#include "platform/files.hpp"
#include "platform/ipv4_text.hpp"

namespace transfer {

namespace {

constexpr std::size_t kMaxWord = 32;
constexpr std::int64_t kMaxFileBytes = 4096;

// The blanks a formatted read skips between words.
bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

bool parsePort(std::string_view text, std::uint16_t& port) {
  if (text.empty() || text.size() > 5) return false;
  std::uint32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<std::uint32_t>(c - '0');
  }
  if (value < 1 || value > 65535) return false;
  port = static_cast<std::uint16_t>(value);
  return true;
}

std::string filePath(const std::string& folder) {
  return base::joinPath(folder, kHostAddressFileName, platform::kSep);
}

}  // namespace

bool parseHostAddress(std::string_view text, HostAddress& out) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < text.size()) {
    if (isSpace(text[i])) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < text.size() && !isSpace(text[end])) ++end;
    if (end - i > kMaxWord || words.size() == 2) return false;
    words.push_back(text.substr(i, end - i));
    i = end;
  }
  if (words.size() != 2) return false;
  HostAddress read;
  if (!platform::parseDottedIpv4(words[0], read.ipv4) || !parsePort(words[1], read.portNumber))
    return false;
  read.address = std::string(words[0]);
  read.port = std::string(words[1]);
  out = std::move(read);
  return true;
}

std::string hostAddressLine(std::string_view address, std::string_view port) {
  std::string line(address);
  line += ' ';
  line += port;
  line += '\n';
  return line;
}

HostAddressRead readHostAddress(const std::string& folder, HostAddress& out) {
  std::string text;
  const int rc = platform::readWholeFile(filePath(folder), text, kMaxFileBytes);
  if (rc == platform::kErrFileNotFound || rc == platform::kErrPathNotFound) {
    out = HostAddress{};
    return HostAddressRead::kMissing;
  }
  if (rc == platform::kErrNotEnoughMemory) return HostAddressRead::kMalformed;  // too large
  if (rc != platform::kOk) return HostAddressRead::kUnreadable;
  return parseHostAddress(text, out) ? HostAddressRead::kOk : HostAddressRead::kMalformed;
}

int writeHostAddress(const std::string& folder, std::string_view address, std::string_view port) {
  const std::string line = hostAddressLine(address, port);
  HostAddress check;
  // Read back whole: a blank inside either text would shift the words.
  if (!parseHostAddress(line, check) || check.address != address || check.port != port)
    return kHostAddressInvalid;
  platform::SafeWriteStage stage;
  return platform::writeFileSafely(filePath(folder), line.data(), line.size(), stage);
}

}  // namespace transfer
