// The registry through advapi32, with the seam's handles mapped onto HKEYs.
#include <memory>
#include <string>

#include "platform/native.h"
#include "platform/win32/win32_headers.h"

namespace platform {

namespace {

// The seam's hive numbers are the 32-bit values of the predefined keys; on 64-bit Windows the
// real handles are those values sign-extended, so they are mapped, never cast.
HKEY ToKey(RegHandle handle) {
  if (handle == HIVE_LOCAL_MACHINE) return HKEY_LOCAL_MACHINE;
  if (handle == HIVE_CURRENT_USER) return HKEY_CURRENT_USER;
  return reinterpret_cast<HKEY>(handle);
}

RegHandle ToHandle(HKEY key) {
  return reinterpret_cast<RegHandle>(key);
}

REGSAM ToSam(RegAccess access) {
  switch (access) {
    case RegAccess::EnumerateSubkeys:
      return KEY_ENUMERATE_SUB_KEYS;
    case RegAccess::Read:
      return KEY_READ;
    case RegAccess::Full:
      return KEY_ALL_ACCESS;
  }
  return KEY_READ;
}

class Win32Registry : public Registry {
 public:
  long OpenKey(RegHandle parent, const std::string& path, RegAccess access,
               RegHandle* key) override {
    HKEY opened = nullptr;
    LONG result = RegOpenKeyExA(ToKey(parent), path.c_str(), 0, ToSam(access), &opened);
    *key = result == ERROR_SUCCESS ? ToHandle(opened) : 0;
    return result;
  }

  long CreateKey(RegHandle parent, const std::string& path, RegAccess access,
                 RegHandle* key) override {
    HKEY created = nullptr;
    LONG result = RegCreateKeyExA(ToKey(parent), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  ToSam(access), nullptr, &created, nullptr);
    *key = result == ERROR_SUCCESS ? ToHandle(created) : 0;
    return result;
  }

  long QueryValue(RegHandle key, const std::string& name, uint8_t* buffer, uint32_t* size,
                  uint32_t* type) override {
    DWORD length = *size;
    DWORD valueType = 0;
    LONG result = RegQueryValueExA(ToKey(key), name.c_str(), nullptr, &valueType, buffer, &length);
    *size = length;
    if (type) *type = valueType;
    return result;
  }

  long SetValue(RegHandle key, const std::string& name, uint32_t type, const uint8_t* data,
                uint32_t size) override {
    return RegSetValueExA(ToKey(key), name.c_str(), 0, type, data, size);
  }

  long EnumKey(RegHandle key, uint32_t index, char* name, uint32_t size) override {
    DWORD length = size;
    return RegEnumKeyExA(ToKey(key), index, name, &length, nullptr, nullptr, nullptr, nullptr);
  }

  long CloseKey(RegHandle key) override { return RegCloseKey(ToKey(key)); }
};

}  // namespace

std::unique_ptr<Registry> MakeNativeRegistry() {
  return std::make_unique<Win32Registry>();
}

}  // namespace platform
