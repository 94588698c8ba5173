#include "serial/sensor_input.hpp"

#include <algorithm>
#include <memory>
#include <string>

#include "apps/app_open.hpp"
#include "apps/level_records.hpp"
#include "base/paths.hpp"
#include "base/text.hpp"
#include "config/process_values.hpp"
#include "config/prompts.hpp"
#include "editor/check_files.hpp"
#include "editor/column_states.hpp"
#include "editor/column_values.hpp"
#include "editor/commands.hpp"
#include "editor/edit_text.hpp"
#include "editor/engine.hpp"
#include "editor/field_formats.hpp"
#include "editor/popup_box.hpp"
#include "editor/auto_fill.hpp"
#include "editor/screen_draw.hpp"
#include "editor/value_checks.hpp"
#include "platform/clock.hpp"
#include "platform/fileops.hpp"
#include "serial/port_layer.hpp"
#include "serial/sensor_terminal.hpp"
#include "serial/sensor_values.hpp"

namespace serial {

namespace {

namespace k = ui::key;

constexpr ui::KeyCode kCtrlP = k::ctrlLetter('p');
constexpr ui::KeyCode kCtrlS = k::ctrlLetter('s');
constexpr ui::KeyCode kCtrlT = k::ctrlLetter('t');
constexpr std::uint32_t kReadWaitMs = 10;
constexpr int kKeyboardWarnTenths = 300;
constexpr std::size_t kListRows = 5;
constexpr int kListWidth = 30;

bool isTerminalKey(ui::KeyCode key) { return key == kCtrlT || key == k::altLetter('t'); }

std::uint64_t now() { return platform::clock().ticks(); }

std::string appFolderOf(const editor::Engine& e) {
  return base::joinPath(e.ctx.values.appPath, e.ctx.values.curAppName, e.ctx.values.style.sep);
}

// Whether the definition's program is a file of the application folder.
bool programExists(const editor::Engine& e, const std::string& name) {
  const std::string path = editor::applicationFilePath(appFolderOf(e), name);
  return !path.empty() && platform::fileExists(path);
}

// The list window of mode 2: the last values received and the prompt.
class ListWindow {
 public:
  explicit ListWindow(ui::Screen& screen)
      : screen_(screen), box_(screen, linesOf({}), kListWidth) {}
  void show(const std::vector<std::string>& rows) {
    if (!box_.shown()) return;
    for (std::size_t i = 0; i < kListRows; ++i) {
      screen_.gotoCell(box_.top() + 1 + static_cast<int>(i), box_.left());
      screen_.putText(editor::fitToWidth(i < rows.size() ? rows[i] : std::string(), box_.width()));
    }
  }

