#pragma once
// The records of one level table's control files: LevelBct (.bct),
// LevelHeader and LevelInfo (the front of the .ctl), the three per-column
// records ColumnField, ColumnDef and ColumnCheck, and the entries of the
// optional files (SerialDef .ser, RndEntry .rnd, JumpEntry .jpt, BcfEntry
// .bcf). Each owns its image; accessors read and write by the offsets of
// apps/layout.hpp. Index arguments are clamped into their arrays, so a bad
// index can never reach outside a record.
#include <cstdint>
#include <string>
#include <string_view>

#include "apps/layout.hpp"
#include "apps/record_doubles.hpp"
#include "base/fixed_record.hpp"

namespace apps {

namespace detail {
inline std::size_t clampIndex(int i, std::size_t n) {
  return i < 0 ? 0 : (static_cast<std::size_t>(i) >= n ? n - 1 : static_cast<std::size_t>(i));
}
}  // namespace detail

// Accessors for a 16-bit field: name() and setName(v).
#define APPS_I16(name, setter, offset)                               \
  int name() const { return i16(offset); }                           \
  void setter(int v) { setI16(offset, static_cast<std::int16_t>(v)); }
#define APPS_FLAG(name, setter, offset)                               \
  bool name() const { return i16(offset) != 0; }                      \
  void setter(bool on) { setI16(offset, on ? 1 : 0); }
#define APPS_TEXT(name, setter, offset, size)                                     \
  std::string name() const { return text8(offset, size); }                        \
  void setter(std::string_view t) { setText8(offset, size, t); }
#define APPS_F64(name, setter, offset)                       \
  double name() const { return getF64(*this, offset); }      \
  void setter(double v) { putF64(*this, offset, v); }

// ---------------------------------------------------------------- .bct
class LevelBct : public base::FixedRecord<layout::kLevelBctSize> {
 public:
  // The counts as stored. The loader refuses a .bct whose LastColumn lies
  // outside 0-251, a negative count, or more than 26 children or siblings.
  APPS_I16(lastColumn, setLastColumn, layout::level_bct::kLastColumn)
  APPS_I16(serCount, setSerCount, layout::level_bct::kSerCount)
  APPS_I16(rndCount, setRndCount, layout::level_bct::kRndCount)
  APPS_I16(jptCount, setJptCount, layout::level_bct::kJptCount)
  APPS_I16(bcfCount, setBcfCount, layout::level_bct::kBcfCount)
  APPS_TEXT(levelName, setLevelName, layout::level_bct::kLevelName, layout::level_bct::kLevelNameSize)
  APPS_TEXT(levelCodeText, setLevelCodeText, layout::level_bct::kLevelCodeText,
            layout::level_bct::kLevelCodeTextSize)
  APPS_TEXT(dataFileName, setDataFileName, layout::level_bct::kDataFileName,
            layout::level_bct::kDataFileNameSize)

  APPS_I16(childCount, setChildCount, layout::level_bct::kChildCount)
  // Entry 0 is the list title (run-time), entries 1..childCount the children.
  std::string childName(int i) const { return text8(childNameOffset(i), layout::kNameSlot); }
  void setChildName(int i, std::string_view t) { setText8(childNameOffset(i), layout::kNameSlot, t); }
  bool childBlocked(int i) const { return i16(childBlockedOffset(i)) != 0; }
  void setChildBlocked(int i, bool on) { setI16(childBlockedOffset(i), on ? 1 : 0); }
  APPS_I16(siblingCount, setSiblingCount, layout::level_bct::kSiblingCount)
  std::string siblingName(int i) const { return text8(siblingNameOffset(i), layout::kNameSlot); }
  void setSiblingName(int i, std::string_view t) { setText8(siblingNameOffset(i), layout::kNameSlot, t); }
  bool siblingBlocked(int i) const { return i16(siblingBlockedOffset(i)) != 0; }
  void setSiblingBlocked(int i, bool on) { setI16(siblingBlockedOffset(i), on ? 1 : 0); }

