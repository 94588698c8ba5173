#include "gps/logging_prompts.hpp"

#include "base/text.hpp"
#include "ui/form.hpp"
#include "ui/host.hpp"

namespace gps {

namespace {

using ui::ControlKind;

bool yes(ui::Host& host, const std::string& text, const char* caption) {
  return host.messageBox(text, caption, ui::kMbYesNo | ui::kMbIconQuestion | ui::kMbTopmost) == ui::kIdYes;
}

std::string stopQuestion(LogShape running, const std::string& levelName) {
  return base::format("Stop Logging GPS %s\nFor %s File?", shapeName(running), levelName.c_str());
}

ui::Control radio(int id, const char* text, int y, bool first, bool enabled) {
  ui::Control c{id, ControlKind::Radio, text, {24, y, 80, 8}};
  c.groupStart = first;
  c.enabled = enabled;
  return c;
}

ui::Form startForm(const LevelLogging& level) {
  ui::Form f;
  f.resource = kStartLoggingDialog;
  f.caption = "Start GPS Logging";
  // Rows 8 dialog units apart: one terminal line each.
  f.size = {0, 0, 150, 96};
  f.controls = {{2570, ControlKind::Group, "Select GPS Logging Type", {8, 8, 134, 48}},
                radio(kPointRadio, "&Point", 24, true, level.points),
                radio(kLineRadio, "&Line", 32, false, level.lines),
                radio(kPolygonRadio, "P&olygon", 40, false, level.polygons),
                ui::defaultButton(ui::kIdOkButton, "OK", {14, 72, 50, 14}),
                ui::cancelButton(ui::kIdCancelButton, "Cancel", {86, 72, 50, 14})};
  return f;
}

class StartController : public ui::FormController {
 public:
  StartController(ui::Host& host, const LevelLogging& level) : host_(host), level_(level) {}
  void onInit(ui::FormView& view) override {
    const int first = level_.points ? kPointRadio : level_.lines ? kLineRadio : kPolygonRadio;
    view.setChecked(first, true);
    view.setFocus(first);
  }
  void onCommand(ui::FormView& view, int id) override {
    if (id != ui::kIdOkButton) return ui::FormController::onCommand(view, id);
    if (view.checked(kPointRadio) && level_.points) {
      chosen = LogStart{LogShape::kPoint, "POINT"};
    } else if (view.checked(kLineRadio) && level_.lines) {
      chosen = LogStart{LogShape::kLine, "LINE"};
    } else if (view.checked(kPolygonRadio) && level_.polygons) {
      chosen = LogStart{LogShape::kPolygon, "POLY"};
    } else {
      ui::inform(host_, "Can't Get Logging Type", "GPS Log Error");
      return;
    }
    view.end(1);
  }
  std::optional<LogStart> chosen;

 private:
  ui::Host& host_;
  const LevelLogging& level_;
};

ui::Form choicesForm(const LevelLogging& level, LogShape running, int record) {
  ui::Form f;
  f.resource = kLoggingChoicesDialog;
  f.caption = "GPS Logging Choices";
  f.size = {0, 0, 190, 88};
  ui::Control line1{2583, ControlKind::Static, base::format("For %s File Record:%d", level.levelName.c_str(), record),
                    {8, 8, 174, 10}};
  ui::Control line2{2584, ControlKind::Static,
                    base::format("GPS %s For %s File?", shapeName(running), level.levelName.c_str()),
                    {8, 22, 174, 10}};
  line1.centred = line2.centred = true;
  f.controls = {line1, line2,
                ui::defaultButton(kLogPointButton, "Log GPS &Point", {8, 44, 84, 14}),
                {kStopLogButton, ControlKind::Button, "&Stop Current Log", {98, 44, 84, 14}},
                ui::cancelButton(ui::kIdCancelButton, "Cancel", {70, 66, 50, 14})};
  return f;
}

class ChoicesController : public ui::FormController {
 public:
  void onCommand(ui::FormView& view, int id) override {
    if (id == kLogPointButton || id == kStopLogButton) {
      picked = id;
      view.end(1);
      return;
    }
    ui::FormController::onCommand(view, id);
  }
  int picked = 0;
};

}  // namespace

const char* shapeName(LogShape shape) {
  switch (shape) {
    case LogShape::kPoint: return "Point";
    case LogShape::kLine: return "Line";
    default: return "Polygon";
  }
}

std::optional<LogStart> chooseLogStart(ui::Host& host, const LevelLogging& level) {
  const int allowed = int(level.points) + int(level.lines) + int(level.polygons);
  if (allowed == 0) {
    ui::inform(host, "GPS Logging Not Available\nFor This Branch", "GPS Log Error");
    return std::nullopt;
  }
  if (allowed == 1) {
    const LogStart only = level.points  ? LogStart{LogShape::kPoint, "POINT"}
                          : level.lines ? LogStart{LogShape::kLine, "Line"}
                                        : LogStart{LogShape::kPolygon, "Poly"};
    const std::string question =
        base::format("Start Logging GPS %s\nFor %s File?", shapeName(only.shape), level.levelName.c_str());
    if (!yes(host, question, "Start GPS Data Logging")) return std::nullopt;
    return only;
  }
  StartController controller(host, level);
  if (host.runForm(startForm(level), controller) != 1) return std::nullopt;
  return controller.chosen;
}

RunningChoice chooseWhileLogging(ui::Host& host, const LevelLogging& level, LogShape running, int record) {
  if (!level.points) return askStopLogging(host, running, level.levelName) ? RunningChoice::StopLog : RunningChoice::None;
  ChoicesController controller;
  if (host.runForm(choicesForm(level, running, record), controller) != 1) return RunningChoice::None;
  if (controller.picked == kLogPointButton) return RunningChoice::LogPoint;
  return askStopLogging(host, running, level.levelName) ? RunningChoice::StopLog : RunningChoice::None;
}

bool askStopLogging(ui::Host& host, LogShape running, const std::string& levelName) {
  return yes(host, stopQuestion(running, levelName), kStopCaption);
}

ExistingFile askExistingFile(ui::Host& host, LogShape shape, const std::string& levelName) {
  const std::string text = base::format(
      "GPS %s File Exists\n This %s Record\nAppend New Data?\n\nPress Yes to Append\nPress No to Overwrite Old "
      "Data\nPress Cancel to Abort Log Session",
      shapeName(shape), levelName.c_str());
  switch (host.messageBox(text, kStopCaption, ui::kMbYesNoCancel | ui::kMbIconQuestion | ui::kMbTopmost)) {
    case ui::kIdYes: return ExistingFile::Append;
    case ui::kIdNo: return ExistingFile::Overwrite;
    default: return ExistingFile::Abandon;
  }
}

bool askStopBeforeMove(ui::Host& host, MoveAway move, LogShape running, const std::string& levelName) {
  const char* before = "Moving to a Different Line.";
  switch (move) {
    case MoveAway::LeaveDataset: before = "Exiting Dataset."; break;
    case MoveAway::ParentLevel: before = "Moving to a Parent Level."; break;
    case MoveAway::SiblingLevel: before = "Moving to a Sibling Level."; break;
    case MoveAway::OtherLine: break;
  }
  const std::string text =
      std::string("You Must Stop GPS Logging Before\n") + before + "\n\n" + stopQuestion(running, levelName);
  return yes(host, text, kStopCaption);
}

}  // namespace gps
