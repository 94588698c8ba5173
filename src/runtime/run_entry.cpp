#include "runtime/run_entry.hpp"

#include "config/prompts.hpp"
#include "editor/engine.hpp"
#include "runtime/interpreter.hpp"
#include "runtime/program_port.hpp"
#include "runtime/program_tables.hpp"
#include "runtime/run_errors.hpp"
#include "ui/screen.hpp"

namespace runtime {

namespace {

constexpr const char* kRunErrorLine = "runtime error";

ui::Host* hostOf(const RunContext& ctx) {
  if (ctx.host != nullptr) return ctx.host;
  return ctx.engine != nullptr ? &ctx.engine->host : nullptr;
}

// The warning box: acknowledged by the user, as the program lists' failures are.
void warnRun(const RunContext& ctx, const std::string& firstLine, const std::string& fileName, int code) {
  if (ui::Host* host = hostOf(ctx))
    (void)config::warn3(*host, firstLine, fileName, runErrorText(code), 0, false, false);
}

// What a program may change on the display and must find as it was after:
// the current colours and the cursor (position, shown flag, shape).
class DisplayState {
 public:
  explicit DisplayState(ui::Screen* screen) : screen_(screen) {
    if (screen_ == nullptr) return;
    text_ = screen_->textColour();
    back_ = screen_->backColour();
    cursor_ = screen_->cursor();
  }
  void restore() {
    if (screen_ == nullptr) return;
    screen_->setTextColour(text_);
    screen_->setBackColour(back_);
    if (cursor_.row >= 1 && cursor_.col >= 1) screen_->gotoCell(cursor_.row, cursor_.col);
    screen_->suspendCursor(cursor_.suspended);
    screen_->setInsertCursor(cursor_.insert);
  }

 private:
  ui::Screen* screen_;
  int text_ = 0, back_ = 0;
  ui::CursorShape cursor_;
};

}  // namespace

editor::ProgramResult Runtime::run(editor::ProgramUse use, const std::string& fileName, RunContext& ctx) {
  editor::ProgramResult result;
  if (machine_.running) {
    // Loading now could replace the code of the program that is running.
    warnRun(ctx, kRunErrorLine, fileName, kErrCantProcess);
    result.ran = true;
    result.failed = true;
    return result;
  }

  ProgramImage* image = nullptr;
  std::string firstLine;
  if (const int code = slots_.load(use, ctx.appFolder, fileName, image, firstLine); code != 0) {
    warnRun(ctx, firstLine, fileName, code);
    return result;  // not ran
  }

  ctx.fileName = fileName;
  DisplayState display(ctx.engine != nullptr ? &ctx.engine->screen : nullptr);
  const RunOutcome outcome = execute(machine_, *image, ctx);
  display.restore();
  closeProgramTables(*machine_.tables);
  closeProgramPort(machine_, ctx);
  if (clearPending_) {
    clearPending_ = false;
    slots_.clearMarks();
  }

  if (outcome.error != 0) warnRun(ctx, kRunErrorLine, fileName, outcome.error);
  result.ran = true;
  result.failed = outcome.error != 0;
  result.value = outcome.programValue();
  return result;
}

void Runtime::clearMarks() {
  // A kept image must outlive the run that executes it.
  if (machine_.running) {
    clearPending_ = true;
    return;
  }
  slots_.clearMarks();
}

}  // namespace runtime
