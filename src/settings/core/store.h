// The settings store: text values in a registry-like hierarchy of keys.
// The core talks to a Backend; the Win32 layer backs it with the registry and the
// tests with MemoryBackend, which keeps the registry's rules.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace iv::settings {

enum class Hive : uint32_t { ClassesRoot = 0x80000000u, CurrentUser = 0x80000001u };

inline constexpr std::string_view kRoot = "SOFTWARE\\Dravolt Software";
inline constexpr std::string_view kApp = "Iconvane for AIM";
inline constexpr uint32_t kRegSz = 1;

// Root, application and section joined with backslashes, empty parts left out.
std::string KeyPath(std::string_view root, std::string_view app, std::string_view section);

// What a value holds, as far as the program cares.
struct RawValue {
  enum class Kind { Text, Number, Other } kind = Kind::Other;
  std::string text;    // Kind::Text
  uint32_t number = 0; // Kind::Number
};

// When a key's values last changed and how many it holds. Equal stamps mean nothing
// was written to the key in between, as far as the backend's clock can tell.
struct KeyStamp {
  uint64_t lastWrite = 0;
  uint32_t values = 0;
  bool operator==(const KeyStamp&) const = default;
};

class Backend {
 public:
  virtual ~Backend() = default;
  // nullopt when the key or value is missing or cannot be opened for full access.
  virtual std::optional<RawValue> Read(Hive hive, const std::string& path, const std::string& name) = 0;
  // Creates the keys along the path. False when the backend refused.
  virtual bool WriteText(Hive hive, const std::string& path, const std::string& name, const std::string& value) = 0;
  // Refused (false) while the key has sub-keys.
  virtual bool DeleteKey(Hive hive, const std::string& path) = 0;
  // Names and text of the values of a key, in stored order; numbers as decimal text.
  virtual std::vector<std::pair<std::string, std::string>> Values(Hive hive, const std::string& path) = 0;
  // nullopt when the key is missing or the backend cannot tell.
  virtual std::optional<KeyStamp> Stamp(Hive /*hive*/, const std::string& /*path*/) { return std::nullopt; }
};

// The three store operations with the program's semantics on top of a backend.
class Store {
 public:
  explicit Store(Backend& backend) : backend_(backend) {}

  std::string GetRegValue(std::string_view app, std::string_view section, std::string_view name,
                          std::string_view def, Hive hive = Hive::CurrentUser,
                          std::string_view root = kRoot) const;
  // Returns true even when the backend refuses, as callers go on either way.
  bool SetRegValue(std::string_view app, std::string_view section, std::string_view name,
                   std::string_view value, Hive hive = Hive::CurrentUser, std::string_view root = kRoot,
                   uint32_t type = kRegSz);
  bool DeleteRegSection(std::string_view app, std::string_view section,
                        Hive hive = Hive::CurrentUser, std::string_view root = kRoot);

  // The program's own values: application "Iconvane for AIM" under the maker's root.
  std::string Get(std::string_view section, std::string_view name, std::string_view def) const {
    return GetRegValue(kApp, section, name, def);
  }
  void Set(std::string_view section, std::string_view name, std::string_view value) {
    SetRegValue(kApp, section, name, value);
  }
  void DeleteSection(std::string_view section) { DeleteRegSection(kApp, section); }

  Backend& backend() const { return backend_; }

 private:
  Backend& backend_;
};

// In-memory registry: key names and value names compare without case, as in the registry.
class MemoryBackend : public Backend {
 public:
  std::optional<RawValue> Read(Hive hive, const std::string& path, const std::string& name) override;
  bool WriteText(Hive hive, const std::string& path, const std::string& name, const std::string& value) override;
  bool DeleteKey(Hive hive, const std::string& path) override;
  std::vector<std::pair<std::string, std::string>> Values(Hive hive, const std::string& path) override;
  std::optional<KeyStamp> Stamp(Hive hive, const std::string& path) override;

  // For tests: values of other types, keys that exist without values, counting writes.
  void WriteRaw(Hive hive, const std::string& path, const std::string& name, RawValue value);
  bool KeyExists(Hive hive, const std::string& path) const;
  int writes() const { return writes_; }

 private:
  struct Key {
    std::vector<std::pair<std::string, RawValue>> values;  // original names, stored order
    uint64_t lastWrite = 0;
  };
  static std::string Norm(Hive hive, const std::string& path);
  Key& Create(Hive hive, const std::string& path);

  std::map<std::string, Key> keys_;  // by hive and lower-case path
  int writes_ = 0;
  uint64_t clock_ = 0;  // ticks on every change, so no two changes share a stamp
};

}  // namespace iv::settings