  // Level GPS definition.
  APPS_I16(gpsPointMode, setGpsPointMode, layout::level_bct::kGpsPointMode)
  APPS_I16(gpsAverageCount, setGpsAverageCount, layout::level_bct::kGpsAverageCount)
  APPS_FLAG(gpsAllowUnfinished, setGpsAllowUnfinished, layout::level_bct::kGpsAllowUnfinished)
  APPS_I16(gpsLatColumn, setGpsLatColumn, layout::level_bct::kGpsLatColumn)
  APPS_I16(gpsLonColumn, setGpsLonColumn, layout::level_bct::kGpsLonColumn)
  APPS_I16(gpsElevColumn, setGpsElevColumn, layout::level_bct::kGpsElevColumn)
  APPS_FLAG(gpsLines, setGpsLines, layout::level_bct::kGpsLines)
  APPS_I16(gpsLineInterval, setGpsLineInterval, layout::level_bct::kGpsLineInterval)
  APPS_FLAG(gpsPolygons, setGpsPolygons, layout::level_bct::kGpsPolygons)
  APPS_I16(gpsPolygonInterval, setGpsPolygonInterval, layout::level_bct::kGpsPolygonInterval)

 private:
  static std::size_t childNameOffset(int i) {
    return layout::level_bct::kChildNames + layout::kNameSlot * detail::clampIndex(i, layout::level_bct::kChildEntries);
  }
  static std::size_t childBlockedOffset(int i) {
    return layout::level_bct::kChildBlocked + 2 * detail::clampIndex(i, layout::level_bct::kChildEntries);
  }
  static std::size_t siblingNameOffset(int i) {
    return layout::level_bct::kSiblingNames +
           layout::kNameSlot * detail::clampIndex(i, layout::level_bct::kSiblingEntries);
  }
  static std::size_t siblingBlockedOffset(int i) {
    return layout::level_bct::kSiblingBlocked + 2 * detail::clampIndex(i, layout::level_bct::kChildEntries);
  }
};

// One screen of a level, copied out of / into its LevelHeader slot.
class ScreenDef : public base::FixedRecord<layout::level_header::kScreenSize> {
 public:
  APPS_I16(displayType, setDisplayType, layout::screen::kDisplayType)
  APPS_I16(dataText, setDataText, layout::screen::kDataText)
  APPS_I16(dataBack, setDataBack, layout::screen::kDataBack)
  APPS_I16(promptRow, setPromptRow, layout::screen::kPromptRow)
  APPS_FLAG(showLineNumbers, setShowLineNumbers, layout::screen::kShowLineNumbers)
  APPS_I16(lineLabelRow, setLineLabelRow, layout::screen::kLineLabelRow)
  APPS_I16(lineLabelColumn, setLineLabelColumn, layout::screen::kLineLabelColumn)
  APPS_I16(lineNumberRow, setLineNumberRow, layout::screen::kLineNumberRow)
  APPS_I16(lineNumberColumn, setLineNumberColumn, layout::screen::kLineNumberColumn)
  APPS_FLAG(twoLineTitles, setTwoLineTitles, layout::screen::kTwoLineTitles)
  APPS_I16(firstGridRow, setFirstGridRow, layout::screen::kFirstGridRow)
  APPS_I16(lastGridRow, setLastGridRow, layout::screen::kLastGridRow)
  APPS_I16(headingCount, setHeadingCount, layout::screen::kHeadingCount)
  APPS_TEXT(lineLabel, setLineLabel, layout::screen::kLineLabel, layout::screen::kLineLabelSize)

