// Program file bytes back to text. The readable form names the data the
// instructions use (n<offset> numbers, s<offset> string variables,
// c<offset> constants) and the jump targets (L<index>); the raw form writes
// every slot and data byte exactly, so that it assembles to the same file.
#include "tfabuild/disassembler.hpp"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>

#include "base/le.hpp"
#include "runtime/builtins.hpp"
#include "runtime/instruction.hpp"

namespace tfabuild {

namespace {

using runtime::Instruction;

constexpr std::uint32_t kResultArea = 512;

const char* const kOperators[] = {"!",  "%",  "&",  "*",  "&&", "+",  "||", "-",  "/",  "<",
                                  ">",  "^",  "|",  "!=", "<=", "==", ">=", "++", "--", "="};

const char* operatorName(std::uint16_t code) {
  for (const char* o : kOperators)
    if (runtime::opCode(o[0], o[1]) == code) return o;
  return nullptr;
}

std::string hexBytes(const std::uint8_t* p, std::size_t n) {
  static const char digits[] = "0123456789abcdef";
  std::string s;
  for (std::size_t i = 0; i < n; ++i) {
    s += digits[p[i] >> 4];
    s += digits[p[i] & 15];
  }
  return s;
}

// A number written so that reading it back gives the same double.
std::string numberText(double v) {
  char buf[40];
  for (int precision = 15; precision <= 17; ++precision) {
    std::snprintf(buf, sizeof buf, "%.*g", precision, v);
    if (std::strtod(buf, nullptr) == v) break;
  }
  return buf;
}

std::string quote(const std::string& text) {
  std::string s = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      s += '\\';
      s += static_cast<char>(c);
    } else if (c == '\n') {
      s += "\\n";
    } else if (c < 32 || c == 127) {
      s += "\\x" + hexBytes(&c, 1);
    } else {
      s += static_cast<char>(c);
    }
  }
  return s + "\"";
}

// The slot's operand for the raw form: a number when it reads back exactly, else its bits.
std::string rawOperand(const Instruction& in) {
  std::uint64_t bits = base::getU64(in.operand.data());
  if (in.kind == runtime::kPushNumber) {
    double v = in.number();
    if (std::isfinite(v) && !(v == 0 && std::signbit(v))) return numberText(v);
  } else if (bits < (1ull << 53)) {
    return std::to_string(bits);
  }
  char buf[24];
  std::snprintf(buf, sizeof buf, "#%016llx", static_cast<unsigned long long>(bits));
  return buf;
}

std::string rawSlot(const Instruction& in) {
  std::string s = "raw " + std::to_string(in.kind) + " " + rawOperand(in);
  if (in.resultKind != 0 || in.consumed != 0 || in.produced != 0)
    s += " " + std::to_string(in.resultKind) + " " + std::to_string(in.consumed) + " " + std::to_string(in.produced);
  return s;
}

// A target slot is plain when only its word 0 is set.
bool plainTarget(const Instruction& in) {
  for (std::size_t i = 2; i < in.operand.size(); ++i)
    if (in.operand[i] != 0) return false;
  return in.kind == 0 && in.resultKind == 0 && in.consumed == 0 && in.produced == 0;
}

bool takesTarget(const Instruction& in) {
  if (in.kind == runtime::kControl) return in.word32() == runtime::kJump || in.word32() == runtime::kCall;
  return in.kind == runtime::kCallBuiltin &&
         (in.word32() == runtime::kBuiltinIf || in.word32() == runtime::kBuiltinWhile);
}

// True when the slot's bytes past what its kind uses are zero, so the
// readable statement rebuilds it exactly.
bool cleanOperand(const Instruction& in, std::size_t used) {
  for (std::size_t i = used; i < in.operand.size(); ++i)
    if (in.operand[i] != 0) return false;
  return in.kind == runtime::kCallBuiltin || (in.resultKind == 0 && in.consumed == 0 && in.produced == 0);
}

