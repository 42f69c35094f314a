// Where the running code lies: a library finds the files that sit beside it.
#pragma once

#include <string>

namespace platform {

// Full path of the program or library whose code holds address (a function of the caller's own
// module), or empty when the system cannot tell. Realised once per system; a library that links
// no platform compiles that one file into itself.
std::string ModulePathOf(const void* address);

// The folder part of a path, with its separator ("\\" or "/"), or empty without one.
inline std::string FolderOf(const std::string& path) {
  size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

}  // namespace platform
