// The disassembler: readable text that names built-ins, data and targets,
// and a raw form that assembles back to the very same file.
#include <gtest/gtest.h>

#include "base/le.hpp"
#include "tfabuild/assembler.hpp"
#include "tfabuild/disassembler.hpp"

namespace tfabuild_test {
namespace {

using tfabuild::assembleProgram;
using tfabuild::disassemble;

std::vector<std::uint8_t> bytesOf(const std::string& source) {
  tfabuild::AssembleResult r = assembleProgram(source, "d");
  for (const std::string& e : r.errors) ADD_FAILURE() << e;
  return r.bytes;
}

const char* const kSample = R"(
    header
    num i = 1
    num total = -0.5
    str name[16] = "ab;c"
    const greeting "hi\n"
    entry main
  add:
    ref total
    get total
    get i
    op +
    op =
    return
  main:
    while
      get i
      push 10
      op <=
    do
      gosub add
      ref i
      op ++
    loop
    svar name
    push "done"
    call strcpy
    cstr greeting
    call substr/3 text
    call getData text
    call 200/2/0
    if
      push 1.5e300
    else
      push 0x20
    endif
    end
)";

TEST(Disassembler, RawFormAssemblesToTheSameBytes) {
  const std::vector<std::string> sources = {
      kSample,
      "push 1\nend\n",
      "raw 999 12345678901 3 4 5\nraw 1 #7ff8000000000001\nraw 1 #8000000000000000\nword 65535\n"
      "jump L\nL:\nbytes 01 02 03\n",
      "str s[70] = \"x\"\ndata 3\nnum n = 3\nfill 20 0\n",
  };
  for (const std::string& source : sources) {
    std::vector<std::uint8_t> original = bytesOf(source);
    ASSERT_FALSE(original.empty());
    std::string raw = disassemble(original, true);
    tfabuild::AssembleResult again = assembleProgram(raw, "raw");
    ASSERT_TRUE(again.ok()) << again.errors.front() << "\n" << raw;
    EXPECT_EQ(again.bytes, original) << raw;
  }
}

TEST(Disassembler, ReadableFormNamesWhatItCan) {
  std::string text = disassemble(bytesOf(kSample));
  for (const char* expected :
       {"header\n", "entry L6\n", "num n512 = 1", "num n520 = -0.5", "str s528[16] = \"ab;c\"",
        "const c544 \"hi\\n\"", "L0:\n", "    gosub L0", "call while", "target 6", "op <=", "call strcpy",
        "call substr  ", "call getData text", "call 200/2 ", "call if", "push 1.5e+300", "push 32",
        "    end "}) {
    EXPECT_NE(text.find(expected), std::string::npos) << expected << " missing in\n" << text;
  }
}

TEST(Disassembler, ReadableFormReassemblesToTheSameBytes) {
  // The readable data names sit where the program had them, so the file comes back whole.
  std::vector<std::uint8_t> original = bytesOf(kSample);
  tfabuild::AssembleResult again = assembleProgram(disassemble(original), "readable");
  ASSERT_TRUE(again.ok()) << again.errors.front();
  EXPECT_EQ(again.bytes, original);
}

TEST(Disassembler, OddSlotsFallBackToTheRawForm) {
  std::string text = disassemble(bytesOf("raw 8 0x3c3c\nraw 16 5 1 0 0\nraw 256 0\nword 300\nraw 256 9\n"));
  EXPECT_NE(text.find("raw 8 15420"), std::string::npos) << text;
  EXPECT_NE(text.find("raw 16 5 1 0 0"), std::string::npos) << text;
  EXPECT_NE(text.find("raw 256 9"), std::string::npos) << text;
  // A target outside the code cannot be a label: the jump is written raw with its slot.
  EXPECT_NE(text.find("raw 256 0 "), std::string::npos) << text;
  EXPECT_NE(text.find("word 300 "), std::string::npos) << text;
}

TEST(Disassembler, RefusesFilesTooShortForTheirLayout) {
  EXPECT_EQ(disassemble({1, 2}).rfind("; not a program file", 0), 0u);
  std::vector<std::uint8_t> file = {0x10, 0x00, 0x00, 0x00, 1, 2, 3};  // names 16 data bytes, holds 3
  EXPECT_NE(disassemble(file).find("runs past the file's end"), std::string::npos);

  tfabuild::ProgramFileParts parts;
  std::string why;
  std::vector<std::uint8_t> header(162 + 4 + 3 + 14 + 5, 0);
  header[0] = 't', header[1] = 'F', header[2] = 'c';
  base::putU16(header.data() + 162, 3);
  base::putU16(header.data() + 164, 1);
  ASSERT_TRUE(tfabuild::splitProgramFile(header, parts, why)) << why;
  EXPECT_TRUE(parts.withHeader);
  EXPECT_EQ(parts.data.size(), 3u);
  EXPECT_EQ(parts.code.size(), 14u);
  EXPECT_EQ(parts.tail.size(), 5u);
  EXPECT_EQ(parts.entry, 1);
}

}  // namespace
}  // namespace tfabuild_test
