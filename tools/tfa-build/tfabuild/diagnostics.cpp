#include "tfabuild/diagnostics.hpp"

namespace tfabuild {

void Diagnostics::error(std::string_view path, std::string_view message) {
  std::string line(path.empty() ? std::string_view("(description)") : path);
  line += ": ";
  line += message;
  errors_.push_back(std::move(line));
}

std::string Diagnostics::text() const {
  std::string out;
  for (const auto& e : errors_) out += e + "\n";
  return out;
}

bool Diagnostics::has(std::string_view path, std::string_view part) const {
  std::string prefix = std::string(path) + ": ";
  for (const auto& e : errors_) {
    if (e.compare(0, prefix.size(), prefix) == 0 && e.find(part, prefix.size()) != std::string::npos) return true;
  }
  return false;
}

}  // namespace tfabuild
