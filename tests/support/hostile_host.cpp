#include "support/hostile_host.hpp"

#include <chrono>
#include <thread>

#include "base/text.hpp"
#include "transfer/file_header.hpp"
#include "transfer/login_block.hpp"

namespace testing_support {

namespace {

constexpr std::uint32_t kMaxAcceptedFile = 64u * 1024u * 1024u;

bool countsAsDataset(const std::string& name) {
  const std::string upper = base::toUpper(name);
  return upper.find("COMPLETE") == std::string::npos && upper.find(".BIN") == std::string::npos;
}

}  // namespace

HostileHost::HostileHost(HostScript script)
    : script_(std::move(script)), peer_([this](PeerConnection& c) { serve(c); }) {}

HostRecord HostileHost::record() const {
  std::lock_guard<std::mutex> guard(lock_);
  return record_;
}

bool HostileHost::send(PeerConnection& c, const void* data, std::size_t size) {
  if (!script_.oneByteWrites) return c.sendAll(data, size);
  const auto* p = static_cast<const std::uint8_t*>(data);
  for (std::size_t i = 0; i < size; ++i)
    if (!c.sendAll(p + i, 1)) return false;
  return true;
}

bool HostileHost::sendFile(PeerConnection& c, const std::string& name, const std::string& data,
                           std::optional<std::uint32_t> announced) {
  // Built by hand: the host may announce any name, even one our builder refuses.
  transfer::FileHeader header;
  header.clear();
  const std::size_t n = std::min<std::size_t>(name.size(), transfer::FileHeader::kNameSize - 1);
  std::copy(name.begin(), name.begin() + static_cast<std::ptrdiff_t>(n), header.bytes().begin());
  header.setLength(announced.value_or(static_cast<std::uint32_t>(data.size())));
  const std::uint8_t* h = header.bytes().data();
  if (script_.splitHeaders) {
    if (!send(c, h, 100)) return false;
    // A pause, so that the two parts arrive as two segments.
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    if (!send(c, h + 100, transfer::FileHeader::kSize - 100)) return false;
  } else if (!send(c, h, transfer::FileHeader::kSize)) {
    return false;
  }
  return send(c, data.data(), data.size());
}

std::string HostileHost::hostControl(int datasetsReceived) const {
  if (script_.controlBytes) return *script_.controlBytes;
  transfer::ControlFile file;
  (void)file.header.stamp("host 1", "HOST");
  file.header.setDatasetCount(static_cast<std::uint16_t>(datasetsReceived + script_.acknowledgeDelta));
  for (const HostFile& f : script_.files) {
    if (!f.listed) continue;
    transfer::ControlEntry entry;
    const std::size_t n = std::min<std::size_t>(f.name.size(), transfer::ControlEntry::kNameSize - 1);
    std::copy(f.name.begin(), f.name.begin() + static_cast<std::ptrdiff_t>(n), entry.bytes().begin());
    entry.setType(f.type);
    entry.setWriteTime(f.writeTime);
    entry.setFileSize(static_cast<std::uint32_t>(f.data.size()));
    (void)entry.setFolder(f.folder);
    file.entries.push_back(entry);
  }
  file.clock = script_.clock;
  std::vector<std::uint8_t> bytes;
  (void)transfer::buildControlFile(file, bytes);
  return std::string(bytes.begin(), bytes.end());
}

void HostileHost::serve(PeerConnection& c) {
  {
    std::lock_guard<std::mutex> guard(lock_);
    ++record_.connections;
  }
  std::uint8_t login[transfer::LoginBlock::kSize];
  if (!c.receiveExactly(login, sizeof login)) return;
  transfer::LoginBlock block;
  if (transfer::parseLoginBlock(login, sizeof login, block) == transfer::WireParse::kOk) {
    std::lock_guard<std::mutex> guard(lock_);
    record_.loginUnitId = block.unitId();
  }
  int datasets = 0;
  std::size_t next = 0;  // 0: the control file; 1..: files; then the completion file
  for (;;) {
    std::uint8_t command = 0;
    if (!c.receiveExactly(&command, 1)) return;
    if (command == 'Z') {
      std::lock_guard<std::mutex> guard(lock_);
      record_.ended = true;
      return;
    }
    if (command == 'c') {
      std::uint8_t raw[transfer::FileHeader::kSize];
      transfer::FileHeader header;
      if (!c.receiveExactly(raw, sizeof raw) ||
          transfer::parseFileHeader(raw, sizeof raw, kMaxAcceptedFile, header) != transfer::WireParse::kOk)
        return;
      std::string data(header.length(), '\0');
      if (!data.empty() && !c.receiveExactly(data.data(), data.size())) return;
      std::lock_guard<std::mutex> guard(lock_);
      if (record_.received.empty()) {
        record_.pcControlParsed =
            transfer::parseControlFile(reinterpret_cast<const std::uint8_t*>(data.data()), data.size(),
                                       record_.pcControl) == transfer::WireParse::kOk;
      } else if (countsAsDataset(header.name())) {
        ++datasets;
      }
      record_.received.emplace_back(header.name(), data);
      continue;
    }
    if (command != 'b') return;
    int request = 0;
    {
      std::lock_guard<std::mutex> guard(lock_);
      request = ++record_.requests;
    }
    if (request == script_.faultAtRequest) {
      switch (script_.fault) {
        case HostFault::Stall: c.waitUntilStopped(); return;
        case HostFault::Close: c.close(); return;
        case HostFault::Reset: c.reset(); return;
        case HostFault::None: break;
      }
    }
    bool ok = true;
    if (next == 0) {
      ok = sendFile(c, transfer::kHostControlFileName, hostControl(datasets), std::nullopt);
    } else if (next <= script_.files.size()) {
      const HostFile& f = script_.files[next - 1];
      ok = sendFile(c, f.name, f.data, f.announcedLength);
    } else if (script_.sendCompletion) {
      ok = sendFile(c, script_.completionName, "done", std::nullopt);
    } else {
      ok = sendFile(c, "not_the_end.txt", "more", std::nullopt);
    }
    if (!ok) return;
    ++next;
  }
}

}  // namespace testing_support