  // Heading items 0..5: a label and the value of (level, column) at (row, col).
  struct Heading {
    std::string label;
    int level = 0, column = 0, row = 0, col = 0, width = 0;
  };
  Heading heading(int i) const;
  void setHeading(int i, const Heading& h);
};

// ---------------------------------------------------------------- .ctl: LevelHeader
class LevelHeader : public base::FixedRecord<layout::kLevelHeaderSize> {
 public:
  // Run-time edit state.
  APPS_TEXT(dataPath, setDataPath, layout::level_header::kDataPath, layout::level_header::kDataPathSize)
  std::int32_t curLine() const { return i32(layout::level_header::kCurLine); }
  void setCurLine(std::int32_t v) { setI32(layout::level_header::kCurLine, v); }
  std::int32_t lineCount() const { return i32(layout::level_header::kLineCount); }
  void setLineCount(std::int32_t v) { setI32(layout::level_header::kLineCount, v); }
  std::int32_t topLine() const { return i32(layout::level_header::kTopLine); }
  void setTopLine(std::int32_t v) { setI32(layout::level_header::kTopLine, v); }
  std::int32_t bottomLine() const { return i32(layout::level_header::kBottomLine); }
  void setBottomLine(std::int32_t v) { setI32(layout::level_header::kBottomLine, v); }
  std::int32_t linesPerPage() const { return i32(layout::level_header::kLinesPerPage); }
  void setLinesPerPage(std::int32_t v) { setI32(layout::level_header::kLinesPerPage, v); }
  std::int32_t page() const { return i32(layout::level_header::kPage); }
  void setPage(std::int32_t v) { setI32(layout::level_header::kPage, v); }
  APPS_I16(curColumn, setCurColumn, layout::level_header::kCurColumn)
  APPS_I16(columnCount, setColumnCount, layout::level_header::kColumnCount)
  std::uint16_t exitKey() const { return static_cast<std::uint16_t>(i16(layout::level_header::kExitKey)); }
  void setExitKey(std::uint16_t k) { setI16(layout::level_header::kExitKey, static_cast<std::int16_t>(k)); }
  APPS_FLAG(lineModified, setLineModified, layout::level_header::kLineModified)
  APPS_FLAG(mustStore, setMustStore, layout::level_header::kMustStore)
  APPS_I16(checkMode, setCheckMode, layout::level_header::kCheckMode)
  APPS_FLAG(redrawLines, setRedrawLines, layout::level_header::kRedrawLines)
  APPS_FLAG(redrawScreen, setRedrawScreen, layout::level_header::kRedrawScreen)
  APPS_FLAG(leaveLevel, setLeaveLevel, layout::level_header::kLeaveLevel)
  APPS_FLAG(tableCreated, setTableCreated, layout::level_header::kTableCreated)
  APPS_I16(curScreen, setCurScreen, layout::level_header::kCurScreen)
  APPS_FLAG(leftEmpty, setLeftEmpty, layout::level_header::kLeftEmpty)
  APPS_TEXT(editBuffer, setEditBuffer, layout::level_header::kEditBuffer, layout::level_header::kEditBufferSize)
  APPS_TEXT(stateText, setStateText, layout::level_header::kStateText, layout::level_header::kStateTextSize)
  // The child level's completion flag (read by the parent's "STATUS%d").
  APPS_FLAG(statusFlag, setStatusFlag, layout::level_header::kStatusFlag)
  // Set by the line operations; clears the parent's links when the level closes.
  APPS_FLAG(linesDeleted, setLinesDeleted, layout::level_header::kLinesDeletedFlag)
  // Column values of the current line, column 0..511.
  double columnValue(int column) const {
    return getF64(*this, layout::level_header::kColumnValues +
                             8 * detail::clampIndex(column, layout::level_header::kColumnValueCount));
  }
  void setColumnValue(int column, double v) {
    putF64(*this, layout::level_header::kColumnValues +
                      8 * detail::clampIndex(column, layout::level_header::kColumnValueCount), v);
  }

