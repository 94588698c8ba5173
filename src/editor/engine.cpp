#include "editor/engine.hpp"

#include "config/prompts.hpp"

namespace editor {

Engine::Engine(ui::Host& h, apps::AppContext& c, datasets::DataSession& s, EngineHooks& k, ui::Screen& scr,
               ui::KeyQueue& q)
    : host(h),
      ctx(c),
      session(s),
      hooks(k),
      screen(scr),
      keys(q),
      field{h, scr, q, copy, [this](const std::vector<std::string>& lines, int tenths) { warnOnScreen(*this, lines, tenths); }} {}

void warnOnScreen(Engine& e, const std::vector<std::string>& lines, int tenths) {
  auto line = [&](std::size_t i) { return i < lines.size() ? lines[i] : std::string(); };
  if (lines.size() > 2)
    config::warn3(e.host, line(0), line(1), line(2), tenths, false, false);
  else
    config::warn(e.host, line(0), line(1), tenths, false, false);
}

}  // namespace editor
