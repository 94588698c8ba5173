#include "transfer/send_file.hpp"

#include <algorithm>
#include <limits>
#include <vector>

#include "base/text.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"
#include "transfer/file_header.hpp"
#include "transfer/session_text.hpp"
#include "transfer/wire_commands.hpp"

namespace transfer {

namespace {

constexpr const char* kSendFileCaption = "Send File Error";
constexpr const char* kServerCaption = "Server Error";

}  // namespace

bool sendFile(LinkWait& wait, const std::string& path, char sep, SessionProgress& progress) {
  SessionView& view = wait.view();
  if (!platform::fileExists(path)) {
    view.message("File Doesn't Exist", kSendFileCaption);
    return false;
  }
  const std::size_t slash = path.rfind(sep);
  if (slash == std::string::npos) {
    view.message("File Backslash Not Found", kSendFileCaption);
    return false;
  }
  platform::File file = platform::openFile(path, platform::Access::Read, platform::Disposition::OpenExisting);
  const std::int64_t size = file.isOpen() ? file.size() : -1;
  // The header carries 32 bits of length: a larger file cannot be announced.
  if (size < 0 || size > std::numeric_limits<std::uint32_t>::max()) {
    view.message("TCPIP Open File Error!\n" + path, kSendFileCaption);
    return false;
  }
  FileHeader header;
  if (!buildFileHeader(path.substr(slash + 1), static_cast<std::uint32_t>(size), header)) {
    view.message("TCPIP Open File Error!\n" + path, kSendFileCaption);
    return false;
  }

  int rc = wait.sendCommand(kCommandSendFile);
  if (rc != kLinkOk) {
    if (rc != kLinkCancelled) view.message("Error Sending Server Comand", kServerCaption);
    return false;
  }
  rc = wait.send(header.bytes().data(), FileHeader::kSize);
  if (rc != kLinkOk) {
    if (rc == kLinkCancelled) return false;
    const int row = linkErrorIndex(rc);
    if (row > 0)
      view.message(linkErrorText(row), "server terminated connection");
    else
      view.message("Server Terminated Connection", kServerCaption);
    return false;
  }

  const auto total = static_cast<std::uint32_t>(size);
  progress.bytesDone = 0;
  progress.bytesTotal = total;
  view.setProgress(progress);
  std::vector<std::uint8_t> piece(kMaxPieceBytes);
  while (progress.bytesDone < total) {
    const std::size_t want = std::min<std::size_t>(kMaxPieceBytes, total - progress.bytesDone);
    if (file.readExact(piece.data(), want) != platform::kOk) {
      view.message("fread() error", kSendFileCaption);
      return false;
    }
    rc = wait.send(piece.data(), static_cast<std::uint32_t>(want));
    if (rc != kLinkOk) {
      if (rc == kLinkCancelled) return false;
      const std::string text = base::format("TCPSendData error=%d", rc);
      view.setStatus(text);
      view.message(withErrorText(text, rc), kServerCaption);
      return false;
    }
    progress.bytesDone += static_cast<std::uint32_t>(want);
    view.setProgress(progress);
  }
  return true;
}

}  // namespace transfer