  // Level settings.
  APPS_FLAG(insertAllowed, setInsertAllowed, layout::level_header::kInsertAllowed)
  APPS_FLAG(deleteAllowed, setDeleteAllowed, layout::level_header::kDeleteAllowed)
  APPS_FLAG(autoNewLine, setAutoNewLine, layout::level_header::kAutoNewLine)
  APPS_I16(checkOnLineChange, setCheckOnLineChange, layout::level_header::kCheckOnLineChange)
  APPS_FLAG(checkOnLeave, setCheckOnLeave, layout::level_header::kCheckOnLeave)
  APPS_FLAG(checkOnSibling, setCheckOnSibling, layout::level_header::kCheckOnSibling)
  APPS_FLAG(revalidate, setRevalidate, layout::level_header::kRevalidate)
  APPS_FLAG(removeEmptyLines, setRemoveEmptyLines, layout::level_header::kRemoveEmptyLines)
  APPS_FLAG(checkLineBeforeChild, setCheckLineBeforeChild, layout::level_header::kCheckLineBeforeChild)
  APPS_I16(firstEnterableColumn, setFirstEnterableColumn, layout::level_header::kFirstEnterableColumn)
  APPS_I16(lastEnterableColumn, setLastEnterableColumn, layout::level_header::kLastEnterableColumn)
  APPS_I16(screenCount, setScreenCount, layout::level_header::kScreenCount)
  std::int32_t maxLines() const { return i32(layout::level_header::kMaxLines); }
  void setMaxLines(std::int32_t v) { setI32(layout::level_header::kMaxLines, v); }
  std::int32_t firstLine() const { return i32(layout::level_header::kFirstLine); }
  void setFirstLine(std::int32_t v) { setI32(layout::level_header::kFirstLine, v); }

  // Event program slots (layout::level_header::LevelEvent): "" when absent.
  bool hasEventProgram(int event) const { return i16(eventOffset(event)) != 0; }
  std::string eventProgram(int event) const {
    return text8(eventOffset(event) + layout::kProgramSlotName, layout::kNameSlot);
  }
  // An empty name clears the slot.
  void setEventProgram(int event, std::string_view name) {
    setI16(eventOffset(event), name.empty() ? 0 : 1);
    setText8(eventOffset(event) + layout::kProgramSlotName, layout::kNameSlot, name);
  }

  // Screens 0..7 (screen numbers in ColumnDef are 1-based).
  ScreenDef screen(int i) const;
  void setScreen(int i, const ScreenDef& s);

 private:
  static std::size_t eventOffset(int event) {
    return layout::level_header::kEventPrograms +
           layout::kProgramSlotSize * detail::clampIndex(event, layout::level_header::kEventCount);
  }
};

// ---------------------------------------------------------------- .ctl: LevelInfo
class LevelInfo : public base::FixedRecord<layout::kLevelInfoSize> {
 public:
  APPS_TEXT(description, setDescription, layout::level_info::kDescription, layout::level_info::kDescriptionSize)
  // The level's program list (F8): at most 10 names.
  int programCount() const {
    int n = i16(layout::level_info::kProgramCount);
    return n < 0 ? 0 : (n > 10 ? 10 : n);
  }
  void setProgramCount(int n) { setI16(layout::level_info::kProgramCount, static_cast<std::int16_t>(n)); }
  std::string program(int i) const { return text8(programOffset(i), layout::kNameSlot); }
  void setProgram(int i, std::string_view name) { setText8(programOffset(i), layout::kNameSlot, name); }
  // Condition columns of the .bcf rows: i 0..4; source 0 = this level's line,
  // 1-5 = the current line of that level.
  int conditionCount() const {
    int n = i16(layout::level_info::kConditionCount);
    return n < 0 ? 0 : (n > 5 ? 5 : n);
  }
  void setConditionCount(int n) { setI16(layout::level_info::kConditionCount, static_cast<std::int16_t>(n)); }
  int conditionColumn(int i) const { return i16(layout::level_info::kConditionColumns + 2 * detail::clampIndex(i, 5)); }
  void setConditionColumn(int i, int c) {
    setI16(layout::level_info::kConditionColumns + 2 * detail::clampIndex(i, 5), static_cast<std::int16_t>(c));
  }
  int conditionSource(int i) const { return i16(layout::level_info::kConditionSources + 2 * detail::clampIndex(i, 5)); }
  void setConditionSource(int i, int s) {
    setI16(layout::level_info::kConditionSources + 2 * detail::clampIndex(i, 5), static_cast<std::int16_t>(s));
  }

