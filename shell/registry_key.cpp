// The registry wrapper.
#include "shell/registry_key.h"

#include <cstring>

namespace shell {

RegistryKey::RegistryKey(platform::Registry& registry, platform::RegHandle root,
                         const std::string& path, bool enumerateOnly)
    : registry_(registry) {
  if (enumerateOnly) {
    registry_.OpenKey(root, path, platform::RegAccess::EnumerateSubkeys, &key_);
  } else {
    auto access = root == platform::HIVE_LOCAL_MACHINE ? platform::RegAccess::Read
                                                       : platform::RegAccess::Full;
    registry_.CreateKey(root, path, access, &key_);
  }
}

RegistryKey::~RegistryKey() {
  Close();
}

long RegistryKey::Close() {
  if (key_ == 0) return platform::REG_OK;
  long result = registry_.CloseKey(key_);
  key_ = 0;
  return result;
}

long RegistryKey::Read(const std::string& subkey, const std::string& name, uint8_t* buffer,
                       uint32_t size) {
  if (key_ == 0) return platform::REG_INVALID_HANDLE;
  platform::RegHandle sub = 0;
  long result = registry_.CreateKey(key_, subkey, platform::RegAccess::Read, &sub);
  if (result != platform::REG_OK || sub == 0) return result != 0 ? result : -1;
  uint32_t type = 0;
  result = registry_.QueryValue(sub, name, buffer, &size, &type);
  registry_.CloseKey(sub);
  return result;
}

long RegistryKey::Write(const std::string& subkey, const std::string& name, uint32_t type,
                        const uint8_t* data, uint32_t size) {
  if (key_ == 0) return platform::REG_INVALID_HANDLE;
  platform::RegHandle sub = 0;
  long result = registry_.CreateKey(key_, subkey, platform::RegAccess::Full, &sub);
  if (result != platform::REG_OK || sub == 0) return result != 0 ? result : -1;
  result = registry_.SetValue(sub, name, type, data, size);
  registry_.CloseKey(sub);
  return result;
}

std::string RegistryKey::GetString(const std::string& subkey, const std::string& name,
                                   const std::string& fallback) {
  uint8_t buffer[REG_STRING_BUFFER] = {};
  if (Read(subkey, name, buffer, sizeof buffer) != platform::REG_OK) return fallback;
  // A value that fills the buffer without a terminating zero ends at the buffer's end.
  const char* text = reinterpret_cast<const char*>(buffer);
  return std::string(text, strnlen(text, sizeof buffer));
}

long RegistryKey::SetString(const std::string& subkey, const std::string& name,
                            const std::string& text) {
  return Write(subkey, name, platform::REG_TYPE_STRING,
               reinterpret_cast<const uint8_t*>(text.c_str()),
               static_cast<uint32_t>(text.size() + 1));
}

int32_t RegistryKey::GetNumber(const std::string& subkey, const std::string& name,
                               int32_t fallback) {
  uint8_t buffer[4] = {};
  if (Read(subkey, name, buffer, sizeof buffer) != platform::REG_OK) return fallback;
  return static_cast<int32_t>(
      static_cast<uint32_t>(buffer[0]) | (static_cast<uint32_t>(buffer[1]) << 8) |
      (static_cast<uint32_t>(buffer[2]) << 16) | (static_cast<uint32_t>(buffer[3]) << 24));
}

long RegistryKey::SetNumber(const std::string& subkey, const std::string& name, int32_t number) {
  uint32_t bits = static_cast<uint32_t>(number);
  uint8_t data[4] = {static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8),
                     static_cast<uint8_t>(bits >> 16), static_cast<uint8_t>(bits >> 24)};
  return Write(subkey, name, platform::REG_TYPE_NUMBER, data, sizeof data);
}

long RegistryKey::EnumSubkey(uint32_t index, std::string* name) {
  if (key_ == 0) return platform::REG_INVALID_HANDLE;
  char buffer[REG_NAME_BUFFER] = {};
  long result = registry_.EnumKey(key_, index, buffer, sizeof buffer);
  if (result == platform::REG_OK) name->assign(buffer, strnlen(buffer, sizeof buffer));
  return result;
}

}  // namespace shell
