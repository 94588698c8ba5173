#include "gps/gps_logging.hpp"

#include <algorithm>
#include <cmath>

#include "apps/app_definition.hpp"
#include "apps/app_open.hpp"
#include "base/text.hpp"
#include "datasets/data_session.hpp"
#include "editor/auto_fill.hpp"
#include "editor/column_values.hpp"
#include "editor/engine.hpp"
#include "editor/renumber_lines.hpp"
#include "editor/screen_draw.hpp"
#include "gps/averaging_dialog.hpp"
#include "gps/fix_quality.hpp"
#include "gps/log_thread.hpp"
#include "gps/logging_prompts.hpp"
#include "platform/clock.hpp"
#include "platform/fileops.hpp"
#include "tablestore/table_store.hpp"
#include "ui/host.hpp"

namespace gps {

namespace {

constexpr const char* kPointCaption = "GPS Data Logging";

LevelLogging levelOf(const editor::LevelState& s) {
  const apps::LevelBct& bct = s.def->bct;
  LevelLogging l;
  l.levelName = base::trimRight(bct.levelName());
  l.points = bct.gpsPointMode() == 1 || bct.gpsPointMode() == 2;
  l.lines = bct.gpsLines();
  l.polygons = bct.gpsPolygons();
  return l;
}

bool ask(ui::Host& host, const std::string& text, const char* caption) {
  return host.messageBox(text, caption, ui::kMbYesNo | ui::kMbIconQuestion | ui::kMbTopmost) == ui::kIdYes;
}

}  // namespace

GpsLogging::GpsLogging(ui::Host& host, std::function<bool()> gpsEnabled, GpsState& state, std::string installRoot,
                       char sep)
    : host_(host), gpsEnabled_(std::move(gpsEnabled)), state_(state), installRoot_(std::move(installRoot)), sep_(sep) {}

GpsLogging::~GpsLogging() { stop(); }

bool GpsLogging::logging() const { return thread_ && thread_->running(); }

std::string GpsLogging::message() const {
  constexpr std::uint64_t kPointMessageMs = 10000;
  if (!logging()) {
    if (pointLogged_ == 0 || platform::clock().ticks() - pointLogged_ > kPointMessageMs) return {};
    return "Point Position logged:";
  }
  std::lock_guard<std::mutex> hold(*messageLock_);
  return *message_;
}

void GpsLogging::setMessage(const std::string& text) {
  std::lock_guard<std::mutex> hold(*messageLock_);
  *message_ = text;
}

void GpsLogging::stopAll() { stop(); }

void GpsLogging::stop() {
  if (thread_) thread_->stop();
  thread_.reset();
  logLevel_ = 0;
}

bool GpsLogging::toggle(editor::Engine& e) {
  if (!gpsEnabled_ || !gpsEnabled_()) {
    (void)ui::inform(host_, "Must Enable GPS First", "");
    return true;
  }
  editor::LevelState& s = e.level();
  if (!s.open() || s.line() < 1) {
    host_.beep();
    return true;
  }
  const LevelLogging level = levelOf(s);
  if (logging()) {
    switch (chooseWhileLogging(host_, {logLevelName_, level.points, false, false}, logShape_, s.line())) {
      case RunningChoice::StopLog: stop(); break;
      case RunningChoice::LogPoint: (void)logPoint(e, level); break;
      case RunningChoice::None: break;
    }
    return true;
  }
  const std::optional<LogStart> start = chooseLogStart(host_, level);
  if (!start) return true;
  if (start->shape == LogShape::kPoint)
    (void)logPoint(e, level);
  else
    (void)startLog(e, level, start->shape, start->fType);
  return true;
}

std::string GpsLogging::fileFor(editor::Engine& e, LogShape shape, std::vector<std::string>& keys) const {
  const datasets::LevelSlot* slot = e.session.level(e.current);
  if (slot == nullptr || slot->fileName.empty() || slot->path.size() < slot->fileName.size()) return {};
  datasets::RawName table;
  if (!datasets::parseRawName(slot->fileName, table)) return {};
  keys = editor::lineKeys(e.level());
  std::string name;
  if (!coordinateFileName(table, keys, levelOf(e.level()).levelName, shape, name)) return {};
  // Beside the level's data file.
  return slot->path.substr(0, slot->path.size() - slot->fileName.size()) + name;
}

bool GpsLogging::logPoint(editor::Engine& e, const LevelLogging& level) {
  editor::LevelState& s = e.level();
  const apps::LevelBct& bct = s.def->bct;
  const int mode = bct.gpsPointMode();
  std::vector<std::string> keys;
  std::string path;
  if (mode == 1) {
    const bool stored = !base::trim(editor::currentText(s, bct.gpsLatColumn())).empty() ||
                        !base::trim(editor::currentText(s, bct.gpsLonColumn())).empty();
    if (stored && !ask(host_, base::format("GPS Point Exists\nFor This %s Record\nOverwrite With New Data?",
                                           level.levelName.c_str()),
                       kPointCaption))
      return false;
  } else if (mode == 2) {
    path = fileFor(e, LogShape::kPoint, keys);
    if (path.empty()) {
      (void)ui::inform(host_, "GPS Point File Name Not Valid\nFor This Record", "GPS Log Error");
      return false;
    }
    if (platform::fileExists(path)) {
      if (!ask(host_, base::format("GPS Point File Exists\nFor This %s Record\nOverwrite With New Data?",
                                   level.levelName.c_str()),
               kPointCaption))
        return false;
      (void)platform::deleteFile(path);
    }
  } else {
    return false;
  }

  GpsData fix = state_.snapshot();
  if (bct.gpsAverageCount() != 0) {
    AveragedPoint average;
    if (averagingDialog(host_, installRoot_, sep_, state_, e.ctx.app.appCtl(), bct.gpsAverageCount(),
                        bct.gpsAllowUnfinished(), average) != 1)
      return false;
    fix.position.latitude = average.latitude;
    fix.position.longitude = average.longitude;
    fix.position.heightEllipsoid = average.heightEllipsoid;
  } else if (!fix.position.valid) {
    // The state holds the receiver's fixed start position or an old one.
    (void)ui::inform(host_, "No Valid GPS Position\nWait For A Fix", "GPS Data Logging");
    return false;
  }

  if (mode == 1) {
    bool written = true;
    const double values[] = {fix.position.latitude, fix.position.longitude, fix.position.heightEllipsoid};
    const int columns[] = {bct.gpsLatColumn(), bct.gpsLonColumn(), bct.gpsElevColumn()};
    for (int i = 0; i < 3; ++i)
      if (columns[i] != 0) written = editor::writeColumnNumber(s, columns[i], values[i]) && written;
    if (!editor::storeLineNow(s)) written = false;
    editor::drawCurrentLine(e);
    if (!written) {
      host_.beep();
      return false;
    }
  } else {
    tablestore::TableStore own;
    int count = 0;
    if (!appendPosition(own, path, e.current, keys, fix, "POINT", count)) {
      (void)ui::inform(host_, "GPS Point Not Stored\nThe Coordinate File Can't Be Written", "GPS Log Error");
      return false;
    }
  }
  pointLogged_ = std::max<std::uint64_t>(platform::clock().ticks(), 1);
  host_.beep();
  return true;
}

bool GpsLogging::startLog(editor::Engine& e, const LevelLogging& level, LogShape shape, const std::string& fType) {
  std::vector<std::string> keys;
  const std::string path = fileFor(e, shape, keys);
  if (path.empty()) {
    (void)ui::inform(host_, "GPS Log File Name Not Valid\nFor This Record", "GPS Log Error");
    return false;
  }
  if (platform::fileExists(path)) {
    switch (askExistingFile(host_, shape, level.levelName)) {
      case ExistingFile::Abandon: return false;
      case ExistingFile::Overwrite: (void)platform::deleteFile(path); break;
      case ExistingFile::Append: break;
    }
  }
  const apps::LevelBct& bct = e.level().def->bct;
  const GpsParms parms = state_.snapshot().parms;
  // The limits are fixed when the log starts.
  const LogLimits limits = loggingLimits(e.ctx.app.appCtl(), parms);
  LogRequest request;
  request.shape = shape;
  request.interval = shape == LogShape::kLine ? bct.gpsLineInterval() : bct.gpsPolygonInterval();
  request.acceptance = [limits](const GpsData& f) { return acceptFix(limits, f); };
  request.path = path;
  request.level = e.current;
  request.keys = keys;
  request.levelName = level.levelName;
  request.fType = fType;
  request.recordingInterval = parms.recordingInterval();
  std::shared_ptr<std::mutex> lock = messageLock_;
  std::shared_ptr<std::string> message = message_;
  request.message = [lock, message](const std::string& text) {
    std::lock_guard<std::mutex> hold(*lock);
    *message = text;
  };
  auto thread = std::make_unique<LogThread>();
  if (!thread->start(state_, std::move(request))) return false;
  thread_ = std::move(thread);
  logLevel_ = e.current;
  logShape_ = shape;
  logLevelName_ = level.levelName;
  setMessage(base::format("%s:%s Positions logged:0", level.levelName.c_str(), fType.c_str()));
  return true;
}

bool GpsLogging::lineMoveAllowed(editor::Engine& e, editor::LineMove move) {
  if (!logging() || e.current > logLevel_ || move == editor::LineMove::ChildLevel) return true;
  MoveAway away = MoveAway::OtherLine;
  if (move == editor::LineMove::SiblingLevel) away = MoveAway::SiblingLevel;
  if (move == editor::LineMove::ParentLevel) away = e.current == 1 ? MoveAway::LeaveDataset : MoveAway::ParentLevel;
  if (!askStopBeforeMove(host_, away, logShape_, logLevelName_)) return false;
  stop();
  return true;
}

}  // namespace gps
