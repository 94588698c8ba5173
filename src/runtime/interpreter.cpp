#include "runtime/interpreter.hpp"

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "runtime/builtin_table.hpp"
#include "runtime/call.hpp"
#include "runtime/program_steps.hpp"
#include "runtime/run_errors.hpp"

namespace runtime {

int RunOutcome::programValue() const { return ended ? toInt32(value) : 1; }

namespace {

inline void putNumber(StackEntry& e, double v) {
  e.bits = std::bit_cast<std::uint64_t>(v);
  e.tag = kTagNumber;
}

inline void putWord(StackEntry& e, std::uint64_t bits, std::uint16_t tag) {
  e.bits = bits;
  e.tag = tag;
}

// The bitwise operators work on the low 32 bits of a value's integer part
// (NaN as 0, values past the 64-bit range saturated first) and give the
// unsigned result: −1 & 255 is 255.
inline std::uint32_t low32(double v) { return static_cast<std::uint32_t>(static_cast<std::uint64_t>(toInt64(v))); }

// The operators a fused step may apply (fusedStep), on numbers; always
// called with a constant op, so each use folds to one operation.
inline double apply(Step op, double a, double b) {
  switch (op) {
    case Step::Add: return a + b;
    case Step::Sub: return a - b;
    case Step::Mul: return a * b;
    case Step::Less: return a < b ? 1.0 : 0.0;
    case Step::Greater: return a > b ? 1.0 : 0.0;
    case Step::LessEqual: return a <= b ? 1.0 : 0.0;
    case Step::GreaterEqual: return a >= b ? 1.0 : 0.0;
    case Step::Equal: return a == b ? 1.0 : 0.0;
    case Step::NotEqual: return a != b ? 1.0 : 0.0;
    case Step::BitAnd: return static_cast<double>(low32(a) & low32(b));
    case Step::BitOr: return static_cast<double>(low32(a) | low32(b));
    case Step::BitXor: return static_cast<double>(low32(a) ^ low32(b));
    default: return 0;  // never: fusion takes no other operator
  }
}

// Sets m.running for the life of a run, also when a built-in throws.
class RunningMark {
 public:
  explicit RunningMark(Machine& m) : m_(m) { m_.running = true; }
  ~RunningMark() {
    m_.running = false;
    m_.image = nullptr;
  }
  RunningMark(const RunningMark&) = delete;
  RunningMark& operator=(const RunningMark&) = delete;

 private:
  Machine& m_;
};

// The loop itself. The stack pointer and the counter live in locals and are
// written back to the machine before a built-in sees it and when the run stops.
class Loop {
 public:
  Loop(Machine& m, ProgramImage& image, RunContext& ctx, const DecodedProgram& program)
      : m_(m), image_(image), ctx_(ctx), program_(program), table_(builtinTable()) {}

  void run();

 private:
  // A numeric value of an entry: the fast way for a plain number.
  double value(const StackEntry& e) {
    return e.tag == kTagNumber ? std::bit_cast<double>(e.bits) : m_.numberOf(e);
  }
  // The bytes of the numeric variable a tag-32 entry names, or null (error
  // 13) when it does not lie wholly inside the data segment.
  std::uint8_t* variable(const StackEntry& e) {
    const std::size_t v = e.low16();
    const std::size_t offset = image_.withHeader ? v : 8 * v;
    if (offset + 8 > image_.data.size()) {
      m_.fail(kErrBadDataSource);
      return nullptr;
    }
    return image_.data.data() + offset;
  }
  static double load(const std::uint8_t* p) {
    double d;
    std::memcpy(&d, p, sizeof d);
    return d;
  }
  static void store(std::uint8_t* p, double d) { std::memcpy(p, &d, sizeof d); }

  void assign(const StackEntry& dest, const StackEntry& val);
  // Runs the built-in of step on a stack of sp entries; returns the new
  // stack pointer, or -1 when the run must stop.
  int callBuiltin(const DecodedStep& step, int sp);

