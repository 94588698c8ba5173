#include "hostlib/unit_session.hpp"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "base/le.hpp"
#include "base/text.hpp"
#include "hostlib/host_control.hpp"
#include "hostlib/inbox.hpp"
#include "hostlib/outbox.hpp"
#include "hostlib/wire.hpp"
#include "platform/clock.hpp"
#include "platform/disk_space.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"
#include "platform/folder_storage.hpp"
#include "transfer/control_file.hpp"
#include "transfer/file_header.hpp"
#include "transfer/login_block.hpp"
#include "transfer/received_names.hpp"
#include "transfer/wire_commands.hpp"

namespace host {

namespace {

constexpr const char* kUnitControlPrefix = "XFERFROMHH~";

class UnitSession {
 public:
  UnitSession(platform::TcpSocket& socket, const std::string& peer, HostContext& context)
      : ctx_(context), wire_(socket, context.limits.idleMs, context.stopping) {
    record_.peer = peer;
  }

  SessionRecord run() {
    if (!login()) return done();
    UnitClaim claim(ctx_.units, record_.unit);
    if (!claim.held()) {
      fail("unit already in a session");
      return done();
    }
    inbox_ = std::make_unique<InboxSession>(ctx_.tree, record_.unit, ctx_.namer);
    if (int rc = inbox_->open()) {
      fail(base::format("inbox folder not made (error %d)", rc));
      return done();
    }
    record_.session = inbox_->session();
    for (;;) {
      std::uint8_t command = 0;
      if (!readWire(&command, 1)) break;
      if (command == transfer::kCommandSendFile) {
        if (!receiveFile()) break;
      } else if (command == transfer::kCommandNextFile) {
        if (!sendNext()) break;
      } else if (command == transfer::kCommandEndSession) {
        finish();
        break;
      } else {
        fail(base::format("unknown command byte 0x%02X", command));
        break;
      }
    }
    // A session not kept leaves nothing behind (the claim is still held here).
    inbox_.reset();
    return done();
  }

 private:
  SessionRecord done() {
    record_.bytesIn = wire_.bytesIn();
    record_.bytesOut = wire_.bytesOut();
    return record_;
  }

  bool fail(std::string why) {
    if (record_.result.empty()) record_.result = std::move(why);
    return false;
  }

  bool readWire(void* data, std::size_t size) {
    WireResult r = wire_.read(data, size);
    if (r == WireResult::kOk) return true;
    if (r == WireResult::kFailed) return fail(base::format("receive failed (error %d)", wire_.error()));
    return fail(wireResultText(r));
  }

  bool writeWire(const void* data, std::size_t size) {
    WireResult r = wire_.write(data, size);
    if (r == WireResult::kOk) return true;
    if (r == WireResult::kFailed) return fail(base::format("send failed (error %d)", wire_.error()));
    return fail(wireResultText(r));
  }

  bool login() {
    std::uint8_t bytes[transfer::LoginBlock::kSize];
    if (!readWire(bytes, sizeof bytes)) return false;
    transfer::LoginBlock block;
    if (transfer::parseLoginBlock(bytes, sizeof bytes, block) != transfer::WireParse::kOk) {
      return fail("bad login block");
    }
    const std::string unit = block.unitId();
    if (!unitFolderAllowed(unit)) {
      record_.unit = "?";
      return fail("unit identifier refused");
    }
    record_.unit = unit;
    return true;
  }

  bool receiveFile() {
    if (offerStarted_) return fail("unit sent a file after the host's files began");
    std::uint8_t bytes[transfer::FileHeader::kSize];
    if (!readWire(bytes, sizeof bytes)) return false;
    const std::uint32_t maxLength =
        static_cast<std::uint32_t>(std::min<std::uint64_t>(ctx_.limits.maxFileBytes, 0xFFFFFFFFull));
    transfer::FileHeader header;
    switch (transfer::parseFileHeader(bytes, sizeof bytes, maxLength, header)) {
      case transfer::WireParse::kOk: break;
      case transfer::WireParse::kLengthAboveMax:
        return fail(base::format("file of %u bytes above the limit",
                                 static_cast<unsigned>(base::getU32(bytes + transfer::FileHeader::kLength))));
      default: return fail("bad file header");
    }
    const std::string name = header.name();
    const std::uint32_t length = header.length();
    if (!transfer::plainReceivedName(name)) return fail("file name refused: \"" + name + "\"");
    const bool isControl = !control_;
    if (isControl) {
      if (base::toUpper(name).rfind(kUnitControlPrefix, 0) != 0) {
        return fail("first file is not the unit's control file: \"" + name + "\"");
      }
      if (length > kMaxControlFileBytes) return fail("control file too large");
    } else if (datasetsReceived_ == 0xFFFF) {
      return fail("too many files");
    }
    std::uint64_t free = 0;
    if (platform::freeDiskBytes(inbox_->partialFolder(), free) == 0 && free < length + kFreeSpaceReserve) {
      return fail(base::format("no room for a file of %u bytes", static_cast<unsigned>(length)));
    }
    platform::File file;
    if (int rc = inbox_->create(name, file)) {
      if (rc == platform::kErrFileExists || rc == platform::kErrAlreadyExists) {
        return fail("file sent twice: \"" + name + "\"");
      }
      return fail(base::format("file not created (error %d)", rc));
    }
    std::vector<std::uint8_t> kept;  // the control file is also read here
    std::vector<std::uint8_t> piece(transfer::kMaxPieceBytes);
    std::uint32_t left = length;
    while (left > 0) {
      const std::size_t n = std::min<std::size_t>(left, piece.size());
      if (!readWire(piece.data(), n)) return false;
      if (int rc = file.writeExact(piece.data(), n)) return fail(base::format("write failed (error %d)", rc));
      if (isControl) kept.insert(kept.end(), piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(n));
      left -= static_cast<std::uint32_t>(n);
    }
    if (int rc = file.flush()) return fail(base::format("flush failed (error %d)", rc));
    if (int rc = file.close()) return fail(base::format("close failed (error %d)", rc));
    ++record_.filesIn;
    if (isControl) {
      transfer::ControlFile parsed;
      if (transfer::parseControlFile(kept.data(), kept.size(), parsed) != transfer::WireParse::kOk) {
        return fail("bad control file");
      }
      control_ = std::move(parsed);
    } else {
      ++datasetsReceived_;
    }
    return true;
  }

