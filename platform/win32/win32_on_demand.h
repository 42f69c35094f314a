// System libraries that only a rare action needs (manual, file dialog, About) are loaded on its
// first use, so that every start does not pay for loading them.
#pragma once

#include "platform/win32/win32_headers.h"

namespace platform {

// The export of a system library, loading the library on first use; null when either is missing.
// The library stays loaded for the life of the process, like a static import would.
template <typename Fn>
Fn OnDemandExport(const char* library, const char* name) {
  HMODULE module = GetModuleHandleA(library);
  if (!module) module = LoadLibraryA(library);
  if (!module) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace platform
