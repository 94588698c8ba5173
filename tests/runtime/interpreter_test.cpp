// The execution loop: control flow, the stack, the operators, assignment and
// the guards a damaged program meets.
#include <gtest/gtest.h>

#include <cmath>

#include "runtime/program_rig.hpp"
#include "runtime/run_errors.hpp"
#include "raw_program.hpp"

namespace {

using runtime::ResultKind;
using runtime_test::RawProgram;
using runtime_test::runRaw;

// Variables of the programs without header: number n lies at byte 8 × n.
constexpr std::uint32_t kV = 1, kW = 2;
constexpr std::uint16_t kStr = 600;  // a string variable's offset
constexpr std::uint16_t kConst = 800;

TEST(Interpreter, EndGivesTheMagnitudeOfItsArgument) {
  for (double v : {5.0, -5.0}) {
    RawProgram p;
    p.push(v).end();
    const auto run = runRaw(p);
    EXPECT_EQ(run.error(), 0);
    EXPECT_TRUE(run.outcome.ended);
    EXPECT_EQ(run.outcome.value, 5);
    EXPECT_EQ(run.outcome.programValue(), 5);
  }
  RawProgram p;
  p.push(-2.9).end();
  EXPECT_EQ(runRaw(p).outcome.programValue(), 2);
}

TEST(Interpreter, RunThatDoesNotEndThroughBuiltinZeroIsWorthOne) {
  RawProgram p;
  p.push(0).push(0).op('/');
  const auto run = runRaw(p);
  EXPECT_EQ(run.error(), runtime::kErrDivideByZero);
  EXPECT_FALSE(run.outcome.ended);
  EXPECT_EQ(run.outcome.programValue(), 1);
}

TEST(Interpreter, EmptyProgramOrRunningOffTheEndIsUnknownCommand) {
  RawProgram empty;
  empty.data.clear();
  EXPECT_EQ(runRaw(empty).error(), runtime::kErrUnknownCommand);
  RawProgram p;
  p.push(1).push(2);
  EXPECT_EQ(runRaw(p).error(), runtime::kErrUnknownCommand);
}

TEST(Interpreter, EntryIndexIsWhereTheRunStarts) {
  RawProgram p;
  p.push(1).end().push(2).end();
  p.entry = 2;
  EXPECT_EQ(runRaw(p).outcome.value, 2);
}

TEST(Interpreter, CallThenReturnContinuesTwoSlotsAfterTheCall) {
  RawProgram p;
  p.control(runtime::kCall, 5);  // 0, its target slot 1
  p.push(11).end();              // 2, 3: where the return lands
  p.push(22);                    // 4: never run
  p.ret();                       // 5
  const auto run = runRaw(p);
  EXPECT_EQ(run.error(), 0);
  EXPECT_EQ(run.outcome.value, 11);
}

TEST(Interpreter, ReturnNeedsAReturnAddress) {
  RawProgram p;
  p.push(3).ret();
  EXPECT_EQ(runRaw(p).error(), runtime::kErrBadReturn);
  EXPECT_EQ(runtime::runErrorText(runtime::kErrBadReturn), "Bad Return Command");
  RawProgram empty;
  empty.ret();
  EXPECT_EQ(runRaw(empty).error(), runtime::kErrBadReturn);
}

TEST(Interpreter, StackOverflowStopsAfterThe256thPush) {
  RawProgram p;
  for (int i = 0; i < 257; ++i) p.push(i);
  p.end();
  runtime::Machine m;
  runtime::RunContext ctx;
  const auto run = runRaw(p, m, ctx);
  EXPECT_EQ(run.error(), runtime::kErrStackOverflow);
  EXPECT_EQ(m.counter, 255u);  // the 256th push
  EXPECT_EQ(m.sp, 256);

  RawProgram fits;
  for (int i = 0; i < 254; ++i) fits.push(i);  // 255 entries with the 9
  fits.push(9).call(0, 1, 0);
  EXPECT_EQ(runRaw(fits).outcome.value, 9);
}

TEST(Interpreter, ZeroDivisorStopsTheRun) {
  for (char op : {'/', '%'}) {
    RawProgram p;
    p.push(7).push(0).op(op).end();
    EXPECT_EQ(runRaw(p).error(), runtime::kErrDivideByZero) << op;
  }
  RawProgram p;
  p.push(7).push(2).op('/').end();
  EXPECT_EQ(runRaw(p).outcome.value, 3.5);
  RawProgram q;
  q.push(-7).push(3).op('%').end();  // the result takes the dividend's sign
  runtime::Machine m;
  runtime::RunContext ctx;
  runRaw(q, m, ctx);
  EXPECT_EQ(m.result, -1);
}

struct BinaryCase {
  double a, b;
  char c1, c2;
  double expected;
};

TEST(Interpreter, BinaryOperators) {
  const double big = 4294967296.0 + 5;  // 2^32 + 5
  const BinaryCase cases[] = {
      {3, 4, '+', 0, 7},          {3, 4, '-', 0, -1},        {3, 4, '*', 0, 12},
      {2, 3, '&', '&', 6},        {2, 3, '|', '|', 5},       {0, 3, '&', '&', 0},
      {3, 4, '<', 0, 1},          {4, 4, '<', 0, 0},         {5, 4, '>', 0, 1},
      {4, 4, '<', '=', 1},        {5, 4, '<', '=', 0},       {4, 4, '>', '=', 1},
      {3, 4, '>', '=', 0},        {4, 4, '=', '=', 1},       {4, 5, '=', '=', 0},
      {4, 5, '!', '=', 1},        {4, 4, '!', '=', 0},       {-1, 255, '&', 0, 255},
      {big, 0, '|', 0, 5},        {-1, 0, '|', 0, 4294967295.0},
      {6, 3, '^', 0, 5},          {2.9, 3, '&', 0, 2},       {-2.5, 0, '|', 0, 4294967294.0},
  };
  for (const BinaryCase& c : cases) {
    RawProgram p;
    p.ref(kV).push(c.a).push(c.b).op(c.c1, c.c2).op('=').push(0).end();
    const auto run = runRaw(p);
    ASSERT_EQ(run.error(), 0) << c.a << c.c1 << c.c2 << c.b;
    EXPECT_EQ(run.number(8 * kV), c.expected) << c.a << c.c1 << c.c2 << c.b;
  }
}

TEST(Interpreter, NotAndNaNInBitwiseOperators) {
  RawProgram p;
  p.ref(kV).push(0).op('!').op('=');
  p.ref(kW).push(-3).op('!').op('=');
  p.push(std::nan("")).push(1).op('|').end();
  const auto run = runRaw(p);
  EXPECT_EQ(run.number(8 * kV), 1);
  EXPECT_EQ(run.number(8 * kW), 0);
  EXPECT_EQ(run.outcome.value, 1);
}

TEST(Interpreter, OperatorWithoutItsEntriesIsAnEvaluationStackError) {
  RawProgram binaryEmpty, binaryOne, unary, assign, inc;
  binaryEmpty.op('+');
  binaryOne.push(1).op('+');
  unary.op('!');
  assign.push(1).op('=');
  inc.op('+', '+');
  for (RawProgram* p : {&binaryEmpty, &binaryOne, &unary, &assign, &inc})
    EXPECT_EQ(runRaw(*p).error(), runtime::kErrEvalStack);
  EXPECT_EQ(runtime::runErrorText(runtime::kErrEvalStack), "Evl Stack OverFlow");
}

TEST(Interpreter, BuiltinConsumingMoreThanTheStackHolds) {
  RawProgram p;
  p.push(4).call(0, 2, 0);
  EXPECT_EQ(runRaw(p).error(), runtime::kErrEvalStack);
  RawProgram cond;
  cond.call(1, 1, 0).slot(0);
  EXPECT_EQ(runRaw(cond).error(), runtime::kErrEvalStack);
}

TEST(Interpreter, UnknownKindsOperatorsAndBuiltins) {
  RawProgram kind, op, big, past;
  kind.word(3, 0);
  op.word(runtime::kOperator, runtime::opCode('?'));
  big.push(1).call(200, 1, 1);
  past.push(1).call(168, 1, 1);
  for (RawProgram* p : {&kind, &op, &big, &past}) EXPECT_EQ(runRaw(*p).error(), runtime::kErrUnknownCommand);
}

TEST(Interpreter, TransfersOutsideTheCodeAreUnknownCommand) {
  RawProgram jump, call, noSlot, back;
  jump.control(runtime::kJump, 500);
  call.control(runtime::kCall, 500);
  noSlot.push(1).word(runtime::kControl, runtime::kJump);  // its target slot is missing
  // A call in the last two slots returns past the end.
  back.control(runtime::kJump, 3).ret().control(runtime::kCall, 2);
  for (RawProgram* p : {&jump, &call, &noSlot, &back}) EXPECT_EQ(runRaw(*p).error(), runtime::kErrUnknownCommand);
  RawProgram cond;
  cond.push(0).call(1, 1, 0);  // a condition without its slot
  EXPECT_EQ(runRaw(cond).error(), runtime::kErrUnknownCommand);
}

TEST(Interpreter, OtherControlCodesDoNothing) {
  RawProgram p;
  p.word(runtime::kControl, 7).push(4).end();
  EXPECT_EQ(runRaw(p).outcome.value, 4);
}

TEST(Interpreter, ConditionsBranchOnZero) {
  for (double x : {0.0, 3.0}) {
    RawProgram p;
    p.push(x).condition(5);  // 0, 1
    p.push(10).end();        // 2, 3: the condition held
    p.push(0);               // 4
    p.push(20).end();        // 5, 6: it did not
    EXPECT_EQ(runRaw(p).outcome.value, x == 0 ? 20 : 10) << x;
  }
}

TEST(Interpreter, WhileLoopSumsItsCounter) {
  // while v < 10 do w = w + v; v++ loop; end w
  RawProgram p;
  const std::uint16_t top = p.here();
  p.get(kV).push(10).op('<');
  p.call(2, 1, 0).slot(0);
  const std::size_t exitSlot = p.here() - 1u;
  p.ref(kW).get(kW).get(kV).op('+').op('=');
  p.ref(kV).op('+', '+');
  p.control(runtime::kJump, top);
  p.patch(exitSlot, p.here());
  p.get(kW).end();
  runtime::Machine m;
  runtime::RunContext ctx;
  const auto run = runRaw(p, m, ctx);
  EXPECT_EQ(run.error(), 0);
  EXPECT_EQ(run.outcome.value, 45);
  EXPECT_EQ(m.sp, 0);  // every iteration leaves the stack as it found it
}

TEST(Interpreter, IncrementAndDecrementChangeTheVariable) {
  RawProgram p;
  p.ref(kV).op('+', '+').ref(kV).op('+', '+').ref(kW).op('-', '-');
  p.push(5).op('+', '+');  // not a reference: nothing happens
  p.push(0).end();
  runtime::Machine m;
  runtime::RunContext ctx;
  const auto run = runRaw(p, m, ctx);
  EXPECT_EQ(run.error(), 0);
  EXPECT_EQ(run.number(8 * kV), 2);
  EXPECT_EQ(run.number(8 * kW), -1);
  EXPECT_EQ(m.sp, 0);
}

TEST(Interpreter, VariablesOutsideTheDataSegmentAreBadDataSource) {
  RawProgram get, inc, assign;
  get.get(128).end();  // byte 1024 of a 1024-byte segment
  inc.ref(128).op('+', '+');
  assign.ref(5000).push(1).op('=');
  for (RawProgram* p : {&get, &inc, &assign}) EXPECT_EQ(runRaw(*p).error(), runtime::kErrBadDataSource);
  RawProgram last;
  last.get(127).end();
  EXPECT_EQ(runRaw(last).error(), 0);
}

TEST(Interpreter, NumberIntoStringVariableUsesTheNumberFormat) {
  RawProgram p;
  p.svar(kStr, 20).push(2.5).op('=').push(0).end();
  EXPECT_EQ(runRaw(p).text(kStr), "      2.5000000");
  // Cut to the variable's capacity less the terminator.
  RawProgram small;
  small.svar(kStr, 5).push(2.5).op('=').push(0).end();
  EXPECT_EQ(runRaw(small).text(kStr), "    ");
}

TEST(Interpreter, StringAssignments) {
  RawProgram p;
  p.putText(kConst, "12.75");
  p.putText(kConst + 10, "abcdefgh");
  p.svar(kStr, 4).constant(kConst + 10).op('=');        // cut to 3 characters
  p.ref(kV).constant(kConst).op('=');                   // read as a number
  p.ref(kW).word(runtime::kPushString, kConst).op('=');  // tag 2 alike
  p.constant(kConst).push(9).op('=');                   // into a constant: nothing
  p.ref(3).svar(kStr, 4).op('=');                       // a string variable is no value
  p.push(0).end();
  const auto run = runRaw(p);
  ASSERT_EQ(run.error(), 0);
  EXPECT_EQ(run.text(kStr), "abc");
  EXPECT_EQ(run.number(8 * kV), 12.75);
  EXPECT_EQ(run.number(8 * kW), 12.75);
  EXPECT_EQ(run.text(kConst), "12.75");
  EXPECT_EQ(run.number(24), 0);
}

TEST(Interpreter, StringsAndReferencesInArithmeticAreReadAsNumbers) {
  RawProgram p;
  p.putText(kConst, "12");
  p.ref(kV).push(30).op('=');
  p.constant(kConst).ref(kV).op('+').end();
  EXPECT_EQ(runRaw(p).outcome.value, 42);
}

TEST(Interpreter, BudgetCountsInstructions) {
  RawProgram p;
  p.push(5).end();
  runtime::Machine m;
  runtime::RunContext ctx;
  ctx.budget = 2;
  EXPECT_EQ(runRaw(p, m, ctx).outcome.value, 5);
  EXPECT_EQ(ctx.budget, 0);
  ctx.budget = 1;
  EXPECT_EQ(runRaw(p, m, ctx).error(), runtime::kErrUserAborted);

  RawProgram forever;
  forever.control(runtime::kJump, 0);
  ctx.budget = 1000;
  EXPECT_EQ(runRaw(forever, m, ctx).error(), runtime::kErrUserAborted);
  EXPECT_EQ(runtime::runErrorText(runtime::kErrUserAborted), "USER ABORTED");
}

TEST(Interpreter, RunOnARunningMachineIsRefusedUntouched) {
  RawProgram p;
  p.push(5).end();
  const auto bytes = p.bytes();
  runtime::ProgramImage image;
  std::string line;
  ASSERT_EQ(runtime::parseProgram(bytes.data(), bytes.size(), image, line), 0);
  runtime::Machine m;
  runtime::ProgramImage other;
  m.running = true;
  m.image = &other;
  m.sp = 3;
  m.counter = 9;
  runtime::RunContext ctx;
  const auto outcome = runtime::execute(m, image, ctx);
  EXPECT_EQ(outcome.error, runtime::kErrCantProcess);
  EXPECT_TRUE(m.running);
  EXPECT_EQ(m.image, &other);
  EXPECT_EQ(m.sp, 3);
  EXPECT_EQ(m.counter, 9u);
  EXPECT_EQ(m.runError, 0);
}

TEST(Interpreter, MachineIsIdleAndResetAfterARun) {
  RawProgram fail;
  fail.push(1).push(0).op('/');
  RawProgram ok;
  ok.push(3).end();
  runtime::Machine m;
  runtime::RunContext ctx;
  runRaw(fail, m, ctx);
  EXPECT_FALSE(m.running);
  EXPECT_EQ(m.image, nullptr);
  // The next run starts clean: no error, no stack left over.
  const auto run = runRaw(ok, m, ctx);
  EXPECT_EQ(run.error(), 0);
  EXPECT_EQ(run.outcome.value, 3);
}

TEST(Interpreter, BuiltinResultReplacesItsArguments) {
  // A condition left with a result (k = 1) puts it where its argument was.
  RawProgram p;
  p.push(8).push(6).call(1, 1, 1).slot(4).op('+').end();
  // 6 is true: steps over the slot to the + (index 4) with 8 and 6 on the stack.
  EXPECT_EQ(runRaw(p).outcome.value, 14);
  // A result count above 1 in a damaged file leaves one result.
  RawProgram q;
  q.push(2).call(1, 1, 9).slot(3).end();
  runtime::Machine m;
  runtime::RunContext ctx;
  EXPECT_EQ(runRaw(q, m, ctx).outcome.value, 2);
  EXPECT_EQ(m.sp, 0);
}

}  // namespace

