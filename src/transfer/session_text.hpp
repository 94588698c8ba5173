#pragma once
// Small text helpers the session's steps share.
#include <string>
#include <string_view>

#include "transfer/link_errors.hpp"

namespace transfer {

// text, followed by "\n" and the link error table's text for code when the
// table has a row for it.
inline std::string withErrorText(std::string text, int code) {
  const int row = linkErrorIndex(code);
  if (row > 0) {
    text += '\n';
    text += linkErrorText(row);
  }
  return text;
}

// folder + sep + name.
inline std::string joinPath(std::string_view folder, char sep, std::string_view name) {
  std::string path(folder);
  path += sep;
  path += name;
  return path;
}

}  // namespace transfer
