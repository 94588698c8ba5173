// The assembler's text form: what each statement emits, how the data segment
// is laid out in both variants, where the sugar's targets point, and the
// errors it names by line.
#include <gtest/gtest.h>

#include <cstring>

#include "base/le.hpp"
#include "runtime/instruction.hpp"
#include "tfabuild/assembler.hpp"
#include "tfabuild/disassembler.hpp"

namespace tfabuild_test {
namespace {

using runtime::Instruction;
using tfabuild::AssembleResult;
using tfabuild::assembleProgram;

// A successful assembly read back through the program loader.
struct Assembled {
  explicit Assembled(const std::string& source) : r(assembleProgram(source, "t")) {
    if (!r.ok()) {
      for (const std::string& e : r.errors) ADD_FAILURE() << e;
      return;
    }
    std::string why;
    split = tfabuild::splitProgramFile(r.bytes, image, why);
    EXPECT_TRUE(split) << why;
    EXPECT_TRUE(image.tail.empty());
  }
  Instruction at(std::size_t i) const {
    EXPECT_LT(i, count());
    if (i >= count()) return {};
    return runtime::decodeInstruction(image.code.data() + i * runtime::kInstructionSize);
  }
  std::size_t count() const { return image.code.size() / runtime::kInstructionSize; }
  std::uint32_t offsetOf(const std::string& name) const { return r.symbols.at(name).offset; }
  AssembleResult r;
  tfabuild::ProgramFileParts image;
  bool split = false;
};

// The errors of a failing assembly.
std::vector<std::string> errorsOf(const std::string& source) {
  AssembleResult r = assembleProgram(source, "prog.tfs");
  EXPECT_TRUE(r.bytes.empty());
  return r.errors;
}

bool hasError(const std::vector<std::string>& errors, const std::string& line, const std::string& part) {
  for (const std::string& e : errors)
    if (e.rfind("prog.tfs:" + line + ": ", 0) == 0 && e.find(part) != std::string::npos) return true;
  return false;
}

std::string all(const std::vector<std::string>& errors) {
  std::string s;
  for (const std::string& e : errors) s += e + "\n";
  return s;
}

TEST(Assembler, EachInstructionKindIsEncoded) {
  Assembled a(R"(
    num x = 2.5
    str name[12] = "ab"
    const hello "hi"
    push 1.25
    push "anon"
    pushs 7
    get x
    ref x
    cstr hello
    svar name
    op ==
    call max
    call substr/3
    return
    end
  )");
  ASSERT_TRUE(a.split);
  ASSERT_EQ(a.count(), 12u);
  EXPECT_EQ(a.at(0).kind, runtime::kPushNumber);
  EXPECT_EQ(a.at(0).number(), 1.25);
  EXPECT_EQ(a.at(1).kind, runtime::kPushConstant);
  EXPECT_EQ(a.at(2).kind, runtime::kPushString);
  EXPECT_EQ(a.at(2).word32(), 7u);
  EXPECT_EQ(a.at(3).kind, runtime::kPushVariable);
  EXPECT_EQ(a.at(3).word32(), a.offsetOf("x") / 8);
  EXPECT_EQ(a.at(4).kind, runtime::kPushVarRef);
  EXPECT_EQ(a.at(5).kind, runtime::kPushConstant);
  EXPECT_EQ(a.at(5).word32(), a.offsetOf("hello"));
  EXPECT_EQ(a.at(6).kind, runtime::kPushStringVar);
  EXPECT_EQ(a.at(6).word32(), a.offsetOf("name") | (12u << 16));
  EXPECT_EQ(a.at(7).kind, runtime::kOperator);
  EXPECT_EQ(a.at(7).word16(), runtime::opCode('=', '='));
  Instruction max = a.at(8);
  EXPECT_EQ(max.kind, runtime::kCallBuiltin);
  EXPECT_EQ(max.word16(), 16);
  EXPECT_EQ(max.consumed, 2);
  EXPECT_EQ(max.produced, 1);
  EXPECT_EQ(max.resultKind, 1);
  Instruction substr = a.at(9);
  EXPECT_EQ(substr.word16(), 60);
  EXPECT_EQ(substr.resultKind, 2) << "a built-in that yields text defaults to a text result";
  EXPECT_EQ(a.at(10).kind, runtime::kControl);
  EXPECT_EQ(a.at(10).word16(), runtime::kReturn);
  Instruction end = a.at(11);
  EXPECT_EQ(end.kind, runtime::kCallBuiltin);
  EXPECT_EQ(end.word16(), 0);
  EXPECT_EQ(end.consumed, 1);
  EXPECT_EQ(end.produced, 0);
}

TEST(Assembler, EveryOperatorHasItsCharacterCode) {
  const char* ops[] = {"!", "%", "&", "*", "&&", "+", "||", "-", "/", "<",
                       ">", "^", "|", "!=", "<=", "==", ">=", "++", "--", "="};
  std::string source;
  for (const char* o : ops) source += std::string("op ") + o + "\n";
  Assembled a(source);
  ASSERT_EQ(a.count(), std::size(ops));
  for (std::size_t i = 0; i < std::size(ops); ++i) {
    std::string o = ops[i];
    EXPECT_EQ(a.at(i).word16(), runtime::opCode(o[0], o.size() > 1 ? o[1] : 0)) << o;
  }
}

TEST(Assembler, CallsTakeCountsAndResultKinds) {
  Assembled a(R"(
    CALL GetData text       ; names and words in any case
    call getdata
    call 75/2/0 number
    call 200
    call strlen/1/1
    call end/1
  )");
  ASSERT_EQ(a.count(), 6u);
  EXPECT_EQ(a.at(0).word16(), 75);
  EXPECT_EQ(a.at(0).resultKind, 2);
  EXPECT_EQ(a.at(0).consumed, 3);
  EXPECT_EQ(a.at(1).resultKind, 1) << "an either built-in gives a number unless told";
  EXPECT_EQ(a.at(2).consumed, 2);
  EXPECT_EQ(a.at(2).produced, 0);
  EXPECT_EQ(a.at(3).word16(), 200) << "a number outside the table is emitted as written";
  EXPECT_EQ(a.at(4).consumed, 1);
  EXPECT_EQ(a.at(5).word16(), 0);
  EXPECT_EQ(a.at(5).produced, 0) << "end yields nothing";
}

TEST(Assembler, DataSegmentLayout) {
  Assembled a(R"(
    str a[3] = "xy"
    num n = -7
    const c "const"
    push "anon"
    push "anon"
    push "const"
    num m
    data 5
  )");
  ASSERT_TRUE(a.split);
  // The result area, then declarations in order, numbers 8-aligned.
  EXPECT_EQ(a.offsetOf("a"), 512u);
  EXPECT_EQ(a.offsetOf("n"), 520u);
  EXPECT_EQ(a.offsetOf("c"), 528u);
  EXPECT_EQ(a.offsetOf("m"), 536u);
  EXPECT_EQ(a.r.symbols.at("a").capacity, 3u);
  EXPECT_EQ(a.r.symbols.at("c").capacity, 6u);
  EXPECT_EQ(a.r.symbols.at("c").kind, tfabuild::ProgramSymbol::Kind::Constant);
  // Reserved bytes at 544..548, then the anonymous constants, each text once.
  EXPECT_EQ(a.at(0).word32(), 549u);
  EXPECT_EQ(a.at(1).word32(), 549u);
  EXPECT_EQ(a.at(2).word32(), 554u) << "an anonymous text is not folded into a named constant";
  ASSERT_EQ(a.image.data.size(), 560u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(a.image.data.data()) + 512), "xy");
  double n;
  std::memcpy(&n, a.image.data.data() + 520, 8);
  EXPECT_EQ(n, -7);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(a.image.data.data()) + 549), "anon");
  for (int i = 0; i < 512; ++i) ASSERT_EQ(a.image.data[i], 0) << "result area byte " << i;
}

