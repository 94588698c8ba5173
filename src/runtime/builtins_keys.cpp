// The keyboard built-ins: the next key with or without waiting, the engine's
// last key (the level header's exit key), the last key a program read and the
// engine's abort flag.
#include "editor/engine.hpp"
#include "platform/clock.hpp"
#include "runtime/run_errors.hpp"
#include "runtime/session_access.hpp"
#include "ui/host.hpp"

namespace runtime {

namespace {

// How often a program waiting for a key looks at the queue.
constexpr std::uint32_t kKeyPollMs = 25;

// A key taken by 81 or 84: remembered for 87 and returned; the abort code
// ends the session and the run instead.
void deliverKey(Call& c, editor::Engine& e, ui::KeyCode key) {
  if (key == ui::key::kAbort) {
    endForAbort(c, e);
    return;
  }
  c.m.lastKeyRead = key;
  c.setNumber(key);
}

// 81: the next key if one waits, else 0.
void nextKey(Call& c) {
  editor::Engine* e = sessionOf(c);
  if (!e) return;
  const ui::KeyCode key = e->keys.take();
  if (key == 0) {
    c.setNumber(0);
    return;
  }
  deliverKey(c, *e, key);
}

// 84: waits for a key, keeping the window alive meanwhile.
void waitForKey(Call& c) {
  editor::Engine* e = sessionOf(c);
  if (!e) return;
  platform::Clock& clock = platform::clock();
  for (;;) {
    const ui::KeyCode key = e->keys.take();
    if (key != 0) {
      deliverKey(c, *e, key);
      return;
    }
    e->host.pump();
    clock.sleep(kKeyPollMs);
  }
}

// 85 / 86: the exit key of the current level, which the engine acts on when
// the program ends.
// The session whose current level is open, or null (status 12, answer 0).
editor::Engine* openLevelSession(Call& c) {
  editor::Engine* e = sessionOf(c);
  if (!e) return nullptr;
  if (!e->level().open()) {
    c.setStatus(kErrDataNotOpen);
    c.setNumber(0);
    return nullptr;
  }
  return e;
}

void engineLastKey(Call& c) {
  editor::Engine* e = openLevelSession(c);
  if (!e) return;
  c.setNumber(e->level().header().exitKey());
}

void setEngineLastKey(Call& c) {
  editor::Engine* e = openLevelSession(c);
  if (!e) return;
  // Key codes are 16-bit: the abort code (-5) comes out as 0xFFFB.
  const auto key = static_cast<ui::KeyCode>(static_cast<std::uint32_t>(toInt32(c.num(0))));
  e->level().header().setExitKey(key);
  c.setNumber(key);
}

// 87: the last key 81 or 84 gave the program (kept between runs).
void keyRead(Call& c) { c.setNumber(c.m.lastKeyRead); }

// 88: 1 while the session is being shut down.
void abortFlag(Call& c) {
  editor::Engine* e = sessionOf(c);
  if (!e) return;
  c.setNumber(e->aborted || e->keys.aborted() ? 1 : 0);
}

}  // namespace

void addKeyBuiltins(BuiltinTable& t) {
  t[81] = nextKey;
  t[84] = waitForKey;
  t[85] = engineLastKey;
  t[86] = setEngineLastKey;
  t[87] = keyRead;
  t[88] = abortFlag;
}

}  // namespace runtime
