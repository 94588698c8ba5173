#include "apps/tfa_header.hpp"

#include "platform/fileops.hpp"
#include "ui/host.hpp"

namespace apps {

std::string TfaHeader::appPassword() const {
  std::string out;
  for (std::size_t i = 0; i < kAppPasswordSize; ++i) {
    std::uint8_t stored = u8(kAppPassword + i);
    if (stored == 0) break;
    out.push_back(static_cast<char>(stored / 2));
  }
  return out;
}

bool TfaHeader::setAppPassword(std::string_view text8) {
  if (text8.size() >= kAppPasswordSize) return false;
  for (char c : text8)
    if (static_cast<unsigned char>(c) >= 128) return false;
  for (std::size_t i = 0; i < kAppPasswordSize; ++i) {
    std::uint8_t doubled =
        i < text8.size() ? static_cast<std::uint8_t>(static_cast<unsigned char>(text8[i]) * 2) : 0;
    setU8(kAppPassword + i, doubled);
  }
  return true;
}

int readHeaderCopy(ui::Host& host, const std::string& path, TfaHeader& header) {
  platform::File file =
      platform::openFile(path, platform::Access::Read, platform::Disposition::OpenExisting);
  if (!file.isOpen()) {
    ui::inform(host, path, "Can't Open cur_app_hdr.dft for Read");
    return -1;
  }
  const std::int64_t size = file.size();
  if (size < 0) return -2;
  if (size != static_cast<std::int64_t>(TfaHeader::kSize)) return -3;
  TfaHeader read;
  std::size_t done = 0;
  if (file.read(read.bytes().data(), TfaHeader::kSize, done) != 0) return -2;
  if (done != TfaHeader::kSize) return -3;
  header = read;
  return 0;
}

int writeHeaderCopy(ui::Host& host, const std::string& path, const TfaHeader& header) {
  platform::File file =
      platform::openFile(path, platform::Access::Write, platform::Disposition::CreateAlways);
  if (!file.isOpen()) {
    ui::inform(host, path, "Can't Open tfa_app_hdr.dft for Write");
    return -1;
  }
  std::size_t done = 0;
  int rc = 0;
  if (file.write(header.bytes().data(), TfaHeader::kSize, done) != 0) {
    ui::inform(host, "tfa_app_hdr.dft Write Failed", "TFA_HDR");
    rc = -2;
  } else if (done != TfaHeader::kSize) {
    ui::inform(host, "tfa_app_hdr.dft Write Size Failed", "TFA_HDR");
    rc = -3;
  }
  if (file.close() != 0 && rc == 0) {
    ui::inform(host, "tfa_app_hdr.dft Write Failed", "TFA_HDR");
    rc = -2;
  }
  if (rc != 0) platform::deleteFile(path);
  return rc;
}

}  // namespace apps
