#pragma once
// Storing, entering and appending the lines of the current level. A line is
// a record of the level table; the record buffer holds the current line. A
// stored line is written in place and the table flushed, so a program killed
// at any later moment keeps it.
#include <cstdint>
#include <string>
#include <string_view>

#include "editor/engine.hpp"

namespace editor {

// Leaves the current line: the level's GPS requirement must be met and the
// line-exit program must not refuse (else false, the line stays current and
// unwritten), then writes the record when it changed
// and flushes the table. False also when the write failed (the table store
// has shown why; the line stays in the buffer so nothing is lost).
[[nodiscard]] bool storeLine(Engine& e);

// Makes line n (1..line count) current: reads it, recomputes the column
// values and runs the line-entry program. The current line must have been
// stored. False when n is no line or the record cannot be read.
bool enterLine(Engine& e, std::int32_t n);

// Appends a blank line after the last one and makes it current (the
// new-line program runs). False when the level has its maximum of lines or
// the table refused the record.
bool appendLine(Engine& e);

// True when every enterable column of the record (between the first and
// last enterable column, not hidden, skipped or display-only) is blank. A
// number keyed as 0 is data: only blank text is empty.
bool lineIsEmpty(const LevelState& s, std::string_view record);

// Holds the current record's unsaved changes aside while a scan moves
// through the level table, so the scan never writes them; restore() makes
// the held line current again with them (or, when the line is gone, drops
// them).
class HeldLine {
 public:
  explicit HeldLine(LevelState& s);
  HeldLine(const HeldLine&) = delete;
  HeldLine& operator=(const HeldLine&) = delete;
  // Line n (normally the held one) becomes the current record; when it is
  // the held line its held changes are put back into the buffer.
  void restore(std::int32_t n);
  std::int32_t line() const { return line_; }
  bool pending() const { return pending_; }
  // Writes the held changes into the held line (the cursor leaves it for
  // another line); 0 or the table store's code.
  int store();
  // Record n as the scan must see it: the held changes for the held line.
  int peek(std::int32_t n, std::string& out) const;

 private:
  LevelState& s_;
  std::int32_t line_;
  bool pending_ = false;
  std::string buffer_;
};

// From the last line backwards, removes the lines whose enterable columns
// are all blank, stopping at the first with data; the table is packed and
// the line count, current line and window follow. Returns how many went.
int removeTrailingEmptyLines(Engine& e);

}  // namespace editor
