// tfa-build: application packages from readable JSON descriptions.
//
//   tfa-build build DESCRIPTION.json --out FOLDER [--package FILE.tfa]
//   tfa-build check DESCRIPTION.json
//   tfa-build inspect FILE.tfa
//   tfa-build asm SOURCE.tfs --out FILE
//   tfa-build disasm FILE [--raw]
//   tfa-build builtins
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "apps/package_describe.hpp"
#include "tfabuild/assembler.hpp"
#include "tfabuild/build.hpp"
#include "tfabuild/builtin_list.hpp"
#include "tfabuild/disassembler.hpp"
#include "tfabuild/read_description.hpp"

namespace {

int usage() {
  std::fputs(
      "usage: tfa-build build DESCRIPTION.json --out FOLDER [--package FILE.tfa]\n"
      "       tfa-build check DESCRIPTION.json\n"
      "       tfa-build inspect FILE.tfa\n"
      "       tfa-build asm SOURCE.tfs --out FILE      (a runtime program from its text)\n"
      "       tfa-build disasm FILE [--raw]            (a runtime program as text)\n"
      "       tfa-build builtins                       (the table of built-ins, as markdown)\n",
      stderr);
  return 2;
}

int report(const tfabuild::Diagnostics& diag) {
  std::fputs(diag.text().c_str(), stderr);
  return diag.ok() ? 0 : 1;
}

bool readWhole(const std::string& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

// The file name without its folders, for messages.
std::string baseName(const std::string& path) {
  std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

int assemble(const std::string& source, const std::string& outPath) {
  std::string text;
  if (!readWhole(source, text)) {
    std::fprintf(stderr, "tfa-build: %s: cannot read the file\n", source.c_str());
    return 1;
  }
  tfabuild::AssembleResult r = tfabuild::assembleProgram(text, baseName(source));
  for (const std::string& e : r.errors) std::fprintf(stderr, "%s\n", e.c_str());
  if (!r.ok()) return 1;
  std::ofstream out(outPath, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(r.bytes.data()), static_cast<std::streamsize>(r.bytes.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "tfa-build: %s: cannot write the file\n", outPath.c_str());
    return 1;
  }
  return 0;
}

int disassembleFile(const std::string& path, bool raw) {
  std::string bytes;
  if (!readWhole(path, bytes)) {
    std::fprintf(stderr, "tfa-build: %s: cannot read the file\n", path.c_str());
    return 1;
  }
  std::string text = tfabuild::disassemble(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), raw);
  std::fputs(text.c_str(), stdout);
  return text.rfind("; not a program file", 0) == 0 ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && args[0] == "builtins") {
    std::fputs(tfabuild::builtinTableMarkdown().c_str(), stdout);
    return 0;
  }
  if (args.size() < 2) return usage();
  const std::string& command = args[0];
  if (command == "asm" && args.size() == 4 && args[2] == "--out") return assemble(args[1], args[3]);
  if (command == "asm" && args.size() == 4 && args[1] == "--out") return assemble(args[3], args[2]);
  if (command == "disasm" && args.size() == 2) return disassembleFile(args[1], false);
  if (command == "disasm" && args.size() == 3 && (args[1] == "--raw" || args[2] == "--raw"))
    return disassembleFile(args[1] == "--raw" ? args[2] : args[1], true);
  if (command == "inspect" && args.size() == 2) {
    std::string text;
    int rc = apps::describePackage(args[1], text);
    std::fputs(text.c_str(), stdout);
    if (rc != 0) std::fprintf(stderr, "tfa-build: %s: cannot read the package (code %d)\n", args[1].c_str(), rc);
    return rc == 0 ? 0 : 1;
  }
  if (command == "check" && args.size() == 2) {
    tfabuild::AppModel app;
    tfabuild::Diagnostics diag;
    tfabuild::readDescriptionFile(args[1], app, diag);
    return report(diag);
  }
  if (command == "build") {
    tfabuild::BuildOptions options;
    std::string description;
    for (std::size_t i = 1; i < args.size(); ++i) {
      if (args[i] == "--out" && i + 1 < args.size()) {
        options.appFolder = args[++i];
      } else if (args[i] == "--package" && i + 1 < args.size()) {
        options.packagePath = args[++i];
      } else if (description.empty() && args[i].rfind("--", 0) != 0) {
        description = args[i];
      } else {
        return usage();
      }
    }
    if (description.empty() || options.appFolder.empty()) return usage();
    // Reproducible packages: a fixed member time when the build asks for one.
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) {
      options.memberTime = static_cast<platform::FileTime>(std::strtoull(epoch, nullptr, 10)) * 10000000ull +
                           116444736000000000ull;
    }
    tfabuild::Diagnostics diag;
    tfabuild::buildFromFile(description, options, diag);
    return report(diag);
  }
  return usage();
}