TEST(Assembler, BothVariantsAssembleTheSameProgram) {
  const std::string body = R"(
    num a = 1
    num b = 2
    get b
    ref a
    op =
  )";
  Assembled plain(body);
  Assembled withHeader("header\n" + body);
  ASSERT_TRUE(plain.split);
  ASSERT_TRUE(withHeader.split);
  EXPECT_FALSE(plain.image.withHeader);
  EXPECT_TRUE(withHeader.image.withHeader);
  ASSERT_EQ(withHeader.r.bytes.size(), plain.r.bytes.size() + 162);
  EXPECT_EQ(std::memcmp(withHeader.r.bytes.data(), "TFC", 3), 0);
  EXPECT_EQ(withHeader.image.data, plain.image.data);
  // Without a header a numeric variable is named by its number, with it by its offset.
  EXPECT_EQ(plain.at(0).word32(), 520u / 8);
  EXPECT_EQ(withHeader.at(0).word32(), 520u);
  EXPECT_EQ(plain.at(1).word32(), 64u);
  EXPECT_EQ(withHeader.at(1).word32(), 512u);
  EXPECT_EQ(plain.at(2).word16(), withHeader.at(2).word16());
}

TEST(Assembler, SegmentWordHoldsDataSizeAndEntry) {
  Assembled a(R"(
    entry start
    num x
    push 1
  start:
    end
  )");
  ASSERT_TRUE(a.split);
  EXPECT_EQ(base::getU16(a.r.bytes.data()), 520);
  EXPECT_EQ(a.image.entry, 1);
  EXPECT_EQ(a.r.labels.at("start"), 1);
  EXPECT_EQ(a.r.bytes.size(), 4u + 520 + 2 * 14);
}

