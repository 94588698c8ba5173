#include "support/scripted_host.hpp"

#include <gtest/gtest.h>

namespace testing_support {

ScriptedHost& ScriptedHost::expect(std::string textPart, int answer, std::string caption,
                                   int times) {
  rules_.push_back({std::move(textPart), std::move(caption), answer, times});
  return *this;
}

int ScriptedHost::messageBox(std::string_view text, std::string_view caption, unsigned flags) {
  ShownMessage shown{std::string(text), std::string(caption), flags, 0};
  for (Rule& rule : rules_) {
    if (rule.times == 0) continue;
    if (text.find(rule.textPart) == std::string_view::npos) continue;
    if (!rule.caption.empty() && rule.caption != caption) continue;
    if (rule.times > 0) --rule.times;
    shown.answer = rule.answer;
    shown_.push_back(shown);
    return shown.answer;
  }
  unsigned buttons = flags & ui::kMbButtonMask;
  int fallback = (buttons == ui::kMbYesNo || buttons == ui::kMbYesNoCancel) ? ui::kIdYes : ui::kIdOk;
  if (!allowAnything_) {
    ADD_FAILURE() << "unexpected message box: caption \"" << caption << "\" text \"" << text << "\"";
    fallback = (buttons == ui::kMbOk) ? ui::kIdOk : ui::kIdCancel;
    if (buttons == ui::kMbYesNo) fallback = ui::kIdNo;
  }
  shown.answer = fallback;
  shown_.push_back(shown);
  return fallback;
}

void ScriptedHost::pump() {
  ++pumps_;
  std::deque<std::function<void()>> work;
  {
    std::lock_guard<std::mutex> guard(postLock_);
    work.swap(posted_);
  }
  for (auto& fn : work) fn();
  if (onPump) onPump();
}

void ScriptedHost::post(std::function<void()> fn) {
  std::lock_guard<std::mutex> guard(postLock_);
  posted_.push_back(std::move(fn));
}

ScriptedHost& ScriptedHost::onForm(int resource, FormScript script) {
  formScripts_.emplace_back(resource, std::move(script));
  return *this;
}

int ScriptedHost::runForm(const ui::Form& form, ui::FormController& controller) {
  ui::FormState state(form, controller);
  state.init();
  auto it = formScripts_.begin();
  while (it != formScripts_.end() && it->first != form.resource) ++it;
  if (it == formScripts_.end()) {
    ADD_FAILURE() << "unexpected form " << form.resource << " \"" << form.caption << "\"";
  } else {
    FormScript script = std::move(it->second);
    formScripts_.erase(it);
    if (!state.ended()) script(state);
  }
  if (!state.ended()) state.press(ui::kIdCancelButton);
  if (!state.ended()) state.end(0);
  forms_.push_back({form.resource, form.caption, state.result()});
  return state.result();
}

ScriptedHost& ScriptedHost::onCanvas(CanvasScript script) {
  canvasScripts_.push_back(std::move(script));
  return *this;
}

ui::Host::CanvasOutcome ScriptedHost::runCanvasWindow(const ui::CanvasWindowDesc& desc,
                                                      ui::CanvasController& controller) {
  if (canvasRefused) return {false, canvasRefused, 0};
  canvases_.push_back(desc.title);
  ui::CanvasState state(desc, controller);
  ui::CanvasMetrics first;
  first.width = 640;
  first.height = 480;
  state.resize(first);
  state.open();
  if (canvasScripts_.empty()) {
    ADD_FAILURE() << "unexpected canvas window \"" << desc.title << "\"";
  } else {
    CanvasScript script = std::move(canvasScripts_.front());
    canvasScripts_.pop_front();
    if (!state.ended()) script(state);
  }
  if (!state.ended()) state.key(ui::key::kEscape);
  if (!state.ended()) state.end(0);
  return {true, 0, state.result()};
}

bool ScriptedHost::toggleScrollWindow(const std::string& title, const std::vector<std::string>& lines) {
  if (scrollWindow && scrollWindow->title() == title) {
    scrollWindow.reset();
    return true;
  }
  scrollWindow.emplace(title, lines);
  return true;
}

std::unique_ptr<ui::EditWindow> ScriptedHost::createEditWindow(ui::Screen&, ui::KeyQueue&,
                                                               const ui::EditWindowSetup&) {
  return std::make_unique<ScriptedEditWindow>(*this);
}

bool ScriptedHost::sawText(std::string_view textPart) const { return countText(textPart) > 0; }

int ScriptedHost::countText(std::string_view textPart) const {
  int n = 0;
  for (const auto& m : shown_)
    if (m.text.find(textPart) != std::string::npos) ++n;
  return n;
}

}  // namespace testing_support
