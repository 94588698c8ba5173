#include "tfabuild/json_node.hpp"

#include <cmath>

namespace tfabuild {

std::string shown(const Json& value) {
  std::string s = value.dump();
  if (s.size() > 40) s = s.substr(0, 37) + "...";
  return s;
}

Node Node::operator[](std::string_view key) const {
  std::string path = path_.empty() ? std::string(key) : path_ + "." + std::string(key);
  if (value_ == nullptr || !value_->is_object()) return Node(nullptr, path, *diag_);
  auto it = value_->find(std::string(key));
  return Node(it == value_->end() ? nullptr : &*it, path, *diag_);
}

Node Node::item(std::size_t i) const {
  std::string path = path_ + "[" + std::to_string(i) + "]";
  if (value_ == nullptr || !value_->is_array() || i >= value_->size()) return Node(nullptr, path, *diag_);
  return Node(&(*value_)[i], path, *diag_);
}

std::size_t Node::size() const {
  return value_ != nullptr && value_->is_array() ? value_->size() : 0;
}

bool Node::object(std::span<const std::string_view> keys) const {
  if (!present()) return false;
  if (!value_->is_object()) {
    error("expected an object, got " + shown(*value_));
    return false;
  }
  for (auto it = value_->begin(); it != value_->end(); ++it) {
    bool known = false;
    for (std::string_view k : keys) known = known || k == it.key();
    if (!known) (*this)[it.key()].error("unknown key \"" + it.key() + "\"");
  }
  return true;
}

bool Node::array() const {
  if (!present()) return false;
  if (!value_->is_array()) {
    error("expected a list, got " + shown(*value_));
    return false;
  }
  return true;
}

bool Node::required() const {
  if (present()) return true;
  error("missing");
  return false;
}

std::string Node::text(std::string_view def, std::size_t maxBytes) const {
  if (!present()) return std::string(def);
  if (!value_->is_string()) {
    error("expected text, got " + shown(*value_));
    return std::string(def);
  }
  std::string s = value_->get<std::string>();
  if (s.size() > maxBytes) {
    error("\"" + s + "\" is longer than " + std::to_string(maxBytes) + " characters");
    return s.substr(0, maxBytes);
  }
  return s;
}

std::int64_t Node::integer(std::int64_t def, std::int64_t min, std::int64_t max) const {
  if (!present()) return def;
  double d = 0;
  if (value_->is_number_integer() || value_->is_number_unsigned()) {
    d = value_->get<double>();
  } else if (value_->is_number_float() && std::floor(value_->get<double>()) == value_->get<double>()) {
    d = value_->get<double>();
  } else {
    error("expected a whole number, got " + shown(*value_));
    return def;
  }
  if (d < static_cast<double>(min) || d > static_cast<double>(max)) {
    error(shown(*value_) + " is outside " + std::to_string(min) + " to " + std::to_string(max));
    return def;
  }
  return static_cast<std::int64_t>(d);
}

double Node::number(double def) const {
  if (!present()) return def;
  if (!value_->is_number()) {
    error("expected a number, got " + shown(*value_));
    return def;
  }
  double d = value_->get<double>();
  if (!std::isfinite(d)) {
    error("expected a finite number");
    return def;
  }
  return d;
}

bool Node::flag(bool def) const {
  if (!present()) return def;
  if (!value_->is_boolean()) {
    error("expected true or false, got " + shown(*value_));
    return def;
  }
  return value_->get<bool>();
}

int Node::choice(int def, std::initializer_list<Choice> choices, int minInt, int maxInt) const {
  if (!present()) return def;
  if (value_->is_string()) {
    std::string s = value_->get<std::string>();
    for (const Choice& c : choices) {
      if (s == c.name) return c.value;
    }
  } else if (minInt <= maxInt && value_->is_number_integer()) {
    return static_cast<int>(integer(def, minInt, maxInt));
  }
  std::string names;
  for (const Choice& c : choices) names += std::string(names.empty() ? "" : ", ") + "\"" + c.name + "\"";
  if (minInt <= maxInt) names += " or a number " + std::to_string(minInt) + "-" + std::to_string(maxInt);
  error("expected one of " + names + ", got " + shown(*value_));
  return def;
}

}  // namespace tfabuild
