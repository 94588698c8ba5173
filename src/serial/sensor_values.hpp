#pragma once
// The rules that turn a line received from a sensor into a value: the line
// filter, cutting the value out of the line, the text shown for it, the
// texts spread over several columns, and the shown form of a value in its
// field. Pure functions over texts and numbers read from a serial input
// definition; nothing here touches a port or the engine.
//
// Token numbers count from 1: token 1 is the first token (or field) of the
// line, as docs/app-format.md writes them ("valueToken": 2 takes "12.5" of
// "$D,12.5"). Token 0, a negative number or one past the tokens there are
// names no token. Every index and count read from a definition is checked
// here before it is used.
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace apps {
class SerialDef;
}

namespace serial {

inline constexpr std::size_t kValueChars = 28;      // a value holds at most this many characters
inline constexpr std::size_t kMaxTokens = 100;      // tokens kept of one line
inline constexpr std::size_t kShowTokenChars = 30;  // characters of one token in the shown text
inline constexpr std::size_t kShownFieldChars = 30; // a value shown in a field: at most this many
inline constexpr int kMaxShowTokens = 5;
inline constexpr int kMaxTargets = 31;

// Filter kinds.
inline constexpr int kMatchAll = 0, kMatchStarts = 1, kMatchChar = 2, kMatchLength = 3,
                     kMatchDigit = 4, kMatchLetter = 5;
// Value sources.
inline constexpr int kSourceLine = 0, kSourceFixed = 1, kSourceTokens = 2, kSourceFields = 3;

// Whether line passes the filter: kMatchAll every line; kMatchStarts when
// the line from position pos (0 = first character) starts with text, letters
// compared without case; kMatchChar when the character at pos is the first
// of text; kMatchLength when the line is exactly pos characters long;
// kMatchDigit / kMatchLetter when the character at pos is an ASCII digit /
// letter. A position outside the line (or negative), or an empty text for
// kMatchChar, fails. An unknown kind filters nothing (like kMatchAll).
bool linePasses(int kind, int pos, std::string_view text, std::string_view line);

// The line split at every run of characters of delims, empty tokens
// skipped; at most kMaxTokens (the rest of the line is ignored). No delims:
// the whole line is the one token (none for an empty line).
std::vector<std::string> splitTokens(std::string_view line, std::string_view delims);
// The line split at each character of delims, empty fields kept ("a,,b" is
// three fields, "a," two); at most kMaxTokens.
std::vector<std::string> splitFields(std::string_view line, std::string_view delims);

// Token number n (from 1) of tokens, or nullptr when there is no such token.
const std::string* tokenAt(const std::vector<std::string>& tokens, int n);

// How a definition cuts its value, with its numbers as read (unchecked).
struct CutRules {
  int source = kSourceLine;
  int start = 0, length = 0;  // kSourceFixed
  std::string delims;         // kSourceTokens, kSourceFields
  int valueToken = 0;
  std::array<int, kMaxShowTokens> showTokens{};
  int showCount = 0;
  std::string showSep;
};
CutRules cutRulesOf(const apps::SerialDef& def);

struct CutValue {
  std::string value;                // at most kValueChars characters
  std::string shown;                // what the list window and the field show
  std::vector<std::string> tokens;  // kSourceTokens / kSourceFields; else empty
};

// Cuts line by the rules. kSourceLine: the first kValueChars characters.
// kSourceFixed: from start (0 = first character), length characters (a
// length below 1 or above kValueChars: kValueChars), empty when start lies
// outside the line. kSourceTokens / kSourceFields: the line split as above,
// the value token valueToken cut to kValueChars (empty when there is none);
// the shown text is, for each of the first showCount (clamped to 0-5)
// entries of showTokens naming a token, showSep and that token's first
// kShowTokenChars characters; with no such entry the shown text is the
// value. An unknown source counts as kSourceLine. For the sources without
// tokens the shown text is the value.
CutValue cutValue(const CutRules& rules, std::string_view line);

// line with the letters a-z turned to capitals (nothing else changes).
std::string upperAscii(std::string_view line);

// The parity letter of a definition's parity index: "NEOMS"[index], 'N' for
// an index outside 0-4.
char parityLetter(int index);
// The terminator byte a definition's value stands for: below 1 (or above
// 255) it is 13.
int terminatorOf(int value);

// The number of spread targets a definition's count stands for: 0-31.
int targetCountOf(int count);
// The text for one spread target: token number token, then, when suffix is
// non-zero and names a token, join and that token. A missing first token
// gives "" for it.
std::string targetText(const std::vector<std::string>& tokens, int token, std::string_view join, int suffix);

// How value shows in a field width characters wide: at most
// min(width, kShownFieldChars) characters (kShownFieldChars for a width
// below 1); a longer value keeps one character fewer and ends with '>' to
// mark the cut.
std::string shownInField(std::string_view value, int width);

}  // namespace serial
