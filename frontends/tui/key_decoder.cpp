#include "key_decoder.hpp"

#include <algorithm>
#include <array>

namespace tui {

using ui::characterKeyCode;
using ui::functionKeyCode;
using ui::namedKeyCode;

Modifiers modifiersFromParam(int param) {
  Modifiers m;
  if (param <= 1) return m;
  int bits = param - 1;
  m.shift = bits & 1;
  m.alt = (bits & 2) || (bits & 8);
  m.ctrl = bits & 4;
  m.capsLock = bits & 64;
  return m;
}


namespace k = ui::key;

namespace {

// A parameter and its ':'-separated sub-parameters; -1 where one is empty.
struct Param {
  std::array<int, 3> v{-1, -1, -1};
  int value(int fallback) const { return v[0] < 0 ? fallback : v[0]; }
};

// Splits "a:b;c;d" into parameters. Numbers saturate, so huge ones stay harmless.
std::vector<Param> parseParams(std::string_view s) {
  std::vector<Param> out(1);
  std::size_t sub = 0;
  for (char ch : s) {
    if (ch == ';') {
      if (out.size() >= 16) break;
      out.emplace_back();
      sub = 0;
    } else if (ch == ':') {
      ++sub;
    } else if (ch >= '0' && ch <= '9' && sub < 3) {
      int& v = out.back().v[sub];
      v = std::min((v < 0 ? 0 : v) * 10 + (ch - '0'), 1000000);
    }
  }
  return out;
}

int paramAt(const std::vector<Param>& p, std::size_t i, int fallback) {
  return i < p.size() ? p[i].value(fallback) : fallback;
}

bool isLetter(unsigned char b) { return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z'); }

// The function key (1-12) that CSI n ~ numbers, or 0.
int tildeFunction(int n) {
  if (n >= 11 && n <= 15) return n - 10;
  if (n >= 17 && n <= 21) return n - 11;
  if (n == 23 || n == 24) return n - 12;
  return 0;
}

// The numbered keys of CSI n ~ (and rxvt's ^ $ @ endings).
ui::KeyCode tildeKey(int n, Modifiers m) {
  switch (n) {
    case 1: case 7: return namedKeyCode(NamedKey::kHome, m);
    case 2: return namedKeyCode(NamedKey::kInsert, m);
    case 3: return namedKeyCode(NamedKey::kDelete, m);
    case 4: case 8: return namedKeyCode(NamedKey::kEnd, m);
    case 5: return namedKeyCode(NamedKey::kPageUp, m);
    case 6: return namedKeyCode(NamedKey::kPageDown, m);
    default: break;
  }
  if (int f = tildeFunction(n); f != 0) return functionKeyCode(f, m);
  return 0;
}

// True for the final bytes of F1-F4 in the CSI and SS3 forms.
bool isFunctionFinal(unsigned char final) { return final >= 'P' && final <= 'S'; }

// Final bytes shared by CSI and SS3: cursor keys, Home/End and F1-F4.
ui::KeyCode letterKey(unsigned char final, Modifiers m) {
  switch (final) {
    case 'A': return namedKeyCode(NamedKey::kUp, m);
    case 'B': return namedKeyCode(NamedKey::kDown, m);
    case 'C': return namedKeyCode(NamedKey::kRight, m);
    case 'D': return namedKeyCode(NamedKey::kLeft, m);
    case 'H': return namedKeyCode(NamedKey::kHome, m);
    case 'F': return namedKeyCode(NamedKey::kEnd, m);
    case 'P': return functionKeyCode(1, m);
    case 'Q': return functionKeyCode(2, m);
    case 'R': return functionKeyCode(3, m);
    case 'S': return functionKeyCode(4, m);
    default: return 0;
  }
}

// The keypad keys that the CSI u form reports in the private-use range.
ui::KeyCode keypadKey(int code, Modifiers m) {
  if (code >= 57399 && code <= 57408) return characterKeyCode(static_cast<char32_t>('0' + code - 57399), m);
  switch (code) {
    case 57409: return characterKeyCode('.', m);
    case 57410: return characterKeyCode('/', m);
    case 57411: return characterKeyCode('*', m);
    case 57412: return characterKeyCode('-', m);
    case 57413: return characterKeyCode('+', m);
    case 57414: return characterKeyCode(13, m);
    case 57415: return characterKeyCode('=', m);
    case 57416: return characterKeyCode(',', m);
    case 57417: return namedKeyCode(NamedKey::kLeft, m);
    case 57418: return namedKeyCode(NamedKey::kRight, m);
    case 57419: return namedKeyCode(NamedKey::kUp, m);
    case 57420: return namedKeyCode(NamedKey::kDown, m);
    case 57421: return namedKeyCode(NamedKey::kPageUp, m);
    case 57422: return namedKeyCode(NamedKey::kPageDown, m);
    case 57423: return namedKeyCode(NamedKey::kHome, m);
    case 57424: return namedKeyCode(NamedKey::kEnd, m);
    case 57425: return namedKeyCode(NamedKey::kInsert, m);
    case 57426: return namedKeyCode(NamedKey::kDelete, m);
    default: return 0;  // F13 and up, modifier keys, media keys: no code
  }
}

}  // namespace

void KeyDecoder::startSequence(State s) {
  state_ = s;
  params_.clear();
  overflow_ = false;
}

void KeyDecoder::feed(std::string_view bytes, std::uint64_t nowMs, std::vector<InputEvent>& out) {
  now_ = nowMs;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    auto b = static_cast<unsigned char>(bytes[i]);
    switch (state_) {
      case State::kGround:
        ground(b, out);
        break;
      case State::kEscape:
        escape(b, out);
        break;
      case State::kCsi:
        if (params_.empty() && b == '[') {
          state_ = State::kLinuxFunction;  // the Linux console's ESC [ [ A .. E
        } else if (b == '$' && !params_.empty() &&
                   std::all_of(params_.begin(), params_.end(), [](char c) { return c >= '0' && c <= '9'; })) {
          dispatchCsi(b, out);  // rxvt's Shift form: ESC [ n $
          state_ = State::kGround;
        } else if (b >= 0x20 && b <= 0x3F) {
          if (params_.size() < kMaxSequence) params_.push_back(static_cast<char>(b));
          else overflow_ = true;
        } else if (b >= 0x40 && b <= 0x7E) {
          if (!overflow_) dispatchCsi(b, out);
          state_ = State::kGround;
        } else {
          // Not part of a sequence: drop what came so far and read b afresh.
          state_ = State::kGround;
          --i;
        }
        break;
      case State::kSs3:
        if ((b >= '0' && b <= '9') || b == ';') {
          if (params_.size() < kMaxSequence) params_.push_back(static_cast<char>(b));
          else overflow_ = true;
        } else if (b >= 0x40 && b <= 0x7E) {
          if (!overflow_) dispatchSs3(b, out);
          state_ = State::kGround;
        } else {
          if (params_.empty()) emit(k::altLetter('O'), out);  // it was Alt+Shift+O
          state_ = State::kGround;
          --i;
        }
        break;
      case State::kLinuxFunction:
        if (b >= 'A' && b <= 'E') emit(functionKeyCode(b - 'A' + 1, {}), out, true);
        state_ = State::kGround;
        break;
    }
  }
}

void KeyDecoder::ground(unsigned char b, std::vector<InputEvent>& out) {
  char32_t c = 0;
  if (utf8_.pending()) {
    switch (utf8_.feed(b, c)) {
      case Utf8Decoder::kNeedMore:
      case Utf8Decoder::kInvalid:
        return;
      case Utf8Decoder::kDone:
        emit(characterKeyCode(c, {}), out);
        return;
      case Utf8Decoder::kRestart:
        break;  // b begins something new
    }
  }
  if (b == 0x1B) {
    state_ = State::kEscape;
    return;
  }
  if (utf8_.feed(b, c) == Utf8Decoder::kDone) emit(characterKeyCode(c, {}), out);
}

void KeyDecoder::escape(unsigned char b, std::vector<InputEvent>& out) {
  if (b == '[') {
    startSequence(State::kCsi);
  } else if (b == 'O') {
    startSequence(State::kSs3);
  } else if (b == 0x1B) {
    emit(k::kEscape, out);  // the first was a lone Escape; the second may begin a sequence
  } else if (isLetter(b)) {
    emit(k::altLetter(static_cast<char>(b)), out);
    state_ = State::kGround;
  } else if (b >= '0' && b <= '9') {
    emit(characterKeyCode(b, Modifiers{false, true, false, false}), out);
    state_ = State::kGround;
  } else {
    // Escape followed by a key that has no Alt code: both keys count.
    emit(k::kEscape, out);
    state_ = State::kGround;
    ground(b, out);
  }
}

void KeyDecoder::dispatchCsi(unsigned char final, std::vector<InputEvent>& out) {
  char prefix = params_.empty() ? 0 : params_[0];
  if (prefix == '<' || prefix == '=' || prefix == '>' || prefix == '?') {
    if (prefix == '<' && (final == 'M' || final == 'm')) dispatchMouse(final, out);
    return;  // reports and replies are not keys
  }
  if (params_.find_first_of(" !\"#$%&'()*+,-./") != std::string::npos) return;  // intermediates
  std::vector<Param> p = parseParams(params_);
  Modifiers m = modifiersFromParam(paramAt(p, 1, 1));
  switch (final) {
    case '~': {
      int n = paramAt(p, 0, 0);
      if (n == 27) {  // modifyOtherKeys: CSI 27 ; m ; k ~
        int code = paramAt(p, 2, -1);
        if (code > 0 && code <= 0x10FFFF) emit(characterKeyCode(static_cast<char32_t>(code), m), out);
      } else {
        emit(tildeKey(n, m), out, tildeFunction(n) != 0);
      }
      return;
    }
    case 'u': {  // CSI code[:shifted[:base]] ; mods[:event] u
      if (p.size() > 1 && p[1].v[1] == 3) return;  // a key release
      int code = p[0].v[0];
      if (code <= 0 || code > 0x10FFFF) return;
      if (m.shift && p[0].v[1] > 0 && p[0].v[1] <= 0x10FFFF) {
        code = p[0].v[1];  // the terminal says what Shift makes of the key on its layout
        m.shift = false;
      }
      if (code >= 57344 && code <= 63743) emit(keypadKey(code, m), out);
      else emit(characterKeyCode(static_cast<char32_t>(code), m), out);
      return;
    }
    case '^':  // rxvt: Ctrl, Shift, Ctrl+Shift forms of the numbered keys
    case '$':
    case '@': {
      Modifiers rm;
      rm.ctrl = final != '$';
      rm.shift = final != '^';
      emit(tildeKey(paramAt(p, 0, 0), rm), out, tildeFunction(paramAt(p, 0, 0)) != 0);
      return;
    }
    case 'Z':
      emit(k::kShiftTab, out);
      return;
    case 'a': emit(k::kUp, out); return;  // rxvt Shift+cursor keys
    case 'b': emit(k::kDown, out); return;
    case 'c': emit(k::kRight, out); return;
    case 'd': emit(k::kLeft, out); return;
    default:
      if (ui::KeyCode key = letterKey(final, m); key != 0) {
        // Cursor keys lose Alt in their code; the event keeps it.
        bool cursor = (final >= 'A' && final <= 'D') || final == 'H' || final == 'F';
        out.push_back({key, 0, 0, cursor && m.alt, isFunctionFinal(final)});
      }
      return;
  }
}

void KeyDecoder::dispatchSs3(unsigned char final, std::vector<InputEvent>& out) {
  // Older forms carry the modifier as the only or the second number: ESC O 5 P, ESC O 1;5P.
  std::vector<Param> p = parseParams(params_);
  Modifiers m = modifiersFromParam(p.size() > 1 ? paramAt(p, 1, 1) : paramAt(p, 0, 1));
  if (final >= 'p' && final <= 'y') {  // the application keypad's digits
    emit(characterKeyCode(static_cast<char32_t>('0' + final - 'p'), m), out);
    return;
  }
  switch (final) {
    case 'M': emit(characterKeyCode(13, m), out); return;
    case 'j': emit('*', out); return;
    case 'k': emit('+', out); return;
    case 'l': emit(',', out); return;
    case 'm': emit('-', out); return;
    case 'n': emit('.', out); return;
    case 'o': emit('/', out); return;
    case 'X': emit('=', out); return;
    case 'a': emit(k::kCtrlUp, out); return;  // rxvt Ctrl+cursor keys
    case 'b': emit(k::kCtrlDown, out); return;
    case 'c': emit(k::kCtrlRight, out); return;
    case 'd': emit(k::kCtrlLeft, out); return;
    default: emit(letterKey(final, m), out, isFunctionFinal(final)); return;
  }
}

void KeyDecoder::dispatchMouse(unsigned char final, std::vector<InputEvent>& out) {
  std::vector<Param> p = parseParams(std::string_view(params_).substr(1));
  if (p.size() != 3) return;
  int b = p[0].value(-1), col = p[1].value(0), row = p[2].value(0);
  if (b < 0 || col < 1 || row < 1) return;
  bool press = final == 'M';
  if (b & 64) {  // wheel: 64 forward, 65 back; sideways wheels have no code
    if (press && (b & 3) == 0) emit(k::kWheelForward, out);
    if (press && (b & 3) == 1) emit(k::kWheelBack, out);
    return;
  }
  if ((b & 3) == 2 && (b & 32) == 0 && !press && rightButton_) {
    InputEvent e;
    e.row = row;
    e.col = col;
    e.rightButton = true;
    out.push_back(e);
    return;
  }
  if ((b & 3) != 0) return;  // otherwise only the left button counts
  if (b & 32) {
    mouse_.motion(row, col);
  } else if (press) {
    out.push_back(mouse_.press(row, col, now_));
  } else {
    InputEvent e = mouse_.release(row, col);
    if (e.key != 0) out.push_back(e);
  }
}

void KeyDecoder::timeOut(std::vector<InputEvent>& out) {
  switch (state_) {
    case State::kEscape:
      emit(k::kEscape, out);
      break;
    case State::kSs3:
      if (params_.empty()) emit(k::altLetter('O'), out);
      break;
    default:
      break;  // an unfinished sequence (or Alt+[) has no key
  }
  state_ = State::kGround;
  params_.clear();
  utf8_.reset();
}

}  // namespace tui
