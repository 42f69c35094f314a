// One open registry key and the few operations the suite performs below it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/registry.h"

namespace shell {

// Registry paths of the suite.
constexpr char REG_MAKER_PATH[] = "SoftWare\\KALDO";
constexpr char REG_SUITE_SUBKEY[] = "KALDO Maroset";
constexpr char REG_SUITE_PATH[] = "SoftWare\\KALDO\\KALDO Maroset";
constexpr char REG_MONITOR_PATH[] = "Software\\KALDO\\QTW3\\Driver";
constexpr char REG_INSTALL_PATH[] = "InstallPath";
constexpr char REG_SELECT_PRINTER[] = "SelectPrinter";

// Buffer sizes the reads pass; a longer value fails and the default is used.
constexpr uint32_t REG_STRING_BUFFER = 260;
constexpr uint32_t REG_NAME_BUFFER = 260;

class RegistryKey {
 public:
  // enumerateOnly opens an existing key for subkey enumeration; otherwise the key is opened or
  // created, with read access under the local machine and full access elsewhere.
  RegistryKey(platform::Registry& registry, platform::RegHandle root, const std::string& path,
              bool enumerateOnly);
  virtual ~RegistryKey();
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  bool IsOpen() const { return key_ != 0; }
  // The platform's result; 0 when nothing was open.
  long Close();

  // Reads below subkey (opened with create-if-missing, read access); the default on any failure.
  std::string GetString(const std::string& subkey, const std::string& name,
                        const std::string& fallback);
  long SetString(const std::string& subkey, const std::string& name, const std::string& text);
  int32_t GetNumber(const std::string& subkey, const std::string& name, int32_t fallback);
  long SetNumber(const std::string& subkey, const std::string& name, int32_t number);
  // Name of the subkey at index; an error code past the last one or when the key is not open.
  long EnumSubkey(uint32_t index, std::string* name);

 private:
  long Read(const std::string& subkey, const std::string& name, uint8_t* buffer, uint32_t size);
  long Write(const std::string& subkey, const std::string& name, uint32_t type, const uint8_t* data,
             uint32_t size);

  platform::Registry& registry_;
  platform::RegHandle key_ = 0;
};

}  // namespace shell