 private:
  static std::size_t programOffset(int i) {
    return layout::level_info::kPrograms + layout::kNameSlot * detail::clampIndex(i, layout::kProgramListSize);
  }
};

// ---------------------------------------------------------------- per column
class ColumnField : public base::FixedRecord<layout::kColumnFieldSize> {
 public:
  APPS_TEXT(name, setName, layout::column_field::kName, layout::column_field::kNameSize)
  APPS_TEXT(title, setTitle, layout::column_field::kTitle, layout::column_field::kTitleSize)
  // The dBase type letter ('C', 'N', ...), held in a 16-bit word.
  char type() const { return static_cast<char>(i16(layout::column_field::kType) & 0xFF); }
  void setType(char t) { setI16(layout::column_field::kType, static_cast<std::int16_t>(static_cast<unsigned char>(t))); }
  APPS_I16(width, setWidth, layout::column_field::kWidth)
  APPS_I16(decimals, setDecimals, layout::column_field::kDecimals)
};

class ColumnDef : public base::FixedRecord<layout::kColumnDefSize> {
 public:
  APPS_I16(screen, setScreen, layout::column_def::kScreen)
  APPS_I16(displayType, setDisplayType, layout::column_def::kDisplayType)
  APPS_I16(pageFirstColumn, setPageFirstColumn, layout::column_def::kPageFirstColumn)
  APPS_I16(pageLastColumn, setPageLastColumn, layout::column_def::kPageLastColumn)
  APPS_FLAG(hidden, setHidden, layout::column_def::kHidden)
  APPS_I16(displayWidth, setDisplayWidth, layout::column_def::kDisplayWidth)
  APPS_I16(titleRow, setTitleRow, layout::column_def::kTitleRow)
  APPS_I16(titleColumn, setTitleColumn, layout::column_def::kTitleColumn)
  APPS_I16(valueRow, setValueRow, layout::column_def::kValueRow)
  APPS_I16(valueColumn, setValueColumn, layout::column_def::kValueColumn)
  APPS_TEXT(title2, setTitle2, layout::column_def::kTitle2, layout::column_def::kTitle2Size)
  APPS_TEXT(prompt, setPrompt, layout::column_def::kPrompt, layout::column_def::kPromptSize)
  APPS_TEXT(heading, setHeading, layout::column_def::kHeading, layout::column_def::kHeadingSize)
};

class ColumnCheck : public base::FixedRecord<layout::kColumnCheckSize> {
 public:
  APPS_I16(fieldType, setFieldType, layout::column_check::kFieldType)
  APPS_I16(fillKind, setFillKind, layout::column_check::kFillKind)
  APPS_FLAG(fillOnEntry, setFillOnEntry, layout::column_check::kFillOnEntry)
  APPS_I16(editKind, setEditKind, layout::column_check::kEditKind)
  APPS_FLAG(upperCase, setUpperCase, layout::column_check::kUpperCase)
  APPS_FLAG(waitWhenFull, setWaitWhenFull, layout::column_check::kWaitWhenFull)
  APPS_FLAG(unique, setUnique, layout::column_check::kUnique)
  APPS_FLAG(noEdit, setNoEdit, layout::column_check::kNoEdit)
  APPS_I16(checkType, setCheckType, layout::column_check::kCheckType)
  APPS_FLAG(checkEmpty, setCheckEmpty, layout::column_check::kCheckEmpty)
  APPS_I16(minTextLength, setMinTextLength, layout::column_check::kMinTextLength)
  APPS_FLAG(replaceBySecond, setReplaceBySecond, layout::column_check::kReplaceBySecond)
  APPS_FLAG(sequentialSearch, setSequentialSearch, layout::column_check::kSequentialSearch)
  APPS_I16(relationKind, setRelationKind, layout::column_check::kRelationKind)
  APPS_I16(relationLevel, setRelationLevel, layout::column_check::kRelationLevel)
  APPS_I16(relationColumn, setRelationColumn, layout::column_check::kRelationColumn)
  APPS_I16(lowLevel, setLowLevel, layout::column_check::kLowLevel)
  APPS_I16(lowColumn, setLowColumn, layout::column_check::kLowColumn)
  APPS_I16(highLevel, setHighLevel, layout::column_check::kHighLevel)
  APPS_I16(highColumn, setHighColumn, layout::column_check::kHighColumn)
  APPS_FLAG(warnRange, setWarnRange, layout::column_check::kWarnRange)
  APPS_FLAG(overrideAllowed, setOverrideAllowed, layout::column_check::kOverride)
  APPS_FLAG(overrideEmpty, setOverrideEmpty, layout::column_check::kOverrideEmpty)
  APPS_I16(jumpIndex, setJumpIndex, layout::column_check::kJumpIndex)
  APPS_F64(minimum, setMinimum, layout::column_check::kMinimum)
  APPS_F64(maximum, setMaximum, layout::column_check::kMaximum)
  APPS_F64(warnMinimum, setWarnMinimum, layout::column_check::kWarnMinimum)
  APPS_F64(warnMaximum, setWarnMaximum, layout::column_check::kWarnMaximum)
  // Look-up fill: 0 none, 1 text key, 2 numeric key; the table's file name.
  APPS_I16(lookupKind, setLookupKind, layout::column_check::kLookupKind)
  APPS_TEXT(lookupFile, setLookupFile, layout::column_check::kLookupFile, layout::kFileNameSize)
  APPS_FLAG(requiredBeforeChild, setRequiredBeforeChild, layout::column_check::kRequiredBeforeChild)
  APPS_I16(cycleCount, setCycleCount, layout::column_check::kCycleCount)
  APPS_I16(randomIndex, setRandomIndex, layout::column_check::kRandomIndex)
  APPS_TEXT(checkFile, setCheckFile, layout::column_check::kCheckFile, layout::kFileNameSize)
  // The column's text setting: its picture (edit kind 2) or its default text.
  APPS_TEXT(text, setText, layout::column_check::kText, layout::column_check::kTextSize)
  APPS_F64(startValue, setStartValue, layout::column_check::kStartValue)
  APPS_F64(step, setStep, layout::column_check::kStep)
  APPS_I16(parentLevel, setParentLevel, layout::column_check::kParentLevel)
  APPS_I16(parentColumn, setParentColumn, layout::column_check::kParentColumn)
  APPS_I16(serialIndex, setSerialIndex, layout::column_check::kSerialIndex)
  APPS_FLAG(goToOnLineChange, setGoToOnLineChange, layout::column_check::kGoToOnLineChange)
  APPS_I16(goToTarget, setGoToTarget, layout::column_check::kGoToTarget)
  APPS_FLAG(listEntry, setListEntry, layout::column_check::kListEntry)

