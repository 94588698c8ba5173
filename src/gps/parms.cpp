#include "gps/parms.hpp"

#include "platform/errors.hpp"
#include "platform/fileops.hpp"
#include "ui/host.hpp"

namespace gps {

namespace {

// Where reading the record stopped.
enum class ReadStage { Done, Missing, Open, Size, Read, Short };

// Reads the file into a copy first, so that a failure half-way never leaves
// half a record in parms. The file is closed when this returns.
ReadStage readRecord(const std::string& path, GpsParms& into) {
  platform::File f = platform::openFile(path, platform::Access::Read, platform::Disposition::OpenExisting);
  if (!f.isOpen())
    return f.error() == platform::kErrFileNotFound ? ReadStage::Missing : ReadStage::Open;
  if (f.size() != static_cast<std::int64_t>(GpsParms::kSize)) return ReadStage::Size;
  GpsParms read;
  std::size_t done = 0;
  if (f.read(read.bytes().data(), GpsParms::kSize, done) != 0) return ReadStage::Read;
  if (done != GpsParms::kSize) return ReadStage::Short;
  into = read;
  return ReadStage::Done;
}

void report(ui::Host& host, const char* text) { ui::inform(host, text, ""); }

}  // namespace

std::string gpsSettingsPath(const std::string& installRoot, const char* name, char sep) {
  return installRoot + sep + name;
}

int readGpsParms(ui::Host& host, const std::string& installRoot, GpsParms& parms, char sep) {
  const std::string path = gpsSettingsPath(installRoot, kParmsFileName, sep);
  parms.setDefaults();
  switch (readRecord(path, parms)) {
    case ReadStage::Done:
      return 1;
    case ReadStage::Missing:
      (void)writeGpsParms(host, installRoot, parms, sep);
      return 0;
    case ReadStage::Open:
      report(host, "Can't Open GPS Parms.dft for Read\nSetting to Defaults");
      break;
    case ReadStage::Size:
      report(host, "GPS Parms File Size Bad\nSetting to Defaults");
      break;
    case ReadStage::Read:
      report(host, "GPS Parms Read DFT Failed\nSetting to Defaults");
      break;
    case ReadStage::Short:
      report(host, "GPS Parms Read DFT Size Failed\nSetting to Defaults");
      break;
  }
  parms.setDefaults();
  (void)writeGpsParms(host, installRoot, parms, sep);
  return 0;
}

int writeGpsParms(ui::Host& host, const std::string& installRoot, GpsParms& parms, char sep) {
  const std::string path = gpsSettingsPath(installRoot, kParmsFileName, sep);
  // Through a temporary file: a failure leaves the old file whole, and the
  // temporary one never survives it.
  platform::SafeWriteStage stage = platform::SafeWriteStage::Done;
  const int error = platform::writeFileSafely(path, parms.bytes().data(), GpsParms::kSize, stage);
  if (error == 0) return 1;
  if (stage == platform::SafeWriteStage::Open)
    report(host, "Can't Open GPS_Parms.dft for Write");
  else if (stage == platform::SafeWriteStage::Write && error == platform::kErrDiskFull)
    report(host, "GPS Parms Put DFT Write Size Failed");
  else
    report(host, "GPS Parms Put DFT Write Failed");
  parms.setDefaults();
  return 0;
}

}  // namespace gps
