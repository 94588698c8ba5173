// Registry values on Windows: each operation opens its key with the least
// access it needs and closes it again.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/registry.hpp"
#include "platform/win32/wide.hpp"

namespace platform {

namespace {

using win32::toUtf16;

HKEY rootKey(RegRoot root) {
  return root == RegRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// Closes an open key when it goes out of scope.
class KeyHolder {
 public:
  KeyHolder() = default;
  ~KeyHolder() {
    if (key_) RegCloseKey(key_);
  }
  KeyHolder(const KeyHolder&) = delete;
  KeyHolder& operator=(const KeyHolder&) = delete;
  HKEY* out() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

bool openForRead(RegRoot root, const std::string& key, KeyHolder& holder) {
  return RegOpenKeyExW(rootKey(root), toUtf16(key).c_str(), 0, KEY_QUERY_VALUE, holder.out()) ==
         ERROR_SUCCESS;
}

bool openForWrite(RegRoot root, const std::string& key, KeyHolder& holder) {
  return RegCreateKeyExW(rootKey(root), toUtf16(key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                         KEY_SET_VALUE, nullptr, holder.out(), nullptr) == ERROR_SUCCESS;
}

class Win32Registry final : public Registry {
 public:
  int readString(RegRoot root, const std::string& key, const std::string& name,
                 std::string& out) override {
    out.clear();
    KeyHolder k;
    if (!openForRead(root, key, k)) return kRegNoKey;
    std::wstring wname = toUtf16(name);
    // The value may grow between the size query and the read; ask again then.
    for (int attempt = 0; attempt < 4; ++attempt) {
      DWORD type = 0;
      DWORD bytes = 0;
      if (RegQueryValueExW(k.get(), wname.c_str(), nullptr, &type, nullptr, &bytes) !=
              ERROR_SUCCESS ||
          type != REG_SZ)
        return kRegNoValue;
      std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
      DWORD got = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
      LONG rc = RegQueryValueExW(k.get(), wname.c_str(), nullptr, &type,
                                 reinterpret_cast<BYTE*>(buffer.data()), &got);
      if (rc == ERROR_MORE_DATA) continue;
      if (rc != ERROR_SUCCESS || type != REG_SZ) return kRegNoValue;
      // Stored data need not end in a NUL, and may hold one before its end.
      std::size_t chars = std::min<std::size_t>(got / sizeof(wchar_t), buffer.size());
      std::wstring_view text(buffer.data(), chars);
      std::size_t nul = text.find(L'\0');
      if (nul != std::wstring_view::npos) text = text.substr(0, nul);
      out = win32::fromUtf16(text);
      return kRegOk;
    }
    return kRegNoValue;
  }

  int writeString(RegRoot root, const std::string& key, const std::string& name,
                  const std::string& text) override {
    KeyHolder k;
    if (!openForWrite(root, key, k)) return kRegWriteFailed;
    std::wstring wtext = toUtf16(text);
    // REG_SZ with its terminating NUL: (length + 1) × 2 bytes.
    DWORD bytes = static_cast<DWORD>((wtext.size() + 1) * sizeof(wchar_t));
    if (RegSetValueExW(k.get(), toUtf16(name).c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(wtext.c_str()), bytes) != ERROR_SUCCESS)
      return kRegWriteFailed;
    return kRegOk;
  }

  int readDword(RegRoot root, const std::string& key, const std::string& name,
                std::uint32_t& out) override {
    KeyHolder k;
    if (!openForRead(root, key, k)) return kRegNoKey;
    DWORD type = 0;
    DWORD value = 0;
    DWORD bytes = sizeof(value);
    if (RegQueryValueExW(k.get(), toUtf16(name).c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(&value), &bytes) != ERROR_SUCCESS ||
        type != REG_DWORD || bytes != sizeof(value))
      return kRegNoValue;
    out = value;
    return kRegOk;
  }

  int writeDword(RegRoot root, const std::string& key, const std::string& name,
                 std::uint32_t value) override {
    KeyHolder k;
    if (!openForWrite(root, key, k)) return kRegWriteFailed;
    DWORD v = value;
    if (RegSetValueExW(k.get(), toUtf16(name).c_str(), 0, REG_DWORD,
                       reinterpret_cast<const BYTE*>(&v), sizeof(v)) != ERROR_SUCCESS)
      return kRegWriteFailed;
    return kRegOk;
  }
};

}  // namespace

Registry& nativeRegistry() {
  static Win32Registry registry;
  return registry;
}

}  // namespace platform
