#include "transfer/receive_file.hpp"

#include <algorithm>
#include <vector>

#include "base/text.hpp"
#include "platform/disk_space.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"
#include "transfer/file_header.hpp"
#include "transfer/received_names.hpp"
#include "transfer/session_text.hpp"
#include "transfer/wire_commands.hpp"

namespace transfer {

namespace {

// Receives the data into an open partial file; 0 or an error code.
int receiveData(LinkWait& wait, platform::File& file, std::uint32_t length, SessionProgress& progress) {
  std::vector<std::uint8_t> piece(kMaxPieceBytes);
  progress.bytesDone = 0;
  progress.bytesTotal = length;
  wait.view().setProgress(progress);
  while (progress.bytesDone < length) {
    const auto want = static_cast<std::uint32_t>(
        std::min<std::size_t>(kMaxPieceBytes, length - progress.bytesDone));
    const int rc = wait.receive(piece.data(), want);
    if (rc != kLinkOk) return rc;
    if (file.writeExact(piece.data(), want) != platform::kOk) return kReceiveWriteFailed;
    progress.bytesDone += want;
    wait.view().setProgress(progress);
  }
  return file.close() == platform::kOk ? kLinkOk : kReceiveWriteFailed;
}

}  // namespace

int receiveFile(LinkWait& wait, const std::string& partialFolder, char sep, std::uint32_t maxBytes,
                SessionProgress& progress, std::string& name) {
  int rc = wait.sendCommand(kCommandNextFile);
  if (rc != kLinkOk) return rc;
  std::uint8_t raw[FileHeader::kSize];
  rc = wait.receive(raw, FileHeader::kSize);
  if (rc != kLinkOk) {
    if (rc != kLinkCancelled)
      wait.view().message(withErrorText(base::format("HHN_ReceiveData error=%d", rc), rc),
                          "TCPIP Receive Error");
    return rc;
  }
  FileHeader header;
  const WireParse parsed = parseFileHeader(raw, sizeof raw, maxBytes, header);
  if (parsed == WireParse::kLengthAboveMax) return kReceiveTooLarge;
  if (parsed != WireParse::kOk || !plainReceivedName(header.name())) return kReceiveBadName;
  std::uint64_t free = 0;
  // A folder whose space cannot be asked for meets a full disk as a write error.
  if (platform::freeDiskBytes(partialFolder, free) == platform::kOk && header.length() > free)
    return kReceiveTooLarge;

  const std::string path = joinPath(partialFolder, sep, header.name());
  wait.view().setFile(header.name());
  platform::File file =
      platform::openFile(path, platform::Access::Write, platform::Disposition::CreateAlways);
  if (!file.isOpen()) return kReceiveWriteFailed;
  rc = receiveData(wait, file, header.length(), progress);
  if (rc != kLinkOk) {
    (void)file.close();
    (void)platform::deleteFile(path);
    return rc;
  }
  ++progress.fileNumber;
  wait.view().setProgress(progress);
  name = header.name();
  return kLinkOk;
}

}  // namespace transfer
