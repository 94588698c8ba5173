// docs/programs.md against the assembler: its table of built-ins is the one
// the runtime's table makes, and its example assembles.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "tfabuild/assembler.hpp"
#include "tfabuild/builtin_list.hpp"

namespace tfabuild_test {
namespace {

// The page beside this source: __FILE__ is absolute or relative to the build
// folder, and the tests run from the build folder, its tests folder or the checkout.
std::string programsPage() {
  std::string here = __FILE__;
  std::string root = here.substr(0, here.rfind("tests/tfa-build/"));
  std::vector<std::string> bases = {root, "../" + root, ""};
  if (const char* bin = std::getenv("TALLYFIN_TEST_BIN")) bases.push_back(std::string(bin) + "/../" + root);
  for (const std::string& base : bases) {
    std::ifstream in(base + "docs/programs.md", std::ios::binary);
    if (in) return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return {};
}

TEST(ProgramsPage, BuiltinTableMatchesTheRuntimesTable) {
  std::string page = programsPage();
  ASSERT_FALSE(page.empty()) << "docs/programs.md not found from " << __FILE__;
  const std::string begin = "<!-- builtins table: begin -->\n", end = "<!-- builtins table: end -->";
  std::size_t from = page.find(begin), to = page.find(end);
  ASSERT_NE(from, std::string::npos);
  ASSERT_NE(to, std::string::npos);
  from += begin.size();
  EXPECT_EQ(page.substr(from, to - from), tfabuild::builtinTableMarkdown())
      << "run tfa-build builtins and paste its table into docs/programs.md";
  std::string table = tfabuild::builtinTableMarkdown();
  EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 2 + 168);
}

TEST(ProgramsPage, TheExampleAssembles) {
  std::string page = programsPage();
  std::size_t at = page.find("## An example");
  ASSERT_NE(at, std::string::npos);
  std::size_t from = page.find("```\n", at) + 4;
  std::size_t to = page.find("```\n", from);
  tfabuild::AssembleResult r = tfabuild::assembleProgram(page.substr(from, to - from), "example");
  EXPECT_TRUE(r.ok()) << (r.errors.empty() ? "" : r.errors.front());
  EXPECT_EQ(r.symbols.count("area"), 1u);
}

}  // namespace
}  // namespace tfabuild_test
