// The settings store on the Windows registry.
#pragma once
#include "settings/core/store.h"

namespace iv::settings {

class RegistryBackend : public Backend {
 public:
  std::optional<RawValue> Read(Hive hive, const std::string& path, const std::string& name) override;
  bool WriteText(Hive hive, const std::string& path, const std::string& name, const std::string& value) override;
  bool DeleteKey(Hive hive, const std::string& path) override;
  std::vector<std::pair<std::string, std::string>> Values(Hive hive, const std::string& path) override;
  std::optional<KeyStamp> Stamp(Hive hive, const std::string& path) override;
};

// The process-wide store on the registry.
Store& RegistryStore();

}  // namespace iv::settings