class Writer {
 public:
  Writer(const ProgramFileParts& parts, bool raw) : p_(parts), raw_(raw) {
    count_ = p_.code.size() / runtime::kInstructionSize;
    for (std::size_t i = 0; i < count_; ++i) slots_.push_back(runtime::decodeInstruction(&p_.code[i * 14]));
  }

  std::string write() {
    findTargets();
    line(std::string("; ") + (p_.withHeader ? "with header" : "without header") + ", data segment " +
         std::to_string(p_.dataSize) + " bytes, " + std::to_string(count_) + " instructions, entry " +
         std::to_string(p_.entry));
    if (p_.withHeader) line("header");
    if (p_.entry != 0)
      line(p_.entry <= count_ ? "entry L" + std::to_string(p_.entry) : "entry " + std::to_string(p_.entry));
    if (raw_) {
      rawData();
    } else {
      findData();
      readableData();
    }
    code();
    if (!p_.tail.empty()) {
      line("; bytes after the last whole instruction");
      for (std::size_t i = 0; i < p_.tail.size(); i += 32)
        line("bytes " + hexBytes(p_.tail.data() + i, std::min<std::size_t>(32, p_.tail.size() - i)));
    }
    return out_;
  }

 private:
  void line(const std::string& s) { out_ += s + "\n"; }

  void findTargets() {
    for (std::size_t i = 0; i + 1 < count_; ++i) {
      if (!takesTarget(slots_[i])) continue;
      std::uint16_t t = slots_[i + 1].word16();
      if (t <= count_) labels_.insert(t);
      ++i;
    }
  }

  // --- data ---

  void rawData() {
    if (p_.data.size() < kResultArea) {
      // The assembler always lays out the result area; the size word says what the file holds.
      line("; a data segment shorter than the result area: only the segment word says so");
      line("segword " + std::to_string(p_.dataSize) + " " + std::to_string(p_.entry));
      return;
    }
    std::size_t i = kResultArea;
    while (i < p_.data.size()) {
      std::size_t zeros = 0;
      while (i + zeros < p_.data.size() && p_.data[i + zeros] == 0) ++zeros;
      if (zeros >= 8 || i + zeros == p_.data.size()) {
        if (zeros > 0) line("data " + std::to_string(zeros));
        i += zeros;
        continue;
      }
      std::size_t n = std::min<std::size_t>(32, p_.data.size() - i);
      line("databytes " + hexBytes(p_.data.data() + i, n));
      i += n;
    }
    bool resultAreaClean = true;
    for (std::size_t k = 0; k < kResultArea; ++k) resultAreaClean = resultAreaClean && p_.data[k] == 0;
    if (!resultAreaClean) line("; the result area (offsets 0-511) is not zero in this file");
  }

  enum class Item { Number, StringVar, Constant };
  struct Use {
    Item item;
    std::uint32_t size;
  };

  void findData() {
    for (std::size_t i = 0; i < count_; ++i) {
      const Instruction& in = slots_[i];
      std::uint32_t op = in.word32();
      if (in.kind == runtime::kPushVariable || in.kind == runtime::kPushVarRef) {
        std::uint64_t offset = p_.withHeader ? op : std::uint64_t{op} * 8;
        if (offset + 8 <= p_.data.size()) data_.emplace(static_cast<std::uint32_t>(offset), Use{Item::Number, 8});
      } else if (in.kind == runtime::kPushStringVar) {
        std::uint32_t offset = op & 0xFFFF, cap = op >> 16;
        if (cap > 0 && offset + cap <= p_.data.size()) data_.emplace(offset, Use{Item::StringVar, cap});
      } else if (in.kind == runtime::kPushConstant) {
        std::uint32_t end = op;
        while (end < p_.data.size() && p_.data[end] != 0) ++end;
        if (end < p_.data.size()) data_.emplace(op, Use{Item::Constant, end - op + 1});
      }
      if (takesTarget(in)) ++i;
    }
  }

