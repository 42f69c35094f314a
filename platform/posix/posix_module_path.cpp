// The module holding an address, through the dynamic linker.
#include <dlfcn.h>

#include "platform/module_path.h"

namespace platform {

std::string ModulePathOf(const void* address) {
  Dl_info info{};
  if (!dladdr(address, &info) || !info.dli_fname) return std::string();
  return info.dli_fname;
}

}  // namespace platform