  // Movement pairs, key = layout::column_check::MoveKey.
  int moveLines(int key) const { return i16(moveOffset(key)); }
  int moveColumns(int key) const { return i16(moveOffset(key) + 2); }
  void setMove(int key, int lines, int columns) {
    setI16(moveOffset(key), static_cast<std::int16_t>(lines));
    setI16(moveOffset(key) + 2, static_cast<std::int16_t>(columns));
  }

  // Event program slots (layout::column_check::ColumnEvent).
  bool hasProgram(int event) const { return i16(programOffset(event)) != 0; }
  std::string program(int event) const {
    return text8(programOffset(event) + layout::kProgramSlotName, layout::kNameSlot);
  }
  void setProgram(int event, std::string_view name) {
    setI16(programOffset(event), name.empty() ? 0 : 1);
    setText8(programOffset(event) + layout::kProgramSlotName, layout::kNameSlot, name);
  }

 private:
  static std::size_t moveOffset(int key) {
    return layout::column_check::kMoves + 4 * detail::clampIndex(key, layout::column_check::kMoveCount);
  }
  static std::size_t programOffset(int event) {
    return layout::column_check::kColumnPrograms +
           layout::kProgramSlotSize * detail::clampIndex(event, layout::column_check::kColumnEventCount);
  }
};

// ---------------------------------------------------------------- optional files
class SerialDef : public base::FixedRecord<layout::kSerialDefSize> {
 public:
  APPS_FLAG(closePort, setClosePort, layout::serial_def::kClosePort)
  APPS_I16(port, setPort, layout::serial_def::kPort)
  std::int32_t baud() const { return i32(layout::serial_def::kBaud); }
  void setBaud(std::int32_t v) { setI32(layout::serial_def::kBaud, v); }
  APPS_I16(parity, setParity, layout::serial_def::kParity)
  APPS_I16(dataBits, setDataBits, layout::serial_def::kDataBits)
  APPS_I16(stopBits, setStopBits, layout::serial_def::kStopBits)
  APPS_I16(flow, setFlow, layout::serial_def::kFlow)
  // Signed: a value below 1 stands for 13.
  int terminator() const { return static_cast<std::int8_t>(u8(layout::serial_def::kTerminator)); }
  void setTerminator(int v) { setU8(layout::serial_def::kTerminator, static_cast<std::uint8_t>(v)); }
  APPS_I16(mode, setMode, layout::serial_def::kMode)
  APPS_TEXT(request, setRequest, layout::serial_def::kRequest, layout::serial_def::kRequestSize)
  APPS_I16(matchKind, setMatchKind, layout::serial_def::kMatchKind)
  APPS_I16(matchPos, setMatchPos, layout::serial_def::kMatchPos)
  APPS_TEXT(matchText, setMatchText, layout::serial_def::kMatchText, layout::serial_def::kMatchTextSize)
  APPS_I16(source, setSource, layout::serial_def::kSource)
  APPS_I16(start, setStart, layout::serial_def::kStart)
  APPS_I16(length, setLength, layout::serial_def::kLength)
  APPS_TEXT(delims, setDelims, layout::serial_def::kDelims, layout::serial_def::kDelimsSize)
  APPS_I16(valueToken, setValueToken, layout::serial_def::kValueToken)
  int showToken(int i) const { return i16(layout::serial_def::kShowTokens + 2 * detail::clampIndex(i, 5)); }
  void setShowToken(int i, int v) {
    setI16(layout::serial_def::kShowTokens + 2 * detail::clampIndex(i, 5), static_cast<std::int16_t>(v));
  }
  APPS_I16(showCount, setShowCount, layout::serial_def::kShowCount)
  APPS_TEXT(showSep, setShowSep, layout::serial_def::kShowSep, layout::serial_def::kShowSepSize)
  APPS_TEXT(program, setProgram, layout::serial_def::kProgram, layout::serial_def::kProgramSize)
  APPS_FLAG(multiColumn, setMultiColumn, layout::serial_def::kMultiColumn)
  APPS_FLAG(validateEach, setValidateEach, layout::serial_def::kValidateEach)
  APPS_I16(targetCount, setTargetCount, layout::serial_def::kTargetCount)
  int targetColumn(int i) const { return i16(targetOffset(layout::serial_def::kTargetColumns, i)); }
  int targetToken(int i) const { return i16(targetOffset(layout::serial_def::kTargetTokens, i)); }
  int targetSuffix(int i) const { return i16(targetOffset(layout::serial_def::kTargetSuffix, i)); }
  void setTarget(int i, int column, int token, int suffix) {
    setI16(targetOffset(layout::serial_def::kTargetColumns, i), static_cast<std::int16_t>(column));
    setI16(targetOffset(layout::serial_def::kTargetTokens, i), static_cast<std::int16_t>(token));
    setI16(targetOffset(layout::serial_def::kTargetSuffix, i), static_cast<std::int16_t>(suffix));
  }
  APPS_TEXT(join, setJoin, layout::serial_def::kJoin, layout::serial_def::kJoinSize)

