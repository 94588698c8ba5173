#include "editor/check_or_ask.hpp"

#include "base/text.hpp"
#include "config/prompts.hpp"
#include "editor/check_value.hpp"
#include "tablestore/number_text.hpp"
#include "ui/host.hpp"
#include "ui/keys.hpp"

namespace editor {

namespace {

bool zeroRefusedWithoutOverride(int checkType) { return checkType == 1 || (checkType >= 4 && checkType <= 9); }

}  // namespace

bool useAnyway(Engine& e, std::string_view message, std::string_view fileName) {
  bool yes = false;
  if (e.productionLevel <= 2) {
    yes = config::askLetter(e.host, {"< Warning ! >", std::string(message), std::string(fileName), "Use Data",
                                     "Anyway? (Y/N)"},
                            'Y', 'N') == 1;
  } else {
    std::string text = std::string(message) + "\n" + std::string(fileName) + "\nUse Data Anyway? (Y/N)\n";
    yes = ui::askYesNo(e.host, text, "Warning !") == ui::kIdYes;
  }
  e.level().header().setExitKey(yes ? ui::key::kEnter : 0);
  return yes;
}

bool checkOrAsk(Engine& e, int k, std::string& text) {
  const std::string typed = text;
  const CheckResult r = checkValue(e, k, text);
  if (r == CheckResult::kAccepted) return true;
  if (r == CheckResult::kRefusedWithoutPrompt) return false;
  LevelState& s = e.level();
  const apps::ColumnCheck* c = s.def ? s.def->check(k) : nullptr;
  if (c == nullptr || !c->overrideAllowed()) {
    e.host.beep();
    return false;
  }
  if (!c->overrideEmpty()) {
    const bool blank = base::trim(typed).empty();
    if (blank || (zeroRefusedWithoutOverride(c->checkType()) && tablestore::parseNumber(typed) == 0)) {
      e.host.beep();
      return false;
    }
  }
  if (ui::askYesNo(e.host, "Data Out of Range\nUse Anyway  (Y/N)\n", "Warning !") == ui::kIdYes) {
    text = typed;
    return true;
  }
  s.header().setRedrawScreen(true);
  return false;
}

}  // namespace editor
