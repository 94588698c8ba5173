#include "apps/versions.hpp"

#include <algorithm>

#include "base/paths.hpp"
#include "base/text.hpp"
#include "platform/fileops.hpp"
#include "ui/host.hpp"

namespace apps {

namespace {

int order(std::int32_t a, std::int32_t b, int result) {
  if (a > b) return result;
  if (a < b) return -result;
  return 0;
}

bool endsWithTfa(const std::string& name) {
  return name.size() >= 4 && base::equalsNoCase(std::string_view(name).substr(name.size() - 4), ".tfa");
}

}  // namespace

int compareHeaders(const TfaHeader& a, const TfaHeader& b) {
  if (a.appName() != b.appName()) return kHdrOtherName;
  if (int r = order(a.hierVer(), b.hierVer(), kHdrNewerStructure)) return r;
  if (int r = order(a.appVMajor(), b.appVMajor(), kHdrNewerMajor)) return r;
  if (int r = order(a.appVMinor(), b.appVMinor(), kHdrNewerMinor)) return r;
  return order(a.appBuild(), b.appBuild(), kHdrNewerBuild);
}

bool sameDataStructure(const TfaHeader& a, const TfaHeader& b) {
  return base::equalsNoCase(a.appName(), b.appName()) && a.hierVer() == b.hierVer() &&
         base::equalsNoCase(a.hierDate(), b.hierDate()) && base::equalsNoCase(a.hierTime(), b.hierTime());
}

std::string packagePath(const std::string& folder, const std::string& name, char sep) {
  return base::joinPath(folder, endsWithTfa(name) ? name : name + ".tfa", sep);
}

int readPackageHeader(const std::string& path, TfaHeader& header) {
  platform::File file = platform::openFile(path, platform::Access::Read, platform::Disposition::OpenExisting);
  if (!file.isOpen()) return kHeaderCannotOpen;
  TfaHeader read;
  std::size_t got = 0;
  // Slow removable storage may hand the header over in pieces.
  while (got < TfaHeader::kSize) {
    std::size_t done = 0;
    if (file.read(read.bytes().data() + got, TfaHeader::kSize - got, done) != 0) return kHeaderReadFailed;
    if (done == 0) return kHeaderShort;
    got += done;
  }
  header = read;
  return kHeaderOk;
}

int getPackageHeader(ui::Host& host, const std::string& folder, const std::string& name, char sep,
                     TfaHeader& header) {
  const std::string path = packagePath(folder, name, sep);
  int rc = readPackageHeader(path, header);
  if (rc == kHeaderCannotOpen) ui::inform(host, path, "Can't Open App for Read");
  return rc;
}

bool headerNamesPackage(const TfaHeader& header, const std::string& fileName) {
  return !fileName.empty() && base::equalsNoCase(header.appName(), fileName);
}

std::string headerCopyPath(const std::string& appFolder, char sep) {
  return base::joinPath(appFolder, kHeaderCopyName, sep);
}

bool headerCopyExists(const std::string& appFolder, char sep) {
  return platform::fileExists(headerCopyPath(appFolder, sep));
}

int storeHeaderCopy(ui::Host& host, const std::string& appFolder, char sep, const TfaHeader& header) {
  if (!platform::folderExists(appFolder)) return -4;
  return writeHeaderCopy(host, headerCopyPath(appFolder, sep), header);
}

int refreshHeaderCopy(ui::Host& host, const std::string& appFolder, char sep,
                      const TfaHeader& packageHeader) {
  std::string stored;
  // Read quietly: a copy that cannot be read is simply replaced.
  if (platform::readWholeFile(headerCopyPath(appFolder, sep), stored, 2 * TfaHeader::kSize) == 0 &&
      stored.size() == TfaHeader::kSize &&
      std::equal(stored.begin(), stored.end(), packageHeader.bytes().begin(),
                 [](char c, std::uint8_t b) { return static_cast<std::uint8_t>(c) == b; })) {
    return 0;
  }
  return storeHeaderCopy(host, appFolder, sep, packageHeader);
}

}  // namespace apps