namespace {

// ---- runs of instructions the loop does in one step must do exactly what
// the instructions do one by one

// Control code 7 does nothing; put between two instructions it keeps them
// from being taken as one run.
void separator(RawProgram& p) { p.word(runtime::kControl, 7); }

TEST(InterpreterRuns, OperatorsGiveTheSameResultInAndOutOfARun) {
  const char* ops[] = {"+", "-", "*", "<", ">", "<=", ">=", "==", "!=", "&", "|", "^", "&&", "||"};
  const double values[][2] = {{3, 4}, {4, 4}, {-1, 255}, {4294967301.0, 0}, {2.5, -2.5}};
  for (const char* op : ops) {
    for (const auto& v : values) {
      RawProgram p;
      p.ref(kV).push(v[0]).push(v[1]).op(op[0], op[1]).op('=');  // one run
      p.ref(kW).push(v[0]).push(v[1]);
      separator(p);
      p.op(op[0], op[1]).op('=');  // one by one
      p.push(0).end();
      const auto run = runRaw(p);
      ASSERT_EQ(run.error(), 0);
      EXPECT_EQ(run.number(8 * kV), run.number(8 * kW)) << v[0] << op << v[1];
    }
  }
}

TEST(InterpreterRuns, BudgetEndingInsideARunStopsAtTheSameInstruction) {
  // ref v; push 1; op = (three instructions), then end.
  RawProgram p;
  p.ref(kV).push(1).op('=').push(6).end();
  for (std::int64_t budget = 0; budget <= 5; ++budget) {
    runtime::Machine m;
    runtime::RunContext ctx;
    ctx.budget = budget;
    const auto run = runRaw(p, m, ctx);
    if (budget == 5) {
      EXPECT_EQ(run.error(), 0);
      EXPECT_EQ(run.outcome.value, 6);
      continue;
    }
    EXPECT_EQ(run.error(), runtime::kErrUserAborted) << budget;
    EXPECT_EQ(m.counter, static_cast<std::uint32_t>(budget)) << budget;
    EXPECT_EQ(run.number(8 * kV), budget >= 3 ? 1 : 0) << budget;
    const int stack[] = {0, 1, 2, 0, 1};
    EXPECT_EQ(m.sp, stack[budget]) << budget;
  }
}

TEST(InterpreterRuns, RunNearAFullStackOverflowsAtTheSamePush) {
  // 254 entries, then get v; push 1; + : the second push is the 256th entry.
  RawProgram p;
  for (int i = 0; i < 254; ++i) p.push(i);
  p.get(kV).push(1).op('+').end();
  runtime::Machine m;
  runtime::RunContext ctx;
  EXPECT_EQ(runRaw(p, m, ctx).error(), runtime::kErrStackOverflow);
  EXPECT_EQ(m.counter, 255u);
  EXPECT_EQ(m.sp, 256);

  RawProgram inc;
  for (int i = 0; i < 255; ++i) inc.push(i);
  inc.ref(kV).op('+', '+');
  EXPECT_EQ(runRaw(inc, m, ctx).error(), runtime::kErrStackOverflow);
  EXPECT_EQ(m.counter, 255u);
}

TEST(InterpreterRuns, JumpIntoTheMiddleOfARunRunsItsRest) {
  // The run ref v; get w; push 10; +; = starts at 4; the jump lands on its push.
  RawProgram p;
  p.ref(kV).get(kW);             // 0, 1: the destination and a
  p.control(runtime::kJump, 6);  // 2, 3
  p.ref(kV).get(kW);             // 4, 5: skipped
  p.push(10).op('+').op('=');    // 6-8
  p.get(kV).end();
  double w = 5;
  std::memcpy(p.data.data() + 8 * kW, &w, 8);
  EXPECT_EQ(runRaw(p).outcome.value, 15);
}

TEST(InterpreterRuns, ConditionRunSetsTheResultRegisterAndBranches) {
  for (double v : {3.0, 12.0}) {
    RawProgram p;
    std::memcpy(p.data.data() + 8 * kV, &v, 8);
    p.get(kV).push(10).op('<').condition(7);  // 0-4
    p.push(1).end();                          // 5, 6
    p.push(2).end();                          // 7, 8
    EXPECT_EQ(runRaw(p).outcome.value, v < 10 ? 1 : 2);

    // Both ways lead to an unknown instruction: the register keeps the comparison.
    RawProgram q;
    std::memcpy(q.data.data() + 8 * kV, &v, 8);
    q.get(kV).push(10).op('<').condition(5).word(3, 0);
    runtime::Machine m;
    runtime::RunContext ctx;
    EXPECT_EQ(runRaw(q, m, ctx).error(), runtime::kErrUnknownCommand);
    EXPECT_EQ(m.result, v < 10 ? 1 : 0);
    EXPECT_EQ(m.counter, 5u);
    EXPECT_EQ(m.sp, 0);
  }
  // A condition run in the last slots: holding, it steps past the code.
  RawProgram last;
  last.push(1).push(2).op('<').call(1, 1, 0);
  EXPECT_EQ(runRaw(last).error(), runtime::kErrUnknownCommand);
}

TEST(InterpreterRuns, DividingRunsAreNotFusedAndStillFail) {
  RawProgram p;
  p.ref(kV).push(1).push(0).op('/').op('=');
  runtime::Machine m;
  runtime::RunContext ctx;
  EXPECT_EQ(runRaw(p, m, ctx).error(), runtime::kErrDivideByZero);
  EXPECT_EQ(m.counter, 3u);
  EXPECT_EQ(m.sp, 3);
}

}  // namespace

