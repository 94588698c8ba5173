// A registry kept in one text file, rewritten whole through a temporary file
// and a rename so that a crash never leaves half a store:
//
//   [HKCU\Software\Tallyfin PC]
//   "PC InstallDir"=sz:"/home/crew/.local/share/"
//   "Flag"=dword:1
//
// Keys and names compare without regard to case, as in the Windows registry.
// Lines that do not parse are skipped, so a damaged store never stops the
// program; the next write replaces it with what could be read. The store
// lives in the user's own folders, so it goes to the native file system
// directly, whatever file system the program's data is on.
#include <map>
#include <mutex>

#include "base/text.hpp"
#include "platform/errors.hpp"
#include "platform/files.hpp"
#include "platform/registry.hpp"

namespace platform {

namespace {

struct NoCase {
  bool operator()(const std::string& a, const std::string& b) const {
    return base::toUpper(a) < base::toUpper(b);
  }
};

struct Value {
  bool isDword = false;
  std::string text;
  std::uint32_t dword = 0;
};
using Values = std::map<std::string, Value, NoCase>;
using Store = std::map<std::string, Values, NoCase>;  // "HKCU\key" -> values

std::string section(RegRoot root, const std::string& key) {
  return (root == RegRoot::CurrentUser ? "HKCU\\" : "HKLM\\") + key;
}

std::string quote(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\0': out += "\\0"; break;
      default: out.push_back(c);
    }
  }
  return out + "\"";
}

// Reads a quoted string at pos; false when it is not one.
bool unquote(const std::string& line, std::size_t& pos, std::string& out) {
  if (pos >= line.size() || line[pos] != '"') return false;
  out.clear();
  for (++pos; pos < line.size(); ++pos) {
    char c = line[pos];
    if (c == '"') {
      ++pos;
      return true;
    }
    if (c == '\\' && pos + 1 < line.size()) {
      char e = line[++pos];
      out.push_back(e == 'n' ? '\n' : e == 'r' ? '\r' : e == '0' ? '\0' : e);
    } else {
      out.push_back(c);
    }
  }
  return false;
}

Store parse(const std::string& text) {
  Store store;
  Values* current = nullptr;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      current = &store[line.substr(1, line.size() - 2)];
      continue;
    }
    if (!current || line.empty() || line[0] != '"') continue;
    std::size_t pos = 0;
    std::string name;
    if (!unquote(line, pos, name) || pos >= line.size() || line[pos] != '=') continue;
    std::string rest = line.substr(pos + 1);
    Value v;
    if (rest.rfind("sz:", 0) == 0) {
      std::size_t p = 3;
      if (!unquote(rest, p, v.text)) continue;
    } else if (rest.rfind("dword:", 0) == 0) {
      std::string digits = rest.substr(6);
      if (digits.empty() || digits.size() > 10 ||
          digits.find_first_not_of("0123456789") != std::string::npos)
        continue;
      unsigned long long n = std::stoull(digits);
      if (n > 0xFFFFFFFFull) continue;
      v.isDword = true;
      v.dword = static_cast<std::uint32_t>(n);
    } else {
      continue;
    }
    (*current)[name] = v;
  }
  return store;
}

std::string render(const Store& store) {
  std::string out = "# Tallyfin PC registry values\n";
  for (const auto& [key, values] : store) {
    out += "[" + key + "]\n";
    for (const auto& [name, v] : values)
      out += quote(name) + "=" + (v.isDword ? "dword:" + std::to_string(v.dword) : "sz:" + quote(v.text)) + "\n";
  }
  return out;
}

class FileRegistry : public Registry {
 public:
  FileRegistry(std::string storePath, std::string familyFile)
      : path_(std::move(storePath)), familyFile_(std::move(familyFile)) {}

  int readString(RegRoot root, const std::string& key, const std::string& name,
                 std::string& out) override {
    std::lock_guard<std::mutex> guard(lock_);
    Value v;
    int rc = lookup(root, key, name, v);
    if (rc != kRegOk) return rc;
    if (v.isDword) return kRegNoValue;
    out = v.text;
    return kRegOk;
  }

