// Terminal input to key codes: the sequences of the xterm family, both
// modifier forms, ESC as Alt, text, and what must be dropped.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tui/key_decoder.hpp"
#include "ui/keys.hpp"

namespace {

using tui::InputEvent;
using tui::KeyDecoder;
using ui::KeyCode;
namespace k = ui::key;

std::vector<KeyCode> keysOf(const std::vector<InputEvent>& events) {
  std::vector<KeyCode> out;
  for (const InputEvent& e : events) out.push_back(e.key);
  return out;
}

std::vector<KeyCode> decodeWhole(const std::string& bytes) {
  KeyDecoder d;
  std::vector<InputEvent> out;
  d.feed(bytes, 0, out);
  return keysOf(out);
}

std::vector<KeyCode> decodeBytewise(const std::string& bytes) {
  KeyDecoder d;
  std::vector<InputEvent> out;
  for (char c : bytes) d.feed(std::string(1, c), 0, out);
  return keysOf(out);
}

struct Case {
  const char* what;
  std::string bytes;
  std::vector<KeyCode> want;
};

const std::vector<Case>& cases() {
  static const std::vector<Case> table = {
      // Cursor keys, normal and application mode, with Ctrl; Shift/Alt give the plain key.
      {"Up", "\x1b[A", {k::kUp}},
      {"Down SS3", "\x1bOB", {k::kDown}},
      {"Right", "\x1b[C", {k::kRight}},
      {"Left SS3", "\x1bOD", {k::kLeft}},
      {"Ctrl+Up", "\x1b[1;5A", {k::kCtrlUp}},
      {"Ctrl+Down", "\x1b[1;5B", {k::kCtrlDown}},
      {"Ctrl+Right", "\x1b[1;5C", {k::kCtrlRight}},
      {"Ctrl+Left", "\x1b[1;5D", {k::kCtrlLeft}},
      {"Shift+Up", "\x1b[1;2A", {k::kUp}},
      {"Ctrl+Shift+Left", "\x1b[1;6D", {k::kCtrlLeft}},
      // Home/End in their several forms.
      {"Home CSI H", "\x1b[H", {k::kHome}},
      {"Home SS3", "\x1bOH", {k::kHome}},
      {"Home 1~", "\x1b[1~", {k::kHome}},
      {"Home 7~", "\x1b[7~", {k::kHome}},
      {"End CSI F", "\x1b[F", {k::kEnd}},
      {"End 4~", "\x1b[4~", {k::kEnd}},
      {"End 8~", "\x1b[8~", {k::kEnd}},
      {"Ctrl+Home", "\x1b[1;5H", {k::kCtrlHome}},
      {"Ctrl+End", "\x1b[1;5F", {k::kCtrlEnd}},
      // Editing keys.
      {"Insert", "\x1b[2~", {k::kInsert}},
      {"Shift+Insert", "\x1b[2;2~", {0x0418}},
      {"Ctrl+Insert", "\x1b[2;5~", {0x9200}},
      {"Alt+Insert", "\x1b[2;3~", {0xA200}},
      {"Delete", "\x1b[3~", {k::kDelete}},
      {"Ctrl+Delete", "\x1b[3;5~", {0x5300}},
      {"PageUp", "\x1b[5~", {k::kPageUp}},
      {"PageDown", "\x1b[6~", {k::kPageDown}},
      {"Ctrl+PageUp", "\x1b[5;5~", {0x8400}},
      {"Ctrl+PageDown", "\x1b[6;5~", {0x7600}},
      // Function keys, plain.
      {"F1 SS3", "\x1bOP", {0x3B00}},
      {"F2 SS3", "\x1bOQ", {0x3C00}},
      {"F3 SS3", "\x1bOR", {0x3D00}},
      {"F4 SS3", "\x1bOS", {0x3E00}},
      {"F1 11~", "\x1b[11~", {0x3B00}},
      {"F4 14~", "\x1b[14~", {0x3E00}},
      {"F5", "\x1b[15~", {0x3F00}},
      {"F6", "\x1b[17~", {0x4000}},
      {"F7", "\x1b[18~", {0x4100}},
      {"F10", "\x1b[21~", {0x4400}},
      {"F11", "\x1b[23~", {0x8500}},
      {"F12", "\x1b[24~", {0x8600}},
      // Function keys with modifiers.
      {"Shift+F1", "\x1b[1;2P", {0x5400}},
      {"Ctrl+F1", "\x1b[1;5P", {0x5E00}},
      {"Alt+F1", "\x1b[1;3P", {0x6800}},
      {"Shift+F4", "\x1b[1;2S", {0x5700}},
      {"Ctrl+F5", "\x1b[15;5~", {0x6200}},
      {"Shift+F10", "\x1b[21;2~", {0x5D00}},
      {"Ctrl+F10", "\x1b[21;5~", {0x6700}},
      {"Alt+F10", "\x1b[21;3~", {0x7100}},
      {"Shift+F11", "\x1b[23;2~", {0x8700}},
      {"Ctrl+F11", "\x1b[23;5~", {0x8900}},
      {"Alt+F11", "\x1b[23;3~", {0x8B00}},
      {"Shift+F12 shares Shift+F10's code", "\x1b[24;2~", {0x5D00}},
      {"Ctrl+F12", "\x1b[24;5~", {0x8800}},
      {"Alt+F12", "\x1b[24;3~", {0x8C00}},
      {"Alt wins over Ctrl", "\x1b[1;7P", {0x6800}},
      {"SS3 with modifier", "\x1bO5P", {0x5E00}},
      {"SS3 with 1;m", "\x1bO1;2Q", {0x5500}},
      {"Linux console F1", "\x1b[[A", {0x3B00}},
      {"Linux console F5", "\x1b[[E", {0x3F00}},
      {"rxvt Shift+Insert", "\x1b[2$", {0x0418}},
      {"rxvt Ctrl+PageUp", "\x1b[5^", {0x8400}},
      {"rxvt Ctrl+Up", "\x1bOa", {k::kCtrlUp}},
      // Tab, Enter and their modified forms in both reporting forms.
      {"Shift+Tab CSI Z", "\x1b[Z", {0x0F00}},
      {"Shift+Tab modifyOtherKeys", "\x1b[27;2;9~", {0x0F00}},
      {"Shift+Tab CSI u", "\x1b[9;2u", {0x0F00}},
      {"Tab", "\t", {9}},
      {"Enter", "\r", {13}},
      {"Line feed", "\n", {10}},
      {"Ctrl+Enter modifyOtherKeys", "\x1b[27;5;13~", {10}},
      {"Ctrl+Enter CSI u", "\x1b[13;5u", {10}},
      {"Shift+Enter", "\x1b[13;2u", {13}},
      {"Backspace DEL", "\x7f", {8}},
      {"Backspace BS", "\x08", {8}},
      {"Backspace CSI u", "\x1b[127u", {8}},
      {"Escape CSI u", "\x1b[27u", {27}},
      // Ctrl+digit is the function key, Alt+digit the Alt function key.
      {"Ctrl+1 modifyOtherKeys", "\x1b[27;5;49~", {0x3B00}},
      {"Ctrl+0 is F10", "\x1b[27;5;48~", {0x4400}},
      {"Ctrl+5 CSI u", "\x1b[53;5u", {0x3F00}},
      {"Alt+5 as ESC 5", "\x1b" "5", {0x6C00}},
      {"Alt+0 as ESC 0", "\x1b" "0", {0x7100}},
      {"Alt+2 modifyOtherKeys", "\x1b[27;3;50~", {0x6900}},
      {"Alt+1 CSI u", "\x1b[49;3u", {0x6800}},
      {"Ctrl+keypad 0 (CSI u)", "\x1b[57399;5u", {0x4400}},
      {"Keypad Enter (CSI u)", "\x1b[57414u", {13}},
      {"Keypad Enter SS3", "\x1bOM", {13}},
      {"Keypad 0 SS3", "\x1bOp", {'0'}},
      // Letters with Alt and Ctrl.
      {"Alt+e as ESC e", "\x1b" "e", {0x1200}},
      {"Alt+E as ESC E", "\x1b" "E", {0x1200}},
      {"Alt+e CSI u", "\x1b[101;3u", {0x1200}},
      {"Alt+a modifyOtherKeys", "\x1b[27;3;97~", {0x1E00}},
      {"Alt+x", "\x1bx", {0x2D00}},
      {"Ctrl+A byte", "\x01", {1}},
      {"Ctrl+a modifyOtherKeys", "\x1b[27;5;97~", {1}},
      {"Ctrl+z CSI u", "\x1b[122;5u", {26}},
      {"Ctrl+E stays 5 here", "\x05", {5}},
      {"Shift+a CSI u", "\x1b[97;2u", {'A'}},
      {"Caps Lock a CSI u", "\x1b[97;65u", {'A'}},
      {"Shift+1 CSI u", "\x1b[49;2u", {'!'}},
      {"Shift+slash CSI u", "\x1b[47;2u", {'?'}},
      {"shifted key reported by terminal", "\x1b[50:34;2u", {'"'}},
      {"Ctrl+[ CSI u", "\x1b[91;5u", {27}},
      {"key release ignored", "\x1b[97;1:3u", {}},
      // Text.
      {"ASCII", "aZ ~", {'a', 'Z', ' ', '~'}},
      {"e acute", "\xc3\xa9", {0xE9}},
      {"euro sign", "\xe2\x82\xac", {0x80}},
      {"character not in the code page", "\xe2\x9c\x93" "x", {'x'}},
      {"invalid byte", "\xff" "a", {'a'}},
      {"cut UTF-8", "\xc3" "a", {'a'}},
      {"NUL dropped", std::string("\0b", 2), {'b'}},
      // Unknown and malformed sequences are dropped whole.
      {"unknown tilde key", "\x1b[99~x", {'x'}},
      {"device attributes reply", "\x1b[?1;2cx", {'x'}},
      {"bracketed paste marker", "\x1b[200~", {}},
      {"unknown final", "\x1b[1;5Yq", {'q'}},
      {"intermediate byte", "\x1b[2 qz", {'z'}},
      {"sequence broken by ESC", "\x1b[1;\x1b[A", {k::kUp}},
      {"overlong sequence", "\x1b[" + std::string(200, '1') + "Ab", {'b'}},
      {"modifyOtherKeys without key", "\x1b[27;5~w", {'w'}},
      {"CSI u out of range", "\x1b[99999999u", {}},
      // Escape followed by keys without an Alt code counts as both.
      {"ESC then Enter", "\x1b\r", {27, 13}},
      {"ESC ESC then Up", "\x1b\x1b[A", {27, k::kUp}},
      {"ESC then backspace", "\x1b\x7f", {27, 8}},
  };
  return table;
}

TEST(KeyDecoder, SequencesGiveTheirKeyCodes) {
  for (const Case& c : cases()) EXPECT_EQ(decodeWhole(c.bytes), c.want) << c.what;
}

TEST(KeyDecoder, SequencesSplitAcrossReadsGiveTheSameKeys) {
  for (const Case& c : cases()) EXPECT_EQ(decodeBytewise(c.bytes), c.want) << c.what;
}

TEST(KeyDecoder, SequencesSplitInTwoAtEveryPoint) {
  const std::string stream = "\x1b[1;5P\x1b[27;5;49~\xc3\xa9\x1b[<0;300;40M\x1b[13;5u";
  const std::vector<KeyCode> want = {0x5E00, 0x3B00, 0xE9, k::kMouseClick, 10};
  for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
    KeyDecoder d;
    std::vector<InputEvent> out;
    d.feed(stream.substr(0, cut), 0, out);
    d.feed(stream.substr(cut), 0, out);
    EXPECT_EQ(keysOf(out), want) << "cut at " << cut;
  }
}

