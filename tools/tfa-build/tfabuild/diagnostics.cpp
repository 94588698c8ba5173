#include "tfabuild/diagnostics.hpp"

namespace tfabuild {

namespace {

std::string line(std::string_view path, std::string_view message) {
  std::string out(path.empty() ? std::string_view("(description)") : path);
  out += ": ";
  out += message;
  return out;
}

bool anyHas(const std::vector<std::string>& lines, std::string_view path, std::string_view part) {
  std::string prefix = std::string(path) + ": ";
  for (const auto& e : lines) {
    if (e.compare(0, prefix.size(), prefix) == 0 && e.find(part, prefix.size()) != std::string::npos) return true;
  }
  return false;
}

}  // namespace

void Diagnostics::error(std::string_view path, std::string_view message) { errors_.push_back(line(path, message)); }

void Diagnostics::warning(std::string_view path, std::string_view message) {
  warnings_.push_back(line(path, std::string("warning: ") + std::string(message)));
}

std::string Diagnostics::text() const {
  std::string out;
  for (const auto& e : errors_) out += e + "\n";
  for (const auto& w : warnings_) out += w + "\n";
  return out;
}

bool Diagnostics::has(std::string_view path, std::string_view part) const { return anyHas(errors_, path, part); }

bool Diagnostics::hasWarning(std::string_view path, std::string_view part) const {
  return anyHas(warnings_, path, part);
}

}  // namespace tfabuild
