#pragma once
// Registry values. Windows: the real registry. Elsewhere: a store file in the
// user's configuration folder with the same keys, value names, types and
// failure texts, rewritten atomically on every change.
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

enum class RegRoot { CurrentUser, LocalMachine };

inline constexpr int kRegOk = 0;
inline constexpr int kRegNoKey = 1;    // the key cannot be opened
inline constexpr int kRegNoValue = 2;  // the value cannot be read (missing or wrong type)
inline constexpr int kRegWriteFailed = 3;

class Registry {
 public:
  virtual ~Registry() = default;
  virtual int readString(RegRoot root, const std::string& key, const std::string& name,
                         std::string& out) = 0;
  // Creates the key when it is missing.
  virtual int writeString(RegRoot root, const std::string& key, const std::string& name,
                          const std::string& text) = 0;
  virtual int readDword(RegRoot root, const std::string& key, const std::string& name,
                        std::uint32_t& out) = 0;
  virtual int writeDword(RegRoot root, const std::string& key, const std::string& name,
                         std::uint32_t value) = 0;
};

// The registry of this machine (POSIX: the store named by defaultRegistryStore()).
Registry& nativeRegistry();
Registry& registry();

class ScopedRegistry {
 public:
  explicit ScopedRegistry(Registry& replacement);
  ~ScopedRegistry();
  ScopedRegistry(const ScopedRegistry&) = delete;
  ScopedRegistry& operator=(const ScopedRegistry&) = delete;

 private:
  Registry* previous_;
};

// A registry kept in one file (the POSIX store; tests use it on every platform).
// Current-user values live in the file; the one local-machine value the program
// reads ("SystemFamily") comes from systemFamilyFile, when given.
std::unique_ptr<Registry> makeFileRegistry(const std::string& storePath,
                                           const std::string& systemFamilyFile = "");

// The key under the current user that holds the program's values.
inline constexpr const char* kAppKey = "Software\\Tallyfin PC";

// The operations the program uses, over the current registry.
// 1 on success, 0 on failure.
int writeRegString(const std::string& key, const std::string& name, const std::string& text);
int writeRegDword(RegRoot root, const std::string& key, const std::string& name,
                  std::uint32_t value);
// Empties out first; on failure leaves "RegOpenKey err" (key) or
// "RegQueryValue err" (value) in out and returns 0; at most size - 2 bytes.
int readRegString(RegRoot root, const std::string& key, const std::string& name,
                  std::string& out, std::size_t size = 1024);
// The value, or -1 when the key or value is missing.
std::int64_t readRegDword(RegRoot root, const std::string& key, const std::string& name);
int regValueExists(RegRoot root, const std::string& key, const std::string& name);
int getAppSetting(const std::string& name, std::string& out, std::size_t size);
int putAppSetting(const std::string& name, const std::string& text);

}  // namespace platform
