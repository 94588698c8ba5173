#include "config/settings.hpp"

#include "base/paths.hpp"
#include "base/text.hpp"
#include "platform/codepage.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"
#include "platform/registry.hpp"
#include "ui/host.hpp"

namespace config {

namespace {

struct PathFields {
  std::size_t wide, wideSize, narrow, narrowSize;
};

PathFields fieldsOf(SettingsRecord::Path which) {
  using R = SettingsRecord;
  switch (which) {
    case R::Path::InstallDir: return {R::kInstallDir, 548, R::kInstallDir8, 274};
    case R::Path::AppPath: return {R::kAppPath, 548, R::kAppPath8, 274};
    case R::Path::DataPath: return {R::kDataPath, 548, R::kDataPath8, 274};
    case R::Path::AppFolder: return {R::kAppFolder, 576, R::kAppFolder8, 288};
    case R::Path::AppDataFolder: return {R::kAppDataFolder, 576, R::kAppDataFolder8, 288};
    case R::Path::CurAppName: return {R::kCurAppName, 244, R::kCurAppName8, 61};
    case R::Path::PendingAppPath: return {R::kPendingAppPath, 576, R::kPendingAppPath8, 288};
    case R::Path::ReceivePath: return {R::kReceivePath, 576, R::kReceivePath8, 288};
    case R::Path::MessagePath: return {R::kMessagePath, 576, R::kMessagePath8, 288};
    case R::Path::PendingDataPath: return {R::kPendingDataPath, 600, R::kPendingDataPath8, 288};
  }
  return {R::kInstallDir, 548, R::kInstallDir8, 274};
}

constexpr int kDefaultColours[8] = {0, 11, 15, 7, 15, 7, 15, 7};

// Writes a record file whole, never leaving a half-written one behind.
template <std::size_t N>
int writeRecordFile(const std::string& path, const base::FixedRecord<N>& record,
                    platform::SafeWriteStage& stage) {
  return platform::writeFileSafely(path, record.bytes().data(), N, stage);
}

// Reads exactly N bytes; 0, or the stage that failed: 1 open, 2 size, 3 read, 4 short.
template <std::size_t N>
int readRecordFile(const std::string& path, base::FixedRecord<N>& record, int& error) {
  platform::File f = platform::openFile(path, platform::Access::Read, platform::Disposition::OpenExisting);
  if (!f.isOpen()) {
    error = f.error();
    return 1;
  }
  std::int64_t size = f.size();
  if (size != static_cast<std::int64_t>(N)) {
    error = f.error();
    return 2;
  }
  std::size_t done = 0;
  if ((error = f.read(record.bytes().data(), N, done)) != 0) return 3;
  if (done != N) return 4;
  return 0;
}

}  // namespace

std::string SettingsRecord::path(Path which) const {
  PathFields f = fieldsOf(which);
  return platform::utf16ToUtf8(text16(f.wide, f.wideSize));
}

std::string SettingsRecord::path8(Path which) const {
  PathFields f = fieldsOf(which);
  return platform::toWide(text8(f.narrow, f.narrowSize));
}

void SettingsRecord::setPath(Path which, const std::string& utf8) {
  PathFields f = fieldsOf(which);
  setText16(f.wide, f.wideSize, platform::utf8ToUtf16(utf8));
  setText8(f.narrow, f.narrowSize, platform::toNarrow(utf8));
}

std::string SettingsRecord::password1() const { return platform::toWide(text8(kPassword1, 13)); }
void SettingsRecord::setPassword1(const std::string& utf8) { setText8(kPassword1, 13, platform::toNarrow(utf8)); }
std::string SettingsRecord::password2() const { return platform::toWide(text8(kPassword2, 16)); }
void SettingsRecord::setPassword2(const std::string& utf8) { setText8(kPassword2, 16, platform::toNarrow(utf8)); }

void SettingsRecord::applyDefaults(const DefaultPaths& paths) {
  setPath(Path::InstallDir, paths.installRoot);
  setPath(Path::AppPath, paths.appPath);
  setPath(Path::DataPath, paths.dataPath);
  setI32(kProductionLevel, 1);
  setI32(kReadMark, 1);
  setI32(kGridLines, 1);
  setI32(kGrid3d, 1);
  setI32(kBoldFonts, 1);
  setI32(kFontSize, 26);
  setI32(kClearCoordFiles, 1);
  setI32(kUseTaskbarHeight, 0);
  setI32(kOption8816, 0);
  setI32(kTextSize1, 16);
  setI32(kTextSize2, 40);
  for (int i = 0; i < 8; ++i) setColour(i, kDefaultColours[i]);
}

void SettingsRecord::mendAfterRead() {
  setI32(kReadMark, 1);
  if (i32(kFontSize) < 1) setI32(kFontSize, 9);
  if (i32(kTextSize1) < 1 || i32(kTextSize2) < 1) {
    setI32(kTextSize1, 13);
    setI32(kTextSize2, 32);
  }
}

std::string settingsPath(const std::string& installRoot, char sep) {
  // Built as the install root, a separator and the name, even when the root
  // ends in one ("E:\\tfp_mobilePC.dft"): the system reads both forms alike.
  return installRoot + sep + kSettingsFileName;
}

void resetSettings(SettingsRecord& record, const DefaultPaths& defaults) {
  record.applyDefaults(defaults);
  platform::putAppSetting("PC InstallDir", defaults.installRoot);
  platform::putAppSetting("PC AppPath", defaults.appPath);
  platform::putAppSetting("PC DataPath", defaults.dataPath);
}

int loadSettings(ui::Host& host, const std::string& installRoot, const DefaultPaths& defaults,
                 SettingsRecord& record, char sep) {
  std::string path = settingsPath(installRoot, sep);
  if (!platform::fileExists(path)) {
    resetSettings(record, defaults);
    saveSettings(host, installRoot, record, sep);
    return 0;
  }
  SettingsRecord read;
  int error = 0;
  int stage = readRecordFile(path, read, error);
  switch (stage) {
    case 0:
      record = read;
      record.mendAfterRead();
      return 1;
    case 1:
      host.messageBox(base::format("Can't Open %s for Read!\nUsing Defaults\nError:%d", path.c_str(), error),
                      "Can not Create DFT file", ui::kMbOk | ui::kMbIconWarning | ui::kMbTopmost);
      break;
    case 2:
      ui::inform(host, base::format(" %s Bad File Size!\nUsing Defaults", path.c_str()), "File Size Error");
      platform::deleteFile(path);
      break;
    case 3:
      ui::inform(host, base::format(" %s Read Failed!\nUsing Defaults", path.c_str()), "File Read Error");
      break;
    default:
      ui::inform(host, base::format(" %s Read Size Failed!\nUsing Defaults", path.c_str()), "File Size Error2");
      break;
  }
  resetSettings(record, defaults);
  saveSettings(host, installRoot, record, sep);
  return 0;
}

int saveSettings(ui::Host& host, const std::string& installRoot, const SettingsRecord& record,
                 char sep) {
  std::string path = settingsPath(installRoot, sep);
  platform::SafeWriteStage stage;
  int error = writeRecordFile(path, record, stage);
  if (error == 0) return 1;
  const char* caption = "Put Msu Error";
  if (stage == platform::SafeWriteStage::Open)
    host.messageBox(base::format("dft:-%s-\nCan't Open\n-%s-\nfor Write\nError:%d", installRoot.c_str(),
                                 path.c_str(), error),
                    caption, ui::kMbOk | ui::kMbIconWarning | ui::kMbTopmost);
  else if (stage == platform::SafeWriteStage::Write && error != platform::kErrDiskFull)
    ui::inform(host, base::format("Write Failed\n%s", path.c_str()), caption);
  else
    ui::inform(host, base::format("%s\nWrite Size Failed", path.c_str()), caption);
  return 0;
}

std::string TransferPortRecord::portName() const { return base::format("COM%d:", port()); }

void TransferPortRecord::applyDefaults() {
  clear();
  setPort(1);
  setOption(0);
  setBaud(115200);
  setParity('N');
  setDataBits(8);
  setStopBits(1);
  setFlowControl(2);
}

int loadTransferPort(ui::Host& host, const std::string& installRoot, TransferPortRecord& record,
                     char sep) {
  std::string path = installRoot + sep + kTransferPortFileName;
  TransferPortRecord read;
  int error = 0;
  if (readRecordFile(path, read, error) == 0) {
    record = read;
    return 1;
  }
  record.applyDefaults();
  saveTransferPort(host, installRoot, record, sep);
  return 0;
}

int saveTransferPort(ui::Host& host, const std::string& installRoot,
                     const TransferPortRecord& record, char sep) {
  std::string path = installRoot + sep + kTransferPortFileName;
  platform::SafeWriteStage stage;
  int error = writeRecordFile(path, record, stage);
  if (error == 0) return 1;
  if (stage == platform::SafeWriteStage::Open)
    ui::inform(host, "Can't Open xsu.dft for Write", "");
  else if (stage == platform::SafeWriteStage::Write && error != platform::kErrDiskFull)
    ui::inform(host, "xsu.dft Write Failed", "");
  else
    ui::inform(host, "xsu.dft Write Size Failed", "");
  return 0;
}

}  // namespace config
