#pragma once
// The questions and dialogs of starting and stopping GPS logging for a
// level: which shape to log, whether to stop a running log, what to do with
// a coordinate file that exists, and the questions before a move away from
// the record a log belongs to.
#include <optional>
#include <string>

#include "gps/coordinate_file.hpp"

namespace ui { class Host; }

namespace gps {

inline constexpr int kStartLoggingDialog = 257, kLoggingChoicesDialog = 258;
inline constexpr int kPointRadio = 2571, kLineRadio = 2572, kPolygonRadio = 2573;
inline constexpr int kLogPointButton = 2581, kStopLogButton = 2582;
inline constexpr const char* kStopCaption = "Stop GPS Data Logging";

// What a level lets the crew log.
struct LevelLogging {
  std::string levelName;  // as the prompts show it ("For %s File")
  bool points = false, lines = false, polygons = false;
};

// What to log, and the F_TYPE text its records carry.
struct LogStart {
  LogShape shape = LogShape::kPoint;
  std::string fType;  // "POINT", "LINE", "POLY"; "Line" or "Poly" from a level of one shape
};

// "Point", "Line" or "Polygon": the word the questions use.
const char* shapeName(LogShape shape);

// No log runs: a level of points only, lines only or polygons only is asked
// "Start Logging GPS %s\nFor %s File?" (caption "Start GPS Data Logging");
// otherwise the dialog "Start GPS Logging" offers the allowed shapes, the
// first allowed one chosen. Nothing allowed: "GPS Logging Not Available\nFor
// This Branch" (caption "GPS Log Error"). Empty when nothing is to be logged.
std::optional<LogStart> chooseLogStart(ui::Host& host, const LevelLogging& level);

// A line or polygon log runs: what the crew wants.
enum class RunningChoice { None, StopLog, LogPoint };
// Without points the question "Stop Logging GPS %s\nFor %s File?" (Yes:
// StopLog); with points the dialog "GPS Logging Choices" ("For %s File
// Record:%d", "GPS %s For %s File?") offers "Log GPS Point", "Stop Current
// Log" (which asks the stop question first) and Cancel.
RunningChoice chooseWhileLogging(ui::Host& host, const LevelLogging& level, LogShape running, int record);

// "Stop Logging GPS %s\nFor %s File?" (Yes/No): true for Yes.
bool askStopLogging(ui::Host& host, LogShape running, const std::string& levelName);

// A line or polygon file exists for the record ("GPS %s File Exists\n This
// %s Record...", shape and level name): append (Yes), overwrite (No: the
// caller deletes the file) or abandon (Cancel).
enum class ExistingFile { Append, Overwrite, Abandon };
ExistingFile askExistingFile(ui::Host& host, LogShape shape, const std::string& levelName);

// The moves that must stop a running log of the record first.
enum class MoveAway { OtherLine, LeaveDataset, ParentLevel, SiblingLevel };
// "You Must Stop GPS Logging Before\n...\n\nStop Logging GPS %s\nFor %s File?"
// (Yes/No): true for Yes (the caller stops the log and lets the move go on).
bool askStopBeforeMove(ui::Host& host, MoveAway move, LogShape running, const std::string& levelName);

}  // namespace gps