  bool sendNext() {
    if (!control_) return fail("unit asked for a file before sending its control file");
    if (!offerStarted_) {
      offerStarted_ = true;
      OfferNotes notes;
      offer_ = listOffer(ctx_.tree, record_.unit, *control_, notes);
      for (const auto& n : notes.skipped) ctx_.log.line("outbox: " + n);
      std::optional<transfer::HostClock> clock;
      if (ctx_.limits.sendClock) clock = trailerFor(platform::clock().localTime());
      std::vector<std::uint8_t> bytes;
      if (!buildHostControl(record_.unit, datasetsReceived_, offer_, clock, bytes)) {
        return fail("host control file not built");
      }
      return sendBytes(transfer::kHostControlFileName, bytes);
    }
    if (next_ < offer_.size()) return sendFile(offer_[next_++]);
    if (!completionSent_) {
      completionSent_ = true;
      const std::string text = completionText(record_.unit, record_.session);
      return sendBytes(kCompletionFileName, std::vector<std::uint8_t>(text.begin(), text.end()));
    }
    return fail("unit asked for a file after the completion file");
  }

  bool sendHeader(const std::string& name, std::uint32_t length) {
    transfer::FileHeader header;
    if (!transfer::buildFileHeader(name, length, header)) return fail("header not built for \"" + name + "\"");
    return writeWire(header.bytes().data(), header.bytes().size());
  }

  bool sendBytes(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    if (!sendHeader(name, static_cast<std::uint32_t>(bytes.size()))) return false;
    for (std::size_t at = 0; at < bytes.size(); at += transfer::kMaxPieceBytes) {
      const std::size_t n = std::min(transfer::kMaxPieceBytes, bytes.size() - at);
      if (!writeWire(bytes.data() + at, n)) return false;
    }
    ++record_.filesOut;
    return true;
  }

  bool sendFile(const OfferedFile& f) {
    platform::File file = platform::openFile(f.path, platform::Access::Read, platform::Disposition::OpenExisting);
    if (!file.isOpen()) return fail(base::format("outbox file not opened (error %d): ", file.error()) + f.path);
    if (!sendHeader(f.name, f.size)) return false;
    std::vector<std::uint8_t> piece(transfer::kMaxPieceBytes);
    std::uint32_t left = f.size;
    while (left > 0) {
      const std::size_t n = std::min<std::size_t>(left, piece.size());
      // The header promised the size listed: a file cut since cannot be sent.
      if (file.readExact(piece.data(), n) != 0) return fail("outbox file shorter than listed: " + f.path);
      if (!writeWire(piece.data(), n)) return false;
      left -= static_cast<std::uint32_t>(n);
    }
    ++record_.filesOut;
    return true;
  }

  void finish() {
    if (!control_) {
      fail("session ended before the unit's control file");
      return;
    }
    const unsigned announced = control_->header.datasetCount();
    if (datasetsReceived_ != announced) {
      fail(base::format("session ended after %u of %u dataset files", datasetsReceived_, announced));
      return;
    }
    if (!completionSent_) {
      fail("session ended before the host's files were all sent");
      return;
    }
    std::string folder;
    if (int rc = inbox_->commit(folder)) {
      fail(base::format("inbox folder not renamed (error %d)", rc));
      return;
    }
    record_.session = inbox_->session();
    if (int rc = markSent(ctx_.tree, record_.unit, record_.session, offer_)) {
      ctx_.log.line(base::format("outbox: sent files of %s not all moved (error %d)",
                                 record_.unit.c_str(), rc));
    }
    record_.ok = true;
    record_.result = "complete";
  }

  HostContext& ctx_;
  Wire wire_;
  SessionRecord record_;
  std::unique_ptr<InboxSession> inbox_;
  std::optional<transfer::ControlFile> control_;
  unsigned datasetsReceived_ = 0;
  bool offerStarted_ = false;
  std::vector<OfferedFile> offer_;
  std::size_t next_ = 0;
  bool completionSent_ = false;
};

}  // namespace

SessionRecord serveUnit(platform::TcpSocket& socket, const std::string& peer, HostContext& context) {
  UnitSession session(socket, peer, context);
  return session.run();
}

}  // namespace host
