#include "runtime/printer_output.hpp"

#include <algorithm>
#include <memory>

#include "base/text.hpp"
#include "config/prompts.hpp"
#include "editor/engine.hpp"
#include "editor/field_context.hpp"
#include "editor/popup_box.hpp"
#include "platform/clock.hpp"
#include "runtime/program_port.hpp"
#include "runtime/run_errors.hpp"
#include "runtime/session_access.hpp"
#include "ui/host.hpp"

namespace runtime {

namespace {

namespace k = ui::key;

constexpr std::uint32_t kPollMs = 25;
constexpr int kAbortedTenths = 150;  // "Printing Aborted !" stays up 1.5 s
constexpr std::string_view kLineEnd = "\r\n";

enum class Wait { Ready, Escaped, NoPort, SessionEnds };

ui::Host* hostOf(Call& c) { return c.ctx.engine ? &c.ctx.engine->host : c.ctx.host; }

// Takes every waiting key: Escape asks for the printing to be aborted, the
// abort code for the session to end.
Wait drainKeys(Call& c) {
  if (!c.ctx.engine) return Wait::Ready;
  Wait w = Wait::Ready;
  for (ui::KeyCode key; (key = c.ctx.engine->keys.take()) != 0;) {
    if (key == k::kAbort) return Wait::SessionEnds;
    if (key == k::kEscape) w = Wait::Escaped;
  }
  return w;
}

// Waits until the port has sent what was queued before; the "< Wait >" box
// stands while it has not.
Wait waitForPort(Call& c) {
  std::unique_ptr<editor::PopupBox> box;
  for (;;) {
    const Wait keys = drainKeys(c);
    if (keys != Wait::Ready) return keys;
    ProgramPorts* ports = c.ctx.ports;
    if (!ports || !ports->printerOpen()) {
      box.reset();
      c.setStatus(kErrPrinterNotOpen);
      if (ui::Host* host = hostOf(c)) config::warn(*host, "Printer Port", "No Port Connection Set", 0, false, false);
      return Wait::NoPort;
    }
    if (ports->pendingSend() == 0) return Wait::Ready;
    if (!box && c.ctx.engine)
      box = std::make_unique<editor::PopupBox>(
          c.ctx.engine->screen,
          std::vector<std::string>{"< Wait >", "Data Pending", "Waiting on Printer", "< Escape to Abort >"});
    if (ui::Host* host = hostOf(c)) host->pump();
    platform::clock().sleep(kPollMs);
  }
}

enum class Go { On, Skip, Stop };

// After a wait: go on, skip this text (the crew chose not to abort), or stop
// (no port, printing aborted, session ending).
Go afterWait(Call& c, Wait w) {
  switch (w) {
    case Wait::Ready: return Go::On;
    case Wait::NoPort: return Go::Stop;
    case Wait::SessionEnds:
      if (c.ctx.engine) endForAbort(c, *c.ctx.engine);
      return Go::Stop;
    case Wait::Escaped: break;
  }
  ui::Host* host = hostOf(c);
  const int answer = host ? config::askLetter(*host, {"Abort Printing Y/N"}, 'y', 'n') : 1;
  if (answer == 0) {
    if (c.ctx.engine && c.ctx.engine->keys.aborted()) endForAbort(c, *c.ctx.engine);
    return Go::Stop;
  }
  if (answer == 2) return Go::Skip;
  if (c.ctx.ports) c.ctx.ports->purgeSend();
  if (host) config::warn(*host, "Printing Aborted !", "", kAbortedTenths, false, false);
  return Go::Stop;
}

// Queues text on the port; a port that closed meanwhile is "not open".
bool queue(Call& c, std::string_view text) {
  if (c.ctx.ports && c.ctx.ports->write(text)) return true;
  c.setStatus(kErrPrinterNotOpen);
  return false;
}

}  // namespace

std::string formatPrintText(std::string_view text, int width, int alignment) {
  std::string t = base::trimRight(base::trimLeft(text.substr(0, kPrintTextMax)));
  const int w = std::clamp(width, 0, kPrintWidthMax);
  const std::string pad(static_cast<std::size_t>(std::max(w - static_cast<int>(t.size()), 0)), ' ');
  std::string line;
  switch (alignment) {
    case 1: line = pad + t; break;
    case 2: line = t + pad; break;
    case 3:
      line = t + pad;
      for (char& ch : line) ch = editor::upperChar(ch);
      break;
    default: line = t; break;
  }
  if (w != 0 && static_cast<int>(line.size()) > w) line.resize(static_cast<std::size_t>(w));
  return line;
}

bool printerReady(Call& c) {
  if (c.ctx.ports && c.ctx.ports->printerOpen()) return true;
  c.setStatus(kErrPrinterNotOpen);
  return false;
}

int printText(Call& c, std::string_view text, bool lineEnd) {
  if (!printerReady(c)) return kNotPrinted;
  const Go go = afterWait(c, waitForPort(c));
  if (go == Go::Stop) return kNotPrinted;
  if (go == Go::On && !text.empty() && !queue(c, text)) return kNotPrinted;
  if (!lineEnd) return kPrinted;
  const Go end = afterWait(c, waitForPort(c));
  if (end == Go::Stop) return kNotPrinted;
  if (end == Go::Skip) return kPrinted;
  return queue(c, kLineEnd) ? kPrinted : kNotPrinted;
}

int printFormatted(Call& c, std::string_view text, int width, int alignment, bool lineEnd) {
  return printText(c, formatPrintText(text, width, alignment), lineEnd);
}

}  // namespace runtime