TEST(Assembler, LabelsForwardAndBackward) {
  Assembled a(R"(
  top: push 1
    jump ahead
    gosub top
  ahead:
    jump top
  )");
  ASSERT_EQ(a.count(), 7u);
  EXPECT_EQ(a.at(1).kind, runtime::kControl);
  EXPECT_EQ(a.at(1).word16(), runtime::kJump);
  EXPECT_EQ(a.at(2).kind, 0) << "the target slot is data";
  EXPECT_EQ(a.at(2).word16(), 5);
  EXPECT_EQ(a.at(3).word16(), runtime::kCall);
  EXPECT_EQ(a.at(4).word16(), 0);
  EXPECT_EQ(a.at(6).word16(), 0);
}

TEST(Assembler, IfElseEndifTargets) {
  Assembled a(R"(
    push 1
    if
      push 2
    else
      push 3
    endif
    push 4
  )");
  ASSERT_EQ(a.count(), 8u);
  Instruction cond = a.at(1);
  EXPECT_EQ(cond.kind, runtime::kCallBuiltin);
  EXPECT_EQ(cond.word16(), 1);
  EXPECT_EQ(cond.resultKind, 1);
  EXPECT_EQ(cond.consumed, 1);
  EXPECT_EQ(cond.produced, 0);
  EXPECT_EQ(a.at(2).word16(), 6) << "a false condition goes to the else part";
  EXPECT_EQ(a.at(4).kind, runtime::kControl);
  EXPECT_EQ(a.at(5).word16(), 7) << "the end of the then part jumps past endif";

  Assembled noElse("push 0\nif\npush 2\nendif\nend\n");
  EXPECT_EQ(noElse.at(2).word16(), 4);
}

