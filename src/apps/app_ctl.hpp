#pragma once
// AppCtl: the application record (app.ctl, exactly 3544 bytes), its reading
// and the messages of its failures. The offsets are in apps/layout.hpp.
#include <cstdint>
#include <string>
#include <string_view>

#include "apps/layout.hpp"
#include "base/fixed_record.hpp"

namespace ui {
class Host;
}

namespace apps {

inline constexpr const char* kAppCtlName = "app.ctl";

class AppCtl : public base::FixedRecord<layout::kAppCtlSize> {
 public:
  // Texts are 8-bit (ANSI code page), as stored.
  std::string appName() const { return text8(layout::app_ctl::kAppName, layout::app_ctl::kAppNameSize); }
  void setAppName(std::string_view t) { setText8(layout::app_ctl::kAppName, layout::app_ctl::kAppNameSize, t); }

  bool compiled() const { return i16(layout::app_ctl::kCompiled) != 0; }
  void setCompiled(bool on) { setI16(layout::app_ctl::kCompiled, on ? 1 : 0); }
  bool useDatasets() const { return i16(layout::app_ctl::kUseDatasets) != 0; }
  void setUseDatasets(bool on) { setI16(layout::app_ctl::kUseDatasets, on ? 1 : 0); }
  bool keepChildFields() const { return i16(layout::app_ctl::kKeepChildFields) != 0; }
  void setKeepChildFields(bool on) { setI16(layout::app_ctl::kKeepChildFields, on ? 1 : 0); }
  bool keepStatusFields() const { return i16(layout::app_ctl::kKeepStatusFields) != 0; }
  void setKeepStatusFields(bool on) { setI16(layout::app_ctl::kKeepStatusFields, on ? 1 : 0); }
  bool keepPosition() const { return i16(layout::app_ctl::kKeepPosition) != 0; }
  void setKeepPosition(bool on) { setI16(layout::app_ctl::kKeepPosition, on ? 1 : 0); }
  // With the settings option ClearCoordFiles: a dataset change clears the
  // temporary coordinate files.
  bool clearCoordFiles() const { return i16(layout::app_ctl::kClearCoordFiles) != 0; }
  void setClearCoordFiles(bool on) { setI16(layout::app_ctl::kClearCoordFiles, on ? 1 : 0); }

  // The unnamed 16-bit options (layout::app_ctl::kOptionOffsets and 32).
  std::int16_t option(std::size_t offset) const { return i16(offset); }
  void setOption(std::size_t offset, std::int16_t v) { setI16(offset, v); }
  std::string optionText430() const {
    return text8(layout::app_ctl::kOptionText430, layout::app_ctl::kOptionText430Size);
  }
  void setOptionText430(std::string_view t) {
    setText8(layout::app_ctl::kOptionText430, layout::app_ctl::kOptionText430Size, t);
  }

  // GPS fix-quality limits, i = layout::app_ctl::GpsLimit.
  std::int16_t gpsLimit(int i) const { return i16(layout::app_ctl::kGpsLimits + 2 * clampIndex(i, 5)); }
  void setGpsLimit(int i, std::int16_t v) { setI16(layout::app_ctl::kGpsLimits + 2 * clampIndex(i, 5), v); }

  // The global program list (F7): at most 10 names.
  int globalProgramCount() const { return clampCount(i16(layout::app_ctl::kGlobalProgramCount), 10); }
  void setGlobalProgramCount(int n) { setI16(layout::app_ctl::kGlobalProgramCount, static_cast<std::int16_t>(n)); }
  std::string globalProgram(int i) const {
    return text8(layout::app_ctl::kGlobalPrograms + layout::kNameSlot * clampIndex(i, 10), layout::kNameSlot);
  }
  void setGlobalProgram(int i, std::string_view name) {
    setText8(layout::app_ctl::kGlobalPrograms + layout::kNameSlot * clampIndex(i, 10), layout::kNameSlot, name);
  }
  // The application's four stored numbers (runtime programs read and set them).
  double storedValue(int i) const;
  void setStoredValue(int i, double v);

  std::string rootTableName() const {
    return text8(layout::app_ctl::kRootTableName, layout::app_ctl::kTableNameSize);
  }
  void setRootTableName(std::string_view t) {
    setText8(layout::app_ctl::kRootTableName, layout::app_ctl::kTableNameSize, t);
  }

