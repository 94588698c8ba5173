#pragma once
// The copy buffer every field editor shares: the last text copied with
// Ctrl+C / Ctrl+Insert, its numeric value, and whether anything was copied.
#include <string>
#include <string_view>

namespace editor {

struct CopyBuffer {
  std::string text;
  double value = 0.0;
  bool valid = false;

  void set(std::string_view copiedText, double copiedValue) {
    text.assign(copiedText);
    value = copiedValue;
    valid = true;
  }
  void clear() {
    text.clear();
    value = 0.0;
    valid = false;
  }
};

}  // namespace editor
