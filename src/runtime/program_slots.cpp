#include "runtime/program_slots.hpp"

#include <memory>
#include <vector>

#include "base/paths.hpp"
#include "platform/files.hpp"
#include "runtime/program_file.hpp"
#include "runtime/run_errors.hpp"

namespace runtime {

namespace {

std::string programPath(const std::string& folder, const std::string& fileName) {
  return base::joinPath(folder, fileName, platform::kSep);
}

}  // namespace

int ProgramSlots::readFile(const std::string& path, ProgramImage& out, std::string& firstLine) {
  firstLine = "runtime error";
  std::unique_ptr<platform::FileHandle> file;
  // Read-only: a run never needs to write its program, and a read-only file
  // (or one another program has open for reading) must still run.
  if (platform::fileSystem().open(path, platform::Access::Read, platform::Disposition::OpenExisting, file) != 0 ||
      !file)
    return kErrFileOpen;
  ++fileReads_;
  std::int64_t size = 0;
  if (file->size(size) != 0 || size < 0) return kErrFileSize;
  // Checked before anything is read, so a huge file costs nothing.
  if (static_cast<std::uint64_t>(size) >= kFileLimit) return kErrTooLarge;

  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  std::size_t got = 0;
  while (got < bytes.size()) {
    std::size_t done = 0;
    if (file->read(bytes.data() + got, bytes.size() - got, done) != 0) return kErrFileRead;
    if (done == 0) break;
    got += done;
  }
  (void)file->close();
  if (got != bytes.size()) return kErrProgramRead;
  return parseProgram(bytes.data(), bytes.size(), out, firstLine);
}

int ProgramSlots::load(editor::ProgramUse use, const std::string& folder, const std::string& fileName,
                       ProgramImage*& image, std::string& firstLine) {
  image = nullptr;
  firstLine = "runtime error";
  const std::string path = programPath(folder, fileName);
  if (use == editor::ProgramUse::General) {
    ProgramImage fresh;
    const int rc = readFile(path, fresh, firstLine);
    if (rc != 0) return rc;
    general_ = std::move(fresh);
    image = &general_;
    return 0;
  }
  auto& kept = use == editor::ProgramUse::FieldExit ? fieldExit_ : lineEvent_;
  if (auto it = kept.find(path); it != kept.end()) {
    image = &it->second;
    return 0;
  }
  ProgramImage fresh;
  const int rc = readFile(path, fresh, firstLine);
  if (rc != 0) return rc;
  image = &kept.emplace(path, std::move(fresh)).first->second;
  return 0;
}

void ProgramSlots::clearMarks() {
  fieldExit_.clear();
  lineEvent_.clear();
}

bool ProgramSlots::isLoaded(editor::ProgramUse use, const std::string& folder, const std::string& fileName) const {
  if (use == editor::ProgramUse::General) return false;
  const auto& kept = use == editor::ProgramUse::FieldExit ? fieldExit_ : lineEvent_;
  return kept.count(programPath(folder, fileName)) != 0;
}

}  // namespace runtime
