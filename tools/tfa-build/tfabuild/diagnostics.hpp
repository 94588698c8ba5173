#pragma once
// The mistakes found in an application description, each naming the JSON
// path of the value at fault ("levels[1].columns[3].check.file: ...").
#include <string>
#include <string_view>
#include <vector>

namespace tfabuild {

class Diagnostics {
 public:
  void error(std::string_view path, std::string_view message);
  bool ok() const { return errors_.empty(); }
  const std::vector<std::string>& errors() const { return errors_; }
  // Every error on its own line.
  std::string text() const;
  // True when some error starts with path + ": " and contains part.
  bool has(std::string_view path, std::string_view part = {}) const;

 private:
  std::vector<std::string> errors_;
};

}  // namespace tfabuild