  int writeString(RegRoot root, const std::string& key, const std::string& name,
                  const std::string& text) override {
    Value v;
    v.text = text;
    return store(root, key, name, v);
  }

  int readDword(RegRoot root, const std::string& key, const std::string& name,
                std::uint32_t& out) override {
    std::lock_guard<std::mutex> guard(lock_);
    Value v;
    int rc = lookup(root, key, name, v);
    if (rc != kRegOk) return rc;
    if (!v.isDword) return kRegNoValue;
    out = v.dword;
    return kRegOk;
  }

  int writeDword(RegRoot root, const std::string& key, const std::string& name,
                 std::uint32_t value) override {
    Value v;
    v.isDword = true;
    v.dword = value;
    return store(root, key, name, v);
  }

 private:
  static int readAll(const std::string& path, std::string& out, std::size_t limit) {
    std::unique_ptr<FileHandle> f;
    if (int rc = nativeFileSystem().open(path, Access::Read, Disposition::OpenExisting, f)) return rc;
    std::int64_t size = 0;
    if (int rc = f->size(size)) return rc;
    if (size < 0 || static_cast<std::uint64_t>(size) > limit) return kErrNotEnoughMemory;
    out.resize(static_cast<std::size_t>(size));
    std::size_t got = 0;
    while (got < out.size()) {
      std::size_t done = 0;
      if (int rc = f->read(out.data() + got, out.size() - got, done)) return rc;
      if (done == 0) break;
      got += done;
    }
    out.resize(got);
    return 0;
  }

  static int writeAll(const std::string& path, const std::string& text) {
    std::unique_ptr<FileHandle> f;
    if (int rc = nativeFileSystem().open(path, Access::Write, Disposition::CreateAlways, f)) return rc;
    std::size_t done = 0;
    if (int rc = f->write(text.data(), text.size(), done)) return rc;
    if (done != text.size()) return kErrDiskFull;
    if (int rc = f->flush()) return rc;
    return f->close();
  }

  Store load() {
    std::string text;
    if (readAll(path_, text, 1 << 24) != 0) return {};
    return parse(text);
  }

  int lookup(RegRoot root, const std::string& key, const std::string& name, Value& out) {
    Store s = load();
    auto k = s.find(section(root, key));
    if (k != s.end()) {
      auto v = k->second.find(name);
      if (v == k->second.end()) return kRegNoValue;
      out = v->second;
      return kRegOk;
    }
    // The machine's family name, as the firmware reports it.
    if (root == RegRoot::LocalMachine && !familyFile_.empty() &&
        base::equalsNoCase(key, "HARDWARE\\DESCRIPTION\\System\\BIOS")) {
      std::string family;
      if (readAll(familyFile_, family, 4096) != 0) return kRegNoKey;
      if (!base::equalsNoCase(name, "SystemFamily")) return kRegNoValue;
      out.text = base::trimRight(family);
      return kRegOk;
    }
    return kRegNoKey;
  }

  int store(RegRoot root, const std::string& key, const std::string& name, const Value& v) {
    std::lock_guard<std::mutex> guard(lock_);
    Store s = load();
    s[section(root, key)][name] = v;
    std::string text = render(s);
    std::string temp = path_ + ".new";
    FileSystem& fs = nativeFileSystem();
    if (writeAll(temp, text) != 0 || fs.replace(temp, path_) != 0) {
      fs.remove(temp);
      return kRegWriteFailed;
    }
    return kRegOk;
  }

  std::string path_, familyFile_;
  std::mutex lock_;
};

}  // namespace

std::unique_ptr<Registry> makeFileRegistry(const std::string& storePath,
                                           const std::string& systemFamilyFile) {
  return std::make_unique<FileRegistry>(storePath, systemFamilyFile);
}

}  // namespace platform
