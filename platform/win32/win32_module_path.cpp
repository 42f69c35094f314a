// The module holding an address, through the module handle of the address.
#include "platform/module_path.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace platform {

std::string ModulePathOf(const void* address) {
  std::string path;
  HMODULE module = nullptr;
  // The reference count is left alone: the caller is inside the module, which stays loaded.
  if (GetModuleHandleExA(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          static_cast<LPCSTR>(address), &module)) {
    char buffer[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(module, buffer, MAX_PATH);
    if (n > 0 && n < MAX_PATH) path.assign(buffer, n);
  }
  return path;
}

}  // namespace platform
