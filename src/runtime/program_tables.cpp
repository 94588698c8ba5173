#include "runtime/program_tables.hpp"

#include <cctype>

#include "base/paths.hpp"
#include "platform/fileops.hpp"
#include "platform/files.hpp"
#include "tablestore/table.hpp"

namespace runtime {

namespace {

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

}  // namespace

ProgramTables::ProgramTables() { store.setErrorDisplay(false); }

tablestore::Table* ProgramTables::at(int h) {
  if (h < 0 || h >= kProgramTables) return nullptr;
  return handles[static_cast<std::size_t>(h)].table;
}

int ProgramTables::freeHandle() const {
  for (int h = 0; h < kProgramTables; ++h)
    if (handles[static_cast<std::size_t>(h)].table == nullptr) return h;
  return -1;
}

int ProgramTables::handleOf(std::string_view path) const {
  for (int h = 0; h < kProgramTables; ++h) {
    const ProgramTable& p = handles[static_cast<std::size_t>(h)];
    if (p.table != nullptr && sameName(p.fileName, path)) return h;
  }
  return -1;
}

int ProgramTables::close(int h) {
  if (h < 0 || h >= kProgramTables) return 0;
  ProgramTable& p = handles[static_cast<std::size_t>(h)];
  if (p.table == nullptr) return 0;
  store.clearError();
  int rc = store.closeTable(p.table);
  p.table = nullptr;
  p.fileName.clear();
  store.clearError();
  return rc;
}

void closeProgramTables(ProgramTables& tables) {
  for (int h = 0; h < kProgramTables; ++h) (void)tables.close(h);
}

void flushProgramTables(ProgramTables& tables) {
  for (ProgramTable& p : tables.handles)
    if (p.table != nullptr) (void)p.table->flush();
}

bool isRootedPath(std::string_view name) {
  name = trimmed(name);
  if (name.empty()) return false;
  if (name[0] == '/' || name[0] == '\\') return true;
  return name.size() >= 2 && name[1] == ':' && std::isalpha(static_cast<unsigned char>(name[0]));
}

std::string tablePath(std::string_view name, std::string_view folder) {
  name = trimmed(name);
  if (folder.empty() || isRootedPath(name)) return std::string(name);
  return base::joinPath(folder, name, platform::kSep);
}

}  // namespace runtime

namespace runtime {

bool tableFileExists(const std::string& path) {
  if (path.empty() || path.find_first_of("*?") != std::string::npos) return false;
  return platform::fileExists(path);
}

}  // namespace runtime
