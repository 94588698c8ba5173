// The arrays: the index rule at both ends, the two numeric arrays kept apart
// and kept between runs, the string entries cut to 202 characters and their
// halves to 100, the second half at indices 512-1023.
#include <gtest/gtest.h>

#include <string>

#include "runtime/program_rig.hpp"
#include "runtime/run_errors.hpp"

namespace {

using runtime_test::ProgramRun;
using runtime_test::runProgram;

ProgramRun run(runtime::Machine& m, const std::string& source) { return runProgram(source, m); }

using runtime_test::numberCall;
std::string textCall(const std::string& pushes, const std::string& call) {
  return "str t[600]\n svar t\n" + pushes + "\n call " + call + "\n op =\n push 0\n end\n";
}

TEST(ArrayBuiltins, IndexesRunFrom0To511) {
  runtime::Machine m;
  EXPECT_EQ(run(m, numberCall("push 0\n push 1.5", "setArray1")).number("r"), 1.5);
  EXPECT_EQ(run(m, numberCall("push 511\n push -2", "setArray1")).number("r"), -2);
  EXPECT_EQ(run(m, numberCall("push 1.9\n push 7", "setArray1")).error(), 0);  // index 1
  EXPECT_EQ(m.array1[0], 1.5);
  EXPECT_EQ(m.array1[511], -2);
  EXPECT_EQ(m.array1[1], 7);
  EXPECT_EQ(run(m, numberCall("push 511", "array1")).number("r"), -2);

  for (const char* index : {"512", "-1", "-0.5", "1e300"}) {
    for (const char* call : {"setArray1", "setArray2", "setStrings"}) {
      const auto r = run(m, std::string("push ") + index + "\n push 3\n call " + call + "\n push 1\n end\n");
      EXPECT_EQ(r.error(), runtime::kErrIndexRange) << index << " " << call;
    }
    for (const char* call : {"array1", "array2", "strings"}) {
      const auto r = run(m, std::string("push ") + index + "\n call " + call + "\n push 1\n end\n");
      EXPECT_EQ(r.error(), runtime::kErrIndexRange) << index << " " << call;
    }
  }
  EXPECT_EQ(m.array1[0], 1.5);  // nothing written by a refused call
}

TEST(ArrayBuiltins, TheTwoArraysAreApartAndSurviveBetweenRuns) {
  runtime::Machine m;
  ASSERT_EQ(run(m, numberCall("push 10\n push 1", "setArray1")).error(), 0);
  ASSERT_EQ(run(m, numberCall("push 10\n push 2", "setArray2")).error(), 0);
  EXPECT_EQ(run(m, numberCall("push 10", "array1")).number("r"), 1);
  EXPECT_EQ(run(m, numberCall("push 10", "array2")).number("r"), 2);
  EXPECT_EQ(run(m, numberCall("push 11", "array2")).number("r"), 0);
}

TEST(ArrayBuiltins, StringEntriesHoldUpTo202Characters) {
  runtime::Machine m;
  const std::string long250(250, 'q');
  auto r = run(m, numberCall("push 5\n push \"" + long250 + "\"", "setStrings"));
  EXPECT_EQ(r.number("r"), 202);
  EXPECT_EQ(run(m, textCall("push 5", "strings")).text("t"), std::string(202, 'q'));
  r = run(m, numberCall("push 511\n push \"last\"", "setStrings"));
  EXPECT_EQ(r.number("r"), 4);
  EXPECT_EQ(run(m, textCall("push 511", "strings")).text("t"), "last");
  EXPECT_EQ(run(m, textCall("push 6", "strings")).text("t"), "");
  // A shorter text replaces a longer one whole.
  ASSERT_EQ(run(m, numberCall("push 5\n push \"ab\"", "setStrings")).error(), 0);
  EXPECT_EQ(run(m, textCall("push 5", "strings")).text("t"), "ab");
}

TEST(ArrayBuiltins, HalfEntriesHoldUpTo100CharactersAndUseTheSecondHalfFrom512) {
  runtime::Machine m;
  const std::string long150(150, 'a');
  EXPECT_EQ(run(m, numberCall("push 3\n push \"" + long150 + "\"", "setHalfString")).number("r"), 100);
  EXPECT_EQ(run(m, numberCall("push 515\n push \"second\"", "setHalfString")).number("r"), 6);
  EXPECT_EQ(run(m, textCall("push 3", "halfString")).text("t"), std::string(100, 'a'));
  EXPECT_EQ(run(m, textCall("push 515", "halfString")).text("t"), "second");
  // The first half ends before the second begins: entry 3 as a whole is the first half.
  EXPECT_EQ(run(m, textCall("push 3", "strings")).text("t"), std::string(100, 'a'));

  // A whole entry's characters 101-200 are its second half.
  std::string whole;
  for (int i = 0; i < 202; ++i) whole.push_back(static_cast<char>('A' + i % 26));
  ASSERT_EQ(run(m, numberCall("push 9\n push \"" + whole + "\"", "setStrings")).error(), 0);
  EXPECT_EQ(run(m, textCall("push 521", "halfString")).text("t"), whole.substr(101, 100));
  EXPECT_EQ(run(m, textCall("push 9", "halfString")).text("t"), whole.substr(0, 100));

  EXPECT_EQ(run(m, numberCall("push 1023\n push \"end\"", "setHalfString")).error(), 0);
  EXPECT_EQ(run(m, textCall("push 1023", "halfString")).text("t"), "end");
  EXPECT_EQ(run(m, textCall("push 511", "halfString")).text("t"), "");
  for (const char* index : {"1024", "-1"}) {
    EXPECT_EQ(run(m, numberCall(std::string("push ") + index + "\n push \"x\"", "setHalfString")).error(),
              runtime::kErrIndexRange);
    EXPECT_EQ(run(m, textCall(std::string("push ") + index, "halfString")).error(), runtime::kErrIndexRange);
  }
}

}  // namespace
