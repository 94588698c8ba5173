#pragma once
// The two settings files in the install root: "tfp_mobilePC.dft" (the 9560-byte
// settings record nearly every command reads) and "xsu.dft" (the 340-byte
// transfer-port record). Both are read and written whole; a missing, unreadable
// or wrongly sized file is replaced by defaults that are written back at once.
#include <cstdint>
#include <string>

#include "base/fixed_record.hpp"

namespace ui { class Host; }

namespace config {

inline constexpr const char* kSettingsFileName = "tfp_mobilePC.dft";
inline constexpr const char* kTransferPortFileName = "xsu.dft";

// The folder paths a default settings record starts from.
struct DefaultPaths {
  std::string installRoot;  // "C:\Orvandat\Tallyfin PC" on Windows
  std::string appPath;
  std::string dataPath;
};

class SettingsRecord : public base::FixedRecord<9560> {
 public:
  // 8-bit copies (ANSI code page); the accessors take and give UTF-8.
  static constexpr std::size_t kInstallDir8 = 32, kAppPath8 = 306, kDataPath8 = 580;
  static constexpr std::size_t kVersionTableName = 854, kAppFolder8 = 1402, kAppDataFolder8 = 1690;
  static constexpr std::size_t kCurAppName8 = 1978, kCurDatasetName = 2039;
  static constexpr std::size_t kPendingAppPath8 = 2100, kReceivePath8 = 2388;
  static constexpr std::size_t kMessagePath8 = 2676, kPendingDataPath8 = 2964;
  // UTF-16 originals.
  static constexpr std::size_t kInstallDir = 3252, kAppPath = 3800, kDataPath = 4348;
  static constexpr std::size_t kAppFolder = 4896, kAppDataFolder = 5472, kCurAppName = 6048;
  static constexpr std::size_t kPendingAppPath = 6292, kReceivePath = 6868;
  static constexpr std::size_t kMessagePath = 7444, kPendingDataPath = 8020;
  static constexpr std::size_t kAppOpen = 8620, kUnitCode = 8624, kPassword1 = 8639, kPassword2 = 8652;
  static constexpr std::size_t kTextSize1 = 8668, kTextSize2 = 8672, kUnitIdText = 8676;
  static constexpr std::size_t kLastDatasetNumber = 8760, kCurDatasetNumber = 8768;
  // The display settings of the edit window (docs/settings.md), 32-bit unless said.
  static constexpr std::size_t kProductionLevel = 8772;  // 0-4
  static constexpr std::size_t kReadMark = 8776;         // 1 after every good read
  static constexpr std::size_t kGridLines = 8780, kGrid3d = 8784, kBoldFonts = 8788;
  static constexpr std::size_t kFontSize = 8792;         // 8 ... 26
  static constexpr std::size_t kTallCursor = 8796;
  static constexpr std::size_t kScreensReformatted = 8800;  // 16-bit
  static constexpr std::size_t kKeyboardArea = 8802;        // 16-bit: the lower part kept for a keyboard
  static constexpr std::size_t kOnScreenKeyboard = 8804;
  static constexpr std::size_t kClearCoordFiles = 8808, kUseTaskbarHeight = 8812,
                               kOption8816 = 8816, kOption8820 = 8820, kEditState8824 = 8824;
  static constexpr std::size_t kColours = 8828;  // 8 × 4 bytes
  static constexpr std::size_t kDisplayOption9508 = 9508;     // a display option, not read yet
  static constexpr std::size_t kChoiceListOption9512 = 9512;  // a choice-list option, not read yet
  // The backup dialog's check box: archive a dataset before it is moved.
  static constexpr std::size_t kArchiveBeforeMove = 9520;
  // The host address dialog's two check boxes, read by the host transfer.
  static constexpr std::size_t kArchiveAfterTransfer = 9548, kRequestProgramUpdate = 9552;

  // A path kept twice: the UTF-16 field and its 8-bit copy. Setting one sets both.
  enum class Path { InstallDir, AppPath, DataPath, AppFolder, AppDataFolder, CurAppName,
                    PendingAppPath, ReceivePath, MessagePath, PendingDataPath };
  std::string path(Path which) const;           // from the UTF-16 field
  std::string path8(Path which) const;          // the 8-bit copy, as UTF-8
  void setPath(Path which, const std::string& utf8);

