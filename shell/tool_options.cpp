// Tool options below the chosen model's registry key.
#include "shell/tool_options.h"

#include "shell/printer_choice.h"
#include "shell/registry_key.h"

namespace shell {

std::string ModelKeyPath(const std::string& driverName) {
  return std::string(REG_SUITE_PATH) + "\\" + ModelKeyName(driverName);
}

int32_t ModelKeyOptions::Get(const NumberOption& option) {
  RegistryKey key(registry_, platform::HIVE_CURRENT_USER, ModelKeyPath(driverName_()), false);
  return key.GetNumber(subkey_, option.name, option.fallback);
}

std::string ModelKeyOptions::Get(const StringOption& option) {
  RegistryKey key(registry_, platform::HIVE_CURRENT_USER, ModelKeyPath(driverName_()), false);
  return key.GetString(subkey_, option.name, option.fallback);
}

void ModelKeyOptions::Set(const NumberOption& option, int32_t value) {
  RegistryKey key(registry_, platform::HIVE_CURRENT_USER, ModelKeyPath(driverName_()), false);
  key.SetNumber(subkey_, option.name, value);
}

void ModelKeyOptions::Set(const StringOption& option, const std::string& value) {
  RegistryKey key(registry_, platform::HIVE_CURRENT_USER, ModelKeyPath(driverName_()), false);
  key.SetString(subkey_, option.name, value);
}

}  // namespace shell
