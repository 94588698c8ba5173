#pragma once
// Comma-separated tables: fields split at commas, a field in double quotes
// may hold commas, line breaks and doubled quotes; lines end in LF or CR LF;
// empty lines are skipped.
#include <string>
#include <string_view>
#include <vector>

namespace tfabuild {

struct CsvRow {
  int line = 0;  // 1-based line where the row starts
  std::vector<std::string> fields;
};

// Parses text into rows. False with error ("line 4: unterminated quote")
// when the text is not well formed.
bool parseCsv(std::string_view text, std::vector<CsvRow>& rows, std::string& error);

}  // namespace tfabuild