 private:
  static std::vector<std::string> linesOf(const std::vector<std::string>& rows) {
    std::vector<std::string> lines{kSensorListTitle};
    for (std::size_t i = 0; i < kListRows; ++i) lines.push_back(i < rows.size() ? rows[i] : std::string());
    lines.emplace_back(kSensorListPrompt);
    return lines;
  }
  ui::Screen& screen_;
  editor::PopupBox box_;
};

// The level being edited, for a session that is only read.
const editor::LevelState& levelOf(const editor::Engine& e) {
  static const editor::LevelState kNone;
  return e.current >= 1 && e.current < static_cast<int>(e.levels.size()) ? e.levels[static_cast<std::size_t>(e.current)]
                                                                         : kNone;
}

editor::CellSpot spotOf(const editor::Engine& e, int col) {
  const editor::CellPlace p = editor::cellPlace(e, levelOf(e), col);
  return {p.row, p.col, p.width};
}

// Shows text in the sensor cell as the field editors show their cell.
void showInCell(editor::Engine& e, int col, const std::string& text) {
  const editor::CellSpot spot = spotOf(e, col);
  const int width = e.level().fields[static_cast<std::size_t>(col)].width;
  editor::drawEditedCell(e.field, spot, text, editor::shownWidthOf(spot, width), 0);
}

}  // namespace

const apps::SerialDef* sensorDefOf(const editor::Engine& e, int col) {
  const editor::LevelState& s = levelOf(e);
  if (!s.open() || col < 1 || col > s.columnCount()) return nullptr;
  const apps::ColumnCheck* c = s.def->check(col);
  if (!c || c->fieldType() != editor::kTypeSensor) return nullptr;
  // Entry 0 of the level's serial definitions is never used.
  const int index = c->serialIndex();
  return index >= 1 ? s.def->serialDef(index) : nullptr;
}

SensorInput::SensorInput(PortLayer& ports) : ports_(ports) {}

int SensorInput::sensorPortOf(const editor::Engine& e) const {
  const apps::SerialDef* def = sensorDefOf(e, levelOf(e).column());
  return def ? def->port() : 0;
}

void SensorInput::clearHeld() {
  line_.clear();
  value_.clear();
  shown_.clear();
  tokens_.clear();
}

int SensorInput::openSensorPort(editor::Engine& e, int col) {
  const apps::SerialDef* def = sensorDefOf(e, col);
  if (!def) return 1;
  const int port = def->port();
  if (!ports_.isOpen(port)) {
    int opened = 0;
    {
      editor::PopupBox box(e.screen, {kOpeningPortLine, kPleaseWaitLine});
      const std::uint32_t baud = def->baud() > 0 ? static_cast<std::uint32_t>(def->baud()) : 0;
      opened = ports_.Port_Open(port, baud, parityLetter(def->parity()), def->dataBits(), def->stopBits(),
                                terminatorOf(def->terminator()), def->flow(), kClassGeneral);
    }
    if (opened != 1) {
      (void)config::warn3(e.host, kKeyboardLine1, kKeyboardLine2, kKeyboardLine3, kKeyboardWarnTenths, false,
                          false);
      // Keyed from now on; the untouched copy too, so that no re-evaluation
      // of the column states turns it back while the level stays open.
      editor::LevelState& s = e.level();
      s.def->checks[static_cast<std::size_t>(col)].setFieldType(editor::kTypeGeneral);
      if (static_cast<std::size_t>(col) < s.untouched.size())
        s.untouched[static_cast<std::size_t>(col)].setFieldType(editor::kTypeGeneral);
      return 1;
    }
  }
  clearHeld();
  return 0;
}

void SensorInput::sendRequest(const apps::SerialDef& def) {
  std::string text = def.request();
  text.push_back(static_cast<char>(terminatorOf(def.terminator())));
  (void)ports_.queueSend(def.port(), text);
}

void SensorInput::sendBox(editor::Engine& e, int port) {
  std::string buffer(kSendChars, ' ');
  ui::KeyCode key = 0;
  {
    editor::PopupBox box(e.screen, {kSendPrompt, std::string()}, kSendChars);
    if (!box.shown()) return;
    editor::FieldOptions opts;
    opts.width = kSendChars;
    const editor::CellSpot spot{box.top() + 1, box.left(), kSendChars};
    bool changed = false;
    do {
      key = editor::editText(e.field, spot, opts, buffer, changed);
    } while (key != k::kEnter && key != k::kEscape && key != k::kAbort);
  }
  if (key != k::kEnter) return;
  std::string text = base::trimRight(buffer);
  // An empty entry sends CR alone; a text goes with CR LF.
  text += text.empty() ? "\r" : "\r\n";
  (void)ports_.queueSend(port, text);
}

SensorInput::Taken SensorInput::takeLine(editor::Engine& e, const apps::SerialDef& def, std::string line,
                                         bool upperCase) {
  if (upperCase) line = upperAscii(line);
  if (!linePasses(def.matchKind(), def.matchPos(), def.matchText(), line)) return Taken::Ignored;
  CutValue cut = cutValue(cutRulesOf(def), line);
  const std::string program = base::trimRight(def.program());
  if (!program.empty() && programExists(e, program)) {
    apps::LevelHeader& h = e.level().header();
    h.setStateText(cut.value);
    const editor::ProgramResult r = e.hooks.runProgram(e, editor::ProgramUse::General, program);
    if (r.ran && !r.failed && r.value == 0) {
      clearHeld();
      return Taken::Ignored;
    }
    if (r.ran && !r.failed) {
      const bool shownIsValue = cut.shown == cut.value;
      cut.value = h.stateText().substr(0, kValueChars);
      if (shownIsValue) cut.shown = cut.value;
    }
  }
  line_ = std::move(line);
  value_ = std::move(cut.value);
  shown_ = std::move(cut.shown);
  tokens_ = std::move(cut.tokens);
  return Taken::Held;
}

bool SensorInput::storeValue(editor::Engine& e, int col) {
  editor::LevelState& s = e.level();
  const editor::FieldDesc& f = s.fields[static_cast<std::size_t>(col)];
  std::string text = value_;
  // A text column takes what fits; a number is formatted to its field.
  if (f.type != 'N' && text.size() > static_cast<std::size_t>(std::max(f.width, 0)))
    text.resize(static_cast<std::size_t>(std::max(f.width, 0)));
  if (!editor::acceptValue(e, col, text)) return false;
  e.host.beep();
  e.host.beep();
  return true;
}

int SensorInput::spreadSensorValues(editor::Engine& e, int col) {
  const apps::SerialDef* def = sensorDefOf(e, col);
  if (!def || !def->multiColumn()) return 0;
  editor::LevelState& s = e.level();
  apps::LevelHeader& h = s.header();
  struct Target {
    int col;
    std::string text;
  };
  std::vector<Target> targets;
  const int n = targetCountOf(def->targetCount());
  for (int i = 0; i < n; ++i) {
    const int t = def->targetColumn(i);
    if (t < 1 || t > s.columnCount() || !s.def->check(t)) continue;  // not a column of this level
    std::string text = targetText(tokens_, def->targetToken(i), def->join(), def->targetSuffix(i));
    const editor::FieldDesc& f = s.fields[static_cast<std::size_t>(t)];
    if (f.type != 'N' && text.size() > static_cast<std::size_t>(std::max(f.width, 0)))
      text.resize(static_cast<std::size_t>(std::max(f.width, 0)));
    targets.push_back({t, std::move(text)});
  }
  if (targets.empty()) return 0;
  const int home = h.curColumn();
  if (def->validateEach()) {
    for (Target& t : targets) {
      h.setCurColumn(t.col);
      const apps::ColumnCheck* c = s.def->check(t.col);
      if (!editor::standardChecks(e, t.col, t.text) || (c->unique() && !editor::uniqueCheck(e, t.col, t.text))) {
        h.setCurColumn(home);
        return 0;
      }
    }
  }
  // All or nothing: a number that does not fit its field puts the record back.
  const std::string before = s.editBuffer;
  std::vector<std::string> previous;
  for (const Target& t : targets) previous.push_back(editor::currentText(s, t.col));
  for (std::size_t i = 0; i < targets.size(); ++i) {
    if (editor::writeColumnText(s, targets[i].col, targets[i].text)) continue;
    for (std::size_t j = 0; j < i; ++j) (void)editor::writeColumnText(s, targets[j].col, previous[j]);
    for (std::size_t j = 0; j < i; ++j) editor::refreshColumnValue(s, targets[j].col);
    h.setCurColumn(home);
    e.host.beep();
    return 0;
  }
  for (const Target& t : targets) {
    editor::refreshColumnValue(s, t.col);
    editor::drawCell(e, t.col);
  }
  (void)editor::evaluateColumnStates(e);
  if (!editor::storeLineNow(s)) {
    h.setCurColumn(home);
    return 0;
  }
  e.host.beep();
  h.setCurColumn(targets.back().col);
  return 1;
}

ui::KeyCode SensorInput::sensorInput(editor::Engine& e, int col, ui::KeyCode key) {
  const apps::SerialDef* def = sensorDefOf(e, col);
  if (!def) return 0;
  if (key == 0) {
    const apps::ColumnCheck* c = e.level().def->check(col);
    return sensorFieldEdit(e, col, 0, c && c->upperCase());
  }
  if (!isTerminalKey(key) || openSensorPort(e, col) != 0) return 0;
  const ui::KeyCode left = runTerminal(e.host, e.screen, e.keys, ports_, def->port());
  clearHeld();
  editor::drawScreen(e);
  editor::drawPromptRow(e, col);
  editor::drawCurrentLine(e);
  if (def->closePort()) (void)ports_.closePort(def->port());
  return left == k::kAbort ? left : key;
}

ui::KeyCode SensorInput::sensorFieldEdit(editor::Engine& e, int col, ui::KeyCode key, bool upperCase) {
  const apps::SerialDef* def = sensorDefOf(e, col);
  if (!def) return 0;
  editor::LevelState& s = e.level();
  showInCell(e, col, editor::currentText(s, col));
  if (openSensorPort(e, col) != 0) return 0;
  const int port = def->port();
  const int mode = def->mode();
  std::unique_ptr<ListWindow> list;
  listRows_.clear();
  if (mode == kModeList) list = std::make_unique<ListWindow>(e.screen);

  auto redraw = [&] {
    if (list) list->show(listRows_);
    showInCell(e, col, mode == kModeList && !def->multiColumn() && !value_.empty()
                           ? shownInField(value_, s.fields[static_cast<std::size_t>(col)].width)
                           : editor::currentText(s, col));
  };
  // Every way out: the list window goes first (so the stored cell is drawn
  // over the screen it covered), the port closes when the definition says so.
  auto finish = [&](ui::KeyCode end) {
    list.reset();
    if (def->closePort()) (void)ports_.closePort(port);
    if (end == k::kEnter) {
      clearHeld();
      editor::drawCell(e, col);
    }
    return end;
  };

  bool polling = false;
  std::uint64_t nextPoll = 0;
  if (mode == kModePoll && s.header().columnValue(col) == 0) {
    sendRequest(*def);
    polling = true;
    nextPoll = now() + kPollMs;
  }
  e.keys.clear();
  if (key != 0) (void)e.keys.push(key);

  int shownError = 0;
  for (;;) {
    if (e.keys.aborted()) return finish(k::kAbort);
    if (e.keys.count() == 0) {
      // A port that fails (the instrument unplugged or switched off) says so
      // once; the crew can leave the cell and key the value meanwhile.
      if (const int error = ports_.lastErrorNumber(port); error != 0 && error != shownError) {
        shownError = error;
        (void)config::warn(e.host, "Com" + std::to_string(port) + " " + ports_.lastError(port), kPortErrorLine,
                           kPortErrorTenths, false, false);
        redraw();
      }
      if (polling && value_.empty() && now() >= nextPoll) {
        sendRequest(*def);
        nextPoll = now() + kPollMs;
      }
      std::string got;
      if (ports_.readMessage(port, got, kLineBuffer, kReadWaitMs, false, &e.keys) > 0 &&
          takeLine(e, *def, got, upperCase) == Taken::Held) {
        if (mode != kModeList) {
          // Used at once; a value that the checks refuse (or an empty one) is
          // dropped and the editor waits for the next reading.
          if (def->multiColumn() ? spreadSensorValues(e, col) == 1 : !value_.empty() && storeValue(e, col))
            return finish(k::kEnter);
          clearHeld();
        } else {
          listRows_.push_back(shown_);
          if (listRows_.size() > kListRows) listRows_.erase(listRows_.begin());
          redraw();
        }
      }
      e.host.pump();
      continue;
    }

    const ui::KeyCode got = e.keys.take();
    if (got == k::kAbort || got == k::kMouseClick) return finish(got);
    if (got == k::kEnter) {
      const bool held = def->multiColumn() ? !tokens_.empty() : !value_.empty();
      if (mode == kModeList && held &&
          (def->multiColumn() ? spreadSensorValues(e, col) == 1 : storeValue(e, col)))
        return finish(k::kEnter);
      continue;  // nothing to store: keep waiting
    }
    if (got == kCtrlP || got == k::altLetter('p')) {
      if (mode == kModePoll) {
        value_.clear();
        polling = true;
        nextPoll = now() + kPollMs;
      }
      if (mode == kModePoll || mode == kModeRequest) sendRequest(*def);
      continue;
    }
    if (got == kCtrlS || got == k::altLetter('s')) {
      sendBox(e, port);
      redraw();
      continue;
    }
    if (isTerminalKey(got)) {
      list.reset();
      const ui::KeyCode left = runTerminal(e.host, e.screen, e.keys, ports_, port);
      clearHeld();
      editor::drawScreen(e);
      editor::drawPromptRow(e, col);
      editor::drawCurrentLine(e);
      if (left == k::kAbort) return finish(left);
      if (mode == kModeList) list = std::make_unique<ListWindow>(e.screen);
      redraw();
      continue;
    }
    if (got == k::kRefresh) {
      redraw();
      continue;
    }
    if (editor::commandOf(got) != editor::Command::None) {
      e.keys.clear();
      return finish(got);
    }
    // Any other key is no command here.
  }
}

}  // namespace serial