  std::string textAt(std::uint32_t offset, std::uint32_t limit) const {
    std::string s;
    for (std::uint32_t k = offset; k < offset + limit && k < p_.data.size() && p_.data[k] != 0; ++k)
      s += static_cast<char>(p_.data[k]);
    return s;
  }

  std::string dataName(std::uint32_t offset) const {
    auto it = data_.find(offset);
    if (it == data_.end()) return {};
    const char* prefix = it->second.item == Item::Number ? "n" : it->second.item == Item::StringVar ? "s" : "c";
    return prefix + std::to_string(offset);
  }

  void gap(std::uint32_t from, std::uint32_t to) {
    if (to <= from) return;
    bool zero = true;
    for (std::uint32_t k = from; k < to; ++k) zero = zero && p_.data[k] == 0;
    if (zero) {
      line("data " + std::to_string(to - from));
      return;
    }
    for (std::uint32_t k = from; k < to; k += 32) {
      std::uint32_t n = std::min<std::uint32_t>(32, to - k);
      line("databytes " + hexBytes(p_.data.data() + k, n) + "   ; @" + std::to_string(k));
    }
  }

  void readableData() {
    std::uint32_t at = kResultArea;
    for (const auto& [offset, use] : data_) {
      std::string name = dataName(offset);
      if (offset < at) {
        line("; " + name + " at " + std::to_string(offset) + " overlaps the item before it");
        overlapping_.insert(offset);
        continue;
      }
      // Numbers are 8-aligned by the layout; a gap before one is padding.
      std::uint32_t padTo = use.item == Item::Number ? offset & ~7u : offset;
      gap(at, padTo);
      if (padTo != offset) gap(padTo, offset);
      std::string where = "   ; @" + std::to_string(offset);
      switch (use.item) {
        case Item::Number: {
          double v;
          std::memcpy(&v, p_.data.data() + offset, 8);
          line("num " + name + (v == 0 && !std::signbit(v) ? "" : " = " + numberText(v)) + where);
          break;
        }
        case Item::StringVar: {
          std::string text = textAt(offset, use.size - 1);
          line("str " + name + "[" + std::to_string(use.size) + "]" + (text.empty() ? "" : " = " + quote(text)) +
               where);
          break;
        }
        case Item::Constant: line("const " + name + " " + quote(textAt(offset, use.size)) + where); break;
      }
      at = offset + use.size;
    }
    if (at < p_.data.size()) gap(at, static_cast<std::uint32_t>(p_.data.size()));
  }

  // --- code ---

  void statement(std::size_t index, const std::string& text, const std::string& note = {}) {
    std::string s = "    " + text;
    if (s.size() < 36) s.resize(36, ' ');
    line(s + " ; " + std::to_string(index) + note);
  }

  std::string label(std::uint16_t target) const {
    return target <= count_ ? "L" + std::to_string(target) : std::to_string(target);
  }

  // The readable statement for slot i, or "" when only the raw form says it exactly.
  std::string readable(const Instruction& in) const {
    std::uint32_t op = in.word32();
    switch (in.kind) {
      case runtime::kPushNumber: {
        double v = in.number();
        if (std::isfinite(v) && !(v == 0 && std::signbit(v)) && cleanOperand(in, 8)) return "push " + numberText(v);
        return {};
      }
      case runtime::kPushString:
        return cleanOperand(in, 4) ? "pushs " + std::to_string(op) : std::string{};
      case runtime::kPushVariable:
      case runtime::kPushVarRef:
      case runtime::kPushStringVar:
      case runtime::kPushConstant: {
        std::uint32_t offset = in.kind == runtime::kPushStringVar ? (op & 0xFFFF)
                               : (in.kind == runtime::kPushConstant || p_.withHeader) ? op
                                                                                      : op * 8;
        std::string name = dataName(offset);
        if (!cleanOperand(in, 4) || name.empty() || overlapping_.count(offset) || op > 0xFFFFFFF) return {};
        if (in.kind == runtime::kPushStringVar && data_.at(offset).size != (op >> 16)) return {};
        const char* m = in.kind == runtime::kPushVariable ? "get "
                        : in.kind == runtime::kPushVarRef ? "ref "
                        : in.kind == runtime::kPushConstant ? "cstr "
                                                             : "svar ";
        return m + name;
      }
      case runtime::kOperator: {
        const char* o = operatorName(static_cast<std::uint16_t>(op));
        return o && cleanOperand(in, 2) && op <= 0xFFFF ? std::string("op ") + o : std::string{};
      }
      case runtime::kCallBuiltin: return builtinCall(in);
      case runtime::kControl:
        if (op == runtime::kReturn && cleanOperand(in, 2)) return "return";
        return {};
      default: return {};
    }
  }

