#pragma once
// The position file of a level table: with the application's KeepPosition
// set, closing a level writes where the user was (44 bytes, eleven 32-bit
// little-endian words) and opening it reads it back. Its name is the table's
// path with the last character replaced by "$" (".dbf" gives ".db$").
#include <cstdint>
#include <string>

#include "base/fixed_record.hpp"

namespace apps {
class LevelHeader;
}

namespace datasets {

inline constexpr std::size_t kPositionFileSize = 44;

class PositionRecord : public base::FixedRecord<kPositionFileSize> {
 public:
  // The words in file order.
  enum Word : int {
    kColumn = 0,      // current column
    kLine,            // current line
    kEditPosition,    // a further edit-state value
    kPage,
    kFirstShown,      // first line shown
    kLastShown,       // last line shown
    kDisplay1,        // three display-state values of the edit window
    kDisplay2,
    kDisplay3,
    kExtra1,          // two words carried as they are
    kExtra2,
    kWordCount
  };
  std::int32_t word(int w) const { return i32(offsetOf(w)); }
  void setWord(int w, std::int32_t v) { setI32(offsetOf(w), v); }

 private:
  static std::size_t offsetOf(int w) { return 4 * static_cast<std::size_t>(w < 0 ? 0 : (w >= kWordCount ? kWordCount - 1 : w)); }
};
static_assert(PositionRecord::kWordCount * 4 == kPositionFileSize);

// The position file's path for an 8-bit table path ("" for an empty path).
std::string positionPath(const std::string& tablePath8);

// Reads the position file of the table at tablePath8. 1 when a file of
// exactly 44 bytes was read into out; 0 (out untouched) when it is missing,
// of another size (a short file, or anything else that is not a position
// file) or cannot be read: the level then starts at its beginning.
int readPositionFile(const std::string& tablePath8, PositionRecord& out);

// Creates the position file anew with record: 1 when all 44 bytes are on
// disk; 0 when it could not be written whole, in which case no file is left.
int writePositionFile(const std::string& tablePath8, const PositionRecord& record);

// The words from a level's edit state, and back. restorePosition keeps the
// values inside the level: lines and shown lines within 1..lineCount (0 when
// the level has no lines), the column within 1..lastColumn, the page at
// least 0; the other words are taken as stored.
PositionRecord capturePosition(const apps::LevelHeader& header);
void restorePosition(apps::LevelHeader& header, const PositionRecord& record, std::int32_t lineCount,
                     int lastColumn);

}  // namespace datasets
