#pragma once
// The byte layout of every application control file, fixed once. The runtime
// (app_ctl, level_records) and the package builder (tools/tfa-build) both
// take their offsets from here, so they cannot drift. docs/control-files.md
// lists every field; keep the two in step.
//
// Offsets marked "fixed" are the ones every application file made for the
// runtime carries; the others are this program's own choice inside the
// records' fixed sizes. "Run-time" fields are zero in the files and written
// only into the in-memory copy. Bytes nobody names are loaded and carried
// unchanged. All integers are little-endian; 16-bit values are signed unless
// said otherwise; texts are 8-bit, NUL-terminated inside their fields.
#include <algorithm>
#include <array>
#include <cstddef>

namespace apps::layout {

// One named range of a record: the static_asserts below prove that the named
// ranges of each record lie inside it and never overlap.
struct Span {
  std::size_t offset;
  std::size_t width;
};

template <std::size_t N>
constexpr bool disjointInside(std::array<Span, N> spans, std::size_t recordSize) {
  for (std::size_t i = 0; i < N; ++i) {
    if (spans[i].width == 0 || spans[i].offset + spans[i].width > recordSize) return false;
    for (std::size_t j = i + 1; j < N; ++j) {
      bool apart = spans[i].offset + spans[i].width <= spans[j].offset ||
                   spans[j].offset + spans[j].width <= spans[i].offset;
      if (!apart) return false;
    }
  }
  return true;
}

// Record and entry sizes (fixed).
inline constexpr std::size_t kAppCtlSize = 3544;
inline constexpr std::size_t kLevelBctSize = 4624;
inline constexpr std::size_t kLevelHeaderSize = 11572;
inline constexpr std::size_t kLevelInfoSize = 1392;
inline constexpr std::size_t kColumnFieldSize = 110;
inline constexpr std::size_t kColumnDefSize = 420;
inline constexpr std::size_t kColumnCheckSize = 2432;
inline constexpr std::size_t kSerialDefSize = 816;
inline constexpr std::size_t kRndEntrySize = 36;
inline constexpr std::size_t kJumpEntrySize = 160;
inline constexpr std::size_t kBcfEntrySize = 808;

// A level holds at most this many columns (indexes 0-251; column 0 is no
// table field), so LastColumn is at most 251.
inline constexpr int kMaxColumns = 252;
inline constexpr int kMaxLastColumn = kMaxColumns - 1;
inline constexpr int kMaxLevels = 5;

// The .ctl file: header, LevelInfo, then (c + 1) entries of each column record.
inline constexpr std::size_t kColumnRecordsSize = kColumnFieldSize + kColumnDefSize + kColumnCheckSize;
inline constexpr std::size_t kCtlFixedSize = kLevelHeaderSize + kLevelInfoSize + kColumnRecordsSize;
static_assert(kColumnRecordsSize == 2962);
static_assert(kCtlFixedSize == 15926);
constexpr std::size_t ctlSize(int lastColumn) {
  return kColumnRecordsSize * static_cast<std::size_t>(lastColumn) + kCtlFixedSize;
}

// Shared shapes.
inline constexpr std::size_t kNameSlot = 36;      // a table or program name slot
inline constexpr std::size_t kProgramListSize = 10;
// An event program slot: a 16-bit present flag and the program's file name.
inline constexpr std::size_t kProgramSlotFlag = 0;
inline constexpr std::size_t kProgramSlotName = 2;
inline constexpr std::size_t kProgramSlotSize = 2 + kNameSlot;
inline constexpr std::size_t kFileNameSize = 64;  // check, jump and look-up file names

// ---------------------------------------------------------------- AppCtl (app.ctl)
namespace app_ctl {
inline constexpr std::size_t kAppName = 0, kAppNameSize = 32;     // ours: the designed name
inline constexpr std::size_t kOption32 = 32;                      // fixed (see docs)
inline constexpr std::size_t kOption34 = 34;                      // fixed
inline constexpr std::size_t kOption36 = 36;                      // fixed
inline constexpr std::size_t kOption38 = 38, kOption40 = 40;      // fixed
inline constexpr std::size_t kCompiled = 50;                      // fixed
inline constexpr std::size_t kDatasetName = 54, kDatasetNameSize = 38;  // fixed, run-time
inline constexpr std::size_t kCurLevel = 92;                      // fixed, run-time
inline constexpr std::size_t kLevelCodes = 94;                    // fixed, run-time, 5 × 36
inline constexpr std::size_t kLevelCodeSize = 36;
inline constexpr std::size_t kCurLevelCode = 274;                 // fixed, run-time
inline constexpr std::size_t kNextLevelCode = 310;                // fixed, run-time
inline constexpr std::size_t kOption356 = 356, kOption358 = 358;  // fixed
inline constexpr std::size_t kOptionText430 = 430, kOptionText430Size = 72;  // fixed
inline constexpr std::size_t kUseDatasets = 502;                  // fixed
inline constexpr std::size_t kGlobalProgramCount = 504;           // ours
inline constexpr std::size_t kGlobalPrograms = 506;               // ours, 10 × 36
inline constexpr std::size_t kStoredValues = 872;                 // ours, 4 doubles
inline constexpr std::size_t kOption1838 = 1838, kOption1840 = 1840, kOption2164 = 2164;  // fixed
inline constexpr std::size_t kKeepChildFields = 2200;             // fixed
inline constexpr std::size_t kKeepStatusFields = 2202;            // fixed
inline constexpr std::size_t kKeepPosition = 2204;                // fixed
inline constexpr std::size_t kClearCoordFiles = 2210;             // fixed
inline constexpr std::size_t kOption2212 = 2212;                  // fixed
inline constexpr std::size_t kRootTableName = 2221, kTableNameSize = 256;  // fixed
inline constexpr std::size_t kTableName = 2477;                   // fixed, run-time
inline constexpr std::size_t kDatasetNumber = 2864;               // fixed, run-time, 32-bit
inline constexpr std::size_t kGpsLimits = 2884;                   // fixed, 5 × 16-bit
inline constexpr std::size_t kDatasetChosen = 2894;               // fixed, run-time
inline constexpr std::size_t kOption2896 = 2896;                  // fixed
inline constexpr std::size_t kOption2902 = 2902, kOption2904 = 2904;  // fixed

// The GPS limits, in this order.
enum GpsLimit { kGpsUseFilters = 0, kGpsRequireDgps, kGpsRequire3d, kGpsMinSatellites, kGpsMaxDop };

// The unnamed 16-bit options whose meaning other subsystems give; the
// package builder lets a description set them by offset.
inline constexpr std::array<std::size_t, 13> kOptionOffsets{
    kOption34, kOption36, kOption38, kOption40, kOption356, kOption358, kOption1838,
    kOption1840, kOption2164, kOption2212, kOption2896, kOption2902, kOption2904};

inline constexpr std::array kSpans{
    Span{kAppName, kAppNameSize}, Span{kOption32, 2}, Span{kOption34, 2}, Span{kOption36, 2},
    Span{kOption38, 2}, Span{kOption40, 2}, Span{kCompiled, 2},
    Span{kDatasetName, kDatasetNameSize}, Span{kCurLevel, 2}, Span{kLevelCodes, 5 * kLevelCodeSize},
    Span{kCurLevelCode, kLevelCodeSize}, Span{kNextLevelCode, kLevelCodeSize},
    Span{kOption356, 2}, Span{kOption358, 2}, Span{kOptionText430, kOptionText430Size},
    Span{kUseDatasets, 2}, Span{kGlobalProgramCount, 2},
    Span{kGlobalPrograms, kProgramListSize * kNameSlot}, Span{kStoredValues, 4 * 8},
    Span{kOption1838, 2}, Span{kOption1840, 2}, Span{kOption2164, 2},
    Span{kKeepChildFields, 2}, Span{kKeepStatusFields, 2}, Span{kKeepPosition, 2},
    Span{kClearCoordFiles, 2}, Span{kOption2212, 2}, Span{kRootTableName, kTableNameSize},
    Span{kTableName, kTableNameSize}, Span{kDatasetNumber, 4}, Span{kGpsLimits, 5 * 2},
    Span{kDatasetChosen, 2}, Span{kOption2896, 2}, Span{kOption2902, 2}, Span{kOption2904, 2}};
static_assert(disjointInside(kSpans, kAppCtlSize));
}  // namespace app_ctl

// ---------------------------------------------------------------- LevelBct (.bct)
namespace level_bct {
inline constexpr std::size_t kLastColumn = 0;       // fixed
inline constexpr std::size_t kSerCount = 2;         // fixed
inline constexpr std::size_t kRndCount = 4;         // fixed
inline constexpr std::size_t kJptCount = 6;         // fixed
inline constexpr std::size_t kBcfCount = 8;         // fixed
inline constexpr std::size_t kLevelName = 10, kLevelNameSize = 36;       // fixed (GPS prompts)
inline constexpr std::size_t kLevelCodeText = 46, kLevelCodeTextSize = 6;  // fixed
inline constexpr std::size_t kDataFileName = 57, kDataFileNameSize = 387;  // fixed, run-time
inline constexpr std::size_t kChildCount = 444;     // fixed
inline constexpr std::size_t kChildNames = 448;     // fixed, 27 × 36
inline constexpr std::size_t kChildEntries = 27;
inline constexpr std::size_t kChildBlocked = 1780;  // fixed, 27 × 16-bit
inline constexpr std::size_t kSiblingCount = 1854;  // fixed
inline constexpr std::size_t kSiblingNames = 1856;  // fixed, 28 × 36
inline constexpr std::size_t kSiblingEntries = 28;
inline constexpr std::size_t kSiblingBlocked = 3188;  // fixed, 27 × 16-bit
inline constexpr std::size_t kMaxChildren = 26;
// Level GPS definition (fixed).
inline constexpr std::size_t kGpsPointMode = 3858;
inline constexpr std::size_t kGpsAverageCount = 3862;
inline constexpr std::size_t kGpsAllowUnfinished = 3864;
inline constexpr std::size_t kGpsLatColumn = 3866, kGpsLonColumn = 3868, kGpsElevColumn = 3870;
inline constexpr std::size_t kGpsLines = 3872, kGpsLineInterval = 3876;
inline constexpr std::size_t kGpsPolygons = 3878, kGpsPolygonInterval = 3882;

inline constexpr std::array kSpans{
    Span{kLastColumn, 2}, Span{kSerCount, 2}, Span{kRndCount, 2}, Span{kJptCount, 2},
    Span{kBcfCount, 2}, Span{kLevelName, kLevelNameSize}, Span{kLevelCodeText, kLevelCodeTextSize},
    Span{kDataFileName, kDataFileNameSize}, Span{kChildCount, 2},
    Span{kChildNames, kChildEntries * kNameSlot}, Span{kChildBlocked, kChildEntries * 2},
    Span{kSiblingCount, 2}, Span{kSiblingNames, kSiblingEntries * kNameSlot},
    Span{kSiblingBlocked, kChildEntries * 2}, Span{kGpsPointMode, 2}, Span{kGpsAverageCount, 2},
    Span{kGpsAllowUnfinished, 2}, Span{kGpsLatColumn, 2}, Span{kGpsLonColumn, 2},
    Span{kGpsElevColumn, 2}, Span{kGpsLines, 2}, Span{kGpsLineInterval, 2},
    Span{kGpsPolygons, 2}, Span{kGpsPolygonInterval, 2}};
static_assert(disjointInside(kSpans, kLevelBctSize));
}  // namespace level_bct

// ---------------------------------------------------------------- LevelHeader (.ctl part 1)
namespace level_header {
// Run-time edit state (zero in files). The engine keeps handles and pointers
// (open table, field descriptors, field texts) beside the image, not in it.
inline constexpr std::size_t kDataPath = 0, kDataPathSize = 260;  // fixed (starts the record)
inline constexpr std::size_t kCurLine = 260;          // 32-bit
inline constexpr std::size_t kLineCount = 264;        // 32-bit
inline constexpr std::size_t kTopLine = 268;          // 32-bit
inline constexpr std::size_t kBottomLine = 272;       // 32-bit
inline constexpr std::size_t kLinesPerPage = 276;     // 32-bit
inline constexpr std::size_t kPage = 280;             // 32-bit
inline constexpr std::size_t kCurColumn = 284;
inline constexpr std::size_t kColumnCount = 286;
inline constexpr std::size_t kExitKey = 288;          // unsigned
inline constexpr std::size_t kLineModified = 290;
inline constexpr std::size_t kMustStore = 292;
inline constexpr std::size_t kCheckMode = 294;
inline constexpr std::size_t kRedrawLines = 296;
inline constexpr std::size_t kRedrawScreen = 298;
inline constexpr std::size_t kLeaveLevel = 300;
inline constexpr std::size_t kTableCreated = 302;
inline constexpr std::size_t kCurScreen = 304;
inline constexpr std::size_t kLeftEmpty = 306;
inline constexpr std::size_t kEditPosition = 308;     // 32-bit: the third word of the position file
inline constexpr std::size_t kDisplayState = 312;     // 3 × 32-bit (position file words 7-9)
inline constexpr std::size_t kPositionExtra = 324;    // 2 × 32-bit (position file words 10-11)
inline constexpr std::size_t kEditBuffer = 512, kEditBufferSize = 256;
inline constexpr std::size_t kStateText = 768, kStateTextSize = 104;  // 100-character text
// Level settings (design).
inline constexpr std::size_t kInsertAllowed = 1000;
inline constexpr std::size_t kDeleteAllowed = 1002;
inline constexpr std::size_t kAutoNewLine = 1004;
inline constexpr std::size_t kCheckOnLineChange = 1006;  // -1, 0 or 1
inline constexpr std::size_t kCheckOnLeave = 1008;
inline constexpr std::size_t kCheckOnSibling = 1010;
inline constexpr std::size_t kRevalidate = 1012;
inline constexpr std::size_t kRemoveEmptyLines = 1014;
inline constexpr std::size_t kCheckLineBeforeChild = 1016;
inline constexpr std::size_t kFirstEnterableColumn = 1018;
inline constexpr std::size_t kLastEnterableColumn = 1020;
inline constexpr std::size_t kScreenCount = 1022;
inline constexpr std::size_t kMaxLines = 1024;          // 32-bit; 0 or less: no limit
inline constexpr std::size_t kFirstLine = 1028;         // 32-bit
// Level event programs: 13 slots (LevelEvent order).
inline constexpr std::size_t kEventPrograms = 1100;
inline constexpr std::size_t kEventCount = 13;
inline constexpr std::size_t kStatusFlag = 2150;        // fixed, run-time
// Screens: up to 8, each kScreenSize bytes (offsets in namespace screen).
inline constexpr std::size_t kScreens = 2200;
inline constexpr std::size_t kMaxScreens = 8;
inline constexpr std::size_t kScreenSize = 200;
inline constexpr std::size_t kColumnValues = 4000;      // run-time, 512 doubles
inline constexpr std::size_t kColumnValueCount = 512;
inline constexpr std::size_t kLinesDeletedFlag = 10642;  // fixed, run-time

// The level event program slots, in slot order.
enum LevelEvent : int {
  kEventFieldExit = 0,          // after each field
  kEventFieldExitChanged,       // after a field when the line changed
  kEventLineEntry,
  kEventLineExit,
  kEventNewLine,                // a line was appended
  kEventBeforeChild,            // before advancing to a child level
  kEventAfterChildChecks,
  kEventBeforeLeave,            // before leaving the level
  kEventOnLeave,
  kEventSiblingJump,
  kEventBeforeCheck,            // around the missing-data check
  kEventInsteadOfCheck,
  kEventAfterCheck,
};

inline constexpr std::array kSpans{
    Span{kDataPath, kDataPathSize}, Span{kCurLine, 4}, Span{kLineCount, 4}, Span{kTopLine, 4},
    Span{kBottomLine, 4}, Span{kLinesPerPage, 4}, Span{kPage, 4}, Span{kCurColumn, 2},
    Span{kColumnCount, 2}, Span{kExitKey, 2}, Span{kLineModified, 2}, Span{kMustStore, 2},
    Span{kCheckMode, 2}, Span{kRedrawLines, 2}, Span{kRedrawScreen, 2}, Span{kLeaveLevel, 2},
    Span{kTableCreated, 2}, Span{kCurScreen, 2}, Span{kLeftEmpty, 2}, Span{kEditPosition, 4},
    Span{kDisplayState, 12}, Span{kPositionExtra, 8}, Span{kEditBuffer, kEditBufferSize},
    Span{kStateText, kStateTextSize}, Span{kInsertAllowed, 2}, Span{kDeleteAllowed, 2},
    Span{kAutoNewLine, 2}, Span{kCheckOnLineChange, 2}, Span{kCheckOnLeave, 2},
    Span{kCheckOnSibling, 2}, Span{kRevalidate, 2}, Span{kRemoveEmptyLines, 2},
    Span{kCheckLineBeforeChild, 2}, Span{kFirstEnterableColumn, 2},
    Span{kLastEnterableColumn, 2}, Span{kScreenCount, 2}, Span{kMaxLines, 4},
    Span{kFirstLine, 4}, Span{kEventPrograms, kEventCount * kProgramSlotSize},
    Span{kStatusFlag, 2}, Span{kScreens, kMaxScreens * kScreenSize},
    Span{kColumnValues, kColumnValueCount * 8}, Span{kLinesDeletedFlag, 2}};
static_assert(disjointInside(kSpans, kLevelHeaderSize));
}  // namespace level_header

// One screen of a level (inside LevelHeader at kScreens + i × kScreenSize).
namespace screen {
inline constexpr std::size_t kDisplayType = 0;   // 0 VirtualDisplay, 1 and 2 LineDisplay, 10 as 0
inline constexpr std::size_t kDataText = 2;      // palette index of the data colours
inline constexpr std::size_t kDataBack = 4;
inline constexpr std::size_t kPromptRow = 6;     // 0: no prompt row
inline constexpr std::size_t kShowLineNumbers = 8;
inline constexpr std::size_t kLineLabelRow = 10, kLineLabelColumn = 12;
inline constexpr std::size_t kLineNumberRow = 14, kLineNumberColumn = 16;
inline constexpr std::size_t kTwoLineTitles = 18;
inline constexpr std::size_t kFirstGridRow = 20, kLastGridRow = 22;
inline constexpr std::size_t kHeadingCount = 24;
inline constexpr std::size_t kLineLabel = 26, kLineLabelSize = 16;
inline constexpr std::size_t kHeadings = 50;     // kMaxHeadings × kHeadingSize
inline constexpr std::size_t kMaxHeadings = 6;
inline constexpr std::size_t kHeadingSize = 24;
// One heading item.
inline constexpr std::size_t kHeadingLabel = 0, kHeadingLabelSize = 14;
inline constexpr std::size_t kHeadingLevel = 14, kHeadingColumn = 16;
inline constexpr std::size_t kHeadingRow = 18, kHeadingCol = 20, kHeadingWidth = 22;

inline constexpr std::array kSpans{
    Span{kDisplayType, 2}, Span{kDataText, 2}, Span{kDataBack, 2}, Span{kPromptRow, 2},
    Span{kShowLineNumbers, 2}, Span{kLineLabelRow, 2}, Span{kLineLabelColumn, 2},
    Span{kLineNumberRow, 2}, Span{kLineNumberColumn, 2}, Span{kTwoLineTitles, 2},
    Span{kFirstGridRow, 2}, Span{kLastGridRow, 2}, Span{kHeadingCount, 2},
    Span{kLineLabel, kLineLabelSize}, Span{kHeadings, kMaxHeadings * kHeadingSize}};
static_assert(disjointInside(kSpans, level_header::kScreenSize));
inline constexpr std::array kHeadingSpans{
    Span{kHeadingLabel, kHeadingLabelSize}, Span{kHeadingLevel, 2}, Span{kHeadingColumn, 2},
    Span{kHeadingRow, 2}, Span{kHeadingCol, 2}, Span{kHeadingWidth, 2}};
static_assert(disjointInside(kHeadingSpans, kHeadingSize));
}  // namespace screen

// ---------------------------------------------------------------- LevelInfo (.ctl part 2)
namespace level_info {
inline constexpr std::size_t kDescription = 0, kDescriptionSize = 64;
inline constexpr std::size_t kProgramCount = 64;
inline constexpr std::size_t kPrograms = 66;              // 10 × 36: the F8 list
inline constexpr std::size_t kConditionCount = 426;
inline constexpr std::size_t kConditionColumns = 428;     // 5 × 16-bit column numbers
inline constexpr std::size_t kConditionSources = 438;     // 5 × 16-bit: 0 this line, 1-5 a level
inline constexpr std::size_t kMaxConditions = 5;

inline constexpr std::array kSpans{
    Span{kDescription, kDescriptionSize}, Span{kProgramCount, 2},
    Span{kPrograms, kProgramListSize * kNameSlot}, Span{kConditionCount, 2},
    Span{kConditionColumns, kMaxConditions * 2}, Span{kConditionSources, kMaxConditions * 2}};
static_assert(disjointInside(kSpans, kLevelInfoSize));
}  // namespace level_info

// ---------------------------------------------------------------- ColumnField
namespace column_field {
inline constexpr std::size_t kName = 0, kNameSize = 11;      // fixed: at most 10 characters
inline constexpr std::size_t kTitle = 11, kTitleSize = 73;   // fixed start: the column's title
inline constexpr std::size_t kType = 84;                     // fixed: dBase type letter
inline constexpr std::size_t kWidth = 86;                    // fixed
inline constexpr std::size_t kDecimals = 88;                 // fixed

inline constexpr std::array kSpans{Span{kName, kNameSize}, Span{kTitle, kTitleSize}, Span{kType, 2},
                                   Span{kWidth, 2}, Span{kDecimals, 2}};
static_assert(disjointInside(kSpans, kColumnFieldSize));
}  // namespace column_field

// ---------------------------------------------------------------- ColumnDef
namespace column_def {
inline constexpr std::size_t kScreen = 0;            // 1-based screen of the level
inline constexpr std::size_t kDisplayType = 2;       // the type of that screen
inline constexpr std::size_t kPageFirstColumn = 4;   // first and last column shown on its page
inline constexpr std::size_t kPageLastColumn = 6;
inline constexpr std::size_t kHidden = 8;
inline constexpr std::size_t kDisplayWidth = 10;     // 0: the field's width
inline constexpr std::size_t kTitleRow = 12, kTitleColumn = 14;
inline constexpr std::size_t kValueRow = 16, kValueColumn = 18;
inline constexpr std::size_t kTitle2 = 20, kTitle2Size = 40;     // second title line
inline constexpr std::size_t kPrompt = 60, kPromptSize = 80;     // prompt-row text
inline constexpr std::size_t kHeading = 140, kHeadingSize = 40;  // printed heading

inline constexpr std::array kSpans{
    Span{kScreen, 2}, Span{kDisplayType, 2}, Span{kPageFirstColumn, 2}, Span{kPageLastColumn, 2},
    Span{kHidden, 2}, Span{kDisplayWidth, 2}, Span{kTitleRow, 2}, Span{kTitleColumn, 2},
    Span{kValueRow, 2}, Span{kValueColumn, 2}, Span{kTitle2, kTitle2Size},
    Span{kPrompt, kPromptSize}, Span{kHeading, kHeadingSize}};
static_assert(disjointInside(kSpans, kColumnDefSize));
}  // namespace column_def

// ---------------------------------------------------------------- ColumnCheck
namespace column_check {
inline constexpr std::size_t kFieldType = 0;          // 0-11 (the column's state word)
inline constexpr std::size_t kFillKind = 2;           // automatic-fill kind
inline constexpr std::size_t kFillOnEntry = 4;
inline constexpr std::size_t kEditKind = 6;           // 2: picture
inline constexpr std::size_t kUpperCase = 8;
inline constexpr std::size_t kWaitWhenFull = 10;
inline constexpr std::size_t kUnique = 12;
inline constexpr std::size_t kNoEdit = 14;
inline constexpr std::size_t kCheckType = 16;         // 0-9
inline constexpr std::size_t kCheckEmpty = 18;        // also the required flag
inline constexpr std::size_t kMinTextLength = 20;
inline constexpr std::size_t kReplaceBySecond = 22;
inline constexpr std::size_t kSequentialSearch = 24;
inline constexpr std::size_t kRelationKind = 26, kRelationLevel = 28, kRelationColumn = 30;
inline constexpr std::size_t kLowLevel = 32, kLowColumn = 34;
inline constexpr std::size_t kHighLevel = 36, kHighColumn = 38;
inline constexpr std::size_t kWarnRange = 40;
inline constexpr std::size_t kOverride = 42, kOverrideEmpty = 44;
inline constexpr std::size_t kJumpIndex = 46;         // 0 none, else a .jpt entry number
inline constexpr std::size_t kMinimum = 48, kMaximum = 56;        // doubles
inline constexpr std::size_t kWarnMinimum = 64, kWarnMaximum = 72;  // doubles
inline constexpr std::size_t kLookupKind = 80;        // fixed: 0 none, 1 text key, 2 numeric key
inline constexpr std::size_t kRequiredBeforeChild = 82;
inline constexpr std::size_t kCycleCount = 84;
inline constexpr std::size_t kRandomIndex = 86;       // a .rnd entry number
inline constexpr std::size_t kLookupFile = 88;        // fixed start
inline constexpr std::size_t kCheckFile = 152;
inline constexpr std::size_t kText = 216, kTextSize = 256;  // picture or default text
inline constexpr std::size_t kStartValue = 472, kStep = 480;  // doubles
inline constexpr std::size_t kParentLevel = 488, kParentColumn = 490;
inline constexpr std::size_t kSerialIndex = 492;      // a .ser entry number
inline constexpr std::size_t kGoToOnLineChange = 494, kGoToTarget = 496;
inline constexpr std::size_t kMoves = 498;            // 5 × (16-bit lines, 16-bit columns)
inline constexpr std::size_t kMoveCount = 5;
inline constexpr std::size_t kColumnPrograms = 520;   // 6 program slots (ColumnEvent order)
inline constexpr std::size_t kColumnEventCount = 6;
inline constexpr std::size_t kListEntry = 748;        // code lists are keyed in through the list

// The column event program slots, in slot order.
enum ColumnEvent : int {
  kEventPreEntry = 0,
  kEventEntry,            // entry by program instead of an editor
  kEventPostEntry,
  kEventValidateBefore,   // before the standard checks
  kEventValidateInstead,  // instead of the standard checks
  kEventAfterChecks,
};
// The movement pairs, in pair order.
enum MoveKey : int { kMoveUp = 0, kMoveDown, kMoveLeft, kMoveRight, kMoveEnter };

inline constexpr std::array kSpans{
    Span{kFieldType, 2}, Span{kFillKind, 2}, Span{kFillOnEntry, 2}, Span{kEditKind, 2},
    Span{kUpperCase, 2}, Span{kWaitWhenFull, 2}, Span{kUnique, 2}, Span{kNoEdit, 2},
    Span{kCheckType, 2}, Span{kCheckEmpty, 2}, Span{kMinTextLength, 2},
    Span{kReplaceBySecond, 2}, Span{kSequentialSearch, 2}, Span{kRelationKind, 2},
    Span{kRelationLevel, 2}, Span{kRelationColumn, 2}, Span{kLowLevel, 2}, Span{kLowColumn, 2},
    Span{kHighLevel, 2}, Span{kHighColumn, 2}, Span{kWarnRange, 2}, Span{kOverride, 2},
    Span{kOverrideEmpty, 2}, Span{kJumpIndex, 2}, Span{kMinimum, 8}, Span{kMaximum, 8},
    Span{kWarnMinimum, 8}, Span{kWarnMaximum, 8}, Span{kLookupKind, 2},
    Span{kRequiredBeforeChild, 2}, Span{kCycleCount, 2}, Span{kRandomIndex, 2},
    Span{kLookupFile, kFileNameSize}, Span{kCheckFile, kFileNameSize}, Span{kText, kTextSize},
    Span{kStartValue, 8}, Span{kStep, 8}, Span{kParentLevel, 2}, Span{kParentColumn, 2},
    Span{kSerialIndex, 2}, Span{kGoToOnLineChange, 2}, Span{kGoToTarget, 2},
    Span{kMoves, kMoveCount * 4}, Span{kColumnPrograms, kColumnEventCount * kProgramSlotSize},
    Span{kListEntry, 2}};
static_assert(disjointInside(kSpans, kColumnCheckSize));
}  // namespace column_check

// ---------------------------------------------------------------- SerialDef (.ser entry, fixed)
namespace serial_def {
inline constexpr std::size_t kClosePort = 2, kPort = 4, kBaud = 8, kParity = 12;
inline constexpr std::size_t kDataBits = 14, kStopBits = 16, kFlow = 18;
inline constexpr std::size_t kTerminator = 20;  // one byte
inline constexpr std::size_t kMode = 22;
inline constexpr std::size_t kRequest = 26, kRequestSize = 22;
inline constexpr std::size_t kMatchKind = 48, kMatchPos = 50;
inline constexpr std::size_t kMatchText = 52, kMatchTextSize = 36;
inline constexpr std::size_t kSource = 88, kStart = 90, kLength = 92;
inline constexpr std::size_t kDelims = 94, kDelimsSize = 32;
inline constexpr std::size_t kValueToken = 126;
inline constexpr std::size_t kShowTokens = 128, kMaxShowTokens = 5;
inline constexpr std::size_t kShowCount = 138;
inline constexpr std::size_t kShowSep = 140, kShowSepSize = 4;
inline constexpr std::size_t kProgram = 146, kProgramSize = 260;
inline constexpr std::size_t kMultiColumn = 534, kValidateEach = 538, kTargetCount = 540;
inline constexpr std::size_t kTargetColumns = 542, kTargetTokens = 604, kTargetSuffix = 726;
inline constexpr std::size_t kMaxTargets = 31;
inline constexpr std::size_t kJoin = 788, kJoinSize = 28;

inline constexpr std::array kSpans{
    Span{kClosePort, 2}, Span{kPort, 2}, Span{kBaud, 4}, Span{kParity, 2}, Span{kDataBits, 2},
    Span{kStopBits, 2}, Span{kFlow, 2}, Span{kTerminator, 1}, Span{kMode, 2},
    Span{kRequest, kRequestSize}, Span{kMatchKind, 2}, Span{kMatchPos, 2},
    Span{kMatchText, kMatchTextSize}, Span{kSource, 2}, Span{kStart, 2}, Span{kLength, 2},
    Span{kDelims, kDelimsSize}, Span{kValueToken, 2}, Span{kShowTokens, kMaxShowTokens * 2},
    Span{kShowCount, 2}, Span{kShowSep, kShowSepSize}, Span{kProgram, kProgramSize},
    Span{kMultiColumn, 2}, Span{kValidateEach, 2}, Span{kTargetCount, 2},
    Span{kTargetColumns, kMaxTargets * 2}, Span{kTargetTokens, kMaxTargets * 2},
    Span{kTargetSuffix, kMaxTargets * 2}, Span{kJoin, kJoinSize}};
static_assert(disjointInside(kSpans, kSerialDefSize));
}  // namespace serial_def

// ---------------------------------------------------------------- RndEntry (.rnd entry)
namespace rnd_entry {
inline constexpr std::size_t kDeferred = 0, kMode = 2;  // mode 4 low, 5 high, 6 both from columns
inline constexpr std::size_t kLow = 4, kHigh = 8;       // 32-bit fixed bounds
inline constexpr std::size_t kLowLevel = 12, kLowColumn = 14, kHighLevel = 16, kHighColumn = 18;

inline constexpr std::array kSpans{Span{kDeferred, 2}, Span{kMode, 2}, Span{kLow, 4},
                                   Span{kHigh, 4}, Span{kLowLevel, 2}, Span{kLowColumn, 2},
                                   Span{kHighLevel, 2}, Span{kHighColumn, 2}};
static_assert(disjointInside(kSpans, kRndEntrySize));
}  // namespace rnd_entry

// ---------------------------------------------------------------- JumpEntry (.jpt entry)
namespace jump_entry {
inline constexpr std::size_t kMatchKind = 0;  // 1 text, 2 numeric, 3 range
inline constexpr std::size_t kSourceLevel = 2, kSourceColumn = 4;
inline constexpr std::size_t kRelationKind = 6, kRelationLevel = 8, kRelationColumn = 10;
inline constexpr std::size_t kFile = 12;

inline constexpr std::array kSpans{Span{kMatchKind, 2}, Span{kSourceLevel, 2},
                                   Span{kSourceColumn, 2}, Span{kRelationKind, 2},
                                   Span{kRelationLevel, 2}, Span{kRelationColumn, 2},
                                   Span{kFile, kFileNameSize}};
static_assert(disjointInside(kSpans, kJumpEntrySize));
}  // namespace jump_entry

// ---------------------------------------------------------------- BcfEntry (.bcf row, fixed)
namespace bcf_entry {
inline constexpr std::size_t kKinds = 0;        // 5 × 16-bit: 0 equal, 1 within a range
inline constexpr std::size_t kTexts = 12;       // 5 × 31 bytes
inline constexpr std::size_t kTextSize = 31;
inline constexpr std::size_t kValues = 200;     // 5 × (double low, double high)
inline constexpr std::size_t kActions = 296;    // 256 × 16-bit, index 0 unused
inline constexpr std::size_t kActionCount = 256;
inline constexpr std::size_t kConditions = 5;

inline constexpr std::array kSpans{Span{kKinds, kConditions * 2},
                                   Span{kTexts, kConditions * kTextSize},
                                   Span{kValues, kConditions * 16},
                                   Span{kActions, kActionCount * 2}};
static_assert(disjointInside(kSpans, kBcfEntrySize));
}  // namespace bcf_entry

}  // namespace apps::layout