TEST(Assembler, WhileDoLoopTargets) {
  Assembled a(R"(
    num i
    push 9
    while
      get i
      push 3
      op <
    do
      ref i
      op ++
    loop
    end
  )");
  ASSERT_EQ(a.count(), 11u);
  EXPECT_EQ(a.at(4).word16(), 2);
  EXPECT_EQ(a.at(4).consumed, 1);
  EXPECT_EQ(a.at(5).word16(), 10) << "do goes past loop when false";
  EXPECT_EQ(a.at(8).word16(), runtime::kJump);
  EXPECT_EQ(a.at(9).word16(), 1) << "loop jumps to the first instruction of the condition";
}

TEST(Assembler, NestedSugar) {
  Assembled a(R"(
    while
      push 1
    do
      push 2
      if
        while
          push 3
        do
        loop
      else
        push 4
        if
        endif
      endif
    loop
  )");
  // 0 push1, 1 do, 2 slot, 3 push2, 4 if, 5 slot, 6 push3, 7 do, 8 slot, 9 jump, 10 slot,
  // 11 jump, 12 slot, 13 push4, 14 if, 15 slot, 16 jump, 17 slot
  ASSERT_EQ(a.count(), 18u);
  EXPECT_EQ(a.at(2).word16(), 18);
  EXPECT_EQ(a.at(5).word16(), 13);
  EXPECT_EQ(a.at(8).word16(), 11);
  EXPECT_EQ(a.at(10).word16(), 6);
  EXPECT_EQ(a.at(12).word16(), 16);
  EXPECT_EQ(a.at(15).word16(), 16);
  EXPECT_EQ(a.at(17).word16(), 0);
}

TEST(Assembler, NumbersAndEscapes) {
  Assembled a(R"(
    push 0x10
    push -2.5e2
    push .5
    const s "q\"b\\n\n\x41;x"   ; the ';' in the string is text
  )");
  EXPECT_EQ(a.at(0).number(), 16);
  EXPECT_EQ(a.at(1).number(), -250);
  EXPECT_EQ(a.at(2).number(), 0.5);
  const char* s = reinterpret_cast<const char*>(a.image.data.data()) + a.offsetOf("s");
  EXPECT_EQ(std::string(s), "q\"b\\n\nA;x");
}

TEST(Assembler, RawFormMakesMalformedFiles) {
  AssembleResult r = assembleProgram(R"(
    raw 999 5
    raw 4 3 2 7 9
    raw 1 1.5
    word 300
    segword 65535 4
    bytes 01ff 0A
    fill 3 0xee
  )");
  ASSERT_TRUE(r.ok()) << all(r.errors);
  ASSERT_EQ(r.bytes.size(), 4u + 512 + 4 * 14 + 6);
  EXPECT_EQ(base::getU16(r.bytes.data()), 65535);
  EXPECT_EQ(base::getU16(r.bytes.data() + 2), 4);
  const std::uint8_t* code = r.bytes.data() + 4 + 512;
  Instruction raw = runtime::decodeInstruction(code);
  EXPECT_EQ(raw.kind, 999);
  EXPECT_EQ(raw.word32(), 5u);
  Instruction call = runtime::decodeInstruction(code + 14);
  EXPECT_EQ(call.kind, 4);
  EXPECT_EQ(call.resultKind, 2);
  EXPECT_EQ(call.consumed, 7);
  EXPECT_EQ(call.produced, 9);
  EXPECT_EQ(runtime::decodeInstruction(code + 28).number(), 1.5);
  EXPECT_EQ(runtime::decodeInstruction(code + 42).word16(), 300);
  const std::vector<std::uint8_t> tail(r.bytes.end() - 6, r.bytes.end());
  EXPECT_EQ(tail, (std::vector<std::uint8_t>{0x01, 0xff, 0x0a, 0xee, 0xee, 0xee}));

  // The data size the file names is 65535, more than it holds.
  tfabuild::ProgramFileParts parts;
  std::string why;
  EXPECT_FALSE(tfabuild::splitProgramFile(r.bytes, parts, why));
}