  Machine& m_;
  ProgramImage& image_;
  RunContext& ctx_;
  const DecodedProgram& program_;
  const BuiltinTable& table_;
};

void Loop::assign(const StackEntry& dest, const StackEntry& val) {
  const bool number = val.tag == kTagNumber;
  const bool string = val.tag == kTagString || val.tag == kTagConstant;
  if (dest.tag == kTagNumVar && (number || string)) {
    // A string is stored as its value read as a decimal number.
    const double v = number ? std::bit_cast<double>(val.bits) : m_.numberOf(val);
    if (m_.runError != 0) return;
    if (std::uint8_t* p = variable(dest)) store(p, v);
  } else if (dest.tag == kTagStringVar && number) {
    (void)m_.writeString(dest.low16(), dest.high16(), m_.formatNumber(std::bit_cast<double>(val.bits)));
  } else if (dest.tag == kTagStringVar && string) {
    const std::string text = m_.stringAt(val.low16());
    if (m_.runError != 0) return;
    (void)m_.writeString(dest.low16(), dest.high16(), text);
  }
  // Any other pairing does nothing.
}

int Loop::callBuiltin(const DecodedStep& step, int sp) {
  const int n = step.consumed;
  if (n > sp) {
    m_.fail(kErrEvalStack);  // never read below the stack
    return -1;
  }
  m_.sp = sp;
  Call call(m_, ctx_, static_cast<int>(step.aux), n, step.wantsText);
  table_[step.aux](call);
  if (m_.runError != 0) return -1;
  if (step.produced != 0) {
    StackEntry& slot = m_.stack[static_cast<std::size_t>(sp - n)];
    if (call.resultIsText())
      slot = m_.stringResult(m_.text);
    else
      putNumber(slot, m_.result);
  }
  return sp - n + step.produced;
}

void Loop::run() {
  StackEntry* const st = m_.stack.data();
  const DecodedStep* const steps = program_.steps.data();
  const DecodedStep* const plain = program_.plain.data();
  const FusedStep* const fused = program_.fused.data();
  // The steps end in two that stop the run with error 7, and every target was
  // clamped to the first of them, so a fetch needs no bounds check.
  const std::uint32_t count = static_cast<std::uint32_t>(program_.steps.size() - kStopSteps);
  // The data segment's bytes do not move while the run lasts.
  std::uint8_t* const data = image_.data.data();
  const DecodedStep* current = nullptr;
  std::uint32_t pc = m_.counter < count ? m_.counter : count;
  int sp = 0;
  // Without a budget the count never runs out in any run that could end.
  const bool limited = ctx_.budget >= 0;
  std::int64_t left = limited ? ctx_.budget : std::numeric_limits<std::int64_t>::max();

  // Only pushes and built-in results raise the stack pointer, so the
  // overflow check after each instruction is made after those alone.
#define PUSHED()                   \
  if (sp >= kStackSize) {          \
    m_.fail(kErrStackOverflow);    \
    goto stop;                     \
  }
#define BINARY(expr)                                           \
  {                                                            \
    if (sp < 2) {                                              \
      m_.fail(kErrEvalStack);                                  \
      goto stop;                                               \
    }                                                          \
    const StackEntry& ea = st[sp - 2];                         \
    const StackEntry& eb = st[sp - 1];                         \
    double a, b;                                               \
    if (ea.tag == kTagNumber && eb.tag == kTagNumber) {        \
      a = std::bit_cast<double>(ea.bits);                      \
      b = std::bit_cast<double>(eb.bits);                      \
    } else {                                                   \
      a = value(ea);                                           \
      b = value(eb);                                           \
      if (m_.runError != 0) goto stop;                         \
    }                                                          \
    putNumber(st[sp - 2], (expr));                             \
    --sp;                                                      \
  }
#define DIVISOR_NOT_ZERO()                                       \
  if (sp >= 2 && value(st[sp - 1]) == 0 && m_.runError == 0) {   \
    m_.fail(kErrDivideByZero);                                   \
    goto stop;                                                   \
  }

  for (;;) {
    if (--left < 0) [[unlikely]] {
      m_.fail(kErrUserAborted);
      break;
    }
    current = &steps[pc];
  again:
    const DecodedStep& s = *current;
    switch (s.step) {
      case Step::PushNumber: putWord(st[sp++], s.bits, kTagNumber); PUSHED(); ++pc; break;
      case Step::PushString: putWord(st[sp++], s.bits, kTagString); PUSHED(); ++pc; break;
      case Step::PushConstant: putWord(st[sp++], s.bits, kTagConstant); PUSHED(); ++pc; break;
      case Step::PushStringVar: putWord(st[sp++], s.bits, kTagStringVar); PUSHED(); ++pc; break;
      case Step::PushVarRef: putWord(st[sp++], s.bits, kTagNumVar); PUSHED(); ++pc; break;
      case Step::PushVariable: putNumber(st[sp++], load(data + s.aux)); PUSHED(); ++pc; break;
      case Step::BadVariable: m_.fail(kErrBadDataSource); goto stop;

      case Step::Condition: {
        const int n = s.consumed;
        if (n > sp) {
          m_.fail(kErrEvalStack);
          goto stop;
        }
        // The condition's result is its first argument.
        const double x = n > 0 ? value(st[sp - n]) : 0.0;
        if (m_.runError != 0) goto stop;
        m_.result = x;
        if (s.produced != 0) putNumber(st[sp - n], x);
        sp = sp - n + s.produced;
        PUSHED();
        pc = x == 0 ? s.aux : pc + 2;
        break;
      }
      case Step::End: {
        const int after = callBuiltin(s, sp);
        if (after < 0) goto stop;  // the stack as the built-in found it
        sp = after;
        m_.ended = true;
        m_.endValue = std::fabs(m_.result);
        goto stop;
      }
      case Step::Builtin: {
        m_.counter = pc;
        const int after = callBuiltin(s, sp);
        if (after < 0) goto stop;
        sp = after;
        PUSHED();
        ++pc;
        break;
      }

      case Step::Not: {
        if (sp < 1) {
          m_.fail(kErrEvalStack);
          goto stop;
        }
        const double a = value(st[sp - 1]);
        if (m_.runError != 0) goto stop;
        putNumber(st[sp - 1], a == 0 ? 1.0 : 0.0);
        ++pc;
        break;
      }
      case Step::Mod: DIVISOR_NOT_ZERO(); BINARY(std::fmod(a, b)); ++pc; break;
      case Step::Div: DIVISOR_NOT_ZERO(); BINARY(a / b); ++pc; break;
      case Step::BitAnd: BINARY(static_cast<double>(low32(a) & low32(b))); ++pc; break;
      case Step::BitOr: BINARY(static_cast<double>(low32(a) | low32(b))); ++pc; break;
      case Step::BitXor: BINARY(static_cast<double>(low32(a) ^ low32(b))); ++pc; break;
      case Step::Mul: BINARY(a * b); ++pc; break;
      case Step::Add: BINARY(a + b); ++pc; break;
      case Step::Sub: BINARY(a - b); ++pc; break;
      case Step::Less: BINARY(a < b ? 1.0 : 0.0); ++pc; break;
      case Step::Greater: BINARY(a > b ? 1.0 : 0.0); ++pc; break;
      case Step::NotEqual: BINARY(a != b ? 1.0 : 0.0); ++pc; break;
      case Step::LessEqual: BINARY(a <= b ? 1.0 : 0.0); ++pc; break;
      case Step::Equal: BINARY(a == b ? 1.0 : 0.0); ++pc; break;
      case Step::GreaterEqual: BINARY(a >= b ? 1.0 : 0.0); ++pc; break;
      case Step::Increment:
      case Step::Decrement: {
        // The reference is consumed; on anything but a numeric variable
        // reference the operator does nothing.
        if (sp < 1) {
          m_.fail(kErrEvalStack);
          goto stop;
        }
        const StackEntry& e = st[--sp];
        if (e.tag == kTagNumVar) {
          std::uint8_t* p = variable(e);
          if (p == nullptr) goto stop;
          store(p, load(p) + (s.step == Step::Increment ? 1.0 : -1.0));
        }
        ++pc;
        break;
      }
      case Step::Assign: {
        if (sp < 2) {
          m_.fail(kErrEvalStack);
          goto stop;
        }
        sp -= 2;
        const StackEntry& dest = st[sp];
        const StackEntry& val = st[sp + 1];
        if (dest.tag == kTagNumVar && val.tag == kTagNumber) {
          std::uint8_t* p = variable(dest);
          if (p == nullptr) goto stop;
          store(p, std::bit_cast<double>(val.bits));
        } else {
          assign(dest, val);
          if (m_.runError != 0) goto stop;
        }
        ++pc;
        break;
      }

      case Step::Jump: pc = s.aux; break;
      case Step::CallSub:
        putNumber(st[sp], static_cast<double>(pc + 2));
        st[sp++].tag = kTagReturn;
        PUSHED();
        pc = s.aux;
        break;
      case Step::Return: {
        if (sp < 1 || st[sp - 1].tag != kTagReturn) {
          m_.fail(kErrBadReturn);
          goto stop;
        }
        const double back = std::bit_cast<double>(st[--sp].bits);
        pc = back >= 0 && back < count ? static_cast<std::uint32_t>(back) : count;
        break;
      }
      case Step::ControlNothing: m_.runError = 0; ++pc; break;
      case Step::Unknown: m_.fail(kErrUnknownCommand); goto stop;

#define FUSED_OR_PLAIN(size)                                               \
  if (left < (size).length - 1 || sp + (size).depth >= kStackSize) {       \
    current = &plain[pc];                                                  \
    goto again;                                                            \
  }                                                                        \
  left -= (size).length - 1;                                               \
  const FusedStep& f = fused[s.aux];
      case Step::FusedAssign: {
        FUSED_OR_PLAIN(kFusedAssignSize);
        store(f.dest, load(f.a));
        pc += kFusedAssignSize.length;
        break;
      }
      case Step::FusedIncrement: {
        FUSED_OR_PLAIN(kFusedIncrementSize);
        store(f.dest, load(f.dest) + f.delta);
        pc += kFusedIncrementSize.length;
        break;
      }
#define FUSED_CASES(op)                                              \
  case Step::FusedAssign##op: {                                      \
    FUSED_OR_PLAIN(kFusedAssignBinarySize);                          \
    store(f.dest, apply(Step::op, load(f.a), load(f.b)));            \
    pc += kFusedAssignBinarySize.length;                             \
    break;                                                           \
  }                                                                  \
  case Step::FusedBinary##op: {                                      \
    FUSED_OR_PLAIN(kFusedBinarySize);                                \
    putNumber(st[sp++], apply(Step::op, load(f.a), load(f.b)));      \
    pc += kFusedBinarySize.length;                                   \
    break;                                                           \
  }                                                                  \
  case Step::FusedCondition##op: {                                   \
    FUSED_OR_PLAIN(kFusedConditionSize);                             \
    const double x = apply(Step::op, load(f.a), load(f.b));          \
    m_.result = x;                                                   \
    /* a condition that holds steps over its target slot */          \
    pc = x == 0 ? f.target : pc + kFusedConditionSize.length + 1;    \
    break;                                                           \
  }
        TALLYFIN_FUSABLE_OPERATORS(FUSED_CASES)
#undef FUSED_CASES
#undef FUSED_OR_PLAIN
    }
  }
#undef PUSHED
#undef BINARY
#undef DIVISOR_NOT_ZERO
stop:
  m_.sp = sp;
  m_.counter = pc;
  if (limited) ctx_.budget = left < 0 ? 0 : left;
}

}  // namespace

RunOutcome execute(Machine& m, ProgramImage& image, RunContext& ctx) {
  RunOutcome r;
  if (m.running) {
    // One program at a time: the running one's state is left as it is.
    r.error = kErrCantProcess;
    return r;
  }
  RunningMark mark(m);
  m.reset(image);
  const DecodedProgram program = decodeProgram(image, builtinTable());
  Loop(m, image, ctx, program).run();
  r.error = m.runError;
  r.ended = m.ended;
  r.value = m.endValue;
  return r;
}

}  // namespace runtime
