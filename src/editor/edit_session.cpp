#include "editor/edit_session.hpp"

#include "apps/app_definition.hpp"
#include "apps/app_open.hpp"
#include "config/process_values.hpp"
#include "config/settings.hpp"
#include "datasets/data_session.hpp"
#include "platform/clock.hpp"
#include "editor/action_keys.hpp"
#include "editor/auto_entry_menu.hpp"
#include "editor/column_states.hpp"
#include "editor/column_values.hpp"
#include "editor/data_collection.hpp"
#include "editor/font_fit.hpp"
#include "editor/help_popup.hpp"
#include "editor/hierarchy_menu.hpp"
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

void EditSession::openHierarchyMenu() {
  if (!engine_ || !running_ || inMenu_ || !engine_->level().open()) return;
  inMenu_ = true;
  const int id = host_.popupMenu(hierarchyMenu(*engine_));
  inMenu_ = false;
  if (id == 0) return;
  // The move's own key ends the cell being edited as the crew's key would;
  // the entry chosen waits beside it for the move.
  const HierarchyMove move = hierarchyMove(*engine_, id);
  if (move.key == 0 || !keys_.push(move.key)) {
    host_.beep();
    return;
  }
  engine_->change = move.change;
  engine_->changeNumber = move.preselect;
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
  setup.hierarchyMenu = [this] { openHierarchyMenu(); };
  setup.statusLine = [this] { return hooks_.gpsStatusLine(); };
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

  // Child levels are laid out as level 1 was, on the same window.
  LevelLayout layout{fit.reformat, fit.layoutRows, fit.layoutColumns};
  // A menu entry whose key went elsewhere (a warning took it) is forgotten.
  const CollectionEnd ended = collectData(e, layout, [this] {
    Engine& en = *engine_;
    if (!en.level().open() || !en.level().header().leaveLevel()) {
      en.change = Engine::LevelChange::None;
      en.changeNumber = 0;
    }
  });
  End end = ended == CollectionEnd::Failed ? End::Failed : ended == CollectionEnd::Aborted ? End::Aborted : End::Left;
  running_ = false;
  // The definitions outlive the session: the next one starts from the
  // columns' own states, not from what this one's conditions left.
  for (LevelState& s : e.levels) restoreColumnStates(s);
  for (LevelState& s : e.levels) restoreFillKinds(s);
  window.reset();
  engine_.reset();
  return end;
}

}  // namespace editor
