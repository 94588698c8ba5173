#include "host_fixture.hpp"

#include <filesystem>

#include "base/le.hpp"
#include "hostlib/host_tree.hpp"
#include "support/eventually.hpp"
#include "transfer/file_header.hpp"
#include "transfer/login_block.hpp"
#include "transfer/wire_commands.hpp"

namespace host_test {

namespace {

// A guard against a hung test, not a timing.
constexpr std::uint32_t kGuardMs = 20000;

}  // namespace

Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

RunningHost::RunningHost(host::HostOptions options) : log_("", false) {
  root_ = temp_.file("root");
  options.root = root_;
  options.listen = "127.0.0.1";
  options.port = 0;
  log_.keep(true);
  server_ = std::make_unique<host::HostServer>(options, log_);
  std::string why;
  started_ = server_->start(why) == 0;
  if (started_) runner_ = std::thread([this] { server_->run(); });
}

RunningHost::~RunningHost() {
  server_->stop();
  if (runner_.joinable()) runner_.join();
  server_.reset();
}

std::string RunningHost::path(std::initializer_list<std::string> parts) const {
  std::string p = root_;
  for (const auto& part : parts) p = host::join(p, part);
  return p;
}

bool RunningHost::servedAtLeast(int n) {
  return testing_support::eventually([&] { return server_->sessionsServed() >= n; });
}

bool RunningHost::logHas(const std::string& text) {
  for (const auto& line : log_.kept()) {
    if (line.find(text) != std::string::npos) return true;
  }
  return false;
}

void putFile(const RunningHost& host, std::initializer_list<std::string> parts, const std::string& bytes) {
  const std::string p = host.path(parts);
  std::filesystem::create_directories(std::filesystem::path(p).parent_path());
  testing_support::writeBytes(p, bytes);
}

Bytes unitControl(const std::string& unit, std::uint16_t datasets, bool askUpdate,
                  const std::vector<std::pair<std::string, std::uint32_t>>& has) {
  transfer::ControlFile f;
  (void)f.header.stamp("4.13.05", unit);
  f.header.setDatasetCount(datasets);
  f.header.setRequestUpdate(askUpdate);
  for (const auto& [name, size] : has) {
    transfer::ControlEntry e;
    (void)e.setName(name);
    e.setFileSize(size);
    f.entries.push_back(e);
  }
  Bytes out;
  (void)transfer::buildControlFile(f, out);
  return out;
}

TestUnit::TestUnit(std::uint16_t port) {
  int error = 0;
  socket_ = platform::connectTcp("127.0.0.1", port, kGuardMs, error);
}

bool TestUnit::sendRaw(const void* data, std::size_t size) {
  if (!socket_) return false;
  const auto* p = static_cast<const std::uint8_t*>(data);
  while (size > 0) {
    if (socket_->wait(platform::SocketWait::Writable, kGuardMs) != 0) return false;
    std::size_t sent = 0;
    if (socket_->send(p, size, sent) != 0) return false;
    p += sent;
    size -= sent;
  }
  return true;
}

bool TestUnit::receiveExactly(void* data, std::size_t size) {
  if (!socket_) return false;
  auto* p = static_cast<std::uint8_t*>(data);
  while (size > 0) {
    if (socket_->wait(platform::SocketWait::Readable, kGuardMs) != 0) return false;
    std::size_t got = 0;
    int rc = socket_->receive(p, size, got);
    if (rc == platform::kWsaWouldBlock) continue;
    if (rc != 0 || got == 0) return false;
    p += got;
    size -= got;
  }
  return true;
}

bool TestUnit::login(const std::string& unit) {
  transfer::LoginBlock block;
  if (!transfer::buildLoginBlock(unit, "4.13.05", block)) return false;
  return sendRaw(block.bytes().data(), block.bytes().size());
}

bool TestUnit::sendFile(const std::string& name, const Bytes& data) {
  transfer::FileHeader header;
  if (!transfer::buildFileHeader(name, static_cast<std::uint32_t>(data.size()), header)) return false;
  return sendByte(transfer::kCommandSendFile) && sendRaw(header.bytes().data(), header.bytes().size()) &&
         sendRaw(data.data(), data.size());
}

bool TestUnit::nextFile(std::string& name, Bytes& data) {
  if (!sendByte(transfer::kCommandNextFile)) return false;
  std::uint8_t header[transfer::FileHeader::kSize];
  if (!receiveExactly(header, sizeof header)) return false;
  transfer::FileHeader h;
  if (transfer::parseFileHeader(header, sizeof header, 0xFFFFFFFFu, h) != transfer::WireParse::kOk) return false;
  name = h.name();
  data.assign(h.length(), 0);
  return receiveExactly(data.data(), data.size());
}

bool TestUnit::hostCloses() {
  if (!socket_) return false;
  std::uint8_t sink[4096];
  for (;;) {
    if (socket_->wait(platform::SocketWait::Readable, kGuardMs) != 0) return false;
    std::size_t got = 0;
    int rc = socket_->receive(sink, sizeof sink, got);
    if (rc == platform::kWsaWouldBlock) continue;
    if (rc != 0 || got == 0) return true;  // closed, or reset by the host
  }
}

bool receiveAll(TestUnit& unit, Received& out) {
  std::string name;
  Bytes data;
  if (!unit.nextFile(name, data) || name != transfer::kHostControlFileName) return false;
  if (transfer::parseControlFile(data.data(), data.size(), out.control) != transfer::WireParse::kOk) return false;
  for (std::size_t i = 0; i < out.control.entries.size(); ++i) {
    if (!unit.nextFile(name, data)) return false;
    out.files.emplace_back(name, data);
  }
  if (!unit.nextFile(name, data)) return false;
  out.completionName = name;
  return true;
}

}  // namespace host_test
