#pragma once
// Reading one line of program source: names, numbers, quoted strings and
// punctuation, with the comment (from a ';' outside a string) cut off.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tfabuild::asmtext {

// The part of line before its comment; a ';' inside a quoted string is text.
std::string_view stripComment(std::string_view line);

// True for the characters a name may hold (letters, digits, '_', '.', '$').
bool isNameChar(char c);

// Compares ASCII names without regard to case.
bool sameWord(std::string_view a, std::string_view b);

// A cursor over one line. Every reader skips blanks first; a reader that
// finds nothing of its kind leaves the cursor where it was.
class LineCursor {
 public:
  explicit LineCursor(std::string_view text) : text_(text) {}

  void skipBlanks();
  bool atEnd();
  // The next character without taking it (0 at the end).
  char peek();
  // Takes c when it is next; returns whether it was.
  bool take(char c);
  // A name: a letter, '_' or '.' first, then name characters. Empty when none.
  std::string_view name();
  // The next run of characters up to a blank (for operators and numbers).
  std::string_view word();
  // The next run of name characters, whatever the first (names or numbers
  // up to a '/', a blank or other punctuation).
  std::string_view run();
  // The rest of the line, blanks trimmed.
  std::string_view rest();

  // A quoted string with its escapes (\" \\ \n \r \t \0 \xHH). Returns false
  // with why set when the string is unterminated or an escape is bad; nullopt
  // in text when no string starts here.
  bool quoted(std::optional<std::string>& text, std::string& why);

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

// Reads a number: decimal (sign, fraction, exponent) or hex (0x..., with an
// optional sign). The whole token must be the number.
std::optional<double> parseNumber(std::string_view token);
// Reads a whole number in [min, max] written in decimal or hex.
std::optional<std::int64_t> parseInteger(std::string_view token, std::int64_t min, std::int64_t max);

}  // namespace tfabuild::asmtext
