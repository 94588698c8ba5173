#include "tfabuild/csv.hpp"

namespace tfabuild {

bool parseCsv(std::string_view text, std::vector<CsvRow>& rows, std::string& error) {
  rows.clear();
  std::size_t i = 0;
  int line = 1;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") i = 3;  // a byte-order mark some editors write
  while (i < text.size()) {
    CsvRow row;
    row.line = line;
    std::string field;
    bool any = false;
    for (;;) {
      if (i < text.size() && text[i] == '"') {
        ++i;
        for (;;) {
          if (i >= text.size()) {
            error = "line " + std::to_string(row.line) + ": unterminated quote";
            return false;
          }
          char c = text[i++];
          if (c == '"') {
            if (i < text.size() && text[i] == '"') {
              field += '"';
              ++i;
              continue;
            }
            break;
          }
          if (c == '\n') ++line;
          field += c;
        }
        if (i < text.size() && text[i] != ',' && text[i] != '\n' && text[i] != '\r') {
          error = "line " + std::to_string(line) + ": text after a closing quote";
          return false;
        }
        any = true;
      }
      while (i < text.size() && text[i] != ',' && text[i] != '\n' && text[i] != '\r') {
        field += text[i++];
        any = true;
      }
      if (i < text.size() && text[i] == ',') {
        row.fields.push_back(std::move(field));
        field.clear();
        any = true;
        ++i;
        continue;
      }
      break;
    }
    if (i < text.size() && text[i] == '\r') ++i;
    if (i < text.size() && text[i] == '\n') ++i;
    if (any) {
      row.fields.push_back(std::move(field));
      rows.push_back(std::move(row));
    }
    ++line;
  }
  return true;
}

}  // namespace tfabuild