  bool appOpen() const { return i32(kAppOpen) != 0; }
  void setAppOpen(bool on) { setI32(kAppOpen, on ? 1 : 0); }
  std::string unitCode() const { return text8(kUnitCode, 15); }
  void setUnitCode(const std::string& code) { setText8(kUnitCode, 15, code); }
  // The access passwords, UTF-8 in and out, stored in the ANSI code page so
  // that both programs write the same bytes for the same password.
  std::string password1() const;
  void setPassword1(const std::string& utf8);
  std::string password2() const;
  void setPassword2(const std::string& utf8);
  std::string unitIdText() const { return text8(kUnitIdText, 84); }
  void setUnitIdText(const std::string& t) { setText8(kUnitIdText, 84, t); }
  std::string curDatasetName() const { return text8(kCurDatasetName, 61); }
  void setCurDatasetName(const std::string& t) { setText8(kCurDatasetName, 61, t); }
  std::string versionTableName() const { return text8(kVersionTableName, 548); }
  void setVersionTableName(const std::string& t) { setText8(kVersionTableName, 548, t); }
  int productionLevel() const { return i32(kProductionLevel); }
  void setProductionLevel(int v) { setI32(kProductionLevel, v); }
  bool gridLines() const { return i32(kGridLines) != 0; }
  void setGridLines(bool on) { setI32(kGridLines, on ? 1 : 0); }
  bool grid3d() const { return i32(kGrid3d) != 0; }
  void setGrid3d(bool on) { setI32(kGrid3d, on ? 1 : 0); }
  bool boldFonts() const { return i32(kBoldFonts) != 0; }
  void setBoldFonts(bool on) { setI32(kBoldFonts, on ? 1 : 0); }
  int fontSize() const { return i32(kFontSize); }
  void setFontSize(int v) { setI32(kFontSize, v); }
  bool tallCursor() const { return i32(kTallCursor) != 0; }
  void setTallCursor(bool on) { setI32(kTallCursor, on ? 1 : 0); }
  bool screensReformatted() const { return i16(kScreensReformatted) != 0; }
  void setScreensReformatted(bool on) { setI16(kScreensReformatted, on ? 1 : 0); }
  bool keyboardArea() const { return i16(kKeyboardArea) != 0; }
  void setKeyboardArea(bool on) { setI16(kKeyboardArea, on ? 1 : 0); }
  bool onScreenKeyboard() const { return i32(kOnScreenKeyboard) != 0; }
  void setOnScreenKeyboard(bool on) { setI32(kOnScreenKeyboard, on ? 1 : 0); }
  // The transfer options, kept as stored (0 or 1 once a dialog has clamped them).
  std::int32_t archiveBeforeMove() const { return i32(kArchiveBeforeMove); }
  void setArchiveBeforeMove(std::int32_t v) { setI32(kArchiveBeforeMove, v); }
  std::int32_t archiveAfterTransfer() const { return i32(kArchiveAfterTransfer); }
  void setArchiveAfterTransfer(std::int32_t v) { setI32(kArchiveAfterTransfer, v); }
  std::int32_t requestProgramUpdate() const { return i32(kRequestProgramUpdate); }
  void setRequestProgramUpdate(std::int32_t v) { setI32(kRequestProgramUpdate, v); }

  // The colour pairs of the edit window's items (palette indices): text at
  // 2 × item, background at 2 × item + 1 of the eight colours.
  enum ColourItem { kConstantColours = 0, kPromptColours = 1, kReadOnlyColours = 2, kViewOnlyColours = 3 };
  int itemText(ColourItem item) const { return colour(2 * item); }
  int itemBack(ColourItem item) const { return colour(2 * item + 1); }
  void setItemColours(ColourItem item, int text, int back) {
    setColour(2 * item, text);
    setColour(2 * item + 1, back);
  }
  std::int32_t colour(int i) const { return i32(kColours + 4 * static_cast<std::size_t>(i)); }
  void setColour(int i, std::int32_t v) { setI32(kColours + 4 * static_cast<std::size_t>(i), v); }

  // The defaults of the named fields (the rest of the record is left as it is).
  void applyDefaults(const DefaultPaths& paths);
  // What a good read mends: 8776 := 1; 8792 below 1 := 9; text sizes below 1 := 13 and 32.
  void mendAfterRead();
};

// The path of the settings file: the install root, a separator and the name.
std::string settingsPath(const std::string& installRoot, char sep);

// Reads the settings file of the install root into record. A missing file is
// created from defaults; an unreadable or wrongly sized one is reported
// ("... Using Defaults"), replaced by defaults and written back. Returns 1 when
// the file was read as it stood, 0 when defaults were used.
int loadSettings(ui::Host& host, const std::string& installRoot, const DefaultPaths& defaults,
                 SettingsRecord& record, char sep);

// Writes the whole record, flushed to disk; 1 on success, 0 after the failure
// was reported (a file that failed half-way is deleted).
int saveSettings(ui::Host& host, const std::string& installRoot, const SettingsRecord& record,
                 char sep);

// Applies the defaults and writes the three paths to the registry
// ("PC InstallDir", "PC AppPath", "PC DataPath").
void resetSettings(SettingsRecord& record, const DefaultPaths& defaults);

// The transfer-port record ("xsu.dft").
class TransferPortRecord : public base::FixedRecord<340> {
 public:
  std::int32_t port() const { return i32(4); }
  void setPort(std::int32_t n) { setI32(4, n); }
  std::int32_t option() const { return i32(8); }
  void setOption(std::int32_t v) { setI32(8, v); }
  std::int32_t baud() const { return i32(12); }
  void setBaud(std::int32_t v) { setI32(12, v); }
  char parity() const { return static_cast<char>(u8(16)); }
  void setParity(char p) { setU8(16, static_cast<std::uint8_t>(p)); }
  std::int16_t dataBits() const { return i16(18); }
  void setDataBits(std::int16_t v) { setI16(18, v); }
  std::int16_t stopBits() const { return i16(20); }
  void setStopBits(std::int16_t v) { setI16(20, v); }
  std::int16_t flowControl() const { return i16(22); }
  void setFlowControl(std::int16_t v) { setI16(22, v); }
  // "COM%d:" of the port number.
  std::string portName() const;
  void applyDefaults();
};

// Reads "xsu.dft" under the install root; a missing, unopenable, unreadable or
// short file gives the defaults, which are saved at once. 1 when read, 0 when
// defaults were used.
int loadTransferPort(ui::Host& host, const std::string& installRoot, TransferPortRecord& record,
                     char sep);
int saveTransferPort(ui::Host& host, const std::string& installRoot,
                     const TransferPortRecord& record, char sep);

}  // namespace config