TEST(KeyDecoder, RandomInputDecodesTheSameHoweverItIsSplit) {
  // Bytes biased towards sequence material, so the parser's paths are walked.
  const std::string alphabet = "\x1b\x1b\x1b[[[O<;;;0123456789~uMmABPZ$^a\xc3\xa9\xe2\x82\xac\x7f\r";
  std::mt19937 rng(12345);
  for (int round = 0; round < 200; ++round) {
    std::string stream;
    for (int i = 0; i < 300; ++i) {
      stream.push_back(rng() % 4 == 0 ? static_cast<char>(rng() & 0xFF) : alphabet[rng() % alphabet.size()]);
    }
    KeyDecoder whole, pieces;
    std::vector<InputEvent> a, b;
    whole.feed(stream, 0, a);
    for (std::size_t at = 0; at < stream.size();) {
      std::size_t n = 1 + rng() % 7;
      pieces.feed(std::string_view(stream).substr(at, n), 0, b);
      at += n;
    }
    whole.timeOut(a);
    pieces.timeOut(b);
    ASSERT_EQ(a, b) << "round " << round;
    EXPECT_FALSE(whole.pending());
    for (const InputEvent& e : a) EXPECT_NE(e.key, 0);
  }
}

TEST(KeyDecoder, AltOnCursorKeysIsKeptBesideTheCode) {
  // Alt+Down opens a drop-down list; its code stays Down for everybody else.
  auto decode = [](const std::string& bytes) {
    KeyDecoder d;
    std::vector<InputEvent> out;
    d.feed(bytes, 0, out);
    return out;
  };
  EXPECT_EQ(decode("\x1b[1;3B"), (std::vector<InputEvent>{{k::kDown, 0, 0, true}}));
  EXPECT_EQ(decode("\x1b[1;3A"), (std::vector<InputEvent>{{k::kUp, 0, 0, true}}));
  EXPECT_EQ(decode("\x1b[B"), (std::vector<InputEvent>{{k::kDown, 0, 0, false}}));
  EXPECT_EQ(decode("\x1b[1;5B"), (std::vector<InputEvent>{{k::kCtrlDown, 0, 0, false}}));
  EXPECT_EQ(decode("\x1b[1;3P"), (std::vector<InputEvent>{{k::kAltF1, 0, 0, false, true}}));  // the code says Alt
}

