// The program file reader and the three program slots.
#include <gtest/gtest.h>

#include "platform/files.hpp"
#include "runtime/program_file.hpp"
#include "runtime/program_slots.hpp"
#include "runtime/run_errors.hpp"
#include "support/memory_files.hpp"
#include "raw_program.hpp"

namespace {

using editor::ProgramUse;
using runtime::ProgramImage;
using runtime_test::fileWith;
using runtime_test::RawProgram;

struct Parsed {
  int code;
  std::string firstLine;
  ProgramImage image;
};

Parsed parse(const std::vector<std::uint8_t>& bytes) {
  Parsed p;
  p.code = runtime::parseProgram(bytes.data(), bytes.size(), p.image, p.firstLine);
  return p;
}

TEST(ProgramFile, FourByteFileWithZeroSegmentWordIsAnEmptyProgram) {
  const Parsed p = parse({0, 0, 0, 0});
  ASSERT_EQ(p.code, 0);
  EXPECT_FALSE(p.image.withHeader);
  EXPECT_TRUE(p.image.data.empty());
  EXPECT_TRUE(p.image.code.empty());
  EXPECT_EQ(p.image.entry, 0);
}

TEST(ProgramFile, SignatureInAnyCaseMarksTheHeader) {
  for (const char* sig : {"TFC", "tfc", "tFc"}) {
    RawProgram prog;
    prog.header = true;
    prog.data = {1, 2, 3};
    prog.push(4).end();
    std::vector<std::uint8_t> bytes = prog.bytes();
    std::memcpy(bytes.data(), sig, 3);
    const Parsed p = parse(bytes);
    ASSERT_EQ(p.code, 0) << sig;
    EXPECT_TRUE(p.image.withHeader) << sig;
    EXPECT_EQ(p.image.data, (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(p.image.instructionCount(), 2u);
  }
}

TEST(ProgramFile, WithoutSignatureTheFileStartsWithTheSegmentWord) {
  RawProgram prog;
  prog.data = {9, 8};
  prog.push(1).push(2).end();
  prog.entry = 1;
  const Parsed p = parse(prog.bytes());
  ASSERT_EQ(p.code, 0);
  EXPECT_FALSE(p.image.withHeader);
  EXPECT_EQ(p.image.data, (std::vector<std::uint8_t>{9, 8}));
  EXPECT_EQ(p.image.entry, 1);
  EXPECT_EQ(p.image.instructionCount(), 3u);
}

TEST(ProgramFile, FileShorterThanTheHeaderHasNone) {
  // "TFC" in a file too short for the header is read as a segment word whose
  // data segment runs past the end.
  Parsed p = parse({'T', 'F', 'C', 0, 0, 0, 0});
  EXPECT_EQ(p.code, runtime::kErrFileSize);
  EXPECT_EQ(p.firstLine, "runtime cs size error");
  p = parse({1, 0, 0, 0, 0x55});
  ASSERT_EQ(p.code, 0);
  EXPECT_EQ(p.image.data, (std::vector<std::uint8_t>{0x55}));
  // Fewer bytes than a segment word.
  p = parse({0, 0, 0});
  EXPECT_EQ(p.code, runtime::kErrFileRead);
  EXPECT_EQ(p.firstLine, "runtime error");
  EXPECT_EQ(parse({}).code, runtime::kErrFileRead);
}

TEST(ProgramFile, WholeFileLimit) {
  // 162 + 4 + 65368 + 65534 = 131068: the largest file that passes.
  const auto largest = fileWith(65368, 65368, 65534, true);
  ASSERT_EQ(largest.size(), 131068u);
  const Parsed ok = parse(largest);
  ASSERT_EQ(ok.code, 0);
  EXPECT_EQ(ok.image.code.size(), 65534u);
  EXPECT_EQ(ok.image.data.size(), 65368u);

  const Parsed tooBig = parse(fileWith(65368, 65368, 65535, true));
  EXPECT_EQ(tooBig.code, runtime::kErrTooLarge);
  EXPECT_EQ(runtime::runErrorText(tooBig.code), "Program too large");
  EXPECT_EQ(tooBig.firstLine, "runtime error");
}

TEST(ProgramFile, SegmentLimits) {
  // 65548 bytes of code (4682 whole instructions) after an empty data segment.
  Parsed p = parse(fileWith(0, 0, 65548));
  EXPECT_EQ(p.code, runtime::kErrTooLarge);
  EXPECT_EQ(p.firstLine, "runtime cs size error");
  // Exactly 65534 bytes of code is allowed.
  EXPECT_EQ(parse(fileWith(0, 0, 65534)).code, 0);

  p = parse(fileWith(0xFFFF, 0, 70000));
  EXPECT_EQ(p.code, runtime::kErrTooLarge);
  EXPECT_EQ(p.firstLine, "runtime ds size error");
}

TEST(ProgramFile, DamagedSizesAreLoadErrors) {
  // The data segment says 100 bytes, 50 follow: the code size would be negative.
  Parsed p = parse(fileWith(100, 50, 0));
  EXPECT_EQ(p.code, runtime::kErrFileSize);
  EXPECT_EQ(p.firstLine, "runtime cs size error");
  // One instruction and one byte of the next.
  p = parse(fileWith(0, 0, 15));
  EXPECT_EQ(p.code, runtime::kErrFileSize);
  EXPECT_EQ(p.firstLine, "runtime cs size error");
}

TEST(ProgramFile, EntryMustNameAnInstruction) {
  RawProgram prog;
  prog.push(1).end();
  prog.entry = 2;
  Parsed p = parse(prog.bytes());
  EXPECT_EQ(p.code, runtime::kErrFileSize);
  EXPECT_EQ(p.firstLine, "runtime error");
  prog.entry = 1;
  EXPECT_EQ(parse(prog.bytes()).code, 0);
  // An empty program starts only at 0.
  EXPECT_EQ(parse(fileWith(1u << 16, 0, 0)).code, runtime::kErrFileSize);
}

TEST(ProgramFile, FailedParseLeavesTheImageAsItWas) {
  Parsed p = parse({2, 0, 0, 0, 7, 7});
  ASSERT_EQ(p.code, 0);
  const std::vector<std::uint8_t> bad = fileWith(0, 0, 15);
  std::string line;
  EXPECT_NE(runtime::parseProgram(bad.data(), bad.size(), p.image, line), 0);
  EXPECT_EQ(p.image.data, (std::vector<std::uint8_t>{7, 7}));
}

TEST(ProgramFile, VariantSelectsHowNumericVariablesAreAddressed) {
  // Without the header operand 3 is the variable at byte 24; with it, byte 3.
  RawProgram plain;
  plain.data.assign(64, 0);
  double v = 41;
  std::memcpy(plain.data.data() + 24, &v, 8);
  plain.get(3).end();
  EXPECT_EQ(runtime_test::runRaw(plain).outcome.value, 41);

  RawProgram headed = plain;
  headed.header = true;
  headed.data.assign(64, 0);
  v = 17;
  std::memcpy(headed.data.data() + 3, &v, 8);
  EXPECT_EQ(runtime_test::runRaw(headed).outcome.value, 17);
}

// ---- the slots

// A memory file system that remembers the access each open asked for.
class WatchedFiles : public testing_support::MemoryFileSystem {
 public:
  int open(const std::string& path, platform::Access access, platform::Disposition disposition,
           std::unique_ptr<platform::FileHandle>& out) override {
    accesses.push_back(access);
    return MemoryFileSystem::open(path, access, disposition, out);
  }
  std::vector<platform::Access> accesses;
};

std::string ending(double value) {
  RawProgram p;
  p.push(value).end();
  const auto b = p.bytes();
  return std::string(b.begin(), b.end());
}

class ProgramSlotsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files.putFile(folder + platform::kSep + "one.rpf", ending(1));
    files.putFile(folder + platform::kSep + "two.rpf", ending(2));
  }
  double valueOf(ProgramUse use, const std::string& name) {
    runtime::ProgramImage* image = nullptr;
    std::string line;
    EXPECT_EQ(slots.load(use, folder, name, image, line), 0) << name;
    if (image == nullptr) return -1;
    runtime::Machine m;
    runtime::RunContext ctx;
    ctx.budget = 1000;
    return runtime::execute(m, *image, ctx).value;
  }

  const std::string folder = "/apps/Fields";
  WatchedFiles files;
  platform::ScopedFileSystem use{files};
  runtime::ProgramSlots slots;
};

TEST_F(ProgramSlotsTest, KeepingSlotReadsItsFileOnceUntilTheMarksAreCleared) {
  for (ProgramUse keeping : {ProgramUse::LineEvent, ProgramUse::FieldExit}) {
    const int before = slots.fileReads();
    EXPECT_EQ(valueOf(keeping, "one.rpf"), 1);
    EXPECT_EQ(valueOf(keeping, "one.rpf"), 1);
    EXPECT_EQ(slots.fileReads(), before + 1);
    EXPECT_TRUE(slots.isLoaded(keeping, folder, "one.rpf"));
    slots.clearMarks();
    EXPECT_FALSE(slots.isLoaded(keeping, folder, "one.rpf"));
    EXPECT_EQ(valueOf(keeping, "one.rpf"), 1);
    EXPECT_EQ(slots.fileReads(), before + 2);
  }
}

TEST_F(ProgramSlotsTest, TwoFilesInOneKeepingSlotKeepTheirOwnCode) {
  EXPECT_EQ(valueOf(ProgramUse::FieldExit, "one.rpf"), 1);
  EXPECT_EQ(valueOf(ProgramUse::FieldExit, "two.rpf"), 2);
  EXPECT_EQ(valueOf(ProgramUse::FieldExit, "one.rpf"), 1);
  EXPECT_EQ(slots.fileReads(), 2);
  // The other keeping slot has its own images.
  EXPECT_FALSE(slots.isLoaded(ProgramUse::LineEvent, folder, "one.rpf"));
}

TEST_F(ProgramSlotsTest, GeneralSlotReadsEveryTimeReadOnly) {
  EXPECT_EQ(valueOf(ProgramUse::General, "one.rpf"), 1);
  files.putFile(folder + platform::kSep + "one.rpf", ending(3));
  EXPECT_EQ(valueOf(ProgramUse::General, "one.rpf"), 3);
  EXPECT_EQ(slots.fileReads(), 2);
  EXPECT_FALSE(slots.isLoaded(ProgramUse::General, folder, "one.rpf"));
  for (platform::Access a : files.accesses) EXPECT_EQ(a, platform::Access::Read);
}

TEST_F(ProgramSlotsTest, FailedLoadLeavesTheSlotUnloaded) {
  runtime::ProgramImage* image = nullptr;
  std::string line;
  EXPECT_EQ(slots.load(ProgramUse::LineEvent, folder, "three.rpf", image, line), runtime::kErrFileOpen);
  EXPECT_EQ(image, nullptr);
  EXPECT_EQ(line, "runtime error");

  const auto bad = fileWith(0, 0, 65548);
  files.putFile(folder + platform::kSep + "three.rpf", std::string(bad.begin(), bad.end()));
  EXPECT_EQ(slots.load(ProgramUse::LineEvent, folder, "three.rpf", image, line), runtime::kErrTooLarge);
  EXPECT_EQ(line, "runtime cs size error");
  EXPECT_FALSE(slots.isLoaded(ProgramUse::LineEvent, folder, "three.rpf"));

  files.putFile(folder + platform::kSep + "three.rpf", ending(7));
  EXPECT_EQ(valueOf(ProgramUse::LineEvent, "three.rpf"), 7);
}

TEST_F(ProgramSlotsTest, OversizedFileIsRefusedBeforeItIsParsed) {
  files.putFile(folder + platform::kSep + "big.rpf", std::string(131069, '\0'));
  runtime::ProgramImage* image = nullptr;
  std::string line;
  EXPECT_EQ(slots.load(ProgramUse::General, folder, "big.rpf", image, line), runtime::kErrTooLarge);
  EXPECT_EQ(line, "runtime error");
}

}  // namespace
