#include "tfabuild/asm_text.hpp"

#include <cctype>
#include <charconv>
#include <cmath>

namespace tfabuild::asmtext {

std::string_view stripComment(std::string_view line) {
  bool inString = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (inString) {
      if (c == '\\') ++i;  // the escaped character cannot end the string
      else if (c == '"') inString = false;
    } else if (c == '"') {
      inString = true;
    } else if (c == ';') {
      return line.substr(0, i);
    }
  }
  return line;
}

bool isNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' || c == '$';
}

bool sameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

void LineCursor::skipBlanks() {
  while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\r')) ++pos_;
}

bool LineCursor::atEnd() {
  skipBlanks();
  return pos_ >= text_.size();
}

char LineCursor::peek() {
  skipBlanks();
  return pos_ < text_.size() ? text_[pos_] : '\0';
}

bool LineCursor::take(char c) {
  if (peek() != c || c == '\0') return false;
  ++pos_;
  return true;
}

std::string_view LineCursor::name() {
  skipBlanks();
  if (pos_ >= text_.size()) return {};
  char first = text_[pos_];
  if (!(std::isalpha(static_cast<unsigned char>(first)) || first == '_' || first == '.')) return {};
  std::size_t start = pos_;
  while (pos_ < text_.size() && isNameChar(text_[pos_])) ++pos_;
  return text_.substr(start, pos_ - start);
}

std::string_view LineCursor::word() {
  skipBlanks();
  std::size_t start = pos_;
  while (pos_ < text_.size() && text_[pos_] != ' ' && text_[pos_] != '\t' && text_[pos_] != '\r') ++pos_;
  return text_.substr(start, pos_ - start);
}

std::string_view LineCursor::run() {
  skipBlanks();
  std::size_t start = pos_;
  // A sign belongs to a number written here.
  if (pos_ < text_.size() && (text_[pos_] == '-' || text_[pos_] == '+')) ++pos_;
  while (pos_ < text_.size() && isNameChar(text_[pos_])) ++pos_;
  return text_.substr(start, pos_ - start);
}

std::string_view LineCursor::rest() {
  skipBlanks();
  std::string_view r = text_.substr(pos_);
  pos_ = text_.size();
  while (!r.empty() && (r.back() == ' ' || r.back() == '\t' || r.back() == '\r')) r.remove_suffix(1);
  return r;
}

namespace {
int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
}  // namespace

bool LineCursor::quoted(std::optional<std::string>& text, std::string& why) {
  text.reset();
  if (peek() != '"') return true;
  std::size_t i = pos_ + 1;
  std::string out;
  while (i < text_.size()) {
    char c = text_[i++];
    if (c == '"') {
      pos_ = i;
      text = std::move(out);
      return true;
    }
    if (c != '\\') {
      out += c;
      continue;
    }
    if (i >= text_.size()) break;
    char e = text_[i++];
    switch (e) {
      case '"': out += '"'; break;
      case '\\': out += '\\'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 't': out += '\t'; break;
      case '0': out += '\0'; break;
      case 'x': {
        int hi = i < text_.size() ? hexDigit(text_[i]) : -1;
        int lo = i + 1 < text_.size() ? hexDigit(text_[i + 1]) : -1;
        if (hi < 0 || lo < 0) {
          why = "bad escape \\x: two hex digits expected";
          pos_ = text_.size();
          return false;
        }
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
        break;
      }
      default:
        why = std::string("unknown escape \\") + e;
        pos_ = text_.size();
        return false;
    }
  }
  why = "unterminated string";
  pos_ = text_.size();
  return false;
}

namespace {
// Reads [sign]0x<hex> into v; false when token is not of that shape.
bool hexNumber(std::string_view token, double& v, bool& isHex) {
  bool negative = false;
  std::string_view t = token;
  if (!t.empty() && (t[0] == '-' || t[0] == '+')) {
    negative = t[0] == '-';
    t.remove_prefix(1);
  }
  isHex = t.size() >= 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X');
  if (!isHex) return false;
  t.remove_prefix(2);
  if (t.empty() || t.size() > 16) return false;
  std::uint64_t u = 0;
  for (char c : t) {
    int d = hexDigit(c);
    if (d < 0) return false;
    u = u * 16 + static_cast<std::uint64_t>(d);
  }
  v = negative ? -static_cast<double>(u) : static_cast<double>(u);
  return true;
}
}  // namespace

std::optional<double> parseNumber(std::string_view token) {
  if (token.empty()) return std::nullopt;
  double v = 0;
  bool isHex = false;
  if (hexNumber(token, v, isHex)) return v;
  if (isHex) return std::nullopt;
  std::string_view t = token;
  if (t[0] == '+') t.remove_prefix(1);
  // from_chars also reads "inf" and "nan"; a program's number is written in digits.
  std::size_t first = (!t.empty() && t[0] == '-') ? 1 : 0;
  if (t.size() <= first || !(std::isdigit(static_cast<unsigned char>(t[first])) || t[first] == '.'))
    return std::nullopt;
  auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (ec != std::errc() || end != t.data() + t.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<std::int64_t> parseInteger(std::string_view token, std::int64_t min, std::int64_t max) {
  auto v = parseNumber(token);
  if (!v || *v != std::floor(*v) || *v < static_cast<double>(min) || *v > static_cast<double>(max))
    return std::nullopt;
  return static_cast<std::int64_t>(*v);
}

}  // namespace tfabuild::asmtext
