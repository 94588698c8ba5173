// The statements of the program text form, one line at a time: directives,
// instructions, the if/while sugar and the raw form.
#include <array>
#include <cctype>
#include <cmath>
#include <cstring>
#include <string_view>

#include "runtime/builtins.hpp"
#include "runtime/program_image.hpp"
#include "tfabuild/asm_text.hpp"
#include "tfabuild/asm_unit.hpp"

namespace tfabuild::asmunit {

using asmtext::LineCursor;
using asmtext::parseInteger;
using asmtext::parseNumber;
using asmtext::sameWord;
using runtime::Instruction;

std::size_t Unit::emit(const Instruction& in, int line, Fixup fixup, std::string name) {
  code.push_back(Slot{in, fixup, std::move(name), 0, line});
  if (code.size() * runtime::kInstructionSize > runtime::kSegmentMax && !codeTooLarge) {
    codeTooLarge = true;
    error(line, "code segment over 65534 bytes (4681 instructions)");
  }
  return code.size() - 1;
}

std::size_t Unit::emitWithTarget(const Instruction& in, int line) {
  emit(in, line);
  return emit(Instruction{}, line);
}

void Unit::setTarget(std::size_t slot, std::uint32_t index) {
  base::putU16(code[slot].in.operand.data(), static_cast<std::uint16_t>(index));
}

bool Unit::declare(const std::string& n, NameUse use) {
  auto [it, fresh] = names.emplace(n, use);
  if (!fresh) {
    error(use.line, "duplicate name " + n + " (first on line " + std::to_string(it->second.line) + ")");
    return false;
  }
  return true;
}

std::size_t Unit::anonymousConstant(const std::string& text, int line) {
  auto it = anonymousByText.find(text);
  if (it != anonymousByText.end()) return it->second;
  std::size_t number = anonymousItems.size();
  DataItem item;
  item.kind = DataItem::Kind::Anonymous;
  item.text = text;
  item.size = static_cast<std::uint32_t>(text.size() + 1);
  item.line = line;
  anonymousItems.push_back(data.size());
  data.push_back(std::move(item));
  anonymousByText.emplace(text, number);
  return number;
}

namespace {

// A statement's reader: returns false when it reported an error (the rest of
// the line is then not looked at).
using Handler = bool (*)(Unit&, LineCursor&, int);

bool needName(Unit& u, LineCursor& c, int line, const char* what, std::string& out) {
  std::string_view n = c.name();
  if (n.empty()) {
    std::string_view got = c.word();
    u.error(line, std::string(what) + (got.empty() ? " expected" : " expected, got '" + std::string(got) + "'"));
    return false;
  }
  out = std::string(n);
  return true;
}

template <typename T>
bool needInteger(Unit& u, LineCursor& c, int line, const char* what, std::int64_t min, std::int64_t max,
                 T& out) {
  std::string_view w = c.run();
  if (w.empty()) w = c.word();
  auto v = parseInteger(w, min, max);
  if (!v) {
    if (w.empty())
      u.error(line, std::string(what) + " expected");
    else if (parseNumber(w))
      u.error(line, std::string(what) + " out of range: " + std::string(w) + " (" + std::to_string(min) + ".." +
                        std::to_string(max) + ")");
    else
      u.error(line, "bad number '" + std::string(w) + "'");
    return false;
  }
  out = static_cast<T>(*v);
  return true;
}

bool needString(Unit& u, LineCursor& c, int line, std::string& out) {
  std::optional<std::string> text;
  std::string why;
  if (!c.quoted(text, why)) {
    u.error(line, why);
    return false;
  }
  if (!text) {
    u.error(line, "a quoted string expected");
    return false;
  }
  out = std::move(*text);
  return true;
}

// --- directives ---

bool doHeader(Unit& u, LineCursor&, int) {
  u.header = true;
  return true;
}

bool doNum(Unit& u, LineCursor& c, int line) {
  DataItem item;
  item.kind = DataItem::Kind::Number;
  item.size = 8;
  item.line = line;
  if (!needName(u, c, line, "a variable name", item.name)) return false;
  if (c.take('=')) {
    std::string_view w = c.word();
    auto v = parseNumber(w);
    if (!v) {
      u.error(line, w.empty() ? std::string("a number expected after '='") : "bad number '" + std::string(w) + "'");
      return false;
    }
    item.number = *v;
  }
  if (!u.declare(item.name, {NameUse::Kind::Data, u.data.size(), line})) return false;
  u.data.push_back(std::move(item));
  return true;
}

bool doStr(Unit& u, LineCursor& c, int line) {
  DataItem item;
  item.kind = DataItem::Kind::String;
  item.line = line;
  if (!needName(u, c, line, "a variable name", item.name)) return false;
  if (!c.take('[')) {
    u.error(line, "capacity missing: str " + item.name + "[CAPACITY]");
    return false;
  }
  std::string_view w = c.run();
  auto cap = parseInteger(w, 1, 65535);
  if (!cap) {
    if (w.empty())
      u.error(line, "capacity missing: str " + item.name + "[CAPACITY]");
    else if (parseNumber(w))
      u.error(line, "capacity out of range: " + std::string(w) + " (1..65535)");
    else
      u.error(line, "bad number '" + std::string(w) + "'");
    return false;
  }
  if (!c.take(']')) {
    u.error(line, "']' expected after the capacity");
    return false;
  }
  item.size = static_cast<std::uint32_t>(*cap);
  if (c.take('=')) {
    if (!needString(u, c, line, item.text)) return false;
    if (item.text.size() + 1 > item.size) {
      u.error(line, "initial text of " + item.name + " longer than its capacity " + std::to_string(item.size) +
                        " allows (terminator included)");
      return false;
    }
  }
  if (!u.declare(item.name, {NameUse::Kind::Data, u.data.size(), line})) return false;
  u.data.push_back(std::move(item));
  return true;
}

bool doConst(Unit& u, LineCursor& c, int line) {
  DataItem item;
  item.kind = DataItem::Kind::Constant;
  item.line = line;
  if (!needName(u, c, line, "a constant name", item.name)) return false;
  c.take('=');  // "const NAME = "text"" reads the same
  if (!needString(u, c, line, item.text)) return false;
  item.size = static_cast<std::uint32_t>(item.text.size() + 1);
  if (!u.declare(item.name, {NameUse::Kind::Data, u.data.size(), line})) return false;
  u.data.push_back(std::move(item));
  return true;
}

bool doEntry(Unit& u, LineCursor& c, int line) {
  if (u.entryLine != 0) {
    u.error(line, "entry given twice (first on line " + std::to_string(u.entryLine) + ")");
    c.rest();
    return false;
  }
  std::string_view n = c.name();
  if (!n.empty()) {
    u.entryLabel = std::string(n);
  } else if (!needInteger(u, c, line, "an entry label or index", 0, 65535, u.entryIndex)) {
    return false;
  }
  u.entryLine = line;
  return true;
}

bool doData(Unit& u, LineCursor& c, int line) {
  DataItem item;
  item.kind = DataItem::Kind::Reserve;
  item.line = line;
  if (!needInteger(u, c, line, "a byte count", 0, 65535, item.size)) return false;
  u.data.push_back(std::move(item));
  return true;
}

// databytes HEX...: bytes of the data segment as given (the disassembler's raw form).
bool readHex(Unit& u, LineCursor& c, int line, std::vector<std::uint8_t>& out);

bool doDatabytes(Unit& u, LineCursor& c, int line) {
  std::vector<std::uint8_t> bytes;
  if (!readHex(u, c, line, bytes)) return false;
  DataItem item;
  item.kind = DataItem::Kind::Reserve;
  item.line = line;
  item.text.assign(bytes.begin(), bytes.end());
  item.size = static_cast<std::uint32_t>(bytes.size());
  u.data.push_back(std::move(item));
  return true;
}

// --- instructions ---

bool doPush(Unit& u, LineCursor& c, int line) {
  if (c.peek() == '"') {
    std::string text;
    if (!needString(u, c, line, text)) return false;
    std::size_t slot = u.emit(runtime::makeWord(runtime::kPushConstant, 0), line, Fixup::Anonymous);
    u.code[slot].anonymous = u.anonymousConstant(text, line);
    return true;
  }
  std::string_view w = c.word();
  auto v = parseNumber(w);
  if (!v) {
    u.error(line, w.empty() ? std::string("a number or a quoted string expected") : "bad number '" + std::string(w) + "'");
    return false;
  }
  u.emit(runtime::makeNumber(*v), line);
  return true;
}

bool doPushs(Unit& u, LineCursor& c, int line) {
  std::string_view n = c.name();
  if (!n.empty()) {
    u.emit(runtime::makeWord(runtime::kPushString, 0), line, Fixup::StringOffset, std::string(n));
    return true;
  }
  std::uint32_t offset = 0;
  if (!needInteger(u, c, line, "an offset", 0, 0xFFFFFFFFll, offset)) return false;
  u.emit(runtime::makeWord(runtime::kPushString, offset), line);
  return true;
}

bool namedOperand(Unit& u, LineCursor& c, int line, std::uint16_t kind, Fixup fixup) {
  std::string n;
  if (!needName(u, c, line, "a name", n)) return false;
  u.emit(runtime::makeWord(kind, 0), line, fixup, n);
  return true;
}

bool doGet(Unit& u, LineCursor& c, int line) {
  return namedOperand(u, c, line, runtime::kPushVariable, Fixup::NumberVar);
}
bool doRef(Unit& u, LineCursor& c, int line) {
  return namedOperand(u, c, line, runtime::kPushVarRef, Fixup::NumberVar);
}
bool doCstr(Unit& u, LineCursor& c, int line) {
  return namedOperand(u, c, line, runtime::kPushConstant, Fixup::Constant);
}
bool doSvar(Unit& u, LineCursor& c, int line) {
  return namedOperand(u, c, line, runtime::kPushStringVar, Fixup::StringVar);
}

constexpr std::array<std::string_view, 19> kOperators{"!",  "%",  "&",  "*",  "&&", "+",  "||",
                                                      "-",  "/",  "<",  ">",  "^",  "|",  "!=",
                                                      "<=", "==", ">=", "++", "--"};

bool doOp(Unit& u, LineCursor& c, int line) {
  std::string_view w = c.word();
  bool known = w == "=";
  for (std::string_view o : kOperators) known = known || w == o;
  if (!known) {
    u.error(line, w.empty() ? std::string("an operator expected") : "unknown operator '" + std::string(w) + "'");
    return false;
  }
  u.emit(runtime::makeWord(runtime::kOperator, runtime::opCode(w[0], w.size() > 1 ? w[1] : 0)), line);
  return true;
}

bool doCall(Unit& u, LineCursor& c, int line) {
  std::string_view target = c.run();
  if (target.empty()) {
    u.error(line, "a built-in name or number expected");
    return false;
  }
  int number = -1;
  const runtime::BuiltinInfo* info = nullptr;
  if (std::isdigit(static_cast<unsigned char>(target[0]))) {
    auto v = parseInteger(target, 0, 65535);
    if (!v) {
      u.error(line, "bad built-in number '" + std::string(target) + "'");
      return false;
    }
    number = static_cast<int>(*v);
    info = runtime::builtinInfo(number);
  } else {
    info = runtime::findBuiltin(target);
    if (!info) {
      u.error(line, "unknown built-in " + std::string(target));
      return false;
    }
    number = info->number;
  }
  // A number the table does not hold is called as written (the interpreter refuses it).
  std::uint8_t consumed = info ? info->arguments : 0;
  std::uint8_t produced = info && info->yields != runtime::Yields::Nothing ? 1 : 0;
  if (c.take('/')) {
    if (!needInteger(u, c, line, "an argument count", 0, 255, consumed)) return false;
    if (c.take('/') && !needInteger(u, c, line, "a result count", 0, 255, produced)) return false;
  }
  runtime::ResultKind kind =
      info && info->yields == runtime::Yields::Text ? runtime::ResultKind::Text : runtime::ResultKind::Number;
  std::string_view word = c.name();
  if (sameWord(word, "text")) {
    kind = runtime::ResultKind::Text;
  } else if (sameWord(word, "number")) {
    kind = runtime::ResultKind::Number;
  } else if (!word.empty()) {
    u.error(line, "'text' or 'number' expected, got '" + std::string(word) + "'");
    return false;
  }
  u.emit(runtime::makeBuiltin(static_cast<std::uint16_t>(number), consumed, produced, kind), line);
  return true;
}

bool jumpTo(Unit& u, LineCursor& c, int line, runtime::Control code) {
  std::string n;
  if (!needName(u, c, line, "a label", n)) return false;
  u.emit(runtime::makeWord(runtime::kControl, code), line);
  u.emit(Instruction{}, line, Fixup::Label, n);
  return true;
}

bool doJump(Unit& u, LineCursor& c, int line) { return jumpTo(u, c, line, runtime::kJump); }
bool doGosub(Unit& u, LineCursor& c, int line) { return jumpTo(u, c, line, runtime::kCall); }

bool doReturn(Unit& u, LineCursor&, int line) {
  u.emit(runtime::makeWord(runtime::kControl, runtime::kReturn), line);
  return true;
}

bool doEnd(Unit& u, LineCursor&, int line) {
  u.emit(runtime::makeBuiltin(runtime::kBuiltinEnd, 1, 0), line);
  return true;
}

// --- sugar ---

bool doIf(Unit& u, LineCursor&, int line) {
  std::size_t slot = u.emitWithTarget(runtime::makeBuiltin(runtime::kBuiltinIf, 1, 0), line);
  u.blocks.push_back(Block{Block::Kind::If, line, slot, 0});
  return true;
}

bool doElse(Unit& u, LineCursor&, int line) {
  if (u.blocks.empty() || u.blocks.back().kind != Block::Kind::If) {
    u.error(line, "else without if");
    return false;
  }
  std::size_t slot = u.emitWithTarget(runtime::makeWord(runtime::kControl, runtime::kJump), line);
  Block& b = u.blocks.back();
  u.setTarget(b.slot, u.here());
  b = Block{Block::Kind::Else, line, slot, 0};
  return true;
}

bool doEndif(Unit& u, LineCursor&, int line) {
  if (u.blocks.empty() || (u.blocks.back().kind != Block::Kind::If && u.blocks.back().kind != Block::Kind::Else)) {
    u.error(line, "endif without if");
    return false;
  }
  u.setTarget(u.blocks.back().slot, u.here());
  u.blocks.pop_back();
  return true;
}

bool doWhile(Unit& u, LineCursor&, int line) {
  u.blocks.push_back(Block{Block::Kind::While, line, 0, u.here()});
  return true;
}

bool doDo(Unit& u, LineCursor&, int line) {
  if (u.blocks.empty() || u.blocks.back().kind != Block::Kind::While) {
    u.error(line, "do without while");
    return false;
  }
  std::size_t slot = u.emitWithTarget(runtime::makeBuiltin(runtime::kBuiltinWhile, 1, 0), line);
  Block& b = u.blocks.back();
  b.kind = Block::Kind::Do;
  b.slot = slot;
  b.line = line;
  return true;
}

bool doLoop(Unit& u, LineCursor&, int line) {
  if (u.blocks.empty() || u.blocks.back().kind != Block::Kind::Do) {
    u.error(line, "loop without while ... do");
    return false;
  }
  Block b = u.blocks.back();
  u.blocks.pop_back();
  std::size_t back = u.emitWithTarget(runtime::makeWord(runtime::kControl, runtime::kJump), line);
  u.setTarget(back, b.whileStart);
  u.setTarget(b.slot, u.here());
  return true;
}

// --- the raw form ---

bool finishRaw(Unit& u, LineCursor& c, int line, Instruction& in);

bool doRaw(Unit& u, LineCursor& c, int line) {
  std::uint16_t kind = 0;
  if (!needInteger(u, c, line, "an instruction kind", 0, 65535, kind)) return false;
  Instruction in;
  in.kind = kind;
  // '#' and up to 16 hex digits give the operand's 64 bits as they are.
  if (c.take('#')) {
    std::string_view bits = c.run();
    std::uint64_t u64 = 0;
    bool good = !bits.empty() && bits.size() <= 16;
    for (char ch : bits) {
      int d = std::isdigit(static_cast<unsigned char>(ch)) ? ch - '0'
              : std::isxdigit(static_cast<unsigned char>(ch)) ? std::tolower(static_cast<unsigned char>(ch)) - 'a' + 10
                                                               : -1;
      good = good && d >= 0;
      u64 = u64 << 4 | static_cast<std::uint64_t>(d < 0 ? 0 : d);
    }
    if (!good) {
      u.error(line, "bad operand bits '#" + std::string(bits) + "'");
      return false;
    }
    base::putU64(in.operand.data(), u64);
    return finishRaw(u, c, line, in);
  }
  std::string_view w = c.word();
  auto operand = parseNumber(w);
  if (!operand) {
    u.error(line, w.empty() ? std::string("an operand expected") : "bad number '" + std::string(w) + "'");
    return false;
  }
  if (kind == runtime::kPushNumber) {
    std::memcpy(in.operand.data(), &*operand, sizeof(double));
  } else {
    if (*operand != std::floor(*operand) || *operand < -9.2e18 || *operand > 1.8e19) {
      u.error(line, "the operand of kind " + std::to_string(kind) + " must be a whole number");
      return false;
    }
    std::uint64_t bits = *operand < 0 ? static_cast<std::uint64_t>(static_cast<std::int64_t>(*operand))
                                      : static_cast<std::uint64_t>(*operand);
    base::putU64(in.operand.data(), bits);
  }
  return finishRaw(u, c, line, in);
}

bool finishRaw(Unit& u, LineCursor& c, int line, Instruction& in) {
  if (!c.atEnd()) {
    if (!needInteger(u, c, line, "a result kind", 0, 65535, in.resultKind) ||
        !needInteger(u, c, line, "a consumed count", 0, 255, in.consumed) ||
        !needInteger(u, c, line, "a produced count", 0, 255, in.produced))
      return false;
  }
  u.emit(in, line);
  return true;
}

bool doWord(Unit& u, LineCursor& c, int line) {
  std::string_view n = c.name();
  if (!n.empty()) {
    u.emit(Instruction{}, line, Fixup::Label, std::string(n));
    return true;
  }
  std::uint16_t target = 0;
  if (!needInteger(u, c, line, "a target", 0, 65535, target)) return false;
  std::size_t slot = u.emit(Instruction{}, line);
  u.setTarget(slot, target);
  return true;
}

bool doSegword(Unit& u, LineCursor& c, int line) {
  std::uint16_t d = 0, e = 0;
  if (!needInteger(u, c, line, "a data segment size", 0, 65535, d) ||
      !needInteger(u, c, line, "an entry index", 0, 65535, e))
    return false;
  u.segword = std::make_pair(d, e);
  return true;
}

bool readHex(Unit& u, LineCursor& c, int line, std::vector<std::uint8_t>& out) {
  if (c.atEnd()) {
    u.error(line, "hex bytes expected");
    return false;
  }
  auto hex = [](char ch) {
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
    return -1;
  };
  while (!c.atEnd()) {
    std::string_view w = c.word();
    if (w.size() >= 2 && w[0] == '0' && (w[1] == 'x' || w[1] == 'X')) w.remove_prefix(2);
    bool good = !w.empty() && w.size() % 2 == 0;
    for (std::size_t i = 0; good && i < w.size(); i += 2) {
      int hi = hex(w[i]), lo = hex(w[i + 1]);
      good = hi >= 0 && lo >= 0;
      if (good) out.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
    }
    if (!good) {
      u.error(line, "bad hex bytes '" + std::string(w) + "'");
      return false;
    }
  }
  return true;
}

bool doBytes(Unit& u, LineCursor& c, int line) { return readHex(u, c, line, u.trailing); }

// fill N BYTE: N copies of BYTE after the code (files of a chosen size).
bool doFill(Unit& u, LineCursor& c, int line) {
  std::uint32_t count = 0;
  std::uint8_t value = 0;
  if (!needInteger(u, c, line, "a byte count", 0, 1 << 20, count)) return false;
  if (!c.atEnd() && !needInteger(u, c, line, "a byte value", 0, 255, value)) return false;
  u.trailing.insert(u.trailing.end(), count, value);
  return true;
}

struct Statement {
  std::string_view mnemonic;
  Handler handler;
};

constexpr std::array<Statement, 30> kStatements{{
    {"header", doHeader}, {"num", doNum},       {"str", doStr},       {"const", doConst},
    {"entry", doEntry},   {"data", doData},     {"push", doPush},     {"pushs", doPushs},
    {"get", doGet},       {"ref", doRef},       {"cstr", doCstr},     {"svar", doSvar},
    {"op", doOp},         {"call", doCall},     {"jump", doJump},     {"gosub", doGosub},
    {"return", doReturn}, {"end", doEnd},       {"if", doIf},         {"else", doElse},
    {"endif", doEndif},   {"while", doWhile},   {"do", doDo},         {"loop", doLoop},
    {"raw", doRaw},       {"word", doWord},     {"segword", doSegword}, {"bytes", doBytes},
    {"fill", doFill},     {"databytes", doDatabytes},
}};

}  // namespace

void assembleLine(Unit& u, std::string_view text, int line) {
  LineCursor c(asmtext::stripComment(text));
  if (c.atEnd()) return;
  // A label: a name followed by ':'.
  {
    LineCursor probe = c;
    std::string_view n = probe.name();
    if (!n.empty() && probe.take(':')) {
      std::string label(n);
      if (u.declare(label, {NameUse::Kind::Label, u.labelIndex.size(), line})) u.labelIndex.push_back(u.here());
      c = probe;
      if (c.atEnd()) return;
    }
  }
  LineCursor probe = c;
  std::string_view mnemonic = c.name();
  const Statement* found = nullptr;
  for (const Statement& s : kStatements)
    if (sameWord(s.mnemonic, mnemonic)) found = &s;
  if (!found) {
    std::string_view w = mnemonic.empty() ? probe.word() : mnemonic;
    u.error(line, "unknown mnemonic " + std::string(w));
    return;
  }
  if (!found->handler(u, c, line)) return;
  if (!c.atEnd()) u.error(line, "unexpected '" + std::string(c.rest()) + "' after " + std::string(found->mnemonic));
}

void finishBlocks(Unit& u) {
  for (const Block& b : u.blocks) {
    switch (b.kind) {
      case Block::Kind::If: u.error(b.line, "if without endif"); break;
      case Block::Kind::Else: u.error(b.line, "else without endif"); break;
      case Block::Kind::While: u.error(b.line, "while without do"); break;
      case Block::Kind::Do: u.error(b.line, "do without loop"); break;
    }
  }
  u.blocks.clear();
}

}  // namespace tfabuild::asmunit
