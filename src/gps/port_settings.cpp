#include "gps/port_settings.hpp"

#include <algorithm>
#include <array>

#include "gps/parms.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"
#include "ui/host.hpp"

namespace gps {

namespace {

using RunTime = std::array<std::uint8_t, GpsPortImage::kRunTimeEnd>;

RunTime saveRunTime(const GpsPortImage& image) {
  RunTime r;
  std::copy_n(image.bytes().begin(), r.size(), r.begin());
  return r;
}

void restoreRunTime(GpsPortImage& image, const RunTime& r) { std::copy(r.begin(), r.end(), image.bytes().begin()); }

enum class ReadStage { Done, Missing, Open, Read, Short };

// Reads into a copy, so that a failure never leaves part of the file in the
// image. A file of another size than the image is not ours: it counts as
// short, and its bytes are not used.
ReadStage readImage(const std::string& path, GpsPortImage& into) {
  platform::File f = platform::openFile(path, platform::Access::Read, platform::Disposition::OpenExisting);
  if (!f.isOpen())
    return f.error() == platform::kErrFileNotFound ? ReadStage::Missing : ReadStage::Open;
  if (f.size() != static_cast<std::int64_t>(GpsPortImage::kSize)) return ReadStage::Short;
  GpsPortImage read;
  std::size_t done = 0;
  if (f.read(read.bytes().data(), GpsPortImage::kSize, done) != 0) return ReadStage::Read;
  if (done != GpsPortImage::kSize) return ReadStage::Short;
  into = read;
  return ReadStage::Done;
}

void report(ui::Host& host, const char* text) { ui::inform(host, text, ""); }

}  // namespace

int readGpsPort(ui::Host& host, const std::string& installRoot, GpsPortImage& image, char sep) {
  const std::string path = gpsSettingsPath(installRoot, kPortFileName, sep);
  const RunTime runTime = saveRunTime(image);
  int result = 0;
  switch (readImage(path, image)) {
    case ReadStage::Done:
      result = 1;
      break;
    case ReadStage::Missing:
      image.setDefaults();
      (void)writeGpsPort(host, installRoot, image, sep);
      result = -1;
      break;
    case ReadStage::Open:
      report(host, "Can't Open GPS_Port.dft for Read");
      image.setDefaults();
      break;
    case ReadStage::Read:
      report(host, "GPS Read DFT Failed");
      image.setDefaults();
      break;
    case ReadStage::Short:
      report(host, "GPS Read DFT Size Failed");
      image.setDefaults();
      break;
  }
  restoreRunTime(image, runTime);
  return result;
}

int writeGpsPort(ui::Host& host, const std::string& installRoot, GpsPortImage& image, char sep) {
  auto& bytes = image.bytes();
  std::fill(bytes.begin() + GpsPortImage::kSentenceQueue, bytes.begin() + GpsPortImage::kBuffersEnd, 0);
  // The file never carries the running state: no lock, handles invalid,
  // not running.
  GpsPortImage out = image;
  std::fill(out.bytes().begin(), out.bytes().begin() + GpsPortImage::kRunTimeEnd, 0);
  out.setI32(GpsPortImage::kHandle, -1);
  out.setI32(GpsPortImage::kHandle + 4, -1);
  out.setI32(GpsPortImage::kThreadHandle, -1);
  out.setI32(GpsPortImage::kThreadHandle + 4, -1);

  const std::string path = gpsSettingsPath(installRoot, kPortFileName, sep);
  platform::SafeWriteStage stage = platform::SafeWriteStage::Done;
  const int error = platform::writeFileSafely(path, out.bytes().data(), GpsPortImage::kSize, stage);
  if (error == 0) return 1;
  if (stage == platform::SafeWriteStage::Open)
    report(host, "Can't Open GPS_Port.dft for Write");
  else if (stage == platform::SafeWriteStage::Write && error == platform::kErrDiskFull)
    report(host, "GPS Put DFT Write Size Failed");
  else
    report(host, "GPS Put DFT Write Failed");
  return 0;
}

}  // namespace gps
