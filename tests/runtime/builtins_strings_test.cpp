// The string built-ins: in-place changes within a variable's capacity (exact,
// 1 and 0 bytes), the refusal of anything that is not a string variable,
// substring bounds, comparisons, number texts, the clock's texts and single
// characters.
#include <gtest/gtest.h>

#include <string>

#include "platform/clock.hpp"
#include "runtime/program_rig.hpp"
#include "runtime/run_errors.hpp"
#include "support/fake_clock.hpp"

namespace {

using runtime_test::ProgramRun;
using runtime_test::runProgram;

// A program with num r, num st and str s[capacity] = initial, whose body
// leaves a number to store in r; the status code afterwards goes to st.
ProgramRun runOnS(int capacity, const std::string& initial, const std::string& body) {
  const std::string source = "num r\nnum st\nstr s[" + std::to_string(capacity) + "] = \"" + initial +
                             "\"\n ref r\n" + body + "\n op =\n ref st\n call status\n op =\n push 0\n end\n";
  ProgramRun run = runProgram(source);
  EXPECT_EQ(run.error(), 0) << body;
  return run;
}

// The text result of body, assigned to str t[600].
std::string textOf(const std::string& body) {
  const auto run = runProgram("str t[600]\n svar t\n" + body + "\n op =\n push 0\n end\n");
  EXPECT_EQ(run.error(), 0) << body;
  return run.text("t");
}

double numberOf(const std::string& body) {
  const auto run = runProgram("num r\n ref r\n" + body + "\n op =\n push 0\n end\n");
  EXPECT_EQ(run.error(), 0) << body;
  return run.number("r");
}

TEST(StringBuiltins, CopyAndAppendStayWithinTheCapacity) {
  auto run = runOnS(4, "", "svar s\n push \"abc\"\n call strcpy");
  EXPECT_EQ(run.text("s"), "abc");  // exactly fills the capacity with its terminator
  EXPECT_EQ(run.number("r"), 3);
  run = runOnS(4, "", "svar s\n push \"abcdef\"\n call strcpy");
  EXPECT_EQ(run.text("s"), "abc");
  EXPECT_EQ(run.number("r"), 3);
  run = runOnS(1, "", "svar s\n push \"abc\"\n call strcpy");
  EXPECT_EQ(run.text("s"), "");
  EXPECT_EQ(run.number("r"), 0);

  run = runOnS(6, "abc", "svar s\n push \"defg\"\n call strcat");
  EXPECT_EQ(run.text("s"), "abcde");
  EXPECT_EQ(run.number("r"), 5);
  run = runOnS(8, "ab", "svar s\n svar s\n call strcat");  // appended to itself
  EXPECT_EQ(run.text("s"), "abab");
}

TEST(StringBuiltins, CapacityZeroWritesNothing) {
  // A string variable of capacity 0 over the bytes of s: only the raw form can make one.
  const auto probe = runProgram("str s[4] = \"xyz\"\n push 0\n end\n");
  const std::uint32_t offset = probe.assembled.symbols.at("s").offset;
  const auto run = runProgram("num r\nstr s[4] = \"xyz\"\n ref r\n raw 128 " + std::to_string(offset) +
                              "\n push \"abc\"\n call strcpy\n op =\n push 0\n end\n");
  EXPECT_EQ(run.error(), 0);
  EXPECT_EQ(run.text("s"), "xyz");
  EXPECT_EQ(run.number("r"), 0);
}

TEST(StringBuiltins, InPlaceBuiltinsRefuseAnythingButAStringVariable) {
  for (const char* call : {"push \"x\"\n call strcpy/2", "push \"x\"\n call strcat/2", "call trimRight/1",
                           "call trimLeft/1", "call upper/1", "push 0\n push 65\n call setCharAt/3"}) {
    const auto run = runOnS(8, "keep", std::string("push \"  abc  \"\n") + call);
    EXPECT_EQ(run.number("st"), runtime::kErrBadDataSource) << call;
    EXPECT_EQ(run.number("r"), 0) << call;
    EXPECT_EQ(run.text("s"), "keep");
  }
}

TEST(StringBuiltins, SubstringBounds) {
  EXPECT_EQ(textOf("push \"hello\"\n push 1\n push 3\n call substr"), "ell");
  EXPECT_EQ(textOf("push \"hello\"\n push 3\n push 100\n call substr"), "lo");
  EXPECT_EQ(textOf("push \"hello\"\n push 4\n push 1\n call substr"), "o");
  EXPECT_EQ(textOf("push \"hello\"\n push 5\n push 1\n call substr"), "");  // start at the end
  EXPECT_EQ(textOf("push \"hello\"\n push 99\n push 1\n call substr"), "");
  EXPECT_EQ(textOf("push \"hello\"\n push -1\n push 3\n call substr"), "");
  EXPECT_EQ(textOf("push \"hello\"\n push 0\n push 0\n call substr"), "");
  EXPECT_EQ(textOf("push \"hello\"\n push 0\n push -2\n call substr"), "");
}

TEST(StringBuiltins, LengthAndPosition) {
  EXPECT_EQ(numberOf("push \"hello\"\n call strlen"), 5);
  EXPECT_EQ(numberOf("push \"\"\n call strlen"), 0);
  EXPECT_EQ(numberOf("push \"hello\"\n push \"ll\"\n call strpos"), 2);
  EXPECT_EQ(numberOf("push \"hello\"\n push \"lx\"\n call strpos"), -1);
}

TEST(StringBuiltins, TrimmingRemovesCodesUpTo32AndGivesTheNewLength) {
  auto run = runOnS(16, "\\t ab c \\x01\\n", "svar s\n call trimRight");
  EXPECT_EQ(run.text("s"), "\t ab c");
  EXPECT_EQ(run.number("r"), 6);
  run = runOnS(16, "\\t ab c \\x01", "svar s\n call trimLeft");
  EXPECT_EQ(run.text("s"), "ab c \x01");  // the code 1 at the end stays
  EXPECT_EQ(run.number("r"), 6);
  run = runOnS(8, "   ", "svar s\n call trimLeft");
  EXPECT_EQ(run.text("s"), "");
  EXPECT_EQ(run.number("r"), 0);
}

TEST(StringBuiltins, UpperCaseChangesOnlyAToZ) {
  const auto run = runOnS(16, "abc-xyz{\\xe9", "svar s\n call upper");
  EXPECT_EQ(run.text("s"), "ABC-XYZ{\xe9");
  EXPECT_EQ(run.number("r"), 9);
}

TEST(StringBuiltins, ComparisonsGiveMinusOneZeroOrOne) {
  EXPECT_EQ(numberOf("push \"abc\"\n push \"abd\"\n call strcmp"), -1);
  EXPECT_EQ(numberOf("push \"b\"\n push \"abc\"\n call strcmp"), 1);
  EXPECT_EQ(numberOf("push \"ab\"\n push \"abc\"\n call strcmp"), -1);
  EXPECT_EQ(numberOf("push \"\\xe9\"\n push \"a\"\n call strcmp"), 1);  // bytes compare unsigned
  EXPECT_EQ(numberOf("push \"ABC\"\n push \"abc\"\n call strcmp"), -1);
  EXPECT_EQ(numberOf("push \"ABC\"\n push \"abc\"\n call stricmp"), 0);
  EXPECT_EQ(numberOf("push \"abD\"\n push \"ABc\"\n call stricmp"), 1);
  // '_' lies between the cases: ignoring case compares the lower-case letters.
  EXPECT_EQ(numberOf("push \"A\"\n push \"_\"\n call stricmp"), 1);

  EXPECT_EQ(numberOf("push \"abcx\"\n push \"abcy\"\n push 3\n call strncmp"), 0);
  EXPECT_EQ(numberOf("push \"abcx\"\n push \"abcy\"\n push 4\n call strncmp"), -1);
  EXPECT_EQ(numberOf("push \"ab\"\n push \"abc\"\n push 5\n call strncmp"), -1);
  EXPECT_EQ(numberOf("push \"x\"\n push \"y\"\n push 0\n call strncmp"), 0);
  EXPECT_EQ(numberOf("push \"ABCx\"\n push \"abcY\"\n push 3\n call strnicmp"), 0);
  EXPECT_EQ(numberOf("push \"ABCz\"\n push \"abcY\"\n push 4\n call strnicmp"), 1);
}

TEST(StringBuiltins, DecimalValueOfAText) {
  EXPECT_EQ(numberOf("push \"  12.5xyz\"\n call val"), 12.5);
  EXPECT_EQ(numberOf("push \"-3e2\"\n call val"), -300);
  EXPECT_EQ(numberOf("push \"-.5\"\n call val"), -0.5);
  EXPECT_EQ(numberOf("push \"7e\"\n call val"), 7);
  EXPECT_EQ(numberOf("push \"0x10\"\n call val"), 0);  // not a decimal number past the 0
  EXPECT_EQ(numberOf("push \"abc\"\n call val"), 0);
}

TEST(StringBuiltins, FormatWithWidthAndDecimals) {
  EXPECT_EQ(textOf("push 2.5\n push 15\n push 7\n call format"), "      2.5000000");
  EXPECT_EQ(textOf("push 3.14159\n push 8\n push 2\n call format"), "    3.14");
  EXPECT_EQ(textOf("push -12.345\n push 0\n push 1\n call format"), "-12.3");
  EXPECT_EQ(textOf("push 42\n push -5\n push -3\n call format"), "42");
  // A huge width stays within a string result.
  EXPECT_LE(textOf("push 1\n push 100000\n push 1\n call format").size(), 500u);
}

TEST(StringBuiltins, DateAndTimeTextsFromTheLocalClock) {
  testing_support::FakeClock fake;
  platform::DateTime at;
  at.year = 2024, at.month = 2, at.day = 29, at.hour = 7, at.minute = 5, at.second = 9;
  fake.setLocalTime(at);
  platform::ScopedClock scoped(fake);
  EXPECT_EQ(textOf("call date"), "02/29/24");
  EXPECT_EQ(textOf("call time"), "07:05:09");
  at.year = 2000, at.month = 12, at.day = 1, at.hour = 23, at.minute = 59, at.second = 58;
  fake.setLocalTime(at);
  EXPECT_EQ(textOf("call date"), "12/01/00");
  EXPECT_EQ(textOf("call time"), "23:59:58");
}

TEST(StringBuiltins, CharacterCodeAtAPosition) {
  EXPECT_EQ(numberOf("push \"AB\"\n push 1\n call charAt"), 66);
  EXPECT_EQ(numberOf("push \"\\xe9\"\n push 0\n call charAt"), 233);
  for (const char* y : {"2", "-1", "-0.5"}) {
    const auto run = runOnS(4, "", std::string("push \"AB\"\n push ") + y + "\n call charAt");
    EXPECT_EQ(run.number("r"), 0) << y;
    EXPECT_EQ(run.number("st"), runtime::kErrIndexRange) << y;
  }
}

TEST(StringBuiltins, SetCharacterStaysWithinTheCapacity) {
  auto run = runOnS(6, "abc", "svar s\n push 1\n push 88\n call setCharAt");
  EXPECT_EQ(run.text("s"), "aXc");
  EXPECT_EQ(run.number("st"), 0);
  run = runOnS(6, "abc", "svar s\n push 4\n push 90\n call setCharAt");  // the last byte before the terminator
  EXPECT_EQ(run.text("s"), "abc Z");
  EXPECT_EQ(run.number("r"), 5);
  run = runOnS(6, "abc", "svar s\n push 1\n push 0\n call setCharAt");
  EXPECT_EQ(run.text("s"), "a");  // code 0 ends the text
  EXPECT_EQ(run.number("r"), 1);
  for (const char* y : {"5", "-1"}) {
    run = runOnS(6, "abc", std::string("svar s\n push ") + y + "\n push 90\n call setCharAt");
    EXPECT_EQ(run.text("s"), "abc") << y;
    EXPECT_EQ(run.number("st"), runtime::kErrIndexRange) << y;
  }
  run = runOnS(1, "", "svar s\n push 0\n push 90\n call setCharAt");
  EXPECT_EQ(run.text("s"), "");
  EXPECT_EQ(run.number("st"), runtime::kErrIndexRange);
}

}  // namespace