TEST(KeyDecoder, TheFunctionKeysThemselvesAreMarked) {
  // F1 on the keyboard opens the keystroke help; Ctrl+1 gives F1's code but is a digit.
  auto first = [](const std::string& bytes) {
    KeyDecoder d;
    std::vector<InputEvent> out;
    d.feed(bytes, 0, out);
    return out.size() == 1 ? out[0] : InputEvent{};
  };
  for (const char* f1 : {"\x1bOP", "\x1b[11~", "\x1b[P", "\x1b[[A", "\x1b[1;2P"}) {
    InputEvent e = first(f1);
    EXPECT_NE(e.key, 0) << f1;
    EXPECT_TRUE(e.functionKey) << f1;
  }
  EXPECT_TRUE(first("\x1b[24;5~").functionKey);
  EXPECT_TRUE(first("\x1b[11^").functionKey);  // rxvt's Ctrl form
  for (const char* other : {"\x1b[27;5;49~", "\x1b[49;5u", "\x1b" "1", "\x1b[A", "\x1b[2~", "a"}) {
    InputEvent e = first(other);
    EXPECT_NE(e.key, 0) << other;
    EXPECT_FALSE(e.functionKey) << other;
  }
  EXPECT_EQ(first("\x1b[27;5;49~").key, k::kF1);
}

