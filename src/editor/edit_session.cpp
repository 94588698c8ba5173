#include "editor/edit_session.hpp"

#include "apps/app_definition.hpp"
#include "apps/app_open.hpp"
#include "config/process_values.hpp"
#include "config/settings.hpp"
#include "datasets/data_session.hpp"
#include "platform/clock.hpp"
#include "editor/action_keys.hpp"
#include "editor/column_states.hpp"
#include "editor/column_values.hpp"
#include "editor/enter_cell.hpp"
#include "editor/font_fit.hpp"
#include "editor/help_popup.hpp"
#include "editor/line_ops.hpp"
#include "editor/movement.hpp"
#include "editor/screen_draw.hpp"
#include "editor/screen_layout.hpp"
#include "editor/touch_buttons.hpp"
#include "tablestore/table.hpp"
#include "ui/host.hpp"

namespace editor {

namespace {

// The application's screen format: the largest screen the level's columns use.
void screenFormat(const apps::LevelDefinition& def, int& columns, int& rows) {
  columns = 0;
  rows = 0;
  for (int k = 1; k <= def.lastColumn(); ++k) {
    const apps::ColumnDef* d = def.def(k);
    columns = std::max({columns, d->titleColumn() + 1, d->valueColumn() + std::max<int>(d->displayWidth(), def.field(k)->width())});
    rows = std::max({rows, d->titleRow(), d->valueRow()});
  }
  for (int i = 0; i < def.header.screenCount() && i < static_cast<int>(apps::layout::level_header::kMaxScreens); ++i) {
    apps::ScreenDef s = def.header.screen(i);
    rows = std::max({rows, s.promptRow(), s.lastGridRow(), s.lineNumberRow()});
  }
}

}  // namespace

EditSession::EditSession(ui::Host& host, apps::AppContext& ctx, datasets::DataSession& session, EngineHooks& hooks)
    : host_(host), ctx_(ctx), session_(session), hooks_(hooks) {}

EditSession::~EditSession() = default;

void readDisplaySettings(Engine& e, const config::SettingsRecord& s) {
  using R = config::SettingsRecord;
  auto pair = [&](R::ColourItem item) {
    return ColourPair{ui::clampColour(s.itemText(item)), ui::clampColour(s.itemBack(item))};
  };
  e.colours.constant = pair(R::kConstantColours);
  e.colours.prompts = pair(R::kPromptColours);
  e.colours.readOnly = pair(R::kReadOnlyColours);
  e.colours.viewOnly = pair(R::kViewOnlyColours);
  e.productionLevel = std::clamp(s.productionLevel(), 0, 4);
  e.mousePositioning = e.productionLevel >= 1;
}

bool EditSession::startLevel1() {
  Engine& e = *engine_;
  datasets::LevelSlot* slot = session_.level(1);
  apps::LevelDefinition* def = ctx_.app.level(1);
  if (!slot || !slot->table || !def || !openLevelState(e.levels[1], 1, *def, *slot->table)) {
    ui::inform(host_, "Can't Open Level 1 Files", "Error");
    return false;
  }
  e.current = 1;
  LevelState& s = e.level();
  // A new level starts on a line of its own.
  if (s.lineCount() == 0 && !appendLine(e)) {
    ui::inform(host_, "Can't Open Level 1 Files", "Error");
    return false;
  }
  if (!enterLine(e, s.line() >= 1 ? s.line() : 1)) return false;
  clampPosition(e);
  s.header().setRedrawScreen(true);
  return true;
}

EditSession::End EditSession::run(const std::string& title) {
  config::SettingsRecord& settings = ctx_.values.settings;
  keys_.reset();
  engine_ = std::make_unique<Engine>(host_, ctx_, session_, hooks_, screen_, keys_);
  Engine& e = *engine_;
  readDisplaySettings(e, settings);
  e.randomState = static_cast<std::uint32_t>(platform::clock().ticks());

  ui::EditWindowSetup setup;
  setup.title = title;
  setup.productionLevel = e.productionLevel;
  setup.buttons = touchButtons(e.productionLevel, settings.onScreenKeyboard());
  setup.keyboardHelp = [this] {
    Engine& en = *engine_;
    if (en.level().open()) toggleHelpWindow(en, isVirtualDisplay(displayTypeOf(en.level(), en.level().column())));
  };
  setup.actionKeys = [this] {
    if (inActionKeys_) return;
    inActionKeys_ = true;
    runActionKeys(host_, keys_);
    inActionKeys_ = false;
  };
  std::unique_ptr<ui::EditWindow> window = host_.openEditWindow(screen_, keys_, setup);
  if (!window) return End::NoWindow;
  running_ = true;

  apps::LevelDefinition* def1 = ctx_.app.level(1);
  int formatColumns = 0, formatRows = 0;
  if (def1) screenFormat(*def1, formatColumns, formatRows);
  FontFit fit = fitEditFont(host_, *window, settings, formatColumns, formatRows, e.productionLevel);
  if (fit.saveSettings) (void)config::saveSettings(host_, ctx_.values.installRoot, settings, ctx_.values.style.sep);
  if (fit.reformat && def1 && layoutScreens(*def1, fit.layoutRows, fit.layoutColumns)) fit = refitAfterLayout(*window, settings, fit);
  screen_.resize(fit.rows, fit.columns);

  End end = End::Left;
  if (!startLevel1()) {
    end = End::Failed;
  } else {
    while (enterCell(e)) {
    }
    if (e.aborted) end = End::Aborted;
  }
  running_ = false;
  // The definitions outlive the session: the next one starts from the
  // columns' own states, not from what this one's conditions left.
  for (LevelState& s : e.levels) restoreColumnStates(s);
  window.reset();
  engine_.reset();
  return end;
}

}  // namespace editor
