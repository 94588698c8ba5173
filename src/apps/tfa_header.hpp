#pragma once
// TFA_HDR: the 1560-byte application header at the start of every package,
// also kept beside an installed application as "_tfa_app_hdr.dft". Integers
// are 32-bit little-endian, texts 8-bit (ANSI code page) and NUL-terminated
// inside their fields. The design tool owns every byte not named here; they
// are carried unchanged.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/fixed_record.hpp"

namespace ui {
class Host;
}

namespace apps {

class TfaHeader : public base::FixedRecord<1560> {
 public:
  // Offsets of the named fields. The design tool fixes only where each field
  // starts; the text sizes are ours, chosen so that no setter reaches the
  // next named field (each setter writes at most size - 1 bytes and a NUL).
  static constexpr std::size_t kAppVMajor = 4;
  static constexpr std::size_t kAppVMinor = 8;
  static constexpr std::size_t kAppBuild = 12;
  static constexpr std::size_t kHasVersion = 16;
  static constexpr std::size_t kAppName = 20;
  static constexpr std::size_t kAppNameSize = 260;
  static constexpr std::size_t kAppDate = 422;
  static constexpr std::size_t kAppDateSize = 20;
  static constexpr std::size_t kHierVer = 784;
  static constexpr std::size_t kHierDate = 788;
  static constexpr std::size_t kHierDateSize = 20;
  static constexpr std::size_t kHierTime = 808;
  static constexpr std::size_t kHierTimeSize = 20;
  static constexpr std::size_t kAppPassword = 1174;
  static constexpr std::size_t kAppPasswordSize = 60;

  std::int32_t appVMajor() const { return i32(kAppVMajor); }
  void setAppVMajor(std::int32_t v) { setI32(kAppVMajor, v); }
  std::int32_t appVMinor() const { return i32(kAppVMinor); }
  void setAppVMinor(std::int32_t v) { setI32(kAppVMinor, v); }
  std::int32_t appBuild() const { return i32(kAppBuild); }
  void setAppBuild(std::int32_t v) { setI32(kAppBuild, v); }
  // Non-zero when the header carries version data.
  std::int32_t hasVersion() const { return i32(kHasVersion); }
  void setHasVersion(std::int32_t v) { setI32(kHasVersion, v); }

  // The package's own file name (for example "Trees.tfa"); the runtime
  // refuses a package whose file is named otherwise.
  std::string appName() const { return text8(kAppName, kAppNameSize); }
  void setAppName(std::string_view name8) { setText8(kAppName, kAppNameSize, name8); }
  std::string appDate() const { return text8(kAppDate, kAppDateSize); }
  void setAppDate(std::string_view text8) { setText8(kAppDate, kAppDateSize, text8); }

  // Version of the application's data structure (its level tables).
  std::int32_t hierVer() const { return i32(kHierVer); }
  void setHierVer(std::int32_t v) { setI32(kHierVer, v); }
  std::string hierDate() const { return text8(kHierDate, kHierDateSize); }
  void setHierDate(std::string_view text8) { setText8(kHierDate, kHierDateSize, text8); }
  std::string hierTime() const { return text8(kHierTime, kHierTimeSize); }
  void setHierTime(std::string_view text8) { setText8(kHierTime, kHierTimeSize, text8); }

  // The application password: stored with each byte doubled (0 stays 0);
  // empty (first byte 0) means none.
  bool hasAppPassword() const { return u8(kAppPassword) != 0; }
  // The password as the user types it (each stored byte halved).
  std::string appPassword() const;
  // Stores text8 doubled. False (field unchanged) when it is longer than 59
  // bytes or holds a byte of 128 or more, whose double does not fit a byte.
  bool setAppPassword(std::string_view text8);
};
static_assert(sizeof(TfaHeader) == 1560, "TFA_HDR is 1560 bytes");
static_assert(TfaHeader::kAppName + TfaHeader::kAppNameSize <= TfaHeader::kAppDate);
static_assert(TfaHeader::kAppDate + TfaHeader::kAppDateSize <= TfaHeader::kHierVer);
static_assert(TfaHeader::kHierDate + TfaHeader::kHierDateSize <= TfaHeader::kHierTime);
static_assert(TfaHeader::kHierTime + TfaHeader::kHierTimeSize <= TfaHeader::kAppPassword);
static_assert(TfaHeader::kAppPassword + TfaHeader::kAppPasswordSize <= TfaHeader::kSize);

// The header copy kept in an application's folder.
inline constexpr const char* kHeaderCopyName = "_tfa_app_hdr.dft";

// Reads a header copy of exactly 1560 bytes: 0; -1 it cannot be opened (the
// box shows the path, caption "Can't Open cur_app_hdr.dft for Read"); -2 the
// read fails; -3 the file is not 1560 bytes long.
int readHeaderCopy(ui::Host& host, const std::string& path, TfaHeader& header);

// Creates the header copy anew with the 1560 bytes: 0; -1 it cannot be
// created (the box shows the path, caption "Can't Open tfa_app_hdr.dft for
// Write"); -2 writing fails ("tfa_app_hdr.dft Write Failed") or -3 writes
// short ("tfa_app_hdr.dft Write Size Failed", both caption "TFA_HDR"), after
// which the partial file is deleted.
int writeHeaderCopy(ui::Host& host, const std::string& path, const TfaHeader& header);

}  // namespace apps
