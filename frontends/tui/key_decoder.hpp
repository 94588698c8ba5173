#pragma once
// Terminal input to key codes: a pure state machine fed the bytes as they are
// read and told when the escape time-out has passed, so it needs no clock of
// its own. Understands the xterm family's cursor, editing and function keys
// (CSI and SS3 forms, with modifiers), the modifyOtherKeys form
// CSI 27;m;k~ and the CSI k;m u form, ESC + key as Alt, SGR mouse reports
// and UTF-8 text (taken as Windows-1252 characters). Unknown sequences are
// dropped whole.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "input_event.hpp"
#include "ui/key_rules.hpp"
#include "mouse_tracker.hpp"
#include "utf8.hpp"

namespace tui {

using ui::Modifiers;
using ui::NamedKey;

// The modifier parameter of xterm-style sequences: 1 + the sum of Shift 1,
// Alt 2, Ctrl 4, Meta 8 (taken as Alt) and Caps Lock 64; 0 or 1 means none.
Modifiers modifiersFromParam(int param);

class KeyDecoder {
 public:
  // Sequences longer than this are not keys; they are dropped whole.
  static constexpr std::size_t kMaxSequence = 64;
  static constexpr std::uint32_t kDefaultDoubleClickMs = 500;

  explicit KeyDecoder(std::uint32_t doubleClickMs = kDefaultDoubleClickMs) : mouse_(doubleClickMs) {}

  // Feeds bytes read at time nowMs (used for double clicks); appends the keys
  // they complete to out. A sequence may end in a later call.
  void feed(std::string_view bytes, std::uint64_t nowMs, std::vector<InputEvent>& out);

  // No more input came within the escape time-out: a lone ESC is Escape,
  // ESC O is Alt+O, and any other unfinished sequence is dropped.
  void timeOut(std::vector<InputEvent>& out);

  // True while bytes wait for the rest of a sequence; the caller then calls
  // timeOut when the time-out passes without input.
  bool pending() const { return state_ != State::kGround || utf8_.pending(); }

  // Reports the right button's release as an event with rightButton set
  // (the edit window's hierarchy menu); off, the right button is ignored.
  void reportRightButton(bool on) { rightButton_ = on; }

 private:
  enum class State { kGround, kEscape, kCsi, kSs3, kLinuxFunction };

  void ground(unsigned char b, std::vector<InputEvent>& out);
  void escape(unsigned char b, std::vector<InputEvent>& out);
  void dispatchCsi(unsigned char final, std::vector<InputEvent>& out);
  void dispatchSs3(unsigned char final, std::vector<InputEvent>& out);
  void dispatchMouse(unsigned char final, std::vector<InputEvent>& out);
  void startSequence(State s);
  static void emit(ui::KeyCode key, std::vector<InputEvent>& out, bool functionKey = false) {
    if (key != 0) out.push_back({key, 0, 0, false, functionKey});
  }

  State state_ = State::kGround;
  std::string params_;  // parameter and intermediate bytes of the sequence under way
  bool overflow_ = false;
  Utf8Decoder utf8_;
  MouseTracker mouse_;
  std::uint64_t now_ = 0;
  bool rightButton_ = false;
};

}  // namespace tui