namespace {

TEST(InterpreterState, FailedBuiltinCallLeavesTheStackAsItWas) {
  // The end and a condition, each asking for more entries than there are.
  RawProgram end, condition;
  end.push(1).call(0, 3, 1);
  condition.push(1).call(1, 3, 1).slot(0);
  for (RawProgram* p : {&end, &condition}) {
    runtime::Machine m;
    runtime::RunContext ctx;
    EXPECT_EQ(runRaw(*p, m, ctx).error(), runtime::kErrEvalStack);
    EXPECT_EQ(m.sp, 1);
    EXPECT_EQ(m.counter, 1u);
  }
}

}  // namespace

// ---- programs in the assembler's text form

namespace {

using runtime_test::runProgram;

TEST(InterpreterText, WhileLoopWithIfAndElse) {
  // Sums the even numbers below 10 and counts the odd ones.
  const auto run = runProgram(R"(
    num i = 0
    num even
    num odd
    while
      get i
      push 10
      op <
    do
      get i
      push 2
      op %
      push 0
      op ==
      if
        ref even
        get even
        get i
        op +
        op =
      else
        ref odd
        op ++
      endif
      ref i
      op ++
    loop
    get even
    end
  )");
  ASSERT_EQ(run.loadError, 0);
  EXPECT_EQ(run.error(), 0);
  EXPECT_EQ(run.outcome.value, 20);
  EXPECT_EQ(run.number("odd"), 5);
  EXPECT_EQ(run.number("i"), 10);
}

TEST(InterpreterText, SubroutinesReturnToTheirCallers) {
  const auto run = runProgram(R"(
    num n = 3
    num f = 1
    gosub factorial
    get f
    end
  factorial:
    get n
    push 1
    op >
    if
      ref f
      get f
      get n
      op *
      op =
      ref n
      op --
      gosub factorial
    endif
    return
  )");
  ASSERT_EQ(run.loadError, 0);
  EXPECT_EQ(run.error(), 0);
  EXPECT_EQ(run.outcome.value, 6);
}

TEST(InterpreterText, AssignmentsBetweenNumbersAndStrings) {
  for (const char* variant : {"", "header\n"}) {
    const auto run = runProgram(std::string(variant) + R"(
      str shown[20]
      str cut[4]
      num parsed
      const price "12.5"
      svar shown
      push 2.5
      op =
      svar cut
      push "abcdef"
      op =
      ref parsed
      cstr price
      op =
      push 0
      end
    )");
    ASSERT_EQ(run.loadError, 0) << variant;
    EXPECT_EQ(run.error(), 0) << variant;
    EXPECT_EQ(run.text("shown"), "      2.5000000") << variant;
    EXPECT_EQ(run.text("cut"), "abc") << variant;
    EXPECT_EQ(run.number("parsed"), 12.5) << variant;
  }
}

}  // namespace