  std::string builtinCall(const Instruction& in) const {
    std::uint32_t op = in.word32();
    if (!cleanOperand(in, 2) || op > 0xFFFF || (in.resultKind != 1 && in.resultKind != 2)) return {};
    const runtime::BuiltinInfo* info = runtime::builtinInfo(static_cast<int>(op));
    if (op == runtime::kBuiltinEnd && in.consumed == 1 && in.produced == 0 && in.resultKind == 1) return "end";
    std::string s = "call " + (info ? std::string(info->name) : std::to_string(op));
    std::uint8_t args = info ? info->arguments : 0;
    std::uint8_t results = info && info->yields != runtime::Yields::Nothing ? 1 : 0;
    if (in.produced != results)
      s += "/" + std::to_string(in.consumed) + "/" + std::to_string(in.produced);
    else if (in.consumed != args)
      s += "/" + std::to_string(in.consumed);
    std::uint16_t kind = info && info->yields == runtime::Yields::Text ? 2 : 1;
    if (in.resultKind != kind) s += in.resultKind == 2 ? " text" : " number";
    return s;
  }

  void code() {
    for (std::size_t i = 0; i < count_; ++i) {
      if (labels_.count(static_cast<std::uint16_t>(i))) line("L" + std::to_string(i) + ":");
      const Instruction& in = slots_[i];
      bool target = takesTarget(in) && i + 1 < count_;
      if (target && !raw_ && plainTarget(slots_[i + 1]) && cleanOperand(in, 2)) {
        std::uint16_t t = slots_[i + 1].word16();
        bool control = in.kind == runtime::kControl;
        bool named = t <= count_;
        if (control && named) {
          statement(i, (in.word32() == runtime::kJump ? "jump " : "gosub ") + label(t));
        } else if (control) {
          statement(i, rawSlot(in));
        } else {
          std::string call = builtinCall(in);
          statement(i, call.empty() ? rawSlot(in) : call);
        }
        if (control && named)
          line("    ; " + std::to_string(i + 1) + ": target " + std::to_string(t));
        else
          statement(i + 1, "word " + label(t), ": target " + std::to_string(t));
        ++i;
        continue;
      }
      std::string text = raw_ ? std::string{} : readable(in);
      statement(i, text.empty() ? rawSlot(in) : text);
      if (target) {
        const Instruction& slot = slots_[i + 1];
        std::uint16_t t = slot.word16();
        statement(i + 1, plainTarget(slot) ? "word " + label(t) : rawSlot(slot), ": target " + std::to_string(t));
        ++i;
      }
    }
    if (labels_.count(static_cast<std::uint16_t>(count_))) line("L" + std::to_string(count_) + ":");
  }

  const ProgramFileParts& p_;
  bool raw_;
  std::size_t count_ = 0;
  std::vector<Instruction> slots_;
  std::set<std::uint16_t> labels_;
  std::map<std::uint32_t, Use> data_;
  std::set<std::uint32_t> overlapping_;
  std::string out_;
};

}  // namespace

std::string disassemble(const std::vector<std::uint8_t>& bytes, bool raw) {
  ProgramFileParts parts;
  std::string why;
  if (!splitProgramFile(bytes, parts, why)) return "; not a program file: " + why + "\n";
  return Writer(parts, raw).write();
}

}  // namespace tfabuild
