#pragma once
// A ui::Host for tests: answers message boxes from rules given by the test
// (matched on text and caption), records everything shown, and fails the
// running test on a message no rule expects. Its edit window is a 25 × 80
// cell grid with no pixels: tests read the Screen and feed the KeyQueue.
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "ui/edit_window.hpp"
#include "ui/form_state.hpp"
#include "ui/host.hpp"
#include "ui/scroll_view.hpp"

namespace testing_support {

// The edit window of the scripted host: cell-based, 25 rows of 80 columns.
class ScriptedEditWindow : public ui::EditWindow {
 public:
  explicit ScriptedEditWindow(ui::Host& host) : ui::EditWindow(host) {}
  bool cellBased() const override { return true; }
  int cellRows() const override { return 25; }
  int cellColumns() const override { return 80; }
  int clientWidth() const override { return 80; }
  int clientHeight() const override { return 25; }
  ui::FontMetrics useFont(const ui::FontRequest&) override { return {1, 0, 1}; }
  void setCellGeometry(const ui::CellGeometry&) override {}
  void focus() override {}
};

struct ShownMessage {
  std::string text;
  std::string caption;
  unsigned flags = 0;
  int answer = 0;
};

class ScriptedHost : public ui::Host {
 public:
  // Answers every box whose text contains textPart (and whose caption equals
  // caption, when one is given) with answer. times < 0: any number of times;
  // otherwise the rule is used up after that many matches. Rules are tried in
  // the order they were given.
  ScriptedHost& expect(std::string textPart, int answer = ui::kIdOk, std::string caption = {},
                       int times = -1);
  ScriptedHost& expectOnce(std::string textPart, int answer = ui::kIdOk, std::string caption = {}) {
    return expect(std::move(textPart), answer, std::move(caption), 1);
  }
  // Lets any box through with OK / Yes answers instead of failing the test.
  void allowAnything(bool on = true) { allowAnything_ = on; }

  // Plays the user's part in the next form with that resource number: the
  // script works the form through the state (type, press, select ...). A
  // form the script leaves open is cancelled; a form without a script fails
  // the test. Scripts are used once each, in the order given.
  using FormScript = std::function<void(ui::FormState&)>;
  ScriptedHost& onForm(int resource, FormScript script);
  // Every form shown, with what it ended with.
  struct ShownForm {
    int resource;
    std::string caption;
    int result;
  };
  const std::vector<ShownForm>& forms() const { return forms_; }

  // Plays the user's part in the next canvas window: the script sizes it,
  // ticks, chooses commands and presses keys through the state, and reads
  // what it draws. A window the script leaves open is closed with Escape;
  // a window without a script fails the test. canvasRefused makes every
  // canvas window fail to open with that error.
  using CanvasScript = std::function<void(ui::CanvasState&)>;
  ScriptedHost& onCanvas(CanvasScript script);
  int canvasRefused = 0;
  // Titles of the canvas windows shown.
  const std::vector<std::string>& canvases() const { return canvases_; }
  CanvasOutcome runCanvasWindow(const ui::CanvasWindowDesc& desc, ui::CanvasController& controller) override;

  int messageBox(std::string_view text, std::string_view caption, unsigned flags) override;
  void pump() override;
  void post(std::function<void()> fn) override;
  void beep() override { ++beeps_; }
  int runForm(const ui::Form& form, ui::FormController& controller) override;
  bool toggleScrollWindow(const std::string& title, const std::vector<std::string>& lines) override;
  int scrollWindowColumns() override { return scrollColumns; }
  bool mainWindowHasFocus() override { return hasFocus; }

  // The scroll window, when one is open.
  std::optional<ui::ScrollView> scrollWindow;
  int scrollColumns = 80;
  bool hasFocus = true;

  const std::vector<ShownMessage>& shown() const { return shown_; }
  // True when a box whose text contains textPart was shown.
  bool sawText(std::string_view textPart) const;
  int countText(std::string_view textPart) const;
  int beeps() const { return beeps_; }
  int pumps() const { return pumps_; }
  void clearShown() { shown_.clear(); }
  // Called at each pump (tests use it to act while a modal loop waits).
  std::function<void()> onPump;

 protected:
  std::unique_ptr<ui::EditWindow> createEditWindow(ui::Screen& screen, ui::KeyQueue& keys,
                                                   const ui::EditWindowSetup& setup) override;

 private:
  struct Rule {
    std::string textPart, caption;
    int answer, times;
  };
  std::vector<Rule> rules_;
  std::deque<std::pair<int, FormScript>> formScripts_;
  std::vector<ShownForm> forms_;
  std::deque<CanvasScript> canvasScripts_;
  std::vector<std::string> canvases_;
  std::vector<ShownMessage> shown_;
  std::mutex postLock_;
  std::deque<std::function<void()>> posted_;
  bool allowAnything_ = false;
  int beeps_ = 0, pumps_ = 0;
};

}  // namespace testing_support
