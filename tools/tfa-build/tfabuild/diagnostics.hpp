#pragma once
// The mistakes found in an application description, each naming the JSON
// path of the value at fault ("levels[1].columns[3].check.file: ..."), and
// the warnings: what builds but may trouble the users of what is built.
#include <string>
#include <string_view>
#include <vector>

namespace tfabuild {

class Diagnostics {
 public:
  void error(std::string_view path, std::string_view message);
  // A warning leaves ok() true.
  void warning(std::string_view path, std::string_view message);
  bool ok() const { return errors_.empty(); }
  const std::vector<std::string>& errors() const { return errors_; }
  const std::vector<std::string>& warnings() const { return warnings_; }
  // Every error on its own line, then every warning ("path: warning: ...").
  std::string text() const;
  // True when some error starts with path + ": " and contains part.
  bool has(std::string_view path, std::string_view part = {}) const;
  // The same for the warnings.
  bool hasWarning(std::string_view path, std::string_view part = {}) const;

 private:
  std::vector<std::string> errors_;
  std::vector<std::string> warnings_;
};

}  // namespace tfabuild