TEST(KeyDecoder, LoneEscapeWaitsForTheTimeOut) {
  KeyDecoder d;
  std::vector<InputEvent> out;
  d.feed("\x1b", 0, out);
  EXPECT_TRUE(out.empty());
  EXPECT_TRUE(d.pending());
  d.timeOut(out);
  EXPECT_EQ(keysOf(out), std::vector<KeyCode>{27});
  EXPECT_FALSE(d.pending());
  // After the time-out a letter is a plain letter again.
  d.feed("e", 0, out);
  EXPECT_EQ(keysOf(out), (std::vector<KeyCode>{27, 'e'}));
}

TEST(KeyDecoder, EscapeAndLetterInOneReadIsAlt) {
  KeyDecoder d;
  std::vector<InputEvent> out;
  d.feed("\x1b", 0, out);
  d.feed("e", 0, out);  // before the time-out
  EXPECT_EQ(keysOf(out), std::vector<KeyCode>{0x1200});
  EXPECT_FALSE(d.pending());
}

TEST(KeyDecoder, TimeOutEndsUnfinishedSequences) {
  struct T {
    std::string bytes;
    std::vector<KeyCode> want;
  } table[] = {
      {"\x1bO", {k::altLetter('O')}},  // Alt+Shift+O
      {"\x1b[", {}},                   // Alt+[ has no code
      {"\x1b[1;5", {}},
      {"\x1b[<0;3", {}},
      {"\xe2\x82", {}},
  };
  for (const T& t : table) {
    KeyDecoder d;
    std::vector<InputEvent> out;
    d.feed(t.bytes, 0, out);
    EXPECT_TRUE(d.pending());
    d.timeOut(out);
    EXPECT_EQ(keysOf(out), t.want);
    EXPECT_FALSE(d.pending());
    d.feed("A", 0, out);  // the next byte starts afresh
    EXPECT_EQ(out.back().key, 'A');
  }
}