  // Run-time fields.
  std::string datasetName() const {
    return text8(layout::app_ctl::kDatasetName, layout::app_ctl::kDatasetNameSize);
  }
  void setDatasetName(std::string_view t) {
    setText8(layout::app_ctl::kDatasetName, layout::app_ctl::kDatasetNameSize, t);
  }
  int curLevel() const { return i16(layout::app_ctl::kCurLevel); }
  void setCurLevel(int n) { setI16(layout::app_ctl::kCurLevel, static_cast<std::int16_t>(n)); }
  // level 1-5.
  std::string levelCode(int level) const {
    return text8(levelCodeOffset(level), layout::app_ctl::kLevelCodeSize);
  }
  void setLevelCode(int level, std::string_view t) {
    setText8(levelCodeOffset(level), layout::app_ctl::kLevelCodeSize, t);
  }
  std::string curLevelCode() const {
    return text8(layout::app_ctl::kCurLevelCode, layout::app_ctl::kLevelCodeSize);
  }
  void setCurLevelCode(std::string_view t) {
    setText8(layout::app_ctl::kCurLevelCode, layout::app_ctl::kLevelCodeSize, t);
  }
  std::string nextLevelCode() const {
    return text8(layout::app_ctl::kNextLevelCode, layout::app_ctl::kLevelCodeSize);
  }
  void setNextLevelCode(std::string_view t) {
    setText8(layout::app_ctl::kNextLevelCode, layout::app_ctl::kLevelCodeSize, t);
  }
  std::string tableName() const { return text8(layout::app_ctl::kTableName, layout::app_ctl::kTableNameSize); }
  void setTableName(std::string_view t) {
    setText8(layout::app_ctl::kTableName, layout::app_ctl::kTableNameSize, t);
  }
  std::int32_t datasetNumber() const { return i32(layout::app_ctl::kDatasetNumber); }
  void setDatasetNumber(std::int32_t n) { setI32(layout::app_ctl::kDatasetNumber, n); }
  bool datasetChosen() const { return i16(layout::app_ctl::kDatasetChosen) != 0; }
  void setDatasetChosen(bool on) { setI16(layout::app_ctl::kDatasetChosen, on ? 1 : 0); }

 private:
  static std::size_t clampIndex(int i, int n) {
    return static_cast<std::size_t>(i < 0 ? 0 : (i >= n ? n - 1 : i));
  }
  static int clampCount(int v, int n) { return v < 0 ? 0 : (v > n ? n : v); }
  static std::size_t levelCodeOffset(int level) {
    return layout::app_ctl::kLevelCodes + layout::app_ctl::kLevelCodeSize * clampIndex(level - 1, 5);
  }
};

// Results of reading app.ctl.
enum AppCtlStatus : int {
  kAppCtlOk = 0,
  kAppCtlMissing = 1,
  kAppCtlOpen = 2,
  kAppCtlSize = 3,
  kAppCtlRead = 4,
  kAppCtlShort = 5,
  kAppCtlNotCompiled = 6,
};

// Reads appFolder (UTF-8) + separator + "app.ctl" into out: kAppCtlOk, or the
// status of the failure, checked in this order: missing, cannot be opened,
// size not 3544 (nothing read), read failed, short read, Compiled 0. out is
// written only on kAppCtlOk.
int readAppCtl(const std::string& appFolder, AppCtl& out);

// The message text of a status: 1 "app.ctl Not Found!", 2 "Opening app.ctl",
// 3 "app.ctl is Corrupt", 4 "Reading app.ctl", 6 "App Not Compiled", any
// other "Unknown App Error".
const char* appCtlErrorText(int status);
// The text opening an application shows for a file that was read whole but
// whose Compiled is 0 (status 6), in place of the status text.
inline constexpr const char* kNotCompiledText = "Not Compiled !";

// Reports a failed read of app.ctl: caption "%s:Error:%d" (application name,
// status), the status text. While the edit window is open the report goes to
// the common prompt, otherwise to a message box.
void reportAppCtlError(ui::Host& host, std::string_view appName, int status);
// The same report with another text.
void reportAppCtlError(ui::Host& host, std::string_view appName, int status, std::string_view text);

}  // namespace apps
