#include "shell/prompts.hpp"

#include <atomic>

#include "platform/clock.hpp"
#include "ui/host.hpp"

namespace shell {

namespace {

std::atomic<PromptSurface*> surface{nullptr};

char lower(int c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); }

int warnLines(ui::Host& host, const std::vector<std::string>& lines, int tenths, bool yesNo,
              bool quiet) {
  PromptSurface* s = surface.load();
  if (s) s->drainKeys();
  int answer = 1;
  if (tenths > 0 && s) {
    s->showBox("< Warning ! >", lines);
    host.beep();
    platform::Clock& clock = platform::clock();
    std::uint64_t until = clock.ticks() + static_cast<std::uint64_t>(tenths) * 10u;
    while (clock.ticks() < until && !s->stopping()) {
      if (s->takeKey() != 0) break;
      host.pump();
      clock.sleep(10);
    }
    s->hideBox();
  } else if (!quiet) {
    host.beep();
    std::string text;
    for (const auto& line : lines) text += line + "\n";
    unsigned flags = yesNo ? (ui::kMbYesNo | ui::kMbIconQuestion) : (ui::kMbOk | ui::kMbIconInformation);
    int r = host.messageBox(text, "Warning !", flags | ui::kMbTopmost);
    if (yesNo) answer = r == ui::kIdYes ? 1 : 2;
  }
  if (s) s->focus();
  return answer;
}

}  // namespace

void setPromptSurface(PromptSurface* s) { surface.store(s); }
PromptSurface* promptSurface() { return surface.load(); }

int warn(ui::Host& host, std::string_view line1, std::string_view line2, int tenths, bool yesNo,
         bool quiet) {
  return warnLines(host, {std::string(line1), std::string(line2)}, tenths, yesNo, quiet);
}

int warn3(ui::Host& host, std::string_view line1, std::string_view line2, std::string_view line3,
          int tenths, bool yesNo, bool quiet) {
  return warnLines(host, {std::string(line1), std::string(line2), std::string(line3)}, tenths, yesNo,
                   quiet);
}

int askLetter(ui::Host& host, const std::vector<std::string>& box, char letterA, char letterB) {
  PromptSurface* s = surface.load();
  if (!s) {
    std::string text;
    for (const auto& line : box) text += line + "\n";
    return ui::askYesNo(host, text, "") == ui::kIdYes ? 1 : 2;
  }
  s->drainKeys();
  s->showBox("", box);
  int answer = 0;
  platform::Clock& clock = platform::clock();
  while (!s->stopping()) {
    ui::KeyCode k = s->takeKey();
    if (k != 0 && k < 256) {
      if (lower(k) == lower(letterA)) { answer = 1; break; }
      if (lower(k) == lower(letterB)) { answer = 2; break; }
    }
    if (k == 0) {
      host.pump();
      clock.sleep(10);
    }
  }
  s->hideBox();
  s->focus();
  return answer;
}

}  // namespace shell
