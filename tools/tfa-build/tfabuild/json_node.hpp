#pragma once
// A value of the description with its JSON path. Every read checks the
// value's type and range and reports a mistake under the path, then gives
// the default, so one pass finds every mistake of a description.
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include <nlohmann/json.hpp>

#include "tfabuild/diagnostics.hpp"

namespace tfabuild {

using Json = nlohmann::json;

struct Choice {
  const char* name;
  int value;
};

class Node {
 public:
  Node(const Json* value, std::string path, Diagnostics& diagnostics)
      : value_(value), path_(std::move(path)), diag_(&diagnostics) {}

  const std::string& path() const { return path_; }
  bool present() const { return value_ != nullptr && !value_->is_null(); }
  const Json& json() const { return *value_; }
  Diagnostics& diagnostics() const { return *diag_; }
  void error(std::string_view message) const { diag_->error(path_, message); }
  void warning(std::string_view message) const { diag_->warning(path_, message); }

  // A member (absent when this is not an object or lacks it) or an item.
  Node operator[](std::string_view key) const;
  Node item(std::size_t i) const;
  // Items of an array (0 when absent or not an array).
  std::size_t size() const;

  // Reports a value that is not an object, and every member not in keys.
  bool object(std::span<const std::string_view> keys) const;
  bool object(std::initializer_list<std::string_view> keys) const {
    return object(std::span<const std::string_view>(keys.begin(), keys.size()));
  }
  // Reports a value that is present and not an array.
  bool array() const;
  // Reports an absent value.
  bool required() const;

  // Typed reads: an absent value gives def; a wrong one is reported and
  // gives def.
  std::string text(std::string_view def = {}, std::size_t maxBytes = 255) const;
  std::int64_t integer(std::int64_t def, std::int64_t min, std::int64_t max) const;
  double number(double def) const;
  bool flag(bool def) const;
  // A name of choices, or (when minInt <= maxInt) a whole number in range.
  int choice(int def, std::initializer_list<Choice> choices, int minInt = 1, int maxInt = 0) const;

 private:
  const Json* value_;
  std::string path_;
  Diagnostics* diag_;
};

// A short rendering of a value for messages.
std::string shown(const Json& value);

}  // namespace tfabuild