TEST(Assembler, ErrorsNameTheirLines) {
  auto e = errorsOf(R"(num x
    frob 1
    push 12abc
    const s "open
    str t
    str u[0]
    str v[70000]
    op <>
    call nosuch
    jump nowhere
    num x
    get s
    svar x
  )");
  EXPECT_TRUE(hasError(e, "2", "unknown mnemonic frob")) << all(e);
  EXPECT_TRUE(hasError(e, "3", "bad number '12abc'")) << all(e);
  EXPECT_TRUE(hasError(e, "4", "unterminated string")) << all(e);
  EXPECT_TRUE(hasError(e, "5", "capacity missing")) << all(e);
  EXPECT_TRUE(hasError(e, "6", "capacity out of range")) << all(e);
  EXPECT_TRUE(hasError(e, "7", "capacity out of range")) << all(e);
  EXPECT_TRUE(hasError(e, "8", "unknown operator '<>'")) << all(e);
  EXPECT_TRUE(hasError(e, "9", "unknown built-in nosuch")) << all(e);
  EXPECT_TRUE(hasError(e, "10", "unknown label nowhere")) << all(e);
  EXPECT_TRUE(hasError(e, "11", "duplicate name x")) << all(e);
  EXPECT_TRUE(hasError(e, "12", "unknown variable s")) << all(e) << "an unterminated constant is not declared";
  EXPECT_TRUE(hasError(e, "13", "not a string variable: x")) << all(e);
  EXPECT_EQ(e.size(), 12u) << all(e);
}

TEST(Assembler, UnbalancedSugarIsAnError) {
  auto e = errorsOf("if\nwhile\ndo\nendif\nelse\nloop\nloop\nwhile\n");
  EXPECT_TRUE(hasError(e, "4", "endif without if")) << all(e);
  EXPECT_TRUE(hasError(e, "5", "else without if")) << all(e);
  EXPECT_TRUE(hasError(e, "7", "loop without")) << all(e);
  EXPECT_TRUE(hasError(e, "1", "if without endif")) << all(e);
  EXPECT_TRUE(hasError(e, "8", "while without do")) << all(e);
  EXPECT_EQ(e.size(), 5u) << all(e);
}

TEST(Assembler, CaseRules) {
  // Mnemonics are not case-sensitive; names are.
  auto e = errorsOf("NUM Count\nGET count\n");
  EXPECT_TRUE(hasError(e, "2", "unknown variable count")) << all(e);
  Assembled a("Num Count\nGeT Count\nL: JUMP L\n");
  EXPECT_EQ(a.count(), 3u);
}

TEST(Assembler, SizeLimits) {
  auto data = errorsOf("str a[65000]\nstr b[100]\n");
  EXPECT_TRUE(hasError(data, "2", "data segment over 65534 bytes")) << all(data);

  std::string many;
  for (int i = 0; i < 4682; ++i) many += "push 1\n";
  auto code = errorsOf(many);
  EXPECT_TRUE(hasError(code, "4682", "code segment over 65534 bytes")) << all(code);

  std::string full;
  for (int i = 0; i < 4681; ++i) full += "push 1\n";
  AssembleResult fits = assembleProgram(full);
  EXPECT_TRUE(fits.ok()) << all(fits.errors);

  auto file = errorsOf("header\ndata 65000\n" + full);
  EXPECT_FALSE(file.empty());
  EXPECT_NE(all(file).find("must stay under 131069"), std::string::npos) << all(file);
}

TEST(Assembler, TrailingTextIsRefused) {
  auto e = errorsOf("push 1 2\nreturn now\nstr s[4] = \"abcd\"\n");
  EXPECT_TRUE(hasError(e, "1", "unexpected '2'")) << all(e);
  EXPECT_TRUE(hasError(e, "2", "unexpected 'now'")) << all(e);
  EXPECT_TRUE(hasError(e, "3", "longer than its capacity")) << all(e);
}

}  // namespace
}  // namespace tfabuild_test
