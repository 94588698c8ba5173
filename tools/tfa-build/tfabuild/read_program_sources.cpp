// "programSources": runtime programs written as text, assembled while the
// description is read and then carried like any other file, so that program
// lists and event programs can name them.
#include "apps/package_format.hpp"
#include "platform/codepage.hpp"
#include "tfabuild/assembler.hpp"
#include "tfabuild/reader.hpp"

namespace tfabuild {

void readProgramSources(Reader& r, const Node& sources) {
  if (!sources.present()) return;
  if (!sources.json().is_object()) {
    sources.error("expected an object of program file names and their sources");
    return;
  }
  for (auto it = sources.json().begin(); it != sources.json().end(); ++it) {
    Node entry = sources[it.key()];
    const std::string& name = it.key();
    std::string narrow = platform::toNarrow(name);
    if (name.empty() || narrow.size() > 59 || !apps::isSafeMemberName(narrow)) {
      entry.error("\"" + name + "\" cannot be a file name of a package (at most 59 characters, no path)");
      continue;
    }
    if (!entry.json().is_string()) {
      entry.error("expected the path of the program's source");
      continue;
    }
    std::string path = entry.text({}, 4096);
    std::string text;
    if (path.empty() || !r.readFile(entry, path, text)) continue;
    AssembleResult assembled = assembleProgram(text, path);
    for (const std::string& e : assembled.errors) entry.error(e);
    if (!assembled.ok()) continue;
    FileModel file;
    file.name = name;
    file.bytes.assign(assembled.bytes.begin(), assembled.bytes.end());
    file.path = entry.path();
    r.app.files.push_back(std::move(file));
  }
}

}  // namespace tfabuild