TEST(KeyDecoder, NothingPendingAfterCompleteInput) {
  KeyDecoder d;
  std::vector<InputEvent> out;
  d.feed("ab\x1b[A\xc3\xa9", 0, out);
  EXPECT_FALSE(d.pending());
}

// --- Mouse ---------------------------------------------------------------

std::vector<InputEvent> mouse(KeyDecoder& d, const std::string& bytes, std::uint64_t at) {
  std::vector<InputEvent> out;
  d.feed(bytes, at, out);
  return out;
}

TEST(KeyDecoderMouse, ClickKeepsTheCellEvenPastColumn223) {
  KeyDecoder d;
  EXPECT_EQ(mouse(d, "\x1b[<0;300;40M", 0), (std::vector<InputEvent>{{k::kMouseClick, 40, 300}}));
  EXPECT_TRUE(mouse(d, "\x1b[<0;300;40m", 10).empty());  // a plain release reports nothing
}

TEST(KeyDecoderMouse, ReleaseAfterMoveIs512AtTheReleaseCell) {
  KeyDecoder d;
  mouse(d, "\x1b[<0;5;5M", 0);
  EXPECT_EQ(mouse(d, "\x1b[<0;9;7m", 20), (std::vector<InputEvent>{{k::kMouseRelease, 7, 9}}));

  // Moved away and back: still a move.
  mouse(d, "\x1b[<0;5;5M", 2000);
  mouse(d, "\x1b[<32;6;5M", 2010);
  EXPECT_EQ(mouse(d, "\x1b[<0;5;5m", 2020), (std::vector<InputEvent>{{k::kMouseRelease, 5, 5}}));
}

TEST(KeyDecoderMouse, DoubleClickNeedsTheSameCellWithinTheTime) {
  KeyDecoder d(500);
  EXPECT_EQ(mouse(d, "\x1b[<0;4;2M\x1b[<0;4;2m", 1000).at(0).key, k::kMouseClick);
  EXPECT_EQ(mouse(d, "\x1b[<0;4;2M\x1b[<0;4;2m", 1400).at(0), (InputEvent{k::kMouseDoubleClick, 2, 4}));
  // A third click starts over.
  EXPECT_EQ(mouse(d, "\x1b[<0;4;2M\x1b[<0;4;2m", 1500).at(0).key, k::kMouseClick);
  // Too late.
  EXPECT_EQ(mouse(d, "\x1b[<0;4;2M\x1b[<0;4;2m", 2100).at(0).key, k::kMouseClick);
  // Another cell.
  EXPECT_EQ(mouse(d, "\x1b[<0;5;2M\x1b[<0;5;2m", 2200).at(0).key, k::kMouseClick);
  // Exactly at the limit still counts.
  EXPECT_EQ(mouse(d, "\x1b[<0;5;2M\x1b[<0;5;2m", 2700).at(0).key, k::kMouseDoubleClick);
}

TEST(KeyDecoderMouse, WheelAndOtherButtons) {
  KeyDecoder d;
  EXPECT_EQ(keysOf(mouse(d, "\x1b[<64;10;10M", 0)), std::vector<KeyCode>{0xAAAA});
  EXPECT_EQ(keysOf(mouse(d, "\x1b[<65;10;10M", 0)), std::vector<KeyCode>{0xAAAB});
  EXPECT_TRUE(mouse(d, "\x1b[<66;10;10M", 0).empty());  // sideways
  EXPECT_TRUE(mouse(d, "\x1b[<2;1;1M\x1b[<2;1;1m", 0).empty());  // right button
  EXPECT_TRUE(mouse(d, "\x1b[<1;1;1M", 0).empty());  // middle button
}

TEST(KeyDecoderMouse, MalformedReportsAreDropped) {
  KeyDecoder d;
  EXPECT_TRUE(mouse(d, "\x1b[<0;0;5M", 0).empty());
  EXPECT_TRUE(mouse(d, "\x1b[<0;5M", 0).empty());
  EXPECT_TRUE(mouse(d, "\x1b[<0;5;5;5M", 0).empty());
  EXPECT_TRUE(mouse(d, "\x1b[<;5;5M", 0).empty());
  // A huge coordinate saturates instead of overflowing.
  auto out = mouse(d, "\x1b[<0;99999999999;3M", 0);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_GT(out[0].col, 0);
}

}  // namespace
