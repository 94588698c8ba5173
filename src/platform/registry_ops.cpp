// The registry operations the program uses, over the current registry.
#include <algorithm>

#include "platform/codepage.hpp"
#include "platform/registry.hpp"

namespace platform {

namespace {
// Registry buffers are sized in bytes of UTF-16: keep at most maxUnits of it.
std::string cutToUtf16Units(const std::string& text, std::size_t maxUnits) {
  std::u16string wide = utf8ToUtf16(text);
  if (wide.size() <= maxUnits) return text;
  wide.resize(maxUnits);
  // Never leave half a surrogate pair behind.
  if (!wide.empty() && wide.back() >= 0xD800 && wide.back() <= 0xDBFF) wide.pop_back();
  return utf16ToUtf8(wide);
}
}  // namespace

int writeRegString(const std::string& key, const std::string& name, const std::string& text) {
  return registry().writeString(RegRoot::CurrentUser, key, name, text) == kRegOk ? 1 : 0;
}

int writeRegDword(RegRoot root, const std::string& key, const std::string& name,
                  std::uint32_t value) {
  return registry().writeDword(root, key, name, value) == kRegOk ? 1 : 0;
}

int readRegString(RegRoot root, const std::string& key, const std::string& name,
                  std::string& out, std::size_t size) {
  out.clear();
  std::string value;
  int rc = registry().readString(root, key, name, value);
  if (rc == kRegNoKey) {
    out = "RegOpenKey err";
    return 0;
  }
  if (rc != kRegOk) {
    out = "RegQueryValue err";
    return 0;
  }
  // The buffer holds size bytes of UTF-16 with its NUL.
  out = cutToUtf16Units(value, size >= 2 ? size / 2 - 1 : 0);
  return 1;
}

std::int64_t readRegDword(RegRoot root, const std::string& key, const std::string& name) {
  std::uint32_t v = 0;
  return registry().readDword(root, key, name, v) == kRegOk ? static_cast<std::int64_t>(v) : -1;
}

int regValueExists(RegRoot root, const std::string& key, const std::string& name) {
  std::string s;
  if (registry().readString(root, key, name, s) == kRegOk) return 1;
  std::uint32_t v = 0;
  return registry().readDword(root, key, name, v) == kRegOk ? 1 : 0;
}

int getAppSetting(const std::string& name, std::string& out, std::size_t size) {
  std::string value;
  int ok = readRegString(RegRoot::CurrentUser, kAppKey, name, value, 1 << 20);
  // The read copies at most size - 2 bytes of UTF-16.
  out = ok ? cutToUtf16Units(value, size >= 2 ? (size - 2) / 2 : 0) : value;
  return ok;
}

int putAppSetting(const std::string& name, const std::string& text) {
  return writeRegString(kAppKey, name, text);
}

}  // namespace platform
