#include "runtime/program_steps.hpp"

namespace runtime {

Step fusedStep(Step op, FusedShape shape) {
  const int offset = static_cast<int>(shape);
  switch (op) {
#define TALLYFIN_FUSED_CASE(name) \
  case Step::name: return static_cast<Step>(static_cast<int>(Step::FusedAssign##name) + offset);
    TALLYFIN_FUSABLE_OPERATORS(TALLYFIN_FUSED_CASE)
#undef TALLYFIN_FUSED_CASE
    default: return Step::Unknown;
  }
}

namespace {

// A fused step under construction: operands by place, pointers set at the end.
struct Operand {
  bool variable = false;
  std::uint32_t offset = 0;  // a variable's byte offset
  std::uint64_t bits = 0;    // a constant
};

bool operand(const DecodedStep& d, Operand& out) {
  if (d.step == Step::PushVariable) {
    out = {true, d.aux, 0};
    return true;
  }
  if (d.step == Step::PushNumber) {
    out = {false, 0, d.bits};
    return true;
  }
  return false;
}

class Fuser {
 public:
  Fuser(DecodedProgram& p, ProgramImage& image)
      : p_(p), image_(image), count_(p.plain.size() - kStopSteps) {}

  void run() {
    for (std::size_t i = 0; i < count_; ++i) fuseAt(i);
    // The vector holds every fused step now: their constants stay put.
    for (std::size_t k = 0; k < p_.fused.size(); ++k) {
      FusedStep& f = p_.fused[k];
      f.a = place(ops_[k].first, f.aConst);
      f.b = place(ops_[k].second, f.bConst);
    }
  }

 private:
  const DecodedStep& at(std::size_t i) const { return p_.plain[i]; }
  bool within(std::size_t i, std::size_t length) const { return i + length <= count_; }

  // The variable a reference step names, or null when it lies outside the
  // segment (the plain steps then stop with "Bad Data Source").
  std::uint8_t* variableOf(const DecodedStep& ref) const {
    const std::size_t v = ref.bits & 0xFFFFu;
    const std::size_t offset = image_.withHeader ? v : 8 * v;
    return offset + 8 <= image_.data.size() ? image_.data.data() + offset : nullptr;
  }
  const std::uint8_t* place(const Operand& o, std::uint64_t& constant) {
    if (o.variable) return image_.data.data() + o.offset;
    constant = o.bits;
    return reinterpret_cast<const std::uint8_t*>(&constant);
  }

  void add(std::size_t i, Step step, FusedStep f, Operand a = {}, Operand b = {}) {
    p_.steps[i].step = step;
    p_.steps[i].aux = static_cast<std::uint32_t>(p_.fused.size());
    p_.fused.push_back(f);
    ops_.emplace_back(a, b);
  }

  void fuseAt(std::size_t i) {
    Operand a, b;
    if (at(i).step == Step::PushVarRef) {
      std::uint8_t* dest = variableOf(at(i));
      if (dest == nullptr) return;
      const Step assign = within(i, 5) ? fusedStep(at(i + 3).step, FusedShape::Assign) : Step::Unknown;
      if (assign != Step::Unknown && operand(at(i + 1), a) && operand(at(i + 2), b) &&
          at(i + 4).step == Step::Assign) {
        FusedStep f;
        f.dest = dest;
        add(i, assign, f, a, b);
      } else if (within(i, 3) && operand(at(i + 1), a) && at(i + 2).step == Step::Assign) {
        FusedStep f;
        f.dest = dest;
        add(i, Step::FusedAssign, f, a);
      } else if (within(i, 2) && (at(i + 1).step == Step::Increment || at(i + 1).step == Step::Decrement)) {
        FusedStep f;
        f.dest = dest;
        f.delta = at(i + 1).step == Step::Increment ? 1.0 : -1.0;
        add(i, Step::FusedIncrement, f);
      }
      return;
    }
    if (!within(i, 3) || !operand(at(i), a) || !operand(at(i + 1), b)) return;
    const Step op = at(i + 2).step;
    if (fusedStep(op, FusedShape::Binary) == Step::Unknown) return;
    FusedStep f;
    const DecodedStep& next = at(i + 3);  // one of the stop steps at worst
    if (within(i, 4) && next.step == Step::Condition && next.consumed == 1 && next.produced == 0) {
      f.target = next.aux;
      add(i, fusedStep(op, FusedShape::Condition), f, a, b);
    } else {
      add(i, fusedStep(op, FusedShape::Binary), f, a, b);
    }
  }

  DecodedProgram& p_;
  ProgramImage& image_;
  std::size_t count_;
  std::vector<std::pair<Operand, Operand>> ops_;
};

}  // namespace

DecodedProgram decodeProgram(ProgramImage& image, const BuiltinTable& table) {
  DecodedProgram p;
  p.plain = decodeSteps(image, table);
  p.steps = p.plain;
  Fuser(p, image).run();
  return p;
}

}  // namespace runtime
