// The unit's own link (transfer::HostLink) against the host: the host is the
// peer the unit's transfer is built for, so the two must agree on the wire.
#include <gtest/gtest.h>

#include <filesystem>

#include "host_fixture.hpp"
#include "transfer/file_header.hpp"
#include "transfer/link.hpp"
#include "transfer/login_block.hpp"
#include "transfer/wire_commands.hpp"

namespace host_test {
namespace {

// Queues one request and polls it to its end, as the unit's session does.
class PolledLink {
 public:
  explicit PolledLink(std::uint16_t port) {
    ok_ = link_.startSockets() == 0 && link_.connect("127.0.0.1", port) == 0;
  }
  ~PolledLink() {
    (void)link_.disconnect();
    (void)link_.shutdown();
  }
  bool ok() const { return ok_; }

  bool send(const void* data, std::size_t size) {
    return link_.sendData(data, static_cast<std::uint32_t>(size)) == 0 && settle();
  }
  bool receive(void* data, std::size_t size) {
    return link_.receiveData(data, static_cast<std::uint32_t>(size)) == 0 && settle();
  }
  bool sendFile(const std::string& name, const Bytes& data) {
    transfer::FileHeader h;
    const std::uint8_t c = transfer::kCommandSendFile;
    return transfer::buildFileHeader(name, static_cast<std::uint32_t>(data.size()), h) && send(&c, 1) &&
           send(h.bytes().data(), h.bytes().size()) && send(data.data(), data.size());
  }
  bool nextFile(std::string& name, Bytes& data) {
    const std::uint8_t b = transfer::kCommandNextFile;
    std::uint8_t raw[transfer::FileHeader::kSize];
    transfer::FileHeader h;
    if (!send(&b, 1) || !receive(raw, sizeof raw) ||
        transfer::parseFileHeader(raw, sizeof raw, 0xFFFFFFFFu, h) != transfer::WireParse::kOk) {
      return false;
    }
    name = h.name();
    data.assign(h.length(), 0);
    // In pieces of at most 16384 bytes, as the unit receives.
    for (std::size_t at = 0; at < data.size(); at += transfer::kMaxPieceBytes) {
      if (!receive(data.data() + at, std::min(transfer::kMaxPieceBytes, data.size() - at))) return false;
    }
    return true;
  }

 private:
  bool settle() {
    std::uint32_t progress = 0;
    int state;
    while ((state = link_.requestStatus(progress)) == transfer::kRequestSendPending ||
           state == transfer::kRequestReceivePending) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return state == transfer::kRequestIdle;
  }

  transfer::HostLink link_;
  bool ok_ = false;
};

TEST(HostWithUnitLink, AWholeSessionThroughTheUnitsLink) {
  RunningHost h;
  ASSERT_TRUE(h.started());
  const std::string big(70000, 'p');
  putFile(h, {"outbox", "LINK01", "apps", "Big.tfa"}, big);
  PolledLink link(h.port());
  ASSERT_TRUE(link.ok());
  transfer::LoginBlock login;
  ASSERT_TRUE(transfer::buildLoginBlock("LINK01", "4.13.05", login));
  ASSERT_TRUE(link.send(login.bytes().data(), login.bytes().size()));
  ASSERT_TRUE(link.sendFile("XferFromHH~LINK01~T.bin", unitControl("LINK01", 1, false)));
  ASSERT_TRUE(link.sendFile("[Cruise] a.dat", Bytes(33000, 3)));
  std::string name;
  Bytes data;
  ASSERT_TRUE(link.nextFile(name, data));
  transfer::ControlFile control;
  ASSERT_EQ(transfer::parseControlFile(data.data(), data.size(), control), transfer::WireParse::kOk);
  EXPECT_EQ(control.header.datasetCount(), 1);
  ASSERT_EQ(control.entries.size(), 1u);
  ASSERT_TRUE(link.nextFile(name, data));
  EXPECT_EQ(name, "Big.tfa");
  EXPECT_EQ(std::string(data.begin(), data.end()), big);
  ASSERT_TRUE(link.nextFile(name, data));
  EXPECT_EQ(name, "xfer_complete.bin");
  const std::uint8_t z = transfer::kCommandEndSession;
  ASSERT_TRUE(link.send(&z, 1));
  ASSERT_TRUE(h.servedAtLeast(1));
  EXPECT_EQ(h.server().sessionsKept(), 1);
  EXPECT_TRUE(std::filesystem::exists(h.path({"outbox", "LINK01", "sent"})));
}

}  // namespace
}  // namespace host_test