 private:
  static std::size_t targetOffset(std::size_t base, int i) {
    return base + 2 * detail::clampIndex(i, layout::serial_def::kMaxTargets);
  }
};

class RndEntry : public base::FixedRecord<layout::kRndEntrySize> {
 public:
  APPS_FLAG(deferred, setDeferred, layout::rnd_entry::kDeferred)
  APPS_I16(mode, setMode, layout::rnd_entry::kMode)
  std::int32_t low() const { return i32(layout::rnd_entry::kLow); }
  void setLow(std::int32_t v) { setI32(layout::rnd_entry::kLow, v); }
  std::int32_t high() const { return i32(layout::rnd_entry::kHigh); }
  void setHigh(std::int32_t v) { setI32(layout::rnd_entry::kHigh, v); }
  APPS_I16(lowLevel, setLowLevel, layout::rnd_entry::kLowLevel)
  APPS_I16(lowColumn, setLowColumn, layout::rnd_entry::kLowColumn)
  APPS_I16(highLevel, setHighLevel, layout::rnd_entry::kHighLevel)
  APPS_I16(highColumn, setHighColumn, layout::rnd_entry::kHighColumn)
};

class JumpEntry : public base::FixedRecord<layout::kJumpEntrySize> {
 public:
  APPS_I16(matchKind, setMatchKind, layout::jump_entry::kMatchKind)
  APPS_I16(sourceLevel, setSourceLevel, layout::jump_entry::kSourceLevel)
  APPS_I16(sourceColumn, setSourceColumn, layout::jump_entry::kSourceColumn)
  APPS_I16(relationKind, setRelationKind, layout::jump_entry::kRelationKind)
  APPS_I16(relationLevel, setRelationLevel, layout::jump_entry::kRelationLevel)
  APPS_I16(relationColumn, setRelationColumn, layout::jump_entry::kRelationColumn)
  APPS_TEXT(file, setFile, layout::jump_entry::kFile, layout::kFileNameSize)
};

class BcfEntry : public base::FixedRecord<layout::kBcfEntrySize> {
 public:
  // Condition i 0..4.
  int kind(int i) const { return i16(layout::bcf_entry::kKinds + 2 * cond(i)); }
  void setKind(int i, int k) { setI16(layout::bcf_entry::kKinds + 2 * cond(i), static_cast<std::int16_t>(k)); }
  std::string text(int i) const {
    return text8(layout::bcf_entry::kTexts + layout::bcf_entry::kTextSize * cond(i), layout::bcf_entry::kTextSize);
  }
  void setText(int i, std::string_view t) {
    setText8(layout::bcf_entry::kTexts + layout::bcf_entry::kTextSize * cond(i), layout::bcf_entry::kTextSize, t);
  }
  double low(int i) const { return getF64(*this, layout::bcf_entry::kValues + 16 * cond(i)); }
  double high(int i) const { return getF64(*this, layout::bcf_entry::kValues + 16 * cond(i) + 8); }
  void setRange(int i, double low, double high) {
    putF64(*this, layout::bcf_entry::kValues + 16 * cond(i), low);
    putF64(*this, layout::bcf_entry::kValues + 16 * cond(i) + 8, high);
  }
  // Action for column 1-255: 0 none, 1 clear, 2 required, 3 skip, 4 skip and
  // clear, 5 display only, 6 display only and clear.
  int action(int column) const {
    return i16(layout::bcf_entry::kActions + 2 * detail::clampIndex(column, layout::bcf_entry::kActionCount));
  }
  void setAction(int column, int a) {
    setI16(layout::bcf_entry::kActions + 2 * detail::clampIndex(column, layout::bcf_entry::kActionCount),
           static_cast<std::int16_t>(a));
  }

 private:
  static std::size_t cond(int i) { return detail::clampIndex(i, layout::bcf_entry::kConditions); }
};

#undef APPS_I16
#undef APPS_FLAG
#undef APPS_TEXT
#undef APPS_F64

}  // namespace apps
