// The few registry operations of the suite, over handles like the system's own.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

using RegHandle = uintptr_t;

// Predefined roots, usable wherever a parent handle is expected.
constexpr RegHandle HIVE_LOCAL_MACHINE = 0x80000002u;
constexpr RegHandle HIVE_CURRENT_USER = 0x80000001u;

// Result codes as the system reports them.
constexpr long REG_OK = 0;
constexpr long REG_NOT_FOUND = 2;
constexpr long REG_ACCESS_DENIED = 5;
constexpr long REG_INVALID_HANDLE = 6;
constexpr long REG_MORE_DATA = 234;
constexpr long REG_NO_MORE_ITEMS = 259;

// Value types.
constexpr uint32_t REG_TYPE_STRING = 1;
constexpr uint32_t REG_TYPE_NUMBER = 4;

enum class RegAccess { EnumerateSubkeys, Read, Full };

class Registry {
 public:
  virtual ~Registry() = default;
  // Opens an existing key; *key is 0 on failure.
  virtual long OpenKey(RegHandle parent, const std::string& path, RegAccess access,
                       RegHandle* key) = 0;
  // Opens or creates (non-volatile) a key; *key is 0 on failure.
  virtual long CreateKey(RegHandle parent, const std::string& path, RegAccess access,
                         RegHandle* key) = 0;
  // Reads a value of any type into buffer; *size is in/out. A value longer than *size fails
  // with REG_MORE_DATA and leaves the buffer's content unspecified.
  virtual long QueryValue(RegHandle key, const std::string& name, uint8_t* buffer, uint32_t* size,
                          uint32_t* type) = 0;
  virtual long SetValue(RegHandle key, const std::string& name, uint32_t type, const uint8_t* data,
                        uint32_t size) = 0;
  // Name of the subkey at index into name (size bytes with its zero); REG_NO_MORE_ITEMS past
  // the last one.
  virtual long EnumKey(RegHandle key, uint32_t index, char* name, uint32_t size) = 0;
  virtual long CloseKey(RegHandle key) = 0;
};

}  // namespace platform
